#pragma once

namespace platform {

// What the system answers for its version: this layer answers as Windows 10.
struct OSVersionInfo {
    unsigned majorVersion;
    unsigned minorVersion;
    unsigned buildNumber;
};

OSVersionInfo GetVersionEx();

}  // namespace platform
