#pragma once

// Internal: the drive map, SystemDir()/drives.conf. One drive per line:
//   CdRomN=PATH                  a drive backed by an image (.iso or .cue)
//   CdRomN=scripted:PATH.json    a scripted drive
// N is 0 to 9. Blank lines and lines whose first non-blank character is
// "#" are skipped. Relative paths are taken from the system folder.

#include <string>
#include <vector>

namespace kvsdk {

struct DriveMapEntry {
    enum class Kind { Image, Scripted };
    int Number = 0;
    Kind Source = Kind::Image;
    std::string Path;
    int Line = 0;
};

struct DriveMap {
    std::vector<DriveMapEntry> Entries;
    // One text per line that could not be used, such as
    // "drives.conf line 3: expected CdRomN=PATH, found 'CdRom'".
    std::vector<std::string> Errors;
};

DriveMap ParseDriveMap(const std::string& text, const std::string& folder);

// Reads SystemDir()/drives.conf; a missing file is an empty map.
DriveMap ReadDriveMap();

}  // namespace kvsdk
