#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "PlatformTestEnv.h"
#include "platform/Errors.h"
#include "platform/Mutex.h"

using namespace platform;

namespace {

// Whether a fresh process could take the mutex now.
bool otherProcessCanTake(const std::string& name)
{
    pid_t pid = fork();
    if (pid == 0) {
        TNamedMutex m;
        bool took = m.Create(name);
        _exit(took ? 0 : (m.AlreadyExists() ? 1 : 2));
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

TEST(NamedMutex, OneHolderAcrossProcesses)
{
    kvtest::TempDir rt;
    kvtest::ScopedEnv env("XDG_RUNTIME_DIR", rt.path());
    TNamedMutex m;
    ASSERT_TRUE(m.Create("KorvantaVirtualDrive"));
    EXPECT_TRUE(m.Held());
    EXPECT_FALSE(m.AlreadyExists());
    EXPECT_TRUE(std::filesystem::exists(rt.path() + "/korvanta/KorvantaVirtualDrive.lock"));
    EXPECT_FALSE(otherProcessCanTake("KorvantaVirtualDrive"));
    EXPECT_TRUE(otherProcessCanTake("OtherName"));

    // A second object in this process sees it taken, as another process would.
    TNamedMutex again;
    EXPECT_FALSE(again.Create("KorvantaVirtualDrive"));
    EXPECT_TRUE(again.AlreadyExists());
    EXPECT_FALSE(again.Held());

    m.Close();
    EXPECT_FALSE(m.Held());
    EXPECT_TRUE(otherProcessCanTake("KorvantaVirtualDrive"));
}

TEST(NamedMutex, LockFolderThatCannotBeMadeFails)
{
    kvtest::TempDir rt;
    kvtest::writeFile(rt.file("korvanta"), "a file in the way");
    kvtest::ScopedEnv env("XDG_RUNTIME_DIR", rt.path());
    TNamedMutex m;
    EXPECT_FALSE(m.Create("X"));
    EXPECT_FALSE(m.AlreadyExists());
    EXPECT_NE(GetLastError(), 0);
}
