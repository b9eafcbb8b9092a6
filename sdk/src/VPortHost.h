#pragma once

// What the virtual-device driver needs of the machine: read-only loop
// devices, mounting a medium, and the identity of the current boot. The
// Linux backend is the default; tests put a backend of their own in place
// (SetVPortHost) to run the driver logic without root.

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

namespace vport {

// A failure of the driver: the SDK result code (an EXCEPTION_NUMBER value),
// the system error (errno, 0 when none) and a text naming the object and
// the reason.
class TVPortError : public std::runtime_error {
public:
    TVPortError(uint32_t exception, int systemError, const std::string& message)
        : std::runtime_error(message), Exception(exception), SystemError(systemError) {}
    uint32_t Exception;
    int SystemError;
};

// EXCEPTION_NUMBER values the driver reports.
enum : uint32_t {
    kEnSuccess = 0,
    kEnFailure = 1,
    kEnInvalidInputParameter = 2,
    kEnInvalidState = 3,
    kEnSystemCallFailed = 5,
    kEnRange = 20,
    kEnBufferTooSmall = 23,
    kEnUnrecognizedMedia = 26,
    kEnNotFound = 17,
};

// How a medium ended up mounted.
enum class TMountKind { None, Kernel, Fuse };

class TVPortHost {
public:
    virtual ~TVPortHost() = default;

    // 0 when this process can set up loop devices, else the errno that
    // stops it (EACCES when not root, ENOENT without /dev/loop-control).
    virtual int LoopUsable() = 0;
    // Attaches the image (an open read-only descriptor of it and its path)
    // read-only to a free loop device and returns the device node
    // ("/dev/loop3"). Throws TVPortError.
    virtual std::string Attach(int imageFd, const std::string& imagePath) = 0;
    // Detaches a loop device; a device still held open by someone is
    // detached when its last user closes it. Throws TVPortError.
    virtual void Detach(const std::string& node) = 0;
    // The file behind a loop device, "" when the device is not attached.
    virtual std::string BackingFile(const std::string& node) = 0;

    // A mount under way; Finish waits for its outcome (None when neither
    // the kernel nor FUSE could mount the medium). Never throws.
    class TMountJob {
    public:
        virtual ~TMountJob() = default;
        virtual TMountKind Finish() = 0;
    };
    // Starts mounting the medium read-only at the (existing) folder: the
    // device through the kernel where it knows the file system, else the
    // image (the same bytes) through FUSE, whose start runs on while the
    // caller goes on. Never throws.
    virtual std::unique_ptr<TMountJob> StartMount(const std::string& node, const std::string& image,
                                                  const std::string& folder) = 0;
    // Unmounts the folder; no error when nothing is mounted there.
    virtual void Unmount(const std::string& folder) = 0;

    // Changes with every start of the machine.
    virtual std::string BootId() = 0;
};

// The backend in use: the Linux one unless a test set another.
TVPortHost& VPortHost();
// Replaces the backend; nullptr restores the Linux one.
void SetVPortHost(std::unique_ptr<TVPortHost> host);

// The Linux backend (loop-control ioctls, mount(2), fuseiso).
std::unique_ptr<TVPortHost> MakeLinuxVPortHost();

}  // namespace vport
