#pragma once

#include <stdexcept>
#include <string>

namespace platform {

// The platform's general failure: a message and the system error behind it
// (an errno value, 0 when there is none).
class EOSError : public std::runtime_error {
public:
    EOSError(const std::string& message, int errorCode = 0)
        : std::runtime_error(message), ErrorCode(errorCode) {}
    int ErrorCode;
};

// A registry failure: a hive that does not parse or cannot be written, a
// typed read of a value of another type ("Invalid data type for 'X'"), a
// write refused as access denied.
class ERegistryException : public EOSError {
public:
    using EOSError::EOSError;
};

// The last system error of this thread, as GetLastError would answer it.
int GetLastError();
void SetLastError(int error);

// "Cannot open /x: No such file or directory" style text for an errno value.
std::string SysErrorMessage(int errorCode);

}  // namespace platform
