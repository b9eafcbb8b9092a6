#pragma once

// Internal: a disc read from image files: an ISO image (one MODE1/2048
// data track) or a cue sheet with its BIN files.

#include "Disc.h"

#include <memory>
#include <string>
#include <vector>

namespace kvsdk {

// A file descriptor with one owner.
class UniqueFd {
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : Fd(fd) {}
    UniqueFd(UniqueFd&& other) noexcept : Fd(other.Fd) { other.Fd = -1; }
    UniqueFd& operator=(UniqueFd&& other) noexcept;
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    ~UniqueFd();
    int Get() const { return Fd; }
    // Closes now; false (errno set) when close reports an error.
    bool Close();

private:
    int Fd = -1;
};

class ImageDisc : public SectorReader {
public:
    // Opens an image: a ".cue" path (any case) as a cue sheet, anything
    // else as a plain image of 2048-byte sectors. Throws SdkError:
    // EN_NOT_FOUND for a missing image or BIN file, EN_SYSTEM_CALL_FAILED
    // for one that cannot be read, EN_UNRECOGNIZED_MEDIA for a bad cue
    // sheet or a file that does not hold whole sectors.
    static std::unique_ptr<ImageDisc> Open(const std::string& path);

    const DiscLayout& Layout() const { return FLayout; }
    const std::string& Path() const { return FPath; }

    void ReadSectors(const TrackLayout& track, int32_t first, uint32_t count, bool raw, uint8_t* buffer) override;
    bool ReadsFrom(uint64_t device, uint64_t inode) const override;

private:
    struct Placement {
        size_t File = 0;
        uint64_t ByteOffset = 0;
    };
    void OpenIso();
    void OpenCue();

    std::string FPath;
    DiscLayout FLayout;
    std::vector<UniqueFd> FFiles;
    std::vector<std::string> FFileNames;
    std::vector<std::pair<uint64_t, uint64_t>> FFileIds;  // device, inode
    std::vector<Placement> FPlacements;  // parallel to FLayout.Tracks
    std::vector<uint8_t> FScratch;
};

// Reads exactly size bytes at offset; throws SdkError(EN_GENERAL_READ_ERROR)
// naming `what` on an error or when the file ends early.
void ReadExactly(int fd, void* buffer, size_t size, uint64_t offset, const std::string& what);

}  // namespace kvsdk
