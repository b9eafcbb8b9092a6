#pragma once

// The virtual-device driver's state: the installed version and every
// device with its loop device, letter and mount, kept in one text file in
// the system folder (format in README.md, "Virtual-device driver").
// Readers and writers hold TVPortLock; every write replaces the file
// atomically, so a crash never leaves half a state.

#include <cstdint>
#include <string>
#include <vector>

namespace vport {

struct TVPortDevice {
    int32_t TargetId = -1;
    uint32_t Type = 0;          // VPORT_DEVICE_TYPE
    std::string Name;           // "TargetName=" and the shown name
    std::string Image;          // absolute path of the image behind the device
    bool Persistent = false;    // attached again after a restart
    std::string Loop;           // "/dev/loopN"; "" while detached
    char Letter = 0;            // 'D'..'Z'; 0 when none
    std::string DeviceName;     // its name in the DOS-device table ("\Device\CdRom4")
    std::string MountPoint;     // where the medium is mounted; "" when not
};

struct TVPortState {
    std::string Version;        // driver version "a.b.c.d"
    std::string BootId;         // the boot in which the loop devices were set up
    std::vector<TVPortDevice> Devices;  // in the order they were added
};

// A parse keeps every whole device and lists what it could not read.
struct TVPortParse {
    TVPortState State;
    std::vector<std::string> Faults;  // "line 7: ..." texts
};

TVPortParse ParseVPortState(const std::string& text);
std::string FormatVPortState(const TVPortState& state);

// True when the text is a version "a.b.c.d" of four numbers up to 65535.
bool IsVPortVersion(const std::string& text);

// SystemDir() + "/vport": the state file, its backups and the mount folders.
std::string VPortDir();
std::string VPortStatePath();
// The folder under which a device's medium is mounted.
std::string VPortMountFolder(int32_t targetId);

// The driver's lock across processes and threads (an flock on a file
// beside the driver folder); held while the object lives.
class TVPortLock {
public:
    TVPortLock();
    ~TVPortLock();
    TVPortLock(const TVPortLock&) = delete;
    TVPortLock& operator=(const TVPortLock&) = delete;

private:
    int fd_ = -1;
};

// Whether the driver is installed: its state file exists. Hold the lock.
bool VPortStateExists();

// Reads the state (hold the lock). A state that does not read whole is
// copied to a backup beside it ("vportlite.state.bad", then ".bad.1" ...),
// replaced by what could be read (every whole device kept), and reported
// as TVPortError EN_INVALID_STATE / EBADMSG naming the backup. A missing
// state (driver not installed) is EN_INVALID_STATE / ENOENT.
TVPortState LoadVPortState();

// Reads the state as it stands, without the lock and without repairing
// it: every whole device of it. False when there is no state file.
bool PeekVPortState(TVPortState& state);

// Writes the state atomically (hold the lock); creates the folder.
void SaveVPortState(const TVPortState& state);

}  // namespace vport
