#pragma once

// Helpers shared by the files this layer keeps (hives, the DOS-device
// table): whole-file reads, atomic replacement and cross-process locks.

#include <string>

namespace platform::detail {

// Reads a whole file. False with errno == ENOENT when it does not exist;
// throws EOSError ("Cannot read FILE: reason") on any other failure.
bool ReadWholeFile(const std::string& path, std::string& contents);

// Writes contents to a temporary file beside path, flushes it to disk and
// renames it over path, so readers see either the old or the new file.
// mode is the permission of the new file. Throws EOSError on failure with
// the errno in ErrorCode.
void WriteFileAtomic(const std::string& path, const std::string& contents, unsigned mode = 0644);

// An exclusive flock on a lock file (created when missing), held until
// destruction. Throws EOSError ("Cannot lock FILE: reason") when the lock
// file cannot be opened.
class TFileLock {
public:
    explicit TFileLock(const std::string& lockPath);
    ~TFileLock();
    TFileLock(const TFileLock&) = delete;
    TFileLock& operator=(const TFileLock&) = delete;

private:
    int fd_ = -1;
};

// Creates a folder and its parents; false (errno set) on failure.
bool MakeDirs(const std::string& path);

// ASCII-and-Unicode case fold of UTF-8 text, for names compared without case.
std::string FoldCase(const std::string& utf8);

}  // namespace platform::detail
