#include "DriveList.h"

#include "DriveMap.h"
#include "Drives.h"
#include "HostDrive.h"
#include "ImageDisc.h"
#include "ImageDrive.h"
#include "ScriptedDrive.h"
#include "SdkError.h"

#include <platform/DosDevices.h>

#include <cdio/logging.h>

#include <algorithm>
#include <cctype>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace kvsdk {

namespace {

constexpr uint8_t kPortId = 1;

void DiscardLog(cdio_log_level_t, const char*) {}

bool EqualNoCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

std::string DeviceNameOf(const DriveEntry& d) { return "\\Device\\" + d.Name; }

// The image a scripted drive holds, so its letter leads to the disc.
std::string ScriptedMedium(const std::string& scriptPath) {
    UniqueFd fd(::open(scriptPath.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat st {};
    if (fd.Get() < 0 || ::fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > (1 << 20))
        return scriptPath;
    try {
        std::string text(static_cast<size_t>(st.st_size), '\0');
        ReadExactly(fd.Get(), text.data(), text.size(), 0, scriptPath);
        size_t slash = scriptPath.find_last_of('/');
        DriveScript script = ParseDriveScript(text, scriptPath.substr(0, slash + 1));
        return script.HasDisc ? script.Image : std::string();
    } catch (const SdkError&) {
        return scriptPath;
    }
}

// Letters are a convenience for the drives: when the DOS-device table
// cannot be read or written, the drives still work, without letters.
void SyncDosDevices(const std::vector<DriveEntry>& drives) {
    try {
        std::vector<platform::TDosDevice> table = platform::ReadDosDevices();
        for (const DriveEntry& d : drives) {
            if (d.Source == DriveEntry::Kind::Virtual)
                continue;
            auto it = std::find_if(table.begin(), table.end(), [&](const platform::TDosDevice& t) {
                return EqualNoCase(t.DeviceName, DeviceNameOf(d));
            });
            if (it == table.end()) {
                platform::AssignDosDevice(DeviceNameOf(d), d.Medium);
            } else if (it->Medium != d.Medium) {
                platform::TDosDevice changed = *it;
                changed.Medium = d.Medium;
                changed.MountPoint.clear();
                platform::DefineDosDevice(changed);
            }
        }
        // Letters of map and host drives that are gone.
        for (const platform::TDosDevice& t : table) {
            const std::string prefix = "\\Device\\CdRom";
            if (t.DeviceName.size() != prefix.size() + 1 || !EqualNoCase(t.DeviceName.substr(0, prefix.size()), prefix) ||
                !std::isdigit(static_cast<unsigned char>(t.DeviceName.back())))
                continue;
            int number = t.DeviceName.back() - '0';
            bool present = std::any_of(drives.begin(), drives.end(), [&](const DriveEntry& d) {
                return d.Number == number && d.Source != DriveEntry::Kind::Virtual;
            });
            if (!present)
                platform::RemoveDosDevice(t.Letter);
        }
    } catch (const std::exception&) {
    }
}

}  // namespace

void QuietLibcdio() {
    static std::once_flag once;
    std::call_once(once, [] { cdio_log_set_handler(DiscardLog); });
}

std::string VirtualDriveName(int targetId) { return "CdRom" + std::to_string(kFirstVirtualDriveNumber + targetId); }

DriveListing ListDrives() {
    QuietLibcdio();
    DriveListing listing;
    DriveMap map = ReadDriveMap();
    listing.Errors = map.Errors;
    bool used[kFirstVirtualDriveNumber] = {};
    for (const DriveMapEntry& e : map.Entries) {
        DriveEntry d;
        d.Number = e.Number;
        d.Path = e.Path;
        if (e.Source == DriveMapEntry::Kind::Scripted) {
            d.Source = DriveEntry::Kind::Scripted;
            d.Medium = ScriptedMedium(e.Path);
        } else {
            d.Source = DriveEntry::Kind::Image;
            d.Medium = e.Path;
        }
        used[e.Number] = true;
        listing.Drives.push_back(d);
    }
    int next = 0;
    for (const std::string& device : HostDriveDevices()) {
        while (next < kFirstVirtualDriveNumber && used[next])
            ++next;
        if (next == kFirstVirtualDriveNumber)
            break;
        DriveEntry d;
        d.Number = next;
        d.Source = DriveEntry::Kind::Host;
        d.Path = d.Medium = device;
        used[next] = true;
        listing.Drives.push_back(d);
    }
    for (const VirtualDrive& v : ListVirtualDrives()) {
        if (v.TargetId < 0 || v.TargetId > 255 - kFirstVirtualDriveNumber)
            continue;
        DriveEntry d;
        d.Number = kFirstVirtualDriveNumber + v.TargetId;
        d.Source = DriveEntry::Kind::Virtual;
        d.Path = d.Medium = v.ImagePath;
        listing.Drives.push_back(d);
    }
    std::sort(listing.Drives.begin(), listing.Drives.end(),
              [](const DriveEntry& a, const DriveEntry& b) { return a.Number < b.Number; });
    for (DriveEntry& d : listing.Drives) {
        d.Name = "CdRom" + std::to_string(d.Number);
        d.Address = SCSI_DEVICE_ADDRESS{1, kPortId, 0, static_cast<uint8_t>(d.Number), 0};
    }
    SyncDosDevices(listing.Drives);
    return listing;
}

std::unique_ptr<Drive> OpenDrive(const DriveEntry& entry) {
    QuietLibcdio();
    switch (entry.Source) {
    case DriveEntry::Kind::Host:
        return std::make_unique<HostDrive>(entry.Name, entry.Path);
    case DriveEntry::Kind::Scripted:
        return std::make_unique<ScriptedDrive>(entry.Name, entry.Path);
    case DriveEntry::Kind::Virtual: {
        DriveIdentity identity;
        identity.Product = "Virtual DVD-ROM";
        return std::make_unique<ImageDrive>(entry.Name, entry.Path, identity);
    }
    case DriveEntry::Kind::Image:
    default:
        return std::make_unique<ImageDrive>(entry.Name, entry.Path);
    }
}

namespace {

[[noreturn]] void NotFound(const std::string& what, const DriveListing& listing) {
    std::string text = "No drive " + what;
    if (!listing.Errors.empty())
        text += " (" + listing.Errors.front() + ")";
    throw SdkError(EN_NOT_FOUND, text, ENODEV);
}

}  // namespace

DriveEntry FindDriveByName(const std::string& name) {
    DriveListing listing = ListDrives();
    for (const DriveEntry& d : listing.Drives)
        if (EqualNoCase(d.Name, name))
            return d;
    NotFound("named '" + name + "'", listing);
}

DriveEntry FindDriveByAddress(uint8_t port, uint8_t bus, uint8_t target, uint8_t lun) {
    DriveListing listing = ListDrives();
    for (const DriveEntry& d : listing.Drives)
        if (d.Address.m__UCHAR__PortID == port && d.Address.m__UCHAR__BusID == bus &&
            d.Address.m__UCHAR__TargetID == target && d.Address.m__UCHAR__LUN == lun)
            return d;
    NotFound("at address " + std::to_string(port) + ":" + std::to_string(bus) + ":" + std::to_string(target) + ":" +
                 std::to_string(lun),
             listing);
}

}  // namespace kvsdk
