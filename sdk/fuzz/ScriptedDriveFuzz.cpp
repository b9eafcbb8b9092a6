// Feeds arbitrary text to the scripted-drive reader; any outcome but a
// crash, a sanitizer report or an exception other than SdkError is a
// finding.

#include "ScriptedDrive.h"
#include "SdkError.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    try {
        kvsdk::DriveScript script = kvsdk::ParseDriveScript(text, "/nonexistent/");
        for (const auto& [call, failure] : script.Failures)
            if (failure.Result == EN_SUCCESS || failure.Result > EN_CALL_IS_OBSOLETE)
                __builtin_trap();
    } catch (const kvsdk::SdkError&) {
    }
    return 0;
}
