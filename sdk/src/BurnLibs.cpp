#include "BurnLibs.h"

#include "SdkError.h"

#include <mutex>

namespace kvsdk {

void EnsureIsoLibrary() {
    static std::once_flag once;
    static int result = 0;
    std::call_once(once, [] {
        result = iso_init();
        if (result >= 0)
            iso_set_msgs_severities(const_cast<char*>("NEVER"), const_cast<char*>("NEVER"),
                                    const_cast<char*>("kvburner16: "));
    });
    if (result < 0)
        throw SdkError(EN_FAILURE, "Cannot start the image builder (libisofs error " + std::to_string(result) + ")");
}

void EnsureBurnLibrary() {
    static std::once_flag once;
    static int result = 0;
    std::call_once(once, [] {
        result = burn::burn_initialize();
        if (result > 0)
            // Failures are collected from the queue after each operation;
            // nothing is printed to the caller's terminal.
            burn::burn_msgs_set_severities(const_cast<char*>("FAILURE"), const_cast<char*>("NEVER"),
                                           const_cast<char*>("kvburner16: "));
    });
    if (result <= 0)
        throw SdkError(EN_FAILURE, "Cannot start the disc writer library");
}

void BurnSourceRelease::operator()(burn::burn_source* source) const {
    if (source == nullptr)
        return;
    // A libisofs source runs a producer thread; cancel stops it before the
    // source goes, or it would wait forever for a reader.
    if (source->version > 0 && source->cancel != nullptr)
        source->cancel(source);
    burn::burn_source_free(source);
}

}  // namespace kvsdk
