#pragma once

// Disc images, drive maps and error blocks for the SDK's C-interface tests.

#include "burnkit.h"

#include <string>

namespace sdktest {

// Bytes that differ from sector to sector and from seed to seed.
std::string Pattern(size_t size, unsigned seed);

// A test disc in a folder: an ISO of 40 sectors, and a cue sheet of one
// MODE1/2048 data track (30 sectors, in data.bin) and two audio tracks in
// audio.bin (track 2: 80 sectors; track 3: a 20-sector pregap, INDEX 00,
// then 60 sectors).
struct DiscFiles {
    std::string Iso, Cue, DataBin, AudioBin;
    std::string IsoBytes, DataTrack, AudioTrack2, AudioTrack3;
};
DiscFiles MakeDiscFiles(const std::string& folder);

// Writes SystemDir()/drives.conf.
void WriteDriveMap(const std::string& text);

// The caller side of an error block.
struct Errors {
    char Text[BURNKIT_EXCEPTION_TEXT_SIZE];
    uint32_t SystemError;
    CDB_FAILURE_INFORMATION Cdb;
    Errors();
};
#define SDK_ERRORS(e) (e).Text, BURNKIT_EXCEPTION_TEXT_SIZE, &(e).SystemError, &(e).Cdb

}  // namespace sdktest
