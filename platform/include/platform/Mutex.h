#pragma once

#include <string>

namespace platform {

// CreateMutex with a plain name: an exclusive flock on
// $XDG_RUNTIME_DIR/korvanta/NAME.lock (else /tmp/korvanta-UID/NAME.lock).
// The lock is held until Close or the end of the process.
class TNamedMutex {
public:
    TNamedMutex() = default;
    ~TNamedMutex();
    TNamedMutex(const TNamedMutex&) = delete;
    TNamedMutex& operator=(const TNamedMutex&) = delete;

    // Takes the mutex. False with AlreadyExists() true when another process
    // holds it; false with AlreadyExists() false when the lock file cannot be
    // made (errno in platform::GetLastError()).
    bool Create(const std::string& Name);
    bool AlreadyExists() const { return alreadyExists_; }
    bool Held() const { return fd_ >= 0; }
    void Close();

private:
    int fd_ = -1;
    bool alreadyExists_ = false;
};

}  // namespace platform
