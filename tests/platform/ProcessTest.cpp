#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "CasePrint.h"
#include "PlatformTestEnv.h"
#include "platform/DosDevices.h"
#include "platform/Errors.h"
#include "platform/Process.h"

using namespace platform;
namespace fs = std::filesystem;

namespace {

struct SplitCase {
    std::string parameters;
    std::vector<std::string> args;
};
void PrintTo(const SplitCase& c, std::ostream* os) { *os << kvtest::Quoted(c.parameters); }

class SplitCommandLineTest : public ::testing::TestWithParam<SplitCase> {};

// A folder of fake helper programs that record how they were called.
class ProcessTest : public ::testing::Test {
protected:
    kvtest::FreshFolders folders;
    kvtest::TempDir bin;
    kvtest::ScopedEnv path{"PATH", bin.path() + ":/usr/bin:/bin"};

    // A script that writes each argument on a line of <name>.args, then
    // exits with `code`.
    void fakeProgram(const std::string& name, int code = 0)
    {
        // The arguments file appears whole (renamed in), so a reader polling
        // for it never sees it half written.
        std::string args = bin.file(name + ".args");
        std::string script = "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > '" +
                             args + ".part'\nmv '" + args + ".part' '" + args + "'\nexit " +
                             std::to_string(code) + "\n";
        kvtest::writeFile(bin.file(name), script);
        chmod(bin.file(name).c_str(), 0755);
    }
    std::string argsOf(const std::string& name)
    {
        for (int i = 0; i < 500 && !fs::exists(bin.file(name + ".args")); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return fs::exists(bin.file(name + ".args")) ? kvtest::readFile(bin.file(name + ".args"))
                                                    : "<not run>";
    }
};

unsigned runAndWait(const std::string& verb, const std::string& file, const std::string& params,
                    const std::string& dir = "")
{
    TShellExecuteInfo info;
    info.Verb = verb;
    info.File = file;
    info.Parameters = params;
    info.Directory = dir;
    info.NoCloseProcess = true;
    if (!ShellExecuteEx(info))
        return 1000 + static_cast<unsigned>(GetLastError());
    EXPECT_EQ(WaitForSingleObject(info.hProcess, INFINITE), WAIT_OBJECT_0);
    unsigned code = 12345;
    EXPECT_TRUE(GetExitCodeProcess(info.hProcess, code));
    CloseHandle(info.hProcess);
    return code;
}

}  // namespace

TEST_P(SplitCommandLineTest, SplitsLikeTheWindowsCommandLine)
{
    EXPECT_EQ(SplitCommandLine(GetParam().parameters), GetParam().args);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SplitCommandLineTest,
    ::testing::Values(
        SplitCase{"", {}}, SplitCase{"   \t ", {}}, SplitCase{"-installvd", {"-installvd"}},
        SplitCase{"a  b\tc", {"a", "b", "c"}},
        SplitCase{"\"C:\\Program Files\\x.iso\" -tray", {"C:\\Program Files\\x.iso", "-tray"}},
        SplitCase{"\"\" x", {"", "x"}}, SplitCase{"a\"b c\"d", {"ab cd"}},
        SplitCase{"a\\\\b", {"a\\\\b"}},           // backslashes without a quote stay
        SplitCase{"a\\\\\"b c\"", {"a\\b c"}},     // 2n backslashes + quote: n, quote toggles
        SplitCase{"a\\\"b", {"a\"b"}},             // 2n+1: n and a literal quote
        SplitCase{"\"a\"\"b\"", {"a\"b"}},         // "" inside quotes
        SplitCase{"\"unbalanced quote x", {"unbalanced quote x"}},
        SplitCase{"x \"tail\\", {"x", "tail\\"}}));

TEST_F(ProcessTest, StartsWithArgumentsFolderAndExitCode)
{
    fakeProgram("tool", 7);
    EXPECT_EQ(runAndWait("open", bin.file("tool"), "-a \"b c\" d\\\"e"), 7u);
    EXPECT_EQ(argsOf("tool"), "-a\nb c\nd\"e\n");

    kvtest::TempDir work;
    EXPECT_EQ(runAndWait("", "/bin/sh", "-c \"pwd > out.txt; exit 3\"", work.path()), 3u);
    EXPECT_EQ(kvtest::readFile(work.file("out.txt")), fs::canonical(work.path()).string() + "\n");
    // Found on PATH like the shell finds it; a signal gives 128 + number.
    EXPECT_EQ(runAndWait("open", "sh", "-c \"kill -9 $$\""), 128u + SIGKILL);
}

TEST_F(ProcessTest, FailedStartsAreReported)
{
    kvtest::writeFile(bin.file("plain.txt"), "x");
    struct Case {
        const char* what;
        std::string verb, file, dir;
        int error;
        intptr_t code;
    };
    const Case cases[] = {
        {"missing file", "open", bin.file("nope"), "", ENOENT, 2},
        {"missing command", "", "no-such-command-kv", "", ENOENT, 2},
        {"empty file", "open", "", "", ENOENT, 2},
        {"missing folder", "open", "/bin/true", bin.file("nodir"), ENOENT, 2},
        {"unknown verb", "print", "/bin/true", "", EINVAL, 31},
        {"runas missing", "runas", bin.file("nope"), "", ENOENT, 2},
        {"runas of a document", "runas", bin.file("plain.txt"), "", EACCES, 5},
        {"unmounted drive", "open", "Q:\\", "", ENOENT, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TShellExecuteInfo info;
        info.Verb = c.verb;
        info.File = c.file;
        info.Directory = c.dir;
        info.NoCloseProcess = true;
        EXPECT_FALSE(ShellExecuteEx(info));
        EXPECT_EQ(GetLastError(), c.error);
        EXPECT_EQ(info.hProcess, -1);
        EXPECT_EQ(ShellExecute(c.verb, c.file, "", c.dir, SW_SHOWNORMAL), c.code);
    }
}

TEST_F(ProcessTest, FoldersDocumentsAndAddressesGoToTheDesktopHandler)
{
    kvtest::TempDir files;
    kvtest::writeFile(files.file("readme.txt"), "x");
    DefineDosDevice({'E', "\\Device\\CdRom0", "/a.iso", files.path()});
    struct Case {
        std::string file, opened;
    };
    const Case cases[] = {
        {files.path(), files.path()},
        {files.file("readme.txt"), files.file("readme.txt")},
        {"https://example.invalid/help:x", "https://example.invalid/help:x"},
        {"E:\\", files.path()},
    };
    fakeProgram("xdg-open");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        fs::remove(bin.file("xdg-open.args"));
        EXPECT_GT(ShellExecute("", c.file, "ignored", "", SW_SHOWNORMAL), 32);
        EXPECT_EQ(argsOf("xdg-open"), c.opened + "\n");
    }
}

TEST_F(ProcessTest, WaitTimesOutAndReportsStillActive)
{
    TShellExecuteInfo info;
    info.File = "/bin/sleep";
    info.Parameters = "5";
    info.NoCloseProcess = true;
    ASSERT_TRUE(ShellExecuteEx(info));
    EXPECT_EQ(WaitForSingleObject(info.hProcess, 20), WAIT_TIMEOUT);
    unsigned code = 0;
    EXPECT_FALSE(GetExitCodeProcess(info.hProcess, code));
    EXPECT_EQ(code, STILL_ACTIVE);
    kill(info.hProcess, SIGTERM);
    EXPECT_EQ(WaitForSingleObject(info.hProcess, 5000), WAIT_OBJECT_0);
    EXPECT_TRUE(GetExitCodeProcess(info.hProcess, code));
    EXPECT_EQ(code, 128u + SIGTERM);
    CloseHandle(info.hProcess);
    EXPECT_FALSE(GetExitCodeProcess(info.hProcess, code));  // gone after CloseHandle
}

// "runas" runs directly as root and through pkexec otherwise; the second
// case runs in a child that drops to an unprivileged user.
TEST_F(ProcessTest, RunasElevatesThroughPkexecWhenNotRoot)
{
    fakeProgram("tool");
    fakeProgram("pkexec");
    chmod(bin.path().c_str(), 0777);
    if (geteuid() == 0) {
        EXPECT_EQ(runAndWait("runas", bin.file("tool"), "-installvd"), 0u);
        EXPECT_EQ(argsOf("tool"), "-installvd\n");
        EXPECT_FALSE(fs::exists(bin.file("pkexec.args")));
        fs::remove(bin.file("tool.args"));
    }
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
            _exit(10);
        TShellExecuteInfo info;
        info.Verb = "runas";
        info.File = bin.file("tool");
        info.Parameters = "-tray";
        info.NoCloseProcess = true;
        if (!ShellExecuteEx(info))
            _exit(11);
        _exit(WaitForSingleObject(info.hProcess, INFINITE) == WAIT_OBJECT_0 ? 0 : 12);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(argsOf("pkexec"), fs::canonical(bin.file("tool")).string() + "\n-tray\n");
    EXPECT_FALSE(fs::exists(bin.file("tool.args")));
}
