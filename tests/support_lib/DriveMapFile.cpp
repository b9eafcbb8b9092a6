#include "DriveMapFile.h"

#include <filesystem>

namespace kvtest {

DriveMap::~DriveMap()
{
    std::filesystem::remove(systemDir() + "/drives.conf");
    std::filesystem::remove(systemDir() + "/dosdevices.conf");
}

void DriveMap::AddImage(int number, const std::string& imagePath)
{
    lines_.push_back("CdRom" + std::to_string(number) + "=" + imagePath);
    Write();
}

std::string DriveMap::AddScripted(int number, const std::string& json)
{
    const std::string path = dir_.file("cdrom" + std::to_string(number) + ".json");
    writeFile(path, json);
    lines_.push_back("CdRom" + std::to_string(number) + "=scripted:" + path);
    Write();
    return path;
}

void DriveMap::Write()
{
    std::string text;
    for (const std::string& line : lines_)
        text += line + "\n";
    writeFile(systemDir() + "/drives.conf", text);
}

}  // namespace kvtest
