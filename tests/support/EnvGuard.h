#pragma once
// Sets locale variables for one test and restores them afterwards.

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace langtest {

class LocaleEnv {
public:
    // lang is LANG; LC_ALL and LC_MESSAGES are unset meanwhile.
    explicit LocaleEnv(const char* lang)
    {
        for (const char* n : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
            const char* v = std::getenv(n);
            saved_.push_back({n, v ? std::optional<std::string>(v) : std::nullopt});
            unsetenv(n);
        }
        if (lang)
            setenv("LANG", lang, 1);
    }
    ~LocaleEnv()
    {
        for (const auto& [n, v] : saved_)
            v ? setenv(n.c_str(), v->c_str(), 1) : unsetenv(n.c_str());
    }
    LocaleEnv(const LocaleEnv&) = delete;
    LocaleEnv& operator=(const LocaleEnv&) = delete;

private:
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

}  // namespace langtest
