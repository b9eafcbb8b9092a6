#pragma once

// Internal: the drives of the SDK. Numbers 0 to 9 come from the drive map
// (drives.conf) and then the host's optical drives in the free numbers;
// virtual devices follow from 10 (see Drives.h). Listing the drives also
// keeps their letters in the DOS-device table ("\Device\CdRomN" with the
// medium behind the drive).

#include "Drive.h"
#include "burnkit.h"

#include <memory>
#include <string>
#include <vector>

namespace kvsdk {

struct DriveEntry {
    enum class Kind { Host, Image, Scripted, Virtual };
    int Number = 0;
    std::string Name;    // "CdRom0"
    Kind Source = Kind::Image;
    std::string Path;    // device node, image or script
    std::string Medium;  // what the DOS-device table records
    SCSI_DEVICE_ADDRESS Address{};
};

struct DriveListing {
    std::vector<DriveEntry> Drives;  // by number
    std::vector<std::string> Errors; // lines of the drive map that were skipped
};

// Lists the drives and brings the DOS-device table up to date.
DriveListing ListDrives();

// Opens a drive; throws SdkError naming the drive and the reason.
std::unique_ptr<Drive> OpenDrive(const DriveEntry& entry);

// Finds a drive by name (case does not matter) or address; throws
// SdkError(EN_NOT_FOUND) naming what was asked and, when the drive map has
// bad lines, why it may be missing.
DriveEntry FindDriveByName(const std::string& name);
DriveEntry FindDriveByAddress(uint8_t port, uint8_t bus, uint8_t target, uint8_t lun);

// Sets the libcdio log handler once (libcdio messages never reach stderr).
void QuietLibcdio();

}  // namespace kvsdk
