#include "FileUtil.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

#include <unicode/unistr.h>

#include "platform/Errors.h"

namespace platform::detail {

namespace {

std::string reasonText(const std::string& what, const std::string& path, int err)
{
    return what + " " + path + ": " + SysErrorMessage(err);
}

bool writeAll(int fd, const char* p, size_t n)
{
    while (n > 0) {
        ssize_t w = ::write(fd, p, n);
        if (w < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        p += w;
        n -= static_cast<size_t>(w);
    }
    return true;
}

}  // namespace

bool ReadWholeFile(const std::string& path, std::string& contents)
{
    contents.clear();
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR) {
            errno = ENOENT;
            return false;
        }
        int err = errno;
        throw EOSError(reasonText("Cannot read", path, err), err);
    }
    char buf[65536];
    for (;;) {
        ssize_t r = ::read(fd, buf, sizeof buf);
        if (r < 0) {
            if (errno == EINTR)
                continue;
            int err = errno;
            ::close(fd);
            throw EOSError(reasonText("Cannot read", path, err), err);
        }
        if (r == 0)
            break;
        contents.append(buf, static_cast<size_t>(r));
    }
    ::close(fd);
    return true;
}

void WriteFileAtomic(const std::string& path, const std::string& contents, unsigned mode)
{
    std::string tmpl = path + ".XXXXXX";
    int fd = ::mkstemp(tmpl.data());
    if (fd < 0) {
        int err = errno;
        throw EOSError(reasonText("Cannot write", path, err), err);
    }
    bool ok = ::fchmod(fd, mode) == 0 && writeAll(fd, contents.data(), contents.size()) &&
              ::fsync(fd) == 0;
    int err = errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        err = errno;
    }
    if (ok && ::rename(tmpl.c_str(), path.c_str()) != 0) {
        ok = false;
        err = errno;
    }
    if (!ok) {
        ::unlink(tmpl.c_str());
        throw EOSError(reasonText("Cannot write", path, err), err);
    }
}

TFileLock::TFileLock(const std::string& lockPath)
{
    fd_ = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    int err = errno;
    // flock needs no write access: an existing lock file does when the
    // folder is read-only. Otherwise the first reason is the one to report.
    if (fd_ < 0 && (err == EACCES || err == EROFS || err == EPERM))
        fd_ = ::open(lockPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0) {
        throw EOSError(reasonText("Cannot lock", lockPath, err), err);
    }
    while (::flock(fd_, LOCK_EX) != 0) {
        if (errno == EINTR)
            continue;
        int err = errno;
        ::close(fd_);
        fd_ = -1;
        throw EOSError(reasonText("Cannot lock", lockPath, err), err);
    }
}

TFileLock::~TFileLock()
{
    if (fd_ >= 0)
        ::close(fd_);  // closing the last descriptor releases the flock
}

bool MakeDirs(const std::string& path)
{
    std::error_code ec;
    std::filesystem::create_directories(path, ec);
    if (ec) {
        errno = ec.value();
        return false;
    }
    return true;
}

std::string FoldCase(const std::string& utf8)
{
    bool ascii = true;
    for (unsigned char c : utf8)
        if (c >= 0x80) {
            ascii = false;
            break;
        }
    std::string out;
    if (ascii) {
        out = utf8;
        for (char& c : out)
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
        return out;
    }
    icu::UnicodeString::fromUTF8(utf8).foldCase().toUTF8String(out);
    return out;
}

}  // namespace platform::detail
