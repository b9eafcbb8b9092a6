#include "ImageDisc.h"

#include "CueSheet.h"
#include "SdkError.h"

#include <cctype>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kvsdk {

namespace {

// CD-ROMs hold at most 99 minutes of sectors; a longer image is a DVD.
constexpr int64_t kMaxCdSectors = 99 * 60 * 75;

bool EndsWithNoCase(const std::string& s, const std::string& suffix) {
    if (s.size() < suffix.size())
        return false;
    for (size_t i = 0; i < suffix.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(s[s.size() - suffix.size() + i])) != suffix[i])
            return false;
    return true;
}

UniqueFd OpenForReading(const std::string& path, const std::string& what) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        int err = errno;
        ThrowSystemError("Cannot open " + what, err, err == ENOENT ? EN_NOT_FOUND : EN_SYSTEM_CALL_FAILED);
    }
    UniqueFd file(fd);
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        ThrowSystemError("Cannot open " + what, errno);
    if (S_ISDIR(st.st_mode))
        ThrowSystemError("Cannot open " + what, EISDIR);
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    return file;
}

std::pair<uint64_t, uint64_t> FileId(int fd) {
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return {0, 0};
    return {static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino)};
}

uint64_t FileSize(int fd, const std::string& what) {
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        ThrowSystemError("Cannot read " + what, errno);
    return static_cast<uint64_t>(st.st_size);
}

