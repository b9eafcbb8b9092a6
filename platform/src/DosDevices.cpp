#include "platform/DosDevices.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>

#include "FileUtil.h"
#include "platform/Errors.h"
#include "platform/Paths.h"

namespace platform {

namespace {

std::string tablePath() { return SystemDir() + "/dosdevices.conf"; }

char upper(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }

bool isLetter(char c) { return c >= 'A' && c <= 'Z'; }

// Media and mount points are file paths: they may hold any byte but the
// field separator and line ends must not appear raw.
std::string escapeField(const std::string& s)
{
    std::string out;
    for (char c : s) {
        switch (c) {
        case '%': out += "%25"; break;
        case '|': out += "%7C"; break;
        case '\n': out += "%0A"; break;
        case '\r': out += "%0D"; break;
        default: out += c;
        }
    }
    return out;
}

std::string unescapeField(const std::string& s)
{
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '%' && i + 2 < s.size()) {
            std::string hex = s.substr(i + 1, 2);
            char* end = nullptr;
            long v = std::strtol(hex.c_str(), &end, 16);
            if (end == hex.c_str() + 2) {
                out += static_cast<char>(v);
                i += 2;
                continue;
            }
        }
        out += s[i];
    }
    return out;
}

std::vector<TDosDevice> parseTable(const std::string& text, const std::string& file)
{
    std::vector<TDosDevice> devices;
    size_t pos = 0;
    int lineNo = 0;
    while (pos < text.size()) {
        size_t e = text.find('\n', pos);
        if (e == std::string::npos)
            e = text.size();
        std::string line = text.substr(pos, e - pos);
        pos = e + 1;
        ++lineNo;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == '#')
            continue;
        if (line.size() < 2 || !isLetter(upper(line[0])) || line[1] != '=')
            throw EOSError("Cannot parse " + file + ", line " + std::to_string(lineNo) +
                               ": drive letter expected",
                           EINVAL);
        TDosDevice d;
        d.Letter = upper(line[0]);
        std::string rest = line.substr(2);
        size_t a = rest.find('|');
        d.DeviceName = rest.substr(0, a);
        if (a != std::string::npos) {
            size_t b = rest.find('|', a + 1);
            d.Medium = unescapeField(rest.substr(a + 1, b == std::string::npos ? b : b - a - 1));
            if (b != std::string::npos)
                d.MountPoint = unescapeField(rest.substr(b + 1));
        }
        std::erase_if(devices, [&](const TDosDevice& o) { return o.Letter == d.Letter; });
        devices.push_back(std::move(d));
    }
    std::sort(devices.begin(), devices.end(),
              [](const TDosDevice& x, const TDosDevice& y) { return x.Letter < y.Letter; });
    return devices;
}

std::string formatTable(const std::vector<TDosDevice>& devices)
{
    std::string out;
    for (auto& d : devices) {
        out += d.Letter;
        out += '=';
        out += d.DeviceName + "|" + escapeField(d.Medium) + "|" + escapeField(d.MountPoint) + "\n";
    }
    return out;
}

std::vector<TDosDevice> readTable()
{
    std::string file = tablePath();
    std::string text;
    if (!detail::ReadWholeFile(file, text))
        return {};
    return parseTable(text, file);
}

// Edits the table under its lock and writes it back atomically.
template <typename F>
auto modifyTable(F change)
{
    std::string file = tablePath();
    detail::TFileLock lock(file + ".lock");
    std::vector<TDosDevice> devices = readTable();
    auto result = change(devices);
    std::sort(devices.begin(), devices.end(),
              [](const TDosDevice& x, const TDosDevice& y) { return x.Letter < y.Letter; });
    detail::WriteFileAtomic(file, formatTable(devices));
    return result;
}

bool sameText(const std::string& a, const std::string& b)
{
    return detail::FoldCase(a) == detail::FoldCase(b);
}

// "E:\x\y", "e:", "E:\" -> 'E' and the rest after the drive ("x\y").
bool splitRoot(const std::string& root, char& letter, std::string& rest)
{
    if (root.size() < 2 || root[1] != ':' || !isLetter(upper(root[0])))
        return false;
    letter = upper(root[0]);
    size_t i = 2;
    while (i < root.size() && (root[i] == '\\' || root[i] == '/'))
        ++i;
    rest = root.substr(i);
    return true;
}

}  // namespace

