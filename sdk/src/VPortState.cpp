#include "VPortState.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstring>
#include <filesystem>
#include <map>
#include <set>

#include "VPortHost.h"
#include "platform/Paths.h"

namespace vport {

namespace {

const char kHeaderComment[] =
    "# Virtual-device driver state. Written by the driver; see README.md.\n";

bool ParseNumber(const std::string& text, long long low, long long high, long long& out)
{
    if (text.empty())
        return false;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
    return ec == std::errc() && end == text.data() + text.size() && out >= low && out <= high;
}

bool IsLoopNode(const std::string& text)
{
    long long n = 0;
    return text.rfind("/dev/loop", 0) == 0 && ParseNumber(text.substr(9), 0, 1 << 20, n);
}

// One [Device] section while it is read.
struct TPending {
    int line = 0;
    TVPortDevice device;
    std::set<std::string> keys;
    std::string fault;  // first fault; the section is dropped when set
};

std::string SysText(int error) { return std::strerror(error); }

[[noreturn]] void ThrowSys(int error, const std::string& what)
{
    throw TVPortError(kEnSystemCallFailed, error, what + ": " + SysText(error));
}

std::string ReadWhole(const std::string& path, int& error)
{
    error = 0;
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error = errno;
        return {};
    }
    std::string text;
    char buf[8192];
    for (;;) {
        ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            error = errno;
            break;
        }
        if (n == 0)
            break;
        text.append(buf, static_cast<size_t>(n));
    }
    ::close(fd);
    return text;
}

// Writes a file next to `path` and renames it over `path`.
void WriteAtomically(const std::string& path, const std::string& text)
{
    std::string tmp = path + ".XXXXXX";
    int fd = ::mkstemp(tmp.data());
    if (fd < 0)
        ThrowSys(errno, "Cannot write " + path);
    size_t done = 0;
    while (done < text.size()) {
        ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            int e = errno;
            ::close(fd);
            ::unlink(tmp.c_str());
            ThrowSys(e, "Cannot write " + path);
        }
        done += static_cast<size_t>(n);
    }
    if (::fchmod(fd, 0644) != 0 || ::fsync(fd) != 0) {
        int e = errno;
        ::close(fd);
        ::unlink(tmp.c_str());
        ThrowSys(e, "Cannot write " + path);
    }
    ::close(fd);
    if (::rename(tmp.c_str(), path.c_str()) != 0) {
        int e = errno;
        ::unlink(tmp.c_str());
        ThrowSys(e, "Cannot write " + path);
    }
}

}  // namespace

bool IsVPortVersion(const std::string& text)
{
    size_t start = 0;
    for (int part = 0; part < 4; ++part) {
        size_t dot = text.find('.', start);
        if ((part < 3) != (dot != std::string::npos))
            return false;
        long long n = 0;
        if (!ParseNumber(text.substr(start, dot == std::string::npos ? std::string::npos : dot - start),
                         0, 65535, n))
            return false;
        start = dot + 1;
    }
    return true;
}

TVPortParse ParseVPortState(const std::string& text)
{
    TVPortParse result;
    std::vector<TPending> sections;
    std::set<std::string> headerKeys;
    auto fault = [&](int line, const std::string& what) {
        std::string t = "line " + std::to_string(line) + ": " + what;
        if (!sections.empty()) {
            if (sections.back().fault.empty())
                sections.back().fault = t;
        } else {
            result.Faults.push_back(t);
        }
    };

    size_t pos = 0;
    int lineNo = 0;
    while (pos < text.size()) {
        size_t eol = text.find('\n', pos);
        std::string line = text.substr(pos, eol == std::string::npos ? std::string::npos : eol - pos);
        pos = eol == std::string::npos ? text.size() : eol + 1;
        ++lineNo;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == '#' || line[0] == ';')
            continue;
        if (line.find('\0') != std::string::npos) {
            fault(lineNo, "not text");
            continue;
        }
        if (line == "[Device]") {
            sections.push_back(TPending{lineNo, {}, {}, {}});
            continue;
        }
        if (line[0] == '[') {
            // An unknown section: what follows belongs to nobody.
            sections.push_back(TPending{lineNo, {}, {}, "line " + std::to_string(lineNo) +
                                                            ": unknown section " + line});
            continue;
        }
        size_t eq = line.find('=');
        if (eq == std::string::npos || eq == 0) {
            fault(lineNo, "not a key=value line");
            continue;
        }
        std::string key = line.substr(0, eq), value = line.substr(eq + 1);
        long long n = 0;
        if (sections.empty()) {
            if (!headerKeys.insert(key).second) {
                fault(lineNo, "repeated key " + key);
            } else if (key == "Version") {
                if (IsVPortVersion(value))
                    result.State.Version = value;
                else
                    fault(lineNo, "bad version " + value);
            } else if (key == "Boot") {
                result.State.BootId = value;
            } else {
                fault(lineNo, "unknown key " + key);
            }
            continue;
        }
        TPending& s = sections.back();
        TVPortDevice& d = s.device;
        if (!s.keys.insert(key).second) {
            fault(lineNo, "repeated key " + key);
        } else if (key == "TargetId") {
            if (ParseNumber(value, 0, INT32_MAX, n))
                d.TargetId = static_cast<int32_t>(n);
            else
                fault(lineNo, "bad target id " + value);
        } else if (key == "Type") {
            if (ParseNumber(value, 0, 5, n))
                d.Type = static_cast<uint32_t>(n);
            else
                fault(lineNo, "bad device type " + value);
        } else if (key == "Name") {
            d.Name = value;
        } else if (key == "Image") {
            if (!value.empty() && value[0] == '/')
                d.Image = value;
            else
                fault(lineNo, "image path is not absolute");
        } else if (key == "Persistent") {
            if (value == "0" || value == "1")
                d.Persistent = value == "1";
            else
                fault(lineNo, "bad persistence flag " + value);
        } else if (key == "Loop") {
            if (value.empty() || IsLoopNode(value))
                d.Loop = value;
            else
                fault(lineNo, "bad loop device " + value);
        } else if (key == "Letter") {
            if (value.empty())
                d.Letter = 0;
            else if (value.size() == 1 && value[0] >= 'A' && value[0] <= 'Z')
                d.Letter = value[0];
            else
                fault(lineNo, "bad drive letter " + value);
        } else if (key == "DeviceName") {
            d.DeviceName = value;
        } else if (key == "MountPoint") {
            d.MountPoint = value;
        } else {
            fault(lineNo, "unknown key " + key);
        }
    }

    if (result.State.Version.empty() && result.Faults.empty())
        result.Faults.push_back("no driver version");

    std::set<int32_t> ids;
    std::set<char> letters;
    for (auto& s : sections) {
        for (const char* key : {"TargetId", "Type", "Name", "Image", "Persistent"}) {
            if (s.fault.empty() && !s.keys.count(key))
                s.fault = "line " + std::to_string(s.line) + ": device without " + key;
        }
        if (s.fault.empty() && ids.count(s.device.TargetId))
            s.fault = "line " + std::to_string(s.line) + ": target id " +
                      std::to_string(s.device.TargetId) + " used twice";
        if (s.fault.empty() && s.device.Letter && letters.count(s.device.Letter))
            s.fault = "line " + std::to_string(s.line) + ": letter " +
                      std::string(1, s.device.Letter) + " used twice";
        if (!s.fault.empty()) {
            result.Faults.push_back(s.fault);
            continue;
        }
        ids.insert(s.device.TargetId);
        if (s.device.Letter)
            letters.insert(s.device.Letter);
        result.State.Devices.push_back(std::move(s.device));
    }
    return result;
}

