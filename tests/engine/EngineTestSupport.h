#pragma once

// Fixtures shared by the engine's tests: a trace log captured into a file
// of the test's own, and the engine's globals for the whole test process.

#include <string>
#include <vector>

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

}  // namespace enginetest
