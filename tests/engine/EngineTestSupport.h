#pragma once

// Fixtures shared by the engine's tests: a trace log captured into a file
// of the test's own, and the engine's globals for the whole test process.

#include <string>
#include <vector>

#include "DriveMapFile.h"
#include "TestDirs.h"
#include "sbLogger.h"

namespace enginetest {

// While alive, sbLogger is an enabled logger that writes into a temporary
// file of its own; the previous logger comes back afterwards.
class TraceCapture {
public:
    TraceCapture();
    ~TraceCapture();
    TraceCapture(const TraceCapture&) = delete;
    TraceCapture& operator=(const TraceCapture&) = delete;

    const std::string& FileName() const { return fileName_; }
    // The whole lines as written (without CR LF).
    std::vector<std::string> RawLines() const;
    // The messages: each line without its "hh:nn:ss.zzz: " prefix.
    std::vector<std::string> Messages() const;

private:
    kvtest::TempDir dir_;
    std::string fileName_;
    TsbLogger* previous_;
    TsbLogger* logger_;
};

using DriveMap = kvtest::DriveMap;

// Writes a plain image of `sectors` 2048-byte sectors (sparse).
std::string MakeIsoImage(const std::string& path, int64_t sectors);

// A cue sheet with its BIN file (named after the cue sheet): each track is
// "MODE1/2048", "MODE1/2352" or "AUDIO" with its length in sectors. Audio
// sectors hold a recognisable pattern; the rest is sparse.
struct CueTrack {
    std::string mode;
    int32_t sectors;
};
std::string MakeCueImage(const std::string& cuePath, const std::vector<CueTrack>& tracks);

// True when the host has optical drives of its own.
bool HostHasOpticalDrive();

}  // namespace enginetest