std::string FormatVPortState(const TVPortState& state)
{
    std::string out = kHeaderComment;
    out += "Version=" + state.Version + "\n";
    out += "Boot=" + state.BootId + "\n";
    for (const auto& d : state.Devices) {
        out += "\n[Device]\n";
        out += "TargetId=" + std::to_string(d.TargetId) + "\n";
        out += "Type=" + std::to_string(d.Type) + "\n";
        out += "Name=" + d.Name + "\n";
        out += "Image=" + d.Image + "\n";
        out += std::string("Persistent=") + (d.Persistent ? "1" : "0") + "\n";
        out += "Loop=" + d.Loop + "\n";
        out += "Letter=" + (d.Letter ? std::string(1, d.Letter) : std::string()) + "\n";
        out += "DeviceName=" + d.DeviceName + "\n";
        out += "MountPoint=" + d.MountPoint + "\n";
    }
    return out;
}

std::string VPortDir() { return platform::SystemDir() + "/vport"; }
std::string VPortStatePath() { return VPortDir() + "/vportlite.state"; }
std::string VPortMountFolder(int32_t targetId)
{
    return VPortDir() + "/mnt/" + std::to_string(targetId);
}

TVPortLock::TVPortLock()
{
    std::string path = platform::SystemDir() + "/vportlite.lock";
    fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd_ < 0)
        ThrowSys(errno, "Cannot open " + path);
    while (::flock(fd_, LOCK_EX) != 0) {
        if (errno != EINTR) {
            int e = errno;
            ::close(fd_);
            fd_ = -1;
            ThrowSys(e, "Cannot lock " + path);
        }
    }
}

TVPortLock::~TVPortLock()
{
    if (fd_ >= 0)
        ::close(fd_);
}

bool VPortStateExists()
{
    struct stat st {};
    return ::stat(VPortStatePath().c_str(), &st) == 0;
}

TVPortState LoadVPortState()
{
    const std::string path = VPortStatePath();
    int error = 0;
    std::string text = ReadWhole(path, error);
    if (error == ENOENT)
        throw TVPortError(kEnInvalidState, ENOENT, "The virtual-device driver is not installed");
    if (error)
        ThrowSys(error, "Cannot read " + path);

    TVPortParse parse = ParseVPortState(text);
    if (parse.Faults.empty())
        return parse.State;

    std::string backup = path + ".bad";
    for (int i = 1; std::filesystem::exists(backup); ++i)
        backup = path + ".bad." + std::to_string(i);
    WriteAtomically(backup, text);
    if (parse.State.Version.empty())
        parse.State.Version = "0.0.0.0";
    WriteAtomically(path, FormatVPortState(parse.State));
    throw TVPortError(kEnInvalidState, EBADMSG,
                      "The driver state " + path + " was damaged (" + parse.Faults.front() +
                          "); a copy is kept in " + backup + "; " +
                          std::to_string(parse.State.Devices.size()) + " device(s) kept");
}

bool PeekVPortState(TVPortState& state)
{
    int error = 0;
    std::string text = ReadWhole(VPortStatePath(), error);
    if (error)
        return false;
    state = ParseVPortState(text).State;
    return true;
}

void SaveVPortState(const TVPortState& state)
{
    std::error_code ec;
    std::filesystem::create_directories(VPortDir(), ec);
    if (ec)
        ThrowSys(ec.value(), "Cannot create " + VPortDir());
    WriteAtomically(VPortStatePath(), FormatVPortState(state));
}

}  // namespace vport
