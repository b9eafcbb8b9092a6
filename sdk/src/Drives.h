#pragma once

// Internal: the meeting point of the drive list and the virtual devices.
//
// Drives are named "CdRomN". Numbers 0 to 9 belong to the drive map
// (drives.conf) and the host's optical drives; a virtual device with target
// id T shows as the image-backed drive "CdRom" + (10 + T), so its name
// never changes while it exists. The VPort module gives each virtual
// device a letter in the DOS-device table under "\Device\CdRom(10+T)".

#include <string>
#include <vector>

namespace kvsdk {

constexpr int kFirstVirtualDriveNumber = 10;

// "CdRom" + (kFirstVirtualDriveNumber + targetId).
std::string VirtualDriveName(int targetId);

// One virtual device as the drive list sees it.
struct VirtualDrive {
    int TargetId = -1;
    std::string ImagePath;  // the image behind the device
};

// Implemented by the VPort module: the virtual devices that exist now.
// Never throws; an unreadable driver state gives an empty list.
std::vector<VirtualDrive> ListVirtualDrives();

// Implemented by the VPort module: run once by Burnkit_UpStartEx
// (re-attaches persistent devices after a reboot). Never throws.
void VPortStartUp();

}  // namespace kvsdk
