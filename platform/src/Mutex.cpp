#include "platform/Mutex.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "FileUtil.h"
#include "platform/Errors.h"

namespace platform {

namespace {

std::string lockFolder()
{
    if (const char* rt = std::getenv("XDG_RUNTIME_DIR"); rt && *rt)
        return std::string(rt) + "/korvanta";
    return "/tmp/korvanta-" + std::to_string(::getuid());
}

}  // namespace

TNamedMutex::~TNamedMutex() { Close(); }

bool TNamedMutex::Create(const std::string& Name)
{
    Close();
    alreadyExists_ = false;
    std::string safe;
    for (char c : Name)
        safe += (c == '/' || c == '\0') ? '_' : c;
    std::string dir = lockFolder();
    if (!detail::MakeDirs(dir)) {
        SetLastError(errno);
        return false;
    }
    int fd = ::open((dir + "/" + safe + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        SetLastError(errno);
        return false;
    }
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EINTR)
            continue;
        int err = errno;
        ::close(fd);
        if (err == EWOULDBLOCK) {
            alreadyExists_ = true;
            SetLastError(EEXIST);
        } else {
            SetLastError(err);
        }
        return false;
    }
    fd_ = fd;
    return true;
}

void TNamedMutex::Close()
{
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

}  // namespace platform
