#pragma once

// Internal: writing tracks and blanking discs with libburn, for host drives
// and for image-backed drives. An image-backed drive writes its image file
// through libburn's "stdio:" pseudo-drive; the file then holds exactly the
// written data. Progress goes to the grabber's callback: reason 12 (bytes
// total and done, first with done 0 and last with done == total after a
// good write) and reason 13 (fill of the write buffer).

#include "BurnLibs.h"
#include "burnkit.h"

#include <string>
#include <vector>

namespace kvsdk {

// Where a grabber writes.
struct BurnTarget {
    enum class Kind { HostDrive, ImageFile };
    Kind Type = Kind::ImageFile;
    std::string Path;  // the device ("/dev/sr0") or the image file
    BURNKIT_CALLBACK Callback = nullptr;
    void* Context = nullptr;
};

struct BurnTrack {
    BurnSourcePtr Source;
    bool Audio = false;  // 2352-byte audio blocks instead of 2048-byte data
};

struct BurnJob {
    enum class Mode { TrackAtOnce, SessionAtOnce, DiscAtOnce, DiscAtOnceRaw };
    Mode WriteMode = Mode::TrackAtOnce;
    bool Simulate = false;
    bool MultiSession = false;  // leave the disc appendable
    bool Bup = true;            // buffer-underrun protection
    std::vector<BurnTrack> Tracks;
};

// What the grabber behind a handle writes to; throws SdkError
// EN_INVALID_INPUT_PARAMETER for a handle that is no live grabber, and the
// failure a scripted drive's script gives for the function.
BurnTarget GrabberBurnTarget(void* grabber, const char* function);
// After a write or a blank: an image-backed drive opens its image again.
void RefreshGrabberDisc(void* grabber);

// A source reading a whole file; audio files (".wav") skip their header.
// Throws SdkError EN_NOT_FOUND when the file cannot be opened.
BurnSourcePtr FileSource(const std::string& path, bool* isAudio);

// Writes the job's tracks as one session. Throws SdkError: EN_NOT_FOUND
// for a missing image folder or device, EN_SCSI_CDB_FAILED without a disc,
// EN_INVALID_STATE for a closed disc, EN_NOT_IMPLEMENTED for what an image
// file cannot hold (audio, a cue sheet or other non-ISO image), EN_FAILURE
// with the writer's text when the write fails.
void WriteDisc(const BurnTarget& target, BurnJob& job);

// Blanks the disc: fast or full. An image-backed drive's image is emptied
// (a full blank first overwrites it with zeros).
void BlankDisc(const BurnTarget& target, bool full);

}  // namespace kvsdk
