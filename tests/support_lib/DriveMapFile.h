#pragma once
// The disc SDK's drive map (drives.conf) in the test's system folder.
// Drives are added as image-backed (CdRomN=PATH) or scripted
// (CdRomN=scripted:PATH.json); the map and the DOS-device table are
// removed when the object goes, the scripts with its folder.

#include <string>
#include <vector>

#include "TestDirs.h"

namespace kvtest {

class DriveMap {
public:
    DriveMap() = default;
    ~DriveMap();
    DriveMap(const DriveMap&) = delete;
    DriveMap& operator=(const DriveMap&) = delete;

    void AddImage(int number, const std::string& imagePath);
    // Writes the script as cdromN.json in Dir(); returns its path.
    std::string AddScripted(int number, const std::string& json);
    // A folder for the test's images and scripts.
    const TempDir& Dir() const { return dir_; }

private:
    void Write();
    TempDir dir_;
    std::vector<std::string> lines_;
};

}  // namespace kvtest
