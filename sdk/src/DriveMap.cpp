#include "DriveMap.h"

#include "ImageDisc.h"

#include <platform/Paths.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace kvsdk {

namespace {

std::string Trim(const std::string& s) {
    size_t b = s.find_first_not_of(" \t\r\n");
    if (b == std::string::npos)
        return {};
    size_t e = s.find_last_not_of(" \t\r\n");
    return s.substr(b, e - b + 1);
}

bool StartsWithNoCase(const std::string& s, const char* prefix) {
    size_t n = std::strlen(prefix);
    if (s.size() < n)
        return false;
    for (size_t i = 0; i < n; ++i)
        if (std::tolower(static_cast<unsigned char>(s[i])) != std::tolower(static_cast<unsigned char>(prefix[i])))
            return false;
    return true;
}

}  // namespace

DriveMap ParseDriveMap(const std::string& text, const std::string& folder) {
    DriveMap map;
    std::istringstream in(text);
    std::string raw;
    int line = 0;
    auto error = [&](const std::string& reason) {
        map.Errors.push_back("drives.conf line " + std::to_string(line) + ": " + reason);
    };
    while (std::getline(in, raw)) {
        ++line;
        std::string s = Trim(raw);
        if (s.empty() || s[0] == '#')
            continue;
        size_t eq = s.find('=');
        std::string key = Trim(s.substr(0, eq == std::string::npos ? s.size() : eq));
        if (eq == std::string::npos || !StartsWithNoCase(key, "CdRom") || key.size() != 6 ||
            !std::isdigit(static_cast<unsigned char>(key[5]))) {
            error("expected CdRomN=PATH with N from 0 to 9, found '" + s.substr(0, 80) + "'");
            continue;
        }
        DriveMapEntry e;
        e.Number = key[5] - '0';
        e.Line = line;
        std::string value = Trim(s.substr(eq + 1));
        if (StartsWithNoCase(value, "scripted:")) {
            e.Source = DriveMapEntry::Kind::Scripted;
            value = Trim(value.substr(9));
        }
        if (value.empty()) {
            error("CdRom" + std::to_string(e.Number) + " has no path");
            continue;
        }
        e.Path = value[0] == '/' ? value : folder + "/" + value;
        bool duplicate = false;
        for (const DriveMapEntry& other : map.Entries)
            if (other.Number == e.Number) {
                error("CdRom" + std::to_string(e.Number) + " is already defined in line " +
                      std::to_string(other.Line));
                duplicate = true;
            }
        if (!duplicate)
            map.Entries.push_back(e);
    }
    return map;
}

DriveMap ReadDriveMap() {
    const std::string folder = platform::SystemDir();
    const std::string path = folder + "/drives.conf";
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.Get() < 0) {
        DriveMap map;
        if (errno != ENOENT)
            map.Errors.push_back("Cannot open " + path + ": " + std::strerror(errno));
        return map;
    }
    std::string text;
    char buffer[4096];
    for (;;) {
        ssize_t n = ::read(fd.Get(), buffer, sizeof(buffer));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            DriveMap map;
            map.Errors.push_back("Cannot read " + path + ": " + std::strerror(errno));
            return map;
        }
        if (n == 0)
            break;
        text.append(buffer, static_cast<size_t>(n));
        if (text.size() > (1u << 20))
            break;
    }
    return ParseDriveMap(text, folder);
}

}  // namespace kvsdk
