#include "EngineTestSupport.h"

#include <gtest/gtest.h>

#include <fstream>

#include "sbEngineUnits.h"

namespace enginetest {

namespace {

class FileLogger : public TsbLogger {
public:
    explicit FileLogger(const std::string& fileName)
    {
        FLogFileName = fileName;
        FEnabled = true;
    }
};

// The engine's globals exist for the whole test process, as in the program.
class EngineUnitsEnvironment : public ::testing::Environment {
public:
    void SetUp() override { sbEngineInitialize(); }
    void TearDown() override { sbEngineFinalize(); }
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new EngineUnitsEnvironment);

}  // namespace

TraceCapture::TraceCapture()
    : fileName_(dir_.file("trace.log")), previous_(sbLogger), logger_(new FileLogger(fileName_))
{
    sbLogger = logger_;
}

TraceCapture::~TraceCapture()
{
    sbLogger = previous_;
    delete logger_;
}

std::vector<std::string> TraceCapture::RawLines() const
{
    std::vector<std::string> lines;
    std::ifstream in(fileName_, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> TraceCapture::Messages() const
{
    std::vector<std::string> messages;
    for (const std::string& line : RawLines()) {
        size_t pos = line.find(": ");
        messages.push_back(pos == std::string::npos ? line : line.substr(pos + 2));
    }
    return messages;
}

}  // namespace enginetest
