#include "CueSheet.h"
#include "SdkError.h"

#include <gtest/gtest.h>

using namespace kvsdk;

namespace {

std::vector<CueTrackPlacement> Layout(const std::string& cue, const std::vector<uint64_t>& sizes) {
    return LayoutCueSheet(ParseCueSheet(cue), sizes);
}

// Runs f and returns the SdkError text it throws ("" when it throws none).
template <class F>
std::string ErrorOf(F&& f) {
    try {
        f();
    } catch (const SdkError& e) {
        EXPECT_EQ(e.Code, static_cast<EXCEPTION_NUMBER>(EN_UNRECOGNIZED_MEDIA));
        return e.what();
    }
    return "";
}

}  // namespace

TEST(CueSheet, LaysOutDataAndAudioTracksWithPregaps) {
    // Data track of 100 sectors (2048 bytes), then in a second file two audio
    // tracks; track 3 has a 150-frame pregap stored in the file (INDEX 00).
    const std::string cue =
        "REM made by a test\r\n"
        "FILE \"data file.bin\" BINARY\r\n"
        "  TRACK 01 MODE1/2048\r\n"
        "    INDEX 01 00:00:00\r\n"
        "FILE audio.bin BINARY\n"
        "  TRACK 02 AUDIO\n"
        "    PREGAP 00:02:00\n"
        "    INDEX 01 00:00:00\n"
        "  TRACK 03 AUDIO\n"
        "    INDEX 00 00:04:00\n"
        "    INDEX 01 00:06:00\n";
    const uint64_t audioSectors = 6 * 75 + 40;
    auto p = Layout(cue, {100 * 2048, audioSectors * 2352});
    ASSERT_EQ(p.size(), 3u);
    EXPECT_EQ(ParseCueSheet(cue).Files[0].Name, "data file.bin");
    EXPECT_EQ(ParseCueSheet(cue).Files[1].Name, "audio.bin");

    EXPECT_EQ(p[0].Layout.Start, 0);
    EXPECT_EQ(p[0].Layout.End, 100);
    EXPECT_EQ(p[0].ByteOffset, 0u);

    // The PREGAP is not in the file: it moves the track on the disc only.
    EXPECT_EQ(p[1].Layout.Start, 100 + 150);
    EXPECT_EQ(p[1].Layout.End, 100 + 150 + 300);  // ends where track 3's INDEX 00 begins
    EXPECT_EQ(p[1].FileIndex, 1u);
    EXPECT_EQ(p[1].ByteOffset, 0u);

    EXPECT_EQ(p[2].Layout.Index00, 100 + 150 + 300);
    EXPECT_EQ(p[2].Layout.Start, 100 + 150 + 450);
    EXPECT_EQ(p[2].Layout.Length(), 40);
    EXPECT_EQ(p[2].ByteOffset, 450u * 2352);
    EXPECT_EQ(p[2].Layout.Mode, TrackMode::Audio);
}

TEST(CueSheet, MixedSectorSizesInOneFileUseEachTracksOwnSize) {
    const std::string cue =
        "FILE disc.bin BINARY\n"
        "TRACK 1 MODE1/2352\nINDEX 1 00:00:00\n"
        "TRACK 2 AUDIO\nINDEX 1 00:00:10\n";
    auto p = Layout(cue, {10 * 2352 + 5 * 2352});
    ASSERT_EQ(p.size(), 2u);
    EXPECT_EQ(p[1].ByteOffset, 10u * 2352);
    EXPECT_EQ(p[1].Layout.Length(), 5);
}

struct BadCue {
    const char* Name;
    std::string Text;
    const char* Expected;  // part of the error text
};
void PrintTo(const BadCue& c, std::ostream* os) { *os << c.Name; }

class CueSheetRefuses : public ::testing::TestWithParam<BadCue> {};

