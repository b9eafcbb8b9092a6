#pragma once

// Internal: libburn and libisofs in one translation unit. libburn declares
// itself inside namespace burn and must come first; libisofs then leaves
// out its own copy of the burn_source record, so a libisofs burn_source is
// passed to libburn as a burn::burn_source.

#include <cstdint>

#include <libburn/libburn.h>
#define LIBISOFS_WITHOUT_LIBBURN
#include <libisofs/libisofs.h>

#include <memory>

namespace kvsdk {

// Starts libisofs and libburn once per process; later calls do nothing.
// Throws SdkError when a library cannot start.
void EnsureIsoLibrary();
void EnsureBurnLibrary();

// A burn source with one owner: cancelled (when it is still producing) and
// released when the owner lets go.
struct BurnSourceRelease {
    void operator()(burn::burn_source* source) const;
};
using BurnSourcePtr = std::unique_ptr<burn::burn_source, BurnSourceRelease>;

}  // namespace kvsdk
