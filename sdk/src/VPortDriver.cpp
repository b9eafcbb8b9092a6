#include "VPortDriver.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>

#include "Drives.h"
#include "VPortHost.h"
#include "platform/DosDevices.h"

namespace vport {

namespace {

constexpr uint32_t kTypeDvd = 3;  // VPORT_DEVICE_TYPE_DVD
constexpr uint32_t kEnNotImplemented = 19;

std::string SysText(int error) { return std::strerror(error); }

// A file descriptor with one owner.
class TFd {
public:
    explicit TFd(int fd) : fd_(fd) {}
    ~TFd() { if (fd_ >= 0) ::close(fd_); }
    TFd(const TFd&) = delete;
    TFd& operator=(const TFd&) = delete;
    int get() const { return fd_; }
    int release()
    {
        int fd = fd_;
        fd_ = -1;
        return fd;
    }

private:
    int fd_;
};

std::string FileName(const std::string& path)
{
    auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The loop device still holds this image (a deleted image shows with a
// suffix).
bool HoldsImage(const std::string& backingFile, const std::string& image)
{
    return !backingFile.empty() &&
           (backingFile == image || backingFile == image + " (deleted)");
}

// Loads the state; the driver must be installed.
TVPortState LoadInstalled()
{
    try {
        return LoadVPortState();
    } catch (const TVPortError& e) {
        if (e.SystemError == ENOENT && e.Exception == kEnInvalidState)
            throw TVPortError(kEnNotImplemented, ENOENT, e.what());
        throw;
    }
}

void RequireLoops()
{
    if (int e = VPortHost().LoopUsable())
        throw TVPortError(kEnNotImplemented, e, "Loop devices cannot be used: " + SysText(e));
}

// Frees the device's letter when the DOS-device table still gives it to
// this device.
void FreeLetter(const TVPortDevice& d)
{
    if (!d.Letter)
        return;
    auto entry = platform::FindDosDevice(d.Letter);
    if (entry && entry->DeviceName == d.DeviceName)
        platform::RemoveDosDevice(d.Letter);
}

void RemoveMountFolder(const std::string& folder)
{
    if (folder.empty())
        return;
    VPortHost().Unmount(folder);
    ::rmdir(folder.c_str());
}

// Starts mounting the device's medium under its folder.
std::unique_ptr<TVPortHost::TMountJob> StartMount(const TVPortDevice& d)
{
    std::string folder = VPortMountFolder(d.TargetId);
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec)
        return nullptr;
    return VPortHost().StartMount(d.Loop, d.Image, folder);
}

// Takes the outcome of the mount and records the mount point with the
// device's letter.
void FinishMount(TVPortDevice& d, std::unique_ptr<TVPortHost::TMountJob> job)
{
    std::string folder = VPortMountFolder(d.TargetId);
    d.MountPoint.clear();
    if (job && job->Finish() != TMountKind::None)
        d.MountPoint = folder;
    else
        ::rmdir(folder.c_str());
    // A letter is taken without a mount point, so only a mount is recorded.
    if (d.Letter && !d.MountPoint.empty())
        platform::SetDosDeviceMountPoint(d.Letter, d.MountPoint);
}

// Opens an image for a device: a readable, non-empty regular file. Returns
// the descriptor and its absolute path.
int OpenImage(const std::string& image, std::string& absolute)
{
    int fd = ::open(image.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        int e = errno;
        throw TVPortError(kEnSystemCallFailed, e, "Cannot open " + image + ": " + SysText(e));
    }
    TFd owner(fd);
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        int e = errno;
        throw TVPortError(kEnSystemCallFailed, e, "Cannot open " + image + ": " + SysText(e));
    }
    if (S_ISDIR(st.st_mode))
        throw TVPortError(kEnInvalidInputParameter, EISDIR, "Cannot use " + image + ": " + SysText(EISDIR));
    if (!S_ISREG(st.st_mode))
        throw TVPortError(kEnInvalidInputParameter, EINVAL, "Cannot use " + image + ": not an image file");
    if (st.st_size == 0)
        throw TVPortError(kEnUnrecognizedMedia, EINVAL, "Cannot use " + image + ": the file is empty");
    char first;
    if (::pread(fd, &first, 1, 0) != 1) {
        int e = errno ? errno : EIO;
        throw TVPortError(kEnSystemCallFailed, e, "Cannot read " + image + ": " + SysText(e));
    }
    char* real = ::realpath(image.c_str(), nullptr);
    if (!real) {
        int e = errno;
        throw TVPortError(kEnSystemCallFailed, e, "Cannot open " + image + ": " + SysText(e));
    }
    absolute = real;
    std::free(real);
    return owner.release();
}

// Takes the device's letter: its own when the table still holds it for
// this device or it is free, else the next free one. False when no letter
// is free.
bool TakeLetter(TVPortDevice& d, char wanted)
{
    if (wanted) {
        auto entry = platform::FindDosDevice(wanted);
        if (entry && entry->DeviceName == d.DeviceName) {
            platform::TDosDevice def = *entry;
            def.Medium = d.Image;
            def.MountPoint.clear();
            platform::DefineDosDevice(def);
            d.Letter = wanted;
            return true;
        }
    }
    auto letter = platform::AssignDosDevice(d.DeviceName, d.Image, 'D', wanted);
    d.Letter = letter ? *letter : 0;
    return letter.has_value();
}

// Attaches, letters and mounts a device; on failure undoes what it did.
// The letter is taken while the mount starts.
void BringUp(TVPortDevice& d, int imageFd, char wantedLetter)
{
    TVPortHost& host = VPortHost();
    d.Loop = host.Attach(imageFd, d.Image);
    std::unique_ptr<TVPortHost::TMountJob> job;
    try {
        job = StartMount(d);
        if (!TakeLetter(d, wantedLetter)) {
            d.Letter = 0;
            throw TVPortError(kEnRange, ENOSPC, "No free drive letter for " + d.Image);
        }
        FinishMount(d, std::move(job));
    } catch (...) {
        if (job)
            job->Finish();
        RemoveMountFolder(VPortMountFolder(d.TargetId));
        FreeLetter(d);
        try {
            host.Detach(d.Loop);
        } catch (const TVPortError&) {
        }
        d.Loop.clear();
        d.Letter = 0;
        d.MountPoint.clear();
        throw;
    }
}

// Takes a device down: unmount, detach (only when the loop device still
// holds its image), free its letter.
void TakeDown(const TVPortDevice& d)
{
    RemoveMountFolder(d.MountPoint);
    if (!d.Loop.empty() && HoldsImage(VPortHost().BackingFile(d.Loop), d.Image))
        VPortHost().Detach(d.Loop);
    FreeLetter(d);
}

// Restores the devices when the machine was restarted since the state was
// written (or, with everyDevice, when a device lost its loop device).
// Returns true when the state changed.
bool Restore(TVPortState& state, bool everyDevice, std::vector<std::string>& reports)
{
    TVPortHost& host = VPortHost();
    const std::string boot = host.BootId();
    const bool restarted = state.BootId != boot;
    bool changed = restarted;
    std::vector<TVPortDevice> kept;
    for (auto& d : state.Devices) {
        bool alive = !restarted && !d.Loop.empty() && HoldsImage(host.BackingFile(d.Loop), d.Image);
        if (alive || (!restarted && !everyDevice)) {
            kept.push_back(std::move(d));
            continue;
        }
        changed = true;
        RemoveMountFolder(d.MountPoint);
        d.MountPoint.clear();
        d.Loop.clear();
        if (!d.Persistent) {
            FreeLetter(d);
            continue;
        }
        const char letter = d.Letter;
        int fd = ::open(d.Image.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            int e = errno;
            reports.push_back("Virtual device " + std::to_string(d.TargetId) + " was removed: its image " +
                              d.Image + " cannot be opened: " + SysText(e));
            FreeLetter(d);
            continue;
        }
        TFd owner(fd);
        try {
            BringUp(d, fd, letter);
        } catch (const TVPortError& e) {
            reports.push_back("Virtual device " + std::to_string(d.TargetId) +
                              " was removed: " + e.what());
            continue;
        }
        if (d.Letter != letter)
            reports.push_back("Virtual device " + std::to_string(d.TargetId) + " moved from drive " +
                              std::string(1, letter ? letter : '-') + " to drive " +
                              std::string(1, d.Letter));
        kept.push_back(std::move(d));
    }
    state.Devices = std::move(kept);
    state.BootId = boot;
    return changed;
}

void Report(const std::vector<std::string>& reports)
{
    for (const auto& r : reports)
        std::fprintf(stderr, "virtual-device driver: %s\n", r.c_str());
}

// Loads the state of an installed driver, restored after a restart.
TVPortState LoadCurrent()
{
    TVPortState state = LoadInstalled();
    std::vector<std::string> reports;
    if (Restore(state, false, reports))
        SaveVPortState(state);
    Report(reports);
    return state;
}

// Reads the state for installing or removing the driver: a damaged state
// is reported and what could be read of it carries on.
TVPortState LoadRepaired()
{
    try {
        return LoadVPortState();
    } catch (const TVPortError& e) {
        if (e.SystemError != EBADMSG)
            throw;
        Report({e.what()});
        return LoadVPortState();
    }
}

TVPortDevice& Find(TVPortState& state, int32_t targetId)
{
    for (auto& d : state.Devices) {
        if (d.TargetId == targetId)
            return d;
    }
    throw TVPortError(kEnNotFound, ENOENT, "No virtual device with target id " + std::to_string(targetId));
}

}  // namespace

TVPortVersion VPortCheckDriver()
{
    std::string version;
    {
        TVPortLock lock;
        version = LoadInstalled().Version;
    }
    RequireLoops();
    TVPortVersion v;
    unsigned a = 0, b = 0, c = 0, d = 0;
    std::sscanf(version.c_str(), "%u.%u.%u.%u", &a, &b, &c, &d);
    v.Major = a << 16 | b;
    v.Minor = c << 16 | d;
    return v;
}

TVPortDevice VPortAddDevice(uint32_t type, const std::string& image, bool persistent)
{
    if (type != kTypeDvd)
        throw TVPortError(kEnInvalidInputParameter, EINVAL,
                          "Device type " + std::to_string(type) + " is not supported");
    if (image.empty())
        throw TVPortError(kEnInvalidInputParameter, EINVAL, "No image file given");
    if (image.find('\n') != std::string::npos)
        throw TVPortError(kEnInvalidInputParameter, EINVAL, "Cannot use " + image + ": line break in the path");

    TVPortLock lock;
    TVPortState state = LoadCurrent();
    RequireLoops();

    TVPortDevice d;
    d.Type = type;
    d.Persistent = persistent;
    int fd = OpenImage(image, d.Image);
    TFd owner(fd);
    d.Name = "TargetName=" + FileName(d.Image);

    std::set<int32_t> used;
    for (const auto& other : state.Devices)
        used.insert(other.TargetId);
    d.TargetId = 0;
    while (used.count(d.TargetId))
        ++d.TargetId;
    d.DeviceName = "\\Device\\CdRom" + std::to_string(kvsdk::kFirstVirtualDriveNumber + d.TargetId);
    // A letter left behind under this device's name belongs to nobody now.
    for (const auto& entry : platform::ReadDosDevices()) {
        if (entry.DeviceName == d.DeviceName)
            platform::RemoveDosDevice(entry.Letter);
    }

    BringUp(d, fd, 0);
    state.Devices.push_back(d);
    try {
        SaveVPortState(state);
    } catch (...) {
        TakeDown(d);
        throw;
    }
    return d;
}

void VPortRemoveDevice(int32_t targetId)
{
    TVPortLock lock;
    TVPortState state = LoadCurrent();
    TVPortDevice& d = Find(state, targetId);
    TakeDown(d);
    state.Devices.erase(std::find_if(state.Devices.begin(), state.Devices.end(),
                                     [&](const TVPortDevice& x) { return x.TargetId == targetId; }));
    SaveVPortState(state);
}

std::vector<TVPortDevice> VPortListDevices()
{
    TVPortLock lock;
    return LoadCurrent().Devices;
}

TVPortDevice VPortFindDevice(int32_t targetId)
{
    TVPortLock lock;
    TVPortState state = LoadCurrent();
    return Find(state, targetId);
}

TVPortInquiry VPortInquiry(uint32_t type)
{
    // One row per device type; unknown types answer like an unknown device.
    static const TVPortInquiry kRows[] = {
        {"KORVANTA", "VIRTUAL DEVICE", "1.00"},
        {"KORVANTA", "VIRTUAL RAM DISK", "1.00"},
        {"KORVANTA", "VIRTUAL DISK", "1.00"},
        {"KORVANTA", "VIRTUAL DVD-ROM", "1.00"},
        {"KORVANTA", "VIRTUAL AOE DISK", "1.00"},
        {"KORVANTA", "VIRTUAL ISCSI DISK", "1.00"},
    };
    return type < std::size(kRows) ? kRows[type] : kRows[0];
}

void VPortInstall(const std::string& version)
{
    if (!IsVPortVersion(version))
        throw TVPortError(kEnInvalidInputParameter, EINVAL, "Bad driver version " + version);
    RequireLoops();
    TVPortLock lock;
    TVPortState state;
    if (VPortStateExists()) {
        state = LoadRepaired();
    } else {
        state.BootId = VPortHost().BootId();
    }
    state.Version = version;
    SaveVPortState(state);
}

void VPortUninstall()
{
    TVPortLock lock;
    if (!VPortStateExists())
        return;
    TVPortState state = LoadRepaired();
    std::vector<TVPortDevice> left;
    std::string failures;
    for (const auto& d : state.Devices) {
        try {
            TakeDown(d);
        } catch (const TVPortError& e) {
            left.push_back(d);
            failures += std::string(failures.empty() ? "" : "; ") + e.what();
        }
    }
    if (!left.empty()) {
        state.Devices = left;
        SaveVPortState(state);
        throw TVPortError(kEnFailure, EBUSY, "Cannot remove every virtual device: " + failures);
    }
    // Remove only our own files: nothing that may still be mounted is
    // ever deleted recursively.
    const std::string dir = VPortDir();
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(dir + "/mnt", ec))
        ::rmdir(entry.path().c_str());
    ::rmdir((dir + "/mnt").c_str());
    for (const auto& entry : std::filesystem::directory_iterator(dir, ec)) {
        if (entry.path().filename().string().rfind("vportlite.state", 0) == 0)
            ::unlink(entry.path().c_str());
    }
    if (::rmdir(dir.c_str()) != 0 && errno != ENOENT) {
        int e = errno;
        throw TVPortError(kEnSystemCallFailed, e, "Cannot remove " + dir + ": " + SysText(e));
    }
}

