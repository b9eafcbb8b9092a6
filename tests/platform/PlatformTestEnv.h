#pragma once

#include <cstdlib>
#include <optional>
#include <string>

#include "TestDirs.h"

namespace kvtest {

// Sets an environment variable for the lifetime of the object and puts the
// old value back afterwards (unset when there was none).
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::optional<std::string>& value) : name_(name)
    {
        if (const char* old = std::getenv(name))
            old_ = old;
        if (value)
            setenv(name, value->c_str(), 1);
        else
            unsetenv(name);
    }
    ~ScopedEnv()
    {
        if (old_)
            setenv(name_, old_->c_str(), 1);
        else
            unsetenv(name_);
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* name_;
    std::optional<std::string> old_;
};

// Fresh user and system folders for one test.
struct FreshFolders {
    TempDir user, system;
    ScopedEnv userEnv{"KORVANTA_USER_DIR", user.path()};
    ScopedEnv systemEnv{"KORVANTA_SYSTEM_DIR", system.path()};
};

}  // namespace kvtest
