#pragma once

#include <optional>
#include <string>
#include <vector>

namespace platform {

// The DOS-device table: drive letters and what stands behind them, kept in
// SystemDir() + "/dosdevices.conf", one line per letter:
//   E=\Device\CdRom0|<medium>|<mount point>
// where the medium is the device node or image file behind the drive and
// the mount point (may be empty) is where its file system can be read.
// Changes are atomic and locked across processes.
struct TDosDevice {
    char Letter = 0;          // 'A'..'Z'
    std::string DeviceName;   // "\Device\CdRom0"
    std::string Medium;       // "/dev/sr0" or an image path
    std::string MountPoint;   // "" when not mounted
};

std::vector<TDosDevice> ReadDosDevices();
std::optional<TDosDevice> FindDosDevice(char letter);

// QueryDosDevice("E:"): the device name behind a drive name. False (with
// GetLastError() == ENOENT) when the letter is not defined.
bool QueryDosDevice(const std::string& driveName, std::string& target);

// Defines or replaces a letter.
void DefineDosDevice(const TDosDevice& device);
// Removes a letter; no error when it was not defined.
void RemoveDosDevice(char letter);
// Takes the first free letter from `first` to 'Z' under the table lock and
// defines it; std::nullopt when none is free. A preferred letter is taken
// when it is free. A device name that already has a letter keeps it (the
// medium is updated), so a drive never gets two letters.
std::optional<char> AssignDosDevice(const std::string& deviceName, const std::string& medium,
                                    char first = 'D', char preferred = 0);
// Sets the mount point of a defined letter.
void SetDosDeviceMountPoint(char letter, const std::string& mountPoint);

// Maps a drive root ("E:\", "E:", "e:\x\y") to the folder where its files
// can be read (the mount point plus the rest of the path); "" when the
// letter has no mount point.
std::string DriveRootToPath(const std::string& root);

// GetVolumeInformation for a drive root ("E:\"): the volume label of the
// medium (ISO9660 primary descriptor, Joliet supplementary descriptor, UDF
// logical volume id) read from the medium itself; fileSystem "CDFS" or
// "UDF". False when the letter is undefined or the medium unreadable.
bool GetVolumeInformation(const std::string& root, std::string& label, std::string& fileSystem);

// The volume label of a medium: a device node or an image file (2048-byte
// sectors, or raw 2352-byte sectors as in BIN files; a CUE sheet is
// followed to its first data file). The UDF logical volume id wins over
// the Joliet label, which wins over the ISO9660 primary one; trailing
// blanks are cut. False (GetLastError() set) when the medium cannot be
// read or holds neither file system.
bool ReadVolumeLabel(const std::string& medium, std::string& label, std::string& fileSystem);

}  // namespace platform