TEST_P(CueSheetRefuses, WithTheLineAndTheReason) {
    const BadCue& c = GetParam();
    std::string text = ErrorOf([&] { ParseCueSheet(c.Text); });
    EXPECT_NE(text.find(c.Expected), std::string::npos) << "actual: " << text;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CueSheetRefuses,
    ::testing::Values(
        BadCue{"UnknownMode", "FILE a.bin BINARY\nTRACK 01 MODE3/2352\nINDEX 01 00:00:00\n",
               "line 2: unsupported track mode 'MODE3/2352'"},
        BadCue{"TracksOutOfOrder",
               "FILE a.bin BINARY\nTRACK 02 AUDIO\nINDEX 01 00:00:00\nTRACK 01 AUDIO\nINDEX 01 00:10:00\n",
               "line 4: track 1 follows track 2"},
        BadCue{"TrackNumberGap",
               "FILE a.bin BINARY\nTRACK 01 AUDIO\nINDEX 01 00:00:00\nTRACK 03 AUDIO\nINDEX 01 00:10:00\n",
               "line 4: track 3 follows track 1"},
        BadCue{"TrackBeforeFile", "TRACK 01 AUDIO\nINDEX 01 00:00:00\n", "line 1: TRACK before FILE"},
        BadCue{"NoIndex01", "FILE a.bin BINARY\nTRACK 01 AUDIO\nTRACK 02 AUDIO\nINDEX 01 00:00:00\n",
               "line 2: track 1 has no INDEX 01"},
        BadCue{"BadTime", "FILE a.bin BINARY\nTRACK 01 AUDIO\nINDEX 01 00:60:00\n", "line 3: bad time '00:60:00'"},
        BadCue{"WaveFile", "FILE a.wav WAVE\nTRACK 01 AUDIO\nINDEX 01 00:00:00\n",
               "line 1: unsupported file type 'WAVE'"},
        BadCue{"UnknownCommand", "FILE a.bin BINARY\nTRACK 01 AUDIO\nFROBNICATE\n",
               "line 3: unknown command 'FROBNICATE'"},
        BadCue{"NoTracks", "REM nothing\n", "the cue sheet has no tracks"},
        BadCue{"Index00AfterIndex01", "FILE a.bin BINARY\nTRACK 01 AUDIO\nINDEX 01 00:00:00\nINDEX 00 00:00:00\n",
               "line 4: INDEX 00 must come first"},
        BadCue{"UnclosedQuote", "FILE \"a.bin BINARY\n", "line 1: FILE name has no closing quote"},
        BadCue{"BinaryText", std::string("FILE a\0.bin BINARY\n", 19), "not a text file"}),
    [](const auto& info) { return std::string(info.param.Name); });

struct BadLayout {
    const char* Name;
    uint64_t FileSize;
    const char* Expected;
};
void PrintTo(const BadLayout& c, std::ostream* os) { *os << c.Name; }

class CueLayoutRefuses : public ::testing::TestWithParam<BadLayout> {};

TEST_P(CueLayoutRefuses, TruncatedOrPartialFiles) {
    const std::string cue =
        "FILE a.bin BINARY\nTRACK 01 MODE1/2352\nINDEX 01 00:00:00\nTRACK 02 AUDIO\nINDEX 01 00:00:50\n";
    std::string text = ErrorOf([&] { Layout(cue, {GetParam().FileSize}); });
    EXPECT_NE(text.find(GetParam().Expected), std::string::npos) << "actual: " << text;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CueLayoutRefuses,
    ::testing::Values(BadLayout{"EndsInsideFirstTrack", 20 * 2352, "'a.bin' is truncated: track 2 starts at byte"},
                      BadLayout{"EndsOnTrackTwoStart", 50 * 2352, "track 2 has no sectors"},
                      BadLayout{"PartialLastSector", 60 * 2352 + 100, "its last 100 bytes do not make a whole sector"}),
    [](const auto& info) { return std::string(info.param.Name); });
