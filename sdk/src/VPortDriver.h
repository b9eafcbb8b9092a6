#pragma once

// The virtual-device driver: virtual DVD devices as read-only loop devices
// over image files, each with a target id, a drive letter in the
// DOS-device table and, where it can be mounted, a root folder. Every
// operation takes the driver lock, so processes never hand out the same
// target id or letter twice. Failures are TVPortError (VPortHost.h).

#include <cstdint>
#include <string>
#include <vector>

#include "VPortState.h"

namespace vport {

// The driver version that drvinst records, as the two 32-bit numbers the
// SDK reports: major = a << 16 | b, minor = c << 16 | d for "a.b.c.d".
struct TVPortVersion {
    uint32_t Major = 0;
    uint32_t Minor = 0;
};

// The driver answers: it is installed and this process can use loop
// devices. EN_NOT_IMPLEMENTED with ENOENT when it is not installed, with
// the errno of the loop devices (EACCES when not root) when they cannot be
// used.
TVPortVersion VPortCheckDriver();

// Adds a device over the image (type 3, DVD, only). The image must be a
// readable, non-empty regular file. Returns the new device.
TVPortDevice VPortAddDevice(uint32_t type, const std::string& image, bool persistent);

// Removes a device: unmounts its medium, detaches its loop device and
// frees its letter. EN_NOT_FOUND for an unknown target id.
void VPortRemoveDevice(int32_t targetId);

// The devices in the order they were added.
std::vector<TVPortDevice> VPortListDevices();

// One device; EN_NOT_FOUND for an unknown target id.
TVPortDevice VPortFindDevice(int32_t targetId);

// What a device reports as its inquiry data.
struct TVPortInquiry {
    const char* Vendor;
    const char* Product;
    const char* Revision;
};
TVPortInquiry VPortInquiry(uint32_t type);

// Installs the driver, or updates the version of an installed one (its
// devices stay). Loop devices must be usable.
void VPortInstall(const std::string& version);

// Removes every device and the driver state. A device that cannot be
// removed stays recorded, and the call fails naming it.
void VPortUninstall();

// Brings the devices in line with the machine after a restart (or after
// someone detached their loop devices): persistent devices are attached
// again with their target id and letter, others are dropped; a persistent
// device whose image is gone is dropped and reported. Returns the reports.
std::vector<std::string> VPortRestoreDevices();

// The version "a.b.c.d" of a setup information file: the DriverVer line
// of its [Version] section. Throws TVPortError when the file cannot be read
// or has no valid version.
std::string ReadInfVersion(const std::string& infPath);

}  // namespace vport
