#pragma once

// Internal: the object behind a grabber handle: one open drive and the
// callback that receives the progress of its operations.

#include "Drive.h"
#include "DriveList.h"
#include "Handle.h"
#include "SdkError.h"
#include "burnkit.h"

#include <memory>

namespace kvsdk {

class Grabber : public SdkObject {
public:
    Grabber(const DriveEntry& entry, std::unique_ptr<Drive> drive, BURNKIT_CALLBACK callback, void* context)
        : Entry(entry), TheDrive(std::move(drive)), Callback(callback), Context(context) {}

    // Calls the callback, when there is one.
    void Report(uint32_t reason, void* param1, void* param2) const {
        if (Callback != nullptr)
            Callback(reason, Context, param1, param2);
    }

    DriveEntry Entry;
    std::unique_ptr<Drive> TheDrive;
    BURNKIT_CALLBACK Callback;
    void* Context;
};

// The grabber behind a handle; throws SdkError(EN_INVALID_INPUT_PARAMETER)
// for a null or unknown handle.
Grabber& GrabberOf(void* handle);

}  // namespace kvsdk
