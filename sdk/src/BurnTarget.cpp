#include "BurnWriter.h"

#include "SdkError.h"

namespace kvsdk {

BurnTarget GrabberBurnTarget(void* grabber, const char* function) {
    (void)grabber;
    (void)function;
    // No grabber objects exist in this build yet: every handle is unknown.
    throw SdkError(EN_INVALID_INPUT_PARAMETER, "Invalid grabber handle");
}

}  // namespace kvsdk
