#include "platform/Process.h"

#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <map>
#include <mutex>
#include <thread>

#include "platform/DosDevices.h"
#include "platform/Errors.h"

extern char** environ;

namespace platform {

namespace {

std::mutex processLock;
std::map<pid_t, unsigned> exitCodes;  // processes waited for, until CloseHandle

unsigned exitCodeOf(int status)
{
    if (WIFEXITED(status))
        return static_cast<unsigned>(WEXITSTATUS(status));
    if (WIFSIGNALED(status))
        return 128u + static_cast<unsigned>(WTERMSIG(status));
    return 0;
}

// Reaps a process nobody waits for, so it leaves no zombie.
void reapInBackground(pid_t pid)
{
    std::thread([pid] {
        int status;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    }).detach();
}

std::string lower(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

bool isAddress(const std::string& file)
{
    auto colon = file.find("://");
    if (colon != std::string::npos && colon > 1)
        return true;
    return lower(file.substr(0, 7)) == "mailto:";
}

bool isDriveName(const std::string& file)
{
    return file.size() >= 2 && file[1] == ':' && std::isalpha(static_cast<unsigned char>(file[0])) &&
           (file.size() == 2 || file[2] == '\\' || file[2] == '/');
}

// A command without a slash is looked up in PATH, as the shell would.
std::string findExecutable(const std::string& name)
{
    if (name.find('/') != std::string::npos)
        return name;
    const char* path = std::getenv("PATH");
    std::string dirs = path && *path ? path : "/usr/local/bin:/usr/bin:/bin";
    size_t pos = 0;
    while (pos <= dirs.size()) {
        size_t e = dirs.find(':', pos);
        if (e == std::string::npos)
            e = dirs.size();
        std::string dir = dirs.substr(pos, e - pos);
        std::string candidate = (dir.empty() ? std::string(".") : dir) + "/" + name;
        struct stat st {};
        if (::stat(candidate.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
            ::access(candidate.c_str(), X_OK) == 0)
            return candidate;
        pos = e + 1;
    }
    return "";
}

// Starts argv[0] with the arguments; 0 or an errno value.
int spawn(const std::vector<std::string>& args, const std::string& directory, pid_t& pid)
{
    std::vector<char*> argv;
    for (const auto& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (!directory.empty())
        posix_spawn_file_actions_addchdir_np(&actions, directory.c_str());
    int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return rc;
}

bool fail(int err)
{
    SetLastError(err);
    return false;
}

}  // namespace

std::vector<std::string> SplitCommandLine(const std::string& parameters)
{
    std::vector<std::string> args;
    size_t i = 0, n = parameters.size();
    while (i < n) {
        while (i < n && (parameters[i] == ' ' || parameters[i] == '\t'))
            ++i;
        if (i >= n)
            break;
        std::string arg;
        bool quoted = false;
        while (i < n) {
            char c = parameters[i];
            if (!quoted && (c == ' ' || c == '\t'))
                break;
            if (c == '\\') {
                size_t count = 0;
                while (i < n && parameters[i] == '\\') {
                    ++count;
                    ++i;
                }
                if (i < n && parameters[i] == '"') {
                    arg.append(count / 2, '\\');
                    if (count % 2 == 1) {
                        arg += '"';
                        ++i;
                    }
                } else {
                    arg.append(count, '\\');
                }
                continue;
            }
            if (c == '"') {
                if (quoted && i + 1 < n && parameters[i + 1] == '"') {
                    arg += '"';
                    i += 2;
                    continue;
                }
                quoted = !quoted;
                ++i;
                continue;
            }
            arg += c;
            ++i;
        }
        args.push_back(std::move(arg));
    }
    return args;
}

bool ShellExecuteEx(TShellExecuteInfo& info)
{
    info.hProcess = -1;
    std::string verb = lower(info.Verb);
    if (!verb.empty() && verb != "open" && verb != "runas")
        return fail(EINVAL);
    if (info.File.empty())
        return fail(ENOENT);
    if (!info.Directory.empty()) {
        struct stat st {};
        if (::stat(info.Directory.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
            return fail(ENOENT);
    }

    std::vector<std::string> args;
    std::string target = info.File;
    if (isDriveName(target)) {
        target = DriveRootToPath(target);
        if (target.empty())
            return fail(ENOENT);
    }
    struct stat st {};
    bool exists = ::stat(target.c_str(), &st) == 0;
    bool isFolder = exists && S_ISDIR(st.st_mode);
    std::string exe = isAddress(target) || isFolder ? "" : findExecutable(target);
    bool runnable = !exe.empty() && ::stat(exe.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
                    ::access(exe.c_str(), X_OK) == 0;

    if (verb == "runas") {
        if (!runnable)
            return fail(::access(exe.c_str(), F_OK) == 0 || exists ? EACCES : ENOENT);
        if (::geteuid() != 0) {
            std::string pkexec = findExecutable("pkexec");
            if (pkexec.empty())
                return fail(ENOENT);
            char resolved[PATH_MAX];
            if (!::realpath(exe.c_str(), resolved))
                return fail(errno);
            args = {pkexec, resolved};
        } else {
            args = {exe};
        }
        for (auto& a : SplitCommandLine(info.Parameters))
            args.push_back(a);
    } else if (isAddress(target) || isFolder || (exists && !runnable)) {
        // Folders, documents and web addresses go to the desktop's handler.
        std::string opener = findExecutable("xdg-open");
        if (opener.empty())
            return fail(ENOENT);
        args = {opener, target};
    } else if (runnable) {
        args = {exe};
        for (auto& a : SplitCommandLine(info.Parameters))
            args.push_back(a);
    } else {
        return fail(ENOENT);
    }

    pid_t pid = -1;
    if (int rc = spawn(args, info.Directory, pid); rc != 0)
        return fail(rc);
    if (info.NoCloseProcess)
        info.hProcess = pid;
    else
        reapInBackground(pid);
    SetLastError(0);
    return true;
}

intptr_t ShellExecute(const std::string& Verb, const std::string& File,
                      const std::string& Parameters, const std::string& Directory, int Show)
{
    TShellExecuteInfo info;
    info.Verb = Verb;
    info.File = File;
    info.Parameters = Parameters;
    info.Directory = Directory;
    info.Show = Show;
    if (ShellExecuteEx(info))
        return 42;
    switch (GetLastError()) {
    case ENOENT:
    case ENOTDIR: return 2;
    case EACCES:
    case EPERM: return 5;
    default: return 31;
    }
}

unsigned WaitForSingleObject(pid_t process, unsigned milliseconds)
{
    {
        std::lock_guard<std::mutex> lock(processLock);
        if (exitCodes.count(process))
            return WAIT_OBJECT_0;
    }
    if (process <= 0)
        return WAIT_FAILED;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    for (;;) {
        int status = 0;
        pid_t r = ::waitpid(process, &status, milliseconds == INFINITE ? 0 : WNOHANG);
        if (r == process) {
            std::lock_guard<std::mutex> lock(processLock);
            exitCodes[process] = exitCodeOf(status);
            return WAIT_OBJECT_0;
        }
        if (r < 0 && errno != EINTR) {
            SetLastError(errno);
            return WAIT_FAILED;
        }
        if (r == 0) {
            auto now = std::chrono::steady_clock::now();
            if (now >= deadline)
                return WAIT_TIMEOUT;
            std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(
                std::chrono::milliseconds(5), deadline - now));
        }
    }
}

bool GetExitCodeProcess(pid_t process, unsigned& exitCode)
{
    switch (WaitForSingleObject(process, 0)) {
    case WAIT_OBJECT_0: {
        std::lock_guard<std::mutex> lock(processLock);
        exitCode = exitCodes[process];
        return true;
    }
    case WAIT_TIMEOUT:
        exitCode = STILL_ACTIVE;
        return false;
    default:
        return false;
    }
}

void CloseHandle(pid_t process)
{
    if (process <= 0)
        return;
    {
        std::lock_guard<std::mutex> lock(processLock);
        if (exitCodes.erase(process))
            return;
    }
    int status;
    pid_t r = ::waitpid(process, &status, WNOHANG);
    if (r == 0)
        reapInBackground(process);
}

}  // namespace platform
