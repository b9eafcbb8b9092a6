#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "TestDirs.h"

// Defined by kv::testsupport_qt for tests that need a QApplication.
extern "C" int kvtest_run_with_app(int argc, char** argv) __attribute__((weak));

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    // Each test process gets its own user and system folders, unless the
    // caller already chose temporary ones.
    std::unique_ptr<kvtest::TempDir> user, sys;
    user = std::make_unique<kvtest::TempDir>();
    sys = std::make_unique<kvtest::TempDir>();
    setenv("KORVANTA_USER_DIR", user->path().c_str(), 1);
    setenv("KORVANTA_SYSTEM_DIR", sys->path().c_str(), 1);
    setenv("XDG_CONFIG_HOME", (user->path() + "/xdg-config").c_str(), 1);
    setenv("XDG_RUNTIME_DIR", (user->path() + "/xdg-runtime").c_str(), 1);
    std::filesystem::create_directories(user->path() + "/xdg-runtime");
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    if (kvtest_run_with_app)
        return kvtest_run_with_app(argc, argv);
    return RUN_ALL_TESTS();
}
