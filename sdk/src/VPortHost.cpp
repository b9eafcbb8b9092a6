#include "VPortHost.h"

#include <fcntl.h>
#include <linux/loop.h>
#include <spawn.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fstream>
#include <mutex>
#include <thread>
#include <vector>

extern char** environ;

namespace vport {

namespace {

std::string ErrText(int error) { return std::strerror(error); }

// A file descriptor with one owner.
class TFd {
public:
    explicit TFd(int fd = -1) : fd_(fd) {}
    ~TFd() { if (fd_ >= 0) ::close(fd_); }
    TFd(const TFd&) = delete;
    TFd& operator=(const TFd&) = delete;
    int get() const { return fd_; }
    bool ok() const { return fd_ >= 0; }

private:
    int fd_;
};

std::string ReadFirstLine(const std::string& path)
{
    std::ifstream in(path);
    std::string line;
    if (!in || !std::getline(in, line))
        return {};
    return line;
}

// "/dev/loop7" -> "loop7"
std::string NodeName(const std::string& node)
{
    auto slash = node.rfind('/');
    return slash == std::string::npos ? node : node.substr(slash + 1);
}

// A started program (searched in PATH) with its output dropped; -1 when
// it cannot start.
pid_t StartQuiet(const std::vector<std::string>& args)
{
    std::vector<char*> argv;
    for (const auto& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    int rc = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return rc == 0 ? pid : -1;
}

// The exit code of a started program, -1 when it did not end normally.
int WaitQuiet(pid_t pid)
{
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR)
            return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class TDoneMount final : public TVPortHost::TMountJob {
public:
    explicit TDoneMount(TMountKind kind) : kind_(kind) {}
    TMountKind Finish() override { return kind_; }

private:
    TMountKind kind_;
};

// fuseiso daemonizes once its mount is in place; its exit code tells.
class TFuseMount final : public TVPortHost::TMountJob {
public:
    explicit TFuseMount(pid_t pid) : pid_(pid) {}
    ~TFuseMount() override { Finish(); }
    TMountKind Finish() override
    {
        if (pid_ > 0) {
            ok_ = WaitQuiet(pid_) == 0;
            pid_ = -1;
        }
        return ok_ ? TMountKind::Fuse : TMountKind::None;
    }

private:
    pid_t pid_;
    bool ok_ = false;
};

class TLinuxVPortHost final : public TVPortHost {
public:
    int LoopUsable() override
    {
        TFd ctl(::open("/dev/loop-control", O_RDWR | O_CLOEXEC));
        if (!ctl.ok())
            return errno;
        // Opening needs only file permissions; setting a device up needs
        // the administrator capability, which the kernel checks per call.
        if (::geteuid() != 0)
            return EACCES;
        return 0;
    }

    std::string Attach(int imageFd, const std::string& imagePath) override
    {
        TFd ctl(::open("/dev/loop-control", O_RDWR | O_CLOEXEC));
        if (!ctl.ok()) {
            int e = errno;
            throw TVPortError(kEnSystemCallFailed, e, "Cannot open /dev/loop-control: " + ErrText(e));
        }
        // Another process may take the free device between asking and
        // configuring it; then ask again.
        for (int attempt = 0; attempt < 64; ++attempt) {
            int n = ::ioctl(ctl.get(), LOOP_CTL_GET_FREE);
            if (n < 0) {
                int e = errno;
                throw TVPortError(kEnSystemCallFailed, e, "No free loop device: " + ErrText(e));
            }
            std::string node = "/dev/loop" + std::to_string(n);
            TFd dev(::open(node.c_str(), O_RDWR | O_CLOEXEC));
            if (!dev.ok()) {
                int e = errno;
                if (e == ENOENT) {
                    std::this_thread::sleep_for(std::chrono::milliseconds(5));
                    continue;
                }
                throw TVPortError(kEnSystemCallFailed, e, "Cannot open " + node + ": " + ErrText(e));
            }
            loop_config config{};
            config.fd = static_cast<__u32>(imageFd);
            config.info.lo_flags = LO_FLAGS_READ_ONLY;
            std::strncpy(reinterpret_cast<char*>(config.info.lo_file_name), imagePath.c_str(),
                         LO_NAME_SIZE - 1);
            if (::ioctl(dev.get(), LOOP_CONFIGURE, &config) == 0)
                return node;
            int e = errno;
            if (e == EBUSY)
                continue;
            throw TVPortError(kEnSystemCallFailed, e,
                              "Cannot attach " + imagePath + " to " + node + ": " + ErrText(e));
        }
        throw TVPortError(kEnSystemCallFailed, EBUSY, "No free loop device: " + ErrText(EBUSY));
    }

    void Detach(const std::string& node) override
    {
        {
            TFd dev(::open(node.c_str(), O_RDONLY | O_CLOEXEC));
            if (!dev.ok()) {
                int e = errno;
                if (e == ENOENT || e == ENXIO)
                    return;
                throw TVPortError(kEnSystemCallFailed, e, "Cannot open " + node + ": " + ErrText(e));
            }
            if (::ioctl(dev.get(), LOOP_CLR_FD, 0) != 0) {
                int e = errno;
                if (e == ENXIO)  // not attached
                    return;
                throw TVPortError(kEnSystemCallFailed, e, "Cannot detach " + node + ": " + ErrText(e));
            }
        }
        // A device still open elsewhere (a kernel mount that is ending) is
        // released when that user closes it; wait for that briefly so that
        // callers see the device gone.
        auto until = std::chrono::steady_clock::now() + std::chrono::seconds(3);
        while (!BackingFile(node).empty() && std::chrono::steady_clock::now() < until)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }

    std::string BackingFile(const std::string& node) override
    {
        return ReadFirstLine("/sys/block/" + NodeName(node) + "/loop/backing_file");
    }

    std::unique_ptr<TMountJob> StartMount(const std::string& node, const std::string& image,
                                          const std::string& folder) override
    {
        for (const char* type : {"iso9660", "udf"}) {
            if (::mount(node.c_str(), folder.c_str(), type, MS_RDONLY | MS_NOSUID | MS_NODEV, nullptr) == 0)
                return std::make_unique<TDoneMount>(TMountKind::Kernel);
        }
        // FUSE reads the image itself, so the daemon never holds the loop
        // device and a removal detaches it at once.
        pid_t pid = StartQuiet({"fuseiso", "-n", image, folder, "-o", "ro,allow_other"});
        if (pid < 0)
            return std::make_unique<TDoneMount>(TMountKind::None);
        return std::make_unique<TFuseMount>(pid);
    }

    void Unmount(const std::string& folder) override
    {
        if (::umount2(folder.c_str(), 0) == 0)
            return;
        if (errno == EBUSY)
            ::umount2(folder.c_str(), MNT_DETACH);
    }

    std::string BootId() override { return ReadFirstLine("/proc/sys/kernel/random/boot_id"); }
};

std::mutex gHostMutex;
std::unique_ptr<TVPortHost> gHost;

}  // namespace

std::unique_ptr<TVPortHost> MakeLinuxVPortHost() { return std::make_unique<TLinuxVPortHost>(); }

TVPortHost& VPortHost()
{
    std::lock_guard<std::mutex> lock(gHostMutex);
    if (!gHost)
        gHost = MakeLinuxVPortHost();
    return *gHost;
}

void SetVPortHost(std::unique_ptr<TVPortHost> host)
{
    std::lock_guard<std::mutex> lock(gHostMutex);
    gHost = std::move(host);
}

}  // namespace vport