std::vector<std::string> VPortRestoreDevices()
{
    TVPortLock lock;
    TVPortState state = LoadInstalled();
    std::vector<std::string> reports;
    if (Restore(state, true, reports))
        SaveVPortState(state);
    return reports;
}

std::string ReadInfVersion(const std::string& infPath)
{
    std::ifstream in(infPath);
    if (!in) {
        int e = errno ? errno : ENOENT;
        throw TVPortError(kEnSystemCallFailed, e, "Cannot open " + infPath + ": " + SysText(e));
    }
    // "DriverVer=mm/dd/yyyy,a.b.c.d" in [Version]; names without case.
    auto lower = [](std::string s) {
        for (auto& c : s)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return s;
    };
    auto trim = [](std::string s) {
        const char* blanks = " \t\r";
        s.erase(0, s.find_first_not_of(blanks));
        s.erase(s.find_last_not_of(blanks) + 1);
        return s;
    };
    std::string section, line;
    while (std::getline(in, line)) {
        line = trim(line);
        if (!line.empty() && line[0] == '[') {
            section = lower(trim(line.substr(1, line.find(']') - 1)));
            continue;
        }
        size_t eq = line.find('=');
        if (section != "version" || eq == std::string::npos || lower(trim(line.substr(0, eq))) != "driverver")
            continue;
        std::string value = line.substr(eq + 1);
        size_t comma = value.find(',');
        std::string version = trim(comma == std::string::npos ? std::string() : value.substr(comma + 1));
        if (IsVPortVersion(version))
            return version;
    }
    throw TVPortError(kEnInvalidInputParameter, EINVAL, infPath + " gives no driver version");
}

}  // namespace vport

namespace kvsdk {

std::vector<VirtualDrive> ListVirtualDrives()
{
    std::vector<VirtualDrive> drives;
    try {
        // Writers replace the state file whole, so reading it needs no lock.
        vport::TVPortState state;
        if (vport::PeekVPortState(state)) {
            for (const auto& d : state.Devices)
                drives.push_back(VirtualDrive{d.TargetId, d.Image});
        }
    } catch (const std::exception&) {
    }
    return drives;
}

void VPortStartUp()
{
    try {
        vport::Report(vport::VPortRestoreDevices());
    } catch (const vport::TVPortError& e) {
        if (e.SystemError != ENOENT)
            std::fprintf(stderr, "virtual-device driver: %s\n", e.what());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "virtual-device driver: %s\n", e.what());
    }
}

}  // namespace kvsdk
