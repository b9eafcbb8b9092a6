#include "Disc.h"

namespace kvsdk {

bool IsAudio(TrackMode mode) { return mode == TrackMode::Audio; }

uint32_t StoredSectorSize(TrackMode mode) {
    return mode == TrackMode::Mode1_2048 ? kDataSectorSize : kRawSectorSize;
}

uint32_t GrabbedSectorSize(TrackMode mode) { return IsAudio(mode) ? kRawSectorSize : kDataSectorSize; }

const TrackLayout* DiscLayout::FindTrack(int number) const {
    for (const TrackLayout& t : Tracks)
        if (t.Number == number)
            return &t;
    return nullptr;
}

void LbaToMsf(int32_t lba, uint8_t msf[3]) {
    int64_t frames = static_cast<int64_t>(lba) + 150;
    if (frames < 0)
        frames = 0;
    msf[0] = static_cast<uint8_t>((frames / (60 * 75)) & 0xFF);
    msf[1] = static_cast<uint8_t>((frames / 75) % 60);
    msf[2] = static_cast<uint8_t>(frames % 75);
}

}  // namespace kvsdk