std::string FolderOf(const std::string& path) {
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace

UniqueFd& UniqueFd::operator=(UniqueFd&& other) noexcept {
    if (this != &other) {
        Close();
        Fd = other.Fd;
        other.Fd = -1;
    }
    return *this;
}

UniqueFd::~UniqueFd() { Close(); }

bool UniqueFd::Close() {
    if (Fd < 0)
        return true;
    int rc = ::close(Fd);
    Fd = -1;
    return rc == 0;
}

void ReadExactly(int fd, void* buffer, size_t size, uint64_t offset, const std::string& what) {
    auto* p = static_cast<uint8_t*>(buffer);
    size_t done = 0;
    while (done < size) {
        ssize_t n = ::pread(fd, p + done, size - done, static_cast<off_t>(offset + done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            ThrowSystemError("Cannot read " + what, errno, EN_GENERAL_READ_ERROR);
        }
        if (n == 0)
            throw SdkError(EN_GENERAL_READ_ERROR, "Cannot read " + what + ": the file ends at byte " +
                                                      std::to_string(offset + done) + ", " +
                                                      std::to_string(size - done) + " bytes early");
        done += static_cast<size_t>(n);
    }
}

std::unique_ptr<ImageDisc> ImageDisc::Open(const std::string& path) {
    std::unique_ptr<ImageDisc> disc(new ImageDisc());
    disc->FPath = path;
    if (EndsWithNoCase(path, ".cue"))
        disc->OpenCue();
    else
        disc->OpenIso();
    return disc;
}

void ImageDisc::OpenIso() {
    const std::string what = "image " + FPath;
    FFiles.push_back(OpenForReading(FPath, what));
    FFileNames.push_back(FPath);
    FFileIds.push_back(FileId(FFiles[0].Get()));
    uint64_t size = FileSize(FFiles[0].Get(), what);
    if (size == 0)
        throw SdkError(EN_UNRECOGNIZED_MEDIA, "Image " + FPath + " is empty");
    if (size % kDataSectorSize != 0)
        throw SdkError(EN_UNRECOGNIZED_MEDIA, "Image " + FPath + " is not a whole number of 2048-byte sectors (" +
                                                  std::to_string(size) + " bytes)");
    uint64_t sectors = size / kDataSectorSize;
    if (sectors > (uint64_t{1} << 30))
        throw SdkError(EN_FILE_TOO_BIG, "Image " + FPath + " is too large for a disc");
    TrackLayout track;
    track.Number = 1;
    track.Mode = TrackMode::Mode1_2048;
    track.Index00 = track.Start = 0;
    track.End = static_cast<int32_t>(sectors);
    FLayout.Type = static_cast<int64_t>(sectors) > kMaxCdSectors ? DISC_TYPE_DVDROM : DISC_TYPE_CDROM;
    FLayout.Tracks.push_back(track);
    FPlacements.push_back(Placement{0, 0});
}

void ImageDisc::OpenCue() {
    std::string text;
    {
        UniqueFd cue = OpenForReading(FPath, "cue sheet " + FPath);
        uint64_t size = FileSize(cue.Get(), "cue sheet " + FPath);
        if (size > (1u << 20))
            throw SdkError(EN_UNRECOGNIZED_MEDIA, "Cue sheet " + FPath + " is too large to be a cue sheet");
        text.resize(size);
        ReadExactly(cue.Get(), text.data(), text.size(), 0, "cue sheet " + FPath);
    }
    CueSheet sheet;
    try {
        sheet = ParseCueSheet(text);
    } catch (const SdkError& e) {
        throw SdkError(e.Code, "Cue sheet " + FPath + " " + e.what(), e.SystemError);
    }
    std::vector<uint64_t> sizes;
    for (const CueFile& f : sheet.Files) {
        std::string file = !f.Name.empty() && f.Name[0] == '/' ? f.Name : FolderOf(FPath) + f.Name;
        std::string what = "BIN file " + file + " named by cue sheet " + FPath;
        FFiles.push_back(OpenForReading(file, what));
        FFileNames.push_back(file);
        FFileIds.push_back(FileId(FFiles.back().Get()));
        sizes.push_back(FileSize(FFiles.back().Get(), what));
    }
    std::vector<CueTrackPlacement> placements;
    try {
        placements = LayoutCueSheet(sheet, sizes);
    } catch (const SdkError& e) {
        throw SdkError(e.Code, "Cue sheet " + FPath + ": " + e.what(), e.SystemError);
    }
    FLayout.Type = DISC_TYPE_CDROM;
    for (const CueTrackPlacement& p : placements) {
        FLayout.Tracks.push_back(p.Layout);
        FPlacements.push_back(Placement{p.FileIndex, p.ByteOffset});
    }
}

bool ImageDisc::ReadsFrom(uint64_t device, uint64_t inode) const {
    for (const auto& id : FFileIds)
        if (id.first == device && id.second == inode)
            return true;
    return false;
}

void ImageDisc::ReadSectors(const TrackLayout& track, int32_t first, uint32_t count, bool raw, uint8_t* buffer) {
    size_t index = 0;
    while (index < FLayout.Tracks.size() && FLayout.Tracks[index].Number != track.Number)
        ++index;
    if (index == FLayout.Tracks.size())
        throw SdkError(EN_NOT_FOUND, "Track " + std::to_string(track.Number) + " is not on the disc");
    const TrackLayout& t = FLayout.Tracks[index];
    if (first < 0 || static_cast<int64_t>(first) + count > t.Length())
        throw SdkError(EN_RANGE, "Sectors " + std::to_string(first) + " to " + std::to_string(first + count) +
                                     " lie outside track " + std::to_string(t.Number));
    const Placement& p = FPlacements[index];
    const uint32_t stored = StoredSectorSize(t.Mode);
    const uint64_t offset = p.ByteOffset + static_cast<uint64_t>(first) * stored;
    const std::string what = "track " + std::to_string(t.Number) + " from " + FFileNames[p.File];
    const int fd = FFiles[p.File].Get();
    if (raw && stored != kRawSectorSize)
        throw SdkError(EN_UNSUPPORTED_READ_MODE,
                       "Track " + std::to_string(t.Number) + " of " + FPath + " has no raw sectors to read");
    if (raw || t.Mode == TrackMode::Mode1_2048 || t.Mode == TrackMode::Audio) {
        ReadExactly(fd, buffer, static_cast<size_t>(count) * stored, offset, what);
        return;
    }
    // Raw data sectors: keep the 2048 user-data bytes of each.
    const size_t userOffset = t.Mode == TrackMode::Mode1_2352 ? 16 : 24;
    FScratch.resize(static_cast<size_t>(count) * stored);
    ReadExactly(fd, FScratch.data(), FScratch.size(), offset, what);
    for (uint32_t i = 0; i < count; ++i)
        std::memcpy(buffer + static_cast<size_t>(i) * kDataSectorSize,
                    FScratch.data() + static_cast<size_t>(i) * stored + userOffset, kDataSectorSize);
}

}  // namespace kvsdk
