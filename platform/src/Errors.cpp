#include "platform/Errors.h"

#include <cstring>

namespace platform {

namespace {
thread_local int lastError = 0;
}

int GetLastError() { return lastError; }
void SetLastError(int error) { lastError = error; }

std::string SysErrorMessage(int errorCode)
{
    char buf[256];
    // GNU strerror_r returns the text, which may or may not live in buf.
    return strerror_r(errorCode, buf, sizeof buf);
}

}  // namespace platform
