#pragma once

// Internal: the cue-sheet reader of image-backed drives. It understands
// FILE (BINARY), TRACK (MODE1/2048, MODE1/2352, MODE2/2352, AUDIO), INDEX,
// PREGAP and POSTGAP, and skips the descriptive commands (REM, TITLE,
// PERFORMER, SONGWRITER, CATALOG, ISRC, FLAGS, CDTEXTFILE). Anything else is
// refused: a misread cue sheet would give wrong tracks.

#include "Disc.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kvsdk {

struct CueTrack {
    int Number = 0;
    TrackMode Mode = TrackMode::Mode1_2048;
    int32_t Pregap = 0;    // frames before the track that are not in the file
    int32_t Postgap = 0;   // frames after the track that are not in the file
    int32_t Index00 = -1;  // frame in the file, -1 when absent
    int32_t Index01 = -1;  // frame in the file
    int Line = 0;
};

struct CueFile {
    std::string Name;  // as written in the sheet
    std::vector<CueTrack> Tracks;
    int Line = 0;
};

struct CueSheet {
    std::vector<CueFile> Files;
};

// Parses the text of a cue sheet. Throws SdkError (EN_UNRECOGNIZED_MEDIA)
// with a text "line N: reason".
CueSheet ParseCueSheet(const std::string& text);

// Where a track lies: its disc layout and its data in a file.
struct CueTrackPlacement {
    TrackLayout Layout;
    size_t FileIndex = 0;     // into CueSheet::Files
    uint64_t ByteOffset = 0;  // of the track's Start sector in that file
};

// Lays the tracks out on the disc, given the size in bytes of every file of
// the sheet (same order). Throws SdkError (EN_UNRECOGNIZED_MEDIA) when a
// file is too short for its tracks or does not end on a whole sector, or
// when a track has no sectors.
std::vector<CueTrackPlacement> LayoutCueSheet(const CueSheet& sheet, const std::vector<uint64_t>& fileSizes);

}  // namespace kvsdk