std::vector<TDosDevice> ReadDosDevices() { return readTable(); }

std::optional<TDosDevice> FindDosDevice(char letter)
{
    letter = upper(letter);
    for (auto& d : readTable())
        if (d.Letter == letter)
            return d;
    return std::nullopt;
}

bool QueryDosDevice(const std::string& driveName, std::string& target)
{
    target.clear();
    if (driveName.size() < 2 || driveName[1] != ':' || !isLetter(upper(driveName[0]))) {
        SetLastError(ENOENT);
        return false;
    }
    try {
        if (auto d = FindDosDevice(driveName[0])) {
            target = d->DeviceName;
            return true;
        }
        SetLastError(ENOENT);
    } catch (const EOSError& e) {
        SetLastError(e.ErrorCode ? e.ErrorCode : EIO);
    }
    return false;
}

void DefineDosDevice(const TDosDevice& device)
{
    TDosDevice d = device;
    d.Letter = upper(d.Letter);
    if (!isLetter(d.Letter))
        throw EOSError(std::string("Invalid drive letter '") + device.Letter + "'", EINVAL);
    modifyTable([&](std::vector<TDosDevice>& devices) {
        std::erase_if(devices, [&](const TDosDevice& o) { return o.Letter == d.Letter; });
        devices.push_back(d);
        return 0;
    });
}

void RemoveDosDevice(char letter)
{
    letter = upper(letter);
    modifyTable([&](std::vector<TDosDevice>& devices) {
        std::erase_if(devices, [&](const TDosDevice& o) { return o.Letter == letter; });
        return 0;
    });
}

std::optional<char> AssignDosDevice(const std::string& deviceName, const std::string& medium,
                                    char first, char preferred)
{
    first = upper(first);
    preferred = upper(preferred);
    if (!isLetter(first))
        first = 'A';
    return modifyTable([&](std::vector<TDosDevice>& devices) -> std::optional<char> {
        for (auto& d : devices)
            if (sameText(d.DeviceName, deviceName)) {
                d.Medium = medium;
                return d.Letter;
            }
        auto taken = [&](char c) {
            for (auto& d : devices)
                if (d.Letter == c)
                    return true;
            return false;
        };
        char letter = 0;
        if (isLetter(preferred) && !taken(preferred))
            letter = preferred;
        for (char c = first; !letter && c <= 'Z'; ++c)
            if (!taken(c))
                letter = c;
        if (!letter)
            return std::nullopt;
        devices.push_back(TDosDevice{letter, deviceName, medium, ""});
        return letter;
    });
}

void SetDosDeviceMountPoint(char letter, const std::string& mountPoint)
{
    letter = upper(letter);
    bool found = modifyTable([&](std::vector<TDosDevice>& devices) {
        for (auto& d : devices)
            if (d.Letter == letter) {
                d.MountPoint = mountPoint;
                return true;
            }
        return false;
    });
    if (!found)
        throw EOSError(std::string("Drive ") + letter + ": is not defined", ENOENT);
}

std::string DriveRootToPath(const std::string& root)
{
    char letter;
    std::string rest;
    if (!splitRoot(root, letter, rest))
        return "";
    std::optional<TDosDevice> d;
    try {
        d = FindDosDevice(letter);
    } catch (const EOSError&) {
        return "";
    }
    if (!d || d->MountPoint.empty())
        return "";
    std::string path = d->MountPoint;
    if (!rest.empty()) {
        for (char& c : rest)
            if (c == '\\')
                c = '/';
        if (path.back() != '/')
            path += '/';
        path += rest;
    }
    return path;
}

bool GetVolumeInformation(const std::string& root, std::string& label, std::string& fileSystem)
{
    label.clear();
    fileSystem.clear();
    char letter;
    std::string rest;
    if (!splitRoot(root, letter, rest)) {
        SetLastError(EINVAL);
        return false;
    }
    std::optional<TDosDevice> d;
    try {
        d = FindDosDevice(letter);
    } catch (const EOSError& e) {
        SetLastError(e.ErrorCode ? e.ErrorCode : EIO);
        return false;
    }
    if (!d || d->Medium.empty()) {
        SetLastError(ENOENT);
        return false;
    }
    return ReadVolumeLabel(d->Medium, label, fileSystem);
}

}  // namespace platform
