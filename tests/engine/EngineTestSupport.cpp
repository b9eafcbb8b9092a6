#include "EngineTestSupport.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
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

std::string MakeIsoImage(const std::string& path, int64_t sectors)
{
    kvtest::writeFile(path, "");
    std::filesystem::resize_file(path, uint64_t(sectors) * 2048);
    return path;
}

std::string MakeCueImage(const std::string& cuePath, const std::vector<CueTrack>& tracks)
{
    std::string base = cuePath.substr(0, cuePath.size() - 4);
    std::string binPath = base + ".bin";
    std::string binName = binPath.substr(binPath.find_last_of('/') + 1);
    std::string cue = "FILE \"" + binName + "\" BINARY\n";
    int fd = ::open(binPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) throw std::runtime_error("cannot create " + binPath);
    uint64_t offset = 0;
    int number = 1;
    for (const CueTrack& t : tracks) {
        const uint32_t sectorSize = t.mode == "MODE1/2048" ? 2048 : 2352;
        char track[64];
        std::snprintf(track, sizeof track, "  TRACK %02d %s\n", number, t.mode.c_str());
        // One sector size per image: the index counts sectors of that size.
        uint64_t frames = offset / sectorSize;
        char index[64];
        std::snprintf(index, sizeof index, "    INDEX 01 %02u:%02u:%02u\n", unsigned(frames / 4500),
                      unsigned(frames / 75 % 60), unsigned(frames % 75));
        cue += track;
        cue += index;
        if (t.mode == "AUDIO") {
            std::vector<unsigned char> sector(2352);
            for (int32_t s = 0; s < t.sectors; ++s) {
                for (size_t i = 0; i < sector.size(); ++i) sector[i] = static_cast<unsigned char>((s * 7 + i) & 0xFF);
                if (::pwrite(fd, sector.data(), sector.size(), off_t(offset + uint64_t(s) * 2352)) != 2352)
                    throw std::runtime_error("cannot write " + binPath);
            }
        }
        offset += uint64_t(t.sectors) * sectorSize;
        ++number;
    }
    if (::ftruncate(fd, off_t(offset)) != 0) throw std::runtime_error("cannot size " + binPath);
    ::close(fd);
    kvtest::writeFile(cuePath, cue);
    return cuePath;
}

bool HostHasOpticalDrive()
{
    return std::filesystem::exists("/dev/sr0");
}

}  // namespace enginetest
