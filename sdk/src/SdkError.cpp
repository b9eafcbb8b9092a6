#include "SdkError.h"

#include <cerrno>
#include <cstring>

namespace kvsdk {

void ThrowSystemError(const std::string& what, int err, EXCEPTION_NUMBER code) {
    throw SdkError(code, what + ": " + std::strerror(err), err);
}

void CopyText(char* buffer, size_t size, const std::string& text) {
    if (buffer == nullptr || size == 0)
        return;
    size_t n = text.size() < size - 1 ? text.size() : size - 1;
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
}

EXCEPTION_NUMBER ErrorBlock::Succeed() const {
    if (Text != nullptr && TextSize > 0)
        Text[0] = '\0';
    if (SystemError != nullptr)
        *SystemError = 0;
    if (Cdb != nullptr)
        std::memset(Cdb, 0, sizeof(*Cdb));
    return EN_SUCCESS;
}

EXCEPTION_NUMBER ErrorBlock::Fail(EXCEPTION_NUMBER code, int systemError, const std::string& text) const {
    CopyText(Text, TextSize, text);
    if (SystemError != nullptr)
        *SystemError = static_cast<uint32_t>(systemError);
    if (Cdb != nullptr)
        std::memset(Cdb, 0, sizeof(*Cdb));
    return code == EN_SUCCESS ? static_cast<EXCEPTION_NUMBER>(EN_FAILURE) : code;
}

}  // namespace kvsdk
