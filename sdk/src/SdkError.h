#pragma once

// Internal: how SDK functions report failures. Code inside the SDK throws
// SdkError; each exported function runs its body through Guard, which turns
// the exception into the result code, the system error and the error text
// of the caller's error block. Nothing else leaves an exported function.

#include "burnkit.h"

#include <cstdint>
#include <new>
#include <stdexcept>
#include <string>

namespace kvsdk {

class SdkError : public std::runtime_error {
public:
    SdkError(EXCEPTION_NUMBER code, const std::string& text, int systemError = 0)
        : std::runtime_error(text), Code(code), SystemError(systemError) {}
    EXCEPTION_NUMBER Code;
    int SystemError;  // errno, 0 when none
};

// "Cannot open image /x: No such file or directory" style failure from errno.
[[noreturn]] void ThrowSystemError(const std::string& what, int err, EXCEPTION_NUMBER code = EN_SYSTEM_CALL_FAILED);

// The caller's error block; every pointer may be null.
struct ErrorBlock {
    char* Text = nullptr;
    uint32_t TextSize = 0;
    uint32_t* SystemError = nullptr;
    CDB_FAILURE_INFORMATION* Cdb = nullptr;

    EXCEPTION_NUMBER Succeed() const;
    EXCEPTION_NUMBER Fail(EXCEPTION_NUMBER code, int systemError, const std::string& text) const;
};

// Runs body() and reports its outcome through the error block. body returns
// nothing (success) or throws.
template <class F>
EXCEPTION_NUMBER Guard(const ErrorBlock& eb, F&& body) noexcept {
    try {
        body();
        return eb.Succeed();
    } catch (const SdkError& e) {
        return eb.Fail(e.Code, e.SystemError, e.what());
    } catch (const std::bad_alloc&) {
        return eb.Fail(EN_MEMORY_ALLOCATION_FAILED, ENOMEM, "Out of memory");
    } catch (const std::exception& e) {
        return eb.Fail(EN_FAILURE, 0, e.what());
    } catch (...) {
        return eb.Fail(EN_FAILURE, 0, "Unexpected failure");
    }
}

// Copies text into a caller buffer of size bytes, cut to fit, zero-terminated.
void CopyText(char* buffer, size_t size, const std::string& text);

}  // namespace kvsdk
