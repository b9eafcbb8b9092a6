#include "SdkFixtures.h"
#include "TestDirs.h"
#include "burnkit.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <cstring>
#include <filesystem>
#include <vector>

using namespace sdktest;

namespace {

std::string WaveFile(const std::string& pcm) {
    std::string h(44, '\0');
    auto put32 = [&](size_t at, uint32_t v) { std::memcpy(&h[at], &v, 4); };
    std::memcpy(&h[0], "RIFF", 4);
    put32(4, static_cast<uint32_t>(36 + pcm.size()));
    std::memcpy(&h[8], "WAVEfmt ", 8);
    put32(16, 16);
    h[20] = 1;
    h[22] = 2;
    put32(24, 44100);
    put32(28, 176400);
    h[32] = 4;
    h[34] = 16;
    std::memcpy(&h[36], "data", 4);
    put32(40, static_cast<uint32_t>(pcm.size()));
    return h + pcm;
}

int32_t RecordProgress(uint32_t reason, int32_t value, void* context) {
    EXPECT_EQ(reason, static_cast<uint32_t>(BURNKIT_WAVE_CALLBACK_REASON_PROGRESS));
    static_cast<std::vector<int32_t>*>(context)->push_back(value);
    return 0;
}

// Samples of a decoded file.
std::vector<short> Decode(const std::string& path, SF_INFO& info) {
    info = SF_INFO{};
    SNDFILE* f = sf_open(path.c_str(), SFM_READ, &info);
    if (f == nullptr)
        return {};
    std::vector<short> samples(static_cast<size_t>(info.frames * info.channels));
    sf_readf_short(f, samples.data(), info.frames);
    sf_close(f);
    return samples;
}

class WaveCompress : public ::testing::Test {
protected:
    void SetUp() override {
        // Two seconds of a slowly changing tone (random samples would make Ogg slow).
        std::string pcm(2 * 176400, '\0');
        for (size_t i = 0; i < pcm.size() / 2; ++i) {
            short s = static_cast<short>((i % 200) * 100 - 10000);
            std::memcpy(&pcm[i * 2], &s, 2);
        }
        Pcm = pcm;
        Source = Dir.file("track.wav");
        kvtest::writeFile(Source, WaveFile(pcm));
    }
    kvtest::TempDir Dir;
    std::string Source;
    std::string Pcm;
};

}  // namespace

TEST_F(WaveCompress, FlacKeepsEverySampleAndReportsProgressToOneHundred) {
    std::vector<int32_t> progress;
    const std::string target = Dir.file("track.flac");
    ASSERT_EQ(Burnkit_Wave_UncompressedFileCompress(Source.c_str(), target.c_str(), 176400, RecordProgress, &progress,
                                                    BURNKIT_WAVE_COMPRESSION_FLAC),
              static_cast<EXCEPTION_NUMBER>(EN_SUCCESS));
    SF_INFO info;
    std::vector<short> samples = Decode(target, info);
    EXPECT_EQ(info.format & SF_FORMAT_TYPEMASK, SF_FORMAT_FLAC);
    ASSERT_EQ(samples.size() * 2, Pcm.size());
    EXPECT_EQ(0, std::memcmp(samples.data(), Pcm.data(), Pcm.size()));
    ASSERT_FALSE(progress.empty());
    EXPECT_EQ(progress.front(), 0);
    EXPECT_EQ(progress.back(), 100);
    EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
}

TEST_F(WaveCompress, OggVorbisOfTheSameLength) {
    const std::string target = Dir.file("track.ogg");
    ASSERT_EQ(Burnkit_Wave_UncompressedFileCompress(Source.c_str(), target.c_str(), 176400, nullptr, nullptr,
                                                    BURNKIT_WAVE_COMPRESSION_OGG),
              static_cast<EXCEPTION_NUMBER>(EN_SUCCESS));
    SF_INFO info;
    Decode(target, info);
    EXPECT_EQ(info.format & SF_FORMAT_TYPEMASK, SF_FORMAT_OGG);
    EXPECT_EQ(info.channels, 2);
    EXPECT_EQ(info.frames, 2 * 44100);
}

TEST_F(WaveCompress, BadInputFailsAndLeavesNoTarget) {
    kvtest::writeFile(Dir.file("text.wav"), "this is not a wave file at all, just some words to read");
    struct Case {
        std::string Source, Target;
        BURNKIT_WAVE_COMPRESSION Compression;
        uint32_t BytesPerSecond;
        EXCEPTION_NUMBER Result;
    } cases[] = {
        {Dir.file("missing.wav"), Dir.file("a.flac"), 0, 176400, EN_NOT_FOUND},
        {Dir.file("text.wav"), Dir.file("a.flac"), 0, 176400, EN_UNSUPPORTED_AUDIO},
        {Source, Dir.file("a.flac"), 7, 176400, EN_INVALID_INPUT_PARAMETER},
        {Source, Dir.file("a.flac"), 0, 88200, EN_UNSUPPORTED_AUDIO},
        {Source, Dir.file("no/folder/a.flac"), 0, 176400, EN_SYSTEM_CALL_FAILED},
        {Source, Source, 0, 176400, EN_INVALID_INPUT_PARAMETER},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Source + " -> " + c.Target);
        EXPECT_EQ(Burnkit_Wave_UncompressedFileCompress(c.Source.c_str(), c.Target.c_str(), c.BytesPerSecond, nullptr,
                                                        nullptr, c.Compression),
                  c.Result);
        if (c.Target != Source) {
            EXPECT_FALSE(std::filesystem::exists(c.Target));
        }
    }
    // The source survives an attempt to compress it onto itself.
    EXPECT_EQ(kvtest::readFile(Source).size(), 44 + Pcm.size());
}
