#include "platform/Paths.h"

#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <vector>

#include "FileUtil.h"
#include "platform/Errors.h"

namespace platform {

namespace {

std::string env(const char* name)
{
    const char* v = std::getenv(name);
    return v ? v : "";
}

std::string homeDir()
{
    std::string home = env("HOME");
    if (!home.empty())
        return home;
    if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir)
        return pw->pw_dir;
    return "/";
}

std::string withoutTrailingSlash(std::string p)
{
    while (p.size() > 1 && p.back() == '/')
        p.pop_back();
    return p;
}

// $XDG_CONFIG_HOME/user-dirs.dirs holds lines like
// XDG_DOCUMENTS_DIR="$HOME/Documents".
std::string documentsFromUserDirs(const std::string& configHome)
{
    std::ifstream in(configHome + "/user-dirs.dirs");
    std::string line;
    const std::string key = "XDG_DOCUMENTS_DIR=";
    while (std::getline(in, line)) {
        if (line.rfind(key, 0) != 0)
            continue;
        std::string v = line.substr(key.size());
        if (v.size() >= 2 && v.front() == '"' && v.back() == '"')
            v = v.substr(1, v.size() - 2);
        if (v.rfind("$HOME", 0) == 0)
            v = homeDir() + v.substr(5);
        if (!v.empty() && v.front() == '/')
            return withoutTrailingSlash(v);
    }
    return "";
}

}  // namespace

std::string ExecutablePath()
{
    std::vector<char> buf(4096);
    for (;;) {
        ssize_t n = ::readlink("/proc/self/exe", buf.data(), buf.size());
        if (n < 0)
            return "";
        if (static_cast<size_t>(n) < buf.size())
            return std::string(buf.data(), static_cast<size_t>(n));
        buf.resize(buf.size() * 2);
    }
}

std::string ExecutableDir()
{
    std::string p = ExecutablePath();
    auto slash = p.rfind('/');
    return slash == std::string::npos ? std::string("./") : p.substr(0, slash + 1);
}

std::string UserDir()
{
    std::string dir = env("KORVANTA_USER_DIR");
    if (dir.empty()) {
        std::string config = env("XDG_CONFIG_HOME");
        if (config.empty())
            config = homeDir() + "/.config";
        dir = config + "/korvanta";
    }
    dir = withoutTrailingSlash(dir);
    detail::MakeDirs(dir);
    return dir;
}

std::string SystemDir()
{
    std::string dir = env("KORVANTA_SYSTEM_DIR");
    if (dir.empty())
        dir = "/var/lib/korvanta";
    dir = withoutTrailingSlash(dir);
    detail::MakeDirs(dir);  // may fail for a process that is not root
    return dir;
}

std::string GetTempPath()
{
    std::string dir = env("TMPDIR");
    if (dir.empty())
        dir = "/tmp";
    if (dir.back() != '/')
        dir += '/';
    return dir;
}

std::string GetTempFileName(const std::string& dir, const std::string& prefix)
{
    std::string d = dir.empty() ? GetTempPath() : dir;
    if (d.back() != '/')
        d += '/';
    std::string tmpl = d + prefix.substr(0, 3) + "XXXXXX";
    // mkstemps keeps the ".tmp" suffix after the six random characters.
    tmpl += ".tmp";
    int fd = ::mkstemps(tmpl.data(), 4);
    if (fd < 0) {
        int err = errno;
        SetLastError(err);
        throw EOSError("Cannot create a temporary file in " + d + ": " + SysErrorMessage(err), err);
    }
    ::close(fd);
    return tmpl;
}

std::string DocumentsDir()
{
    std::string dir = env("XDG_DOCUMENTS_DIR");
    if (!dir.empty())
        return withoutTrailingSlash(dir);
    std::string config = env("XDG_CONFIG_HOME");
    if (config.empty())
        config = homeDir() + "/.config";
    dir = documentsFromUserDirs(config);
    if (!dir.empty())
        return dir;
    return withoutTrailingSlash(homeDir()) + "/Documents";
}

}  // namespace platform
