#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <string>

#include "platform/CodePage.h"
#include "platform/DosDevices.h"
#include "platform/Errors.h"

namespace platform {

namespace {

constexpr size_t kSector = 2048;

// Where the 2048 user bytes of a sector lie in the file.
struct Layout {
    size_t SectorSize;
    size_t DataOffset;
};
constexpr Layout kLayouts[] = {{2048, 0}, {2352, 16}, {2352, 24}};

class Medium {
public:
    explicit Medium(const std::string& path) : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {}
    ~Medium()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Medium(const Medium&) = delete;
    Medium& operator=(const Medium&) = delete;

    bool ok() const { return fd_ >= 0; }
    void setLayout(const Layout& l) { layout_ = l; }

    bool read(uint32_t lba, unsigned char* out) const
    {
        off_t pos = static_cast<off_t>(lba) * static_cast<off_t>(layout_.SectorSize) +
                    static_cast<off_t>(layout_.DataOffset);
        size_t done = 0;
        while (done < kSector) {
            ssize_t r = ::pread(fd_, out + done, kSector - done, pos + static_cast<off_t>(done));
            if (r < 0 && errno == EINTR)
                continue;
            if (r <= 0)
                return false;
            done += static_cast<size_t>(r);
        }
        return true;
    }

private:
    int fd_;
    Layout layout_{2048, 0};
};

bool hasId(const unsigned char* s, const char* id) { return std::memcmp(s + 1, id, 5) == 0; }

uint32_t le32(const unsigned char* p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
uint16_t le16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

void trimBlanks(std::u16string& s)
{
    while (!s.empty() && (s.back() == u' ' || s.back() == u'\0'))
        s.pop_back();
}

// A UDF dstring: compression id, characters, and the used length in the
// last byte.
std::u16string udfDString(const unsigned char* p, size_t fieldSize)
{
    size_t len = p[fieldSize - 1];
    if (len == 0 || len > fieldSize - 1)
        return {};
    std::u16string out;
    if (p[0] == 8) {
        for (size_t i = 1; i < len; ++i)
            out += static_cast<char16_t>(p[i]);
    } else if (p[0] == 16) {
        for (size_t i = 1; i + 1 < len; i += 2)
            out += static_cast<char16_t>((p[i] << 8) | p[i + 1]);
    }
    trimBlanks(out);
    return out;
}

std::u16string udfLabel(const Medium& m)
{
    unsigned char s[kSector];
    if (!m.read(256, s) || le16(s) != 2)  // anchor volume descriptor pointer
        return {};
    uint32_t length = le32(s + 16);
    uint32_t location = le32(s + 20);
    uint32_t count = std::min<uint32_t>(length / kSector, 64);
    for (uint32_t i = 0; i < count; ++i) {
        if (!m.read(location + i, s))
            break;
        uint16_t tag = le16(s);
        if (tag == 6)  // logical volume descriptor
            return udfDString(s + 84, 128);
        if (tag == 8)  // terminating descriptor
            break;
    }
    return {};
}

// A CUE sheet names its data file on a FILE line; the label lies there.
std::string followCueSheet(const std::string& path)
{
    auto dot = path.rfind('.');
    if (dot == std::string::npos)
        return path;
    std::string ext = path.substr(dot);
    for (char& c : ext)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (ext != ".cue")
        return path;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        auto f = line.find("FILE");
        if (f == std::string::npos)
            continue;
        auto q1 = line.find('"', f);
        auto q2 = q1 == std::string::npos ? q1 : line.find('"', q1 + 1);
        if (q2 == std::string::npos)
            continue;
        std::string name = line.substr(q1 + 1, q2 - q1 - 1);
        if (!name.empty() && name[0] == '/')
            return name;
        auto slash = path.rfind('/');
        return slash == std::string::npos ? name : path.substr(0, slash + 1) + name;
    }
    return path;
}

}  // namespace

bool ReadVolumeLabel(const std::string& mediumPath, std::string& label, std::string& fileSystem)
{
    label.clear();
    fileSystem.clear();
    Medium m(followCueSheet(mediumPath));
    if (!m.ok()) {
        SetLastError(errno);
        return false;
    }
    unsigned char s[kSector];
    bool found = false;
    for (const Layout& l : kLayouts) {
        m.setLayout(l);
        if (m.read(16, s) && (hasId(s, "CD001") || hasId(s, "BEA01"))) {
            found = true;
            break;
        }
    }
    if (!found) {
        SetLastError(EINVAL);
        return false;
    }
    std::string primary;
    std::u16string joliet;
    bool hasIso = false, hasUdf = false;
    for (uint32_t lba = 16; lba < 16 + 64 && m.read(lba, s); ++lba) {
        if (hasId(s, "CD001")) {
            if (s[0] == 1 && !hasIso) {
                hasIso = true;
                primary.assign(reinterpret_cast<const char*>(s + 40), 32);
                while (!primary.empty() && (primary.back() == ' ' || primary.back() == '\0'))
                    primary.pop_back();
            } else if (s[0] == 2 && s[88] == '%' && s[89] == '/' &&
                       (s[90] == '@' || s[90] == 'C' || s[90] == 'E')) {
                joliet.clear();
                for (int i = 0; i < 16; ++i)
                    joliet += static_cast<char16_t>((s[40 + 2 * i] << 8) | s[41 + 2 * i]);
                trimBlanks(joliet);
            }
        } else if (hasId(s, "NSR02") || hasId(s, "NSR03")) {
            hasUdf = true;
        } else if (!hasId(s, "BEA01") && !hasId(s, "TEA01") && !hasId(s, "BOOT2") &&
                   !hasId(s, "CDW02")) {
            break;
        }
    }
    if (hasUdf) {
        std::u16string u = udfLabel(m);
        if (!u.empty() || !hasIso) {
            label = WideToAnsi(u);
            fileSystem = "UDF";
            return true;
        }
    }
    if (!hasIso) {
        SetLastError(EINVAL);
        return false;
    }
    label = joliet.empty() ? primary : WideToAnsi(joliet);
    fileSystem = "CDFS";
    return true;
}

}  // namespace platform
