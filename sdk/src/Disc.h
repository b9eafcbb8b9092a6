#pragma once

// Internal: the disc in a drive as the grabber sees it, and the sector
// reader behind it (an image file, a host drive).

#include "burnkit.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kvsdk {

// How a track's sectors are stored and what a grab makes of them.
enum class TrackMode {
    Mode1_2048,  // data, 2048-byte user data per sector
    Mode1_2352,  // data, raw sectors; user data at offset 16
    Mode2_2352,  // CD-ROM XA form 1, raw sectors; user data at offset 24
    Audio,       // CD audio, 2352 bytes (588 stereo 16-bit samples)
};

constexpr uint32_t kDataSectorSize = 2048;
constexpr uint32_t kRawSectorSize = 2352;

bool IsAudio(TrackMode mode);
// Bytes per sector in the source (2048 or 2352).
uint32_t StoredSectorSize(TrackMode mode);
// Bytes per sector that a grab writes without raw sectors (2048 or 2352).
uint32_t GrabbedSectorSize(TrackMode mode);

struct TrackLayout {
    int Number = 0;          // 1..99
    TrackMode Mode = TrackMode::Mode1_2048;
    int32_t Index00 = 0;     // disc LBA of the pregap, == Start when none
    int32_t Start = 0;       // disc LBA of INDEX 01
    int32_t End = 0;         // first disc LBA after the track's data
    int32_t Length() const { return End - Start; }
};

struct DiscLayout {
    DISC_TYPE Type = DISC_TYPE_CDROM;
    std::vector<TrackLayout> Tracks;  // in disc order, numbers consecutive
    const TrackLayout* FindTrack(int number) const;
};

// The sectors of a disc. Implementations throw SdkError.
class SectorReader {
public:
    virtual ~SectorReader() = default;
    // Reads count sectors of track from track-relative sector first (0 is
    // the track's Start). Raw: the stored 2352-byte sectors; otherwise the
    // grabbed form (2048 user-data bytes, or 2352 for audio). buffer holds
    // count * sector size bytes. A short read is an EN_GENERAL_READ_ERROR.
    virtual void ReadSectors(const TrackLayout& track, int32_t first, uint32_t count, bool raw,
                             uint8_t* buffer) = 0;
    // Whether the sectors come from this file (device and inode), so that
    // a grab never overwrites its own source.
    virtual bool ReadsFrom(uint64_t device, uint64_t inode) const { return false; }
};

// Absolute MSF (LBA + 150 frames) of an LBA.
void LbaToMsf(int32_t lba, uint8_t msf[3]);

}  // namespace kvsdk
