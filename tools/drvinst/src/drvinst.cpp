// drvinst.exe: the installer of the virtual-device driver.
//
//   drvinst.exe -check ROOT\VPortLite
//   drvinst.exe -install ROOT\VPortLite "<folder>/vportlite.inf"
//   drvinst.exe -update ROOT\VPortLite "<folder>/vportlite.inf"
//   drvinst.exe -uninstall ROOT\VPortLite "<message>"
//
// Exit codes: 0 success (for -check: the driver is installed); 1 the work
// failed or the driver is not installed; 2 bad arguments. Failures are
// explained on standard error.

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <vector>

#include "VPortDriver.h"
#include "VPortHost.h"
#include "VPortState.h"

extern char** environ;

namespace {

constexpr const char* kHardwareId = "ROOT\\VPortLite";

enum ExitCode { kOk = 0, kFailed = 1, kUsage = 2 };

bool SameText(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

int Usage(const std::string& why)
{
    std::fprintf(stderr,
                 "drvinst.exe: %s\n"
                 "usage: drvinst.exe -check ROOT\\VPortLite\n"
                 "       drvinst.exe -install|-update ROOT\\VPortLite \"<folder>/vportlite.inf\"\n"
                 "       drvinst.exe -uninstall ROOT\\VPortLite \"<message>\"\n",
                 why.c_str());
    return kUsage;
}

int Fail(const std::string& why)
{
    std::fprintf(stderr, "drvinst.exe: %s\n", why.c_str());
    return kFailed;
}

// Loads the loop driver of the kernel when its control device is missing.
void LoadLoopModule()
{
    struct stat st {};
    if (::stat("/dev/loop-control", &st) == 0)
        return;
    char arg0[] = "modprobe", arg1[] = "loop";
    char* argv[] = {arg0, arg1, nullptr};
    pid_t pid = -1;
    if (posix_spawnp(&pid, "modprobe", nullptr, nullptr, argv, environ) == 0) {
        int status = 0;
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    }
}

int Install(const std::string& infPath)
{
    std::string version = vport::ReadInfVersion(infPath);
    LoadLoopModule();
    vport::VPortInstall(version);
    std::printf("Driver %s %s installed\n", kHardwareId, version.c_str());
    return kOk;
}

int Check()
{
    bool installed;
    {
        vport::TVPortLock lock;
        installed = vport::VPortStateExists();
    }
    if (!installed)
        return Fail(std::string("the driver ") + kHardwareId + " is not installed");
    return kOk;
}

int Uninstall(const std::string& message)
{
    vport::VPortUninstall();
    if (!message.empty())
        std::printf("%s\n", message.c_str());
    return kOk;
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() < 2)
        return Usage("missing arguments");
    const std::string& command = args[0];
    if (!SameText(args[1], kHardwareId))
        return Usage("unknown hardware id " + args[1]);
    try {
        if (SameText(command, "-check")) {
            if (args.size() != 2)
                return Usage("-check takes no further argument");
            return Check();
        }
        if (SameText(command, "-install") || SameText(command, "-update")) {
            if (args.size() != 3)
                return Usage(command + " needs the path of vportlite.inf");
            return Install(args[2]);
        }
        if (SameText(command, "-uninstall")) {
            if (args.size() > 3)
                return Usage("-uninstall takes one message");
            return Uninstall(args.size() == 3 ? args[2] : std::string());
        }
    } catch (const std::exception& e) {
        return Fail(e.what());
    }
    return Usage("unknown command " + command);
}
