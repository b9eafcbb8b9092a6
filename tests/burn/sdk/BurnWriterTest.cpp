// The writer behind the burn and blank calls, on image files (the drive
// kind every test machine has): what lands in the file, the progress the
// callback sees, and what is refused.

#include "BurnWriter.h"
#include "FileTree.h"
#include "SdkError.h"
#include "TestDirs.h"
#include "TreeFixture.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace kvsdk;

namespace {

struct Progress {
    std::vector<std::pair<int64_t, int64_t>> Writes;  // total, done
    int BufferReports = 0;
};

void ProgressCallback(uint32_t reason, void* context, void* p1, void* p2) {
    auto* p = static_cast<Progress*>(context);
    if (reason == BURNKIT_CALLBACK_REASON_WRITE_PROGRESS)
        p->Writes.emplace_back(*static_cast<int64_t*>(p1), *static_cast<int64_t*>(p2));
    else if (reason == BURNKIT_CALLBACK_REASON_BUFFER_STATE)
        ++p->BufferReports;
}

int64_t FileSize(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 ? st.st_size : -1;
}

class BurnWriterTest : public ::testing::Test {
protected:
    BurnWriterTest() {
        kvtest::writeFile(Dir.file("src/hello.txt"), "hello");
        kvtest::writeFile(Dir.file("src/data.bin"), std::string(300000, 'd'));
        Target.Type = BurnTarget::Kind::ImageFile;
        Target.Path = Dir.file("drive.iso");
        Target.Callback = ProgressCallback;
        Target.Context = &Seen;
    }

    // A tree of src/ with a built image.
    std::unique_ptr<FileTree> MakeTree() {
        auto tree = std::make_unique<FileTree>(1, false, nullptr, nullptr);
        tree->AddFolder(Dir.file("src"), "/", "");
        tree->BuildImage(0, true, "WRITTEN", "", "");
        return tree;
    }

    kvtest::TempDir Dir;
    BurnTarget Target;
    Progress Seen;
};

TEST_F(BurnWriterTest, TrackFromTreeReplacesTheWholeImageFile) {
    // An old, larger image: what is left after the write must be exactly
    // the new image.
    kvtest::writeFile(Target.Path, std::string(3 << 20, '\xAA'));
    auto tree = MakeTree();
    int64_t size = static_cast<int64_t>(tree->ImageSize());
    BurnJob job;
    job.Tracks.push_back({tree->NewImageSource(), false});
    WriteDisc(Target, job);

    EXPECT_EQ(size, FileSize(Target.Path));
    EXPECT_EQ(std::vector<std::string>({"/", "/src", "/src/data.bin", "/src/hello.txt"}),
              burntest::PeerList(Target.Path, true));
    EXPECT_EQ("hello", burntest::PeerExtract(Target.Path, "/src/hello.txt", true));
    ASSERT_FALSE(Seen.Writes.empty());
    EXPECT_EQ(std::make_pair(size, int64_t{0}), Seen.Writes.front());
    EXPECT_EQ(std::make_pair(size, size), Seen.Writes.back());
    for (size_t i = 1; i < Seen.Writes.size(); ++i)
        EXPECT_LE(Seen.Writes[i - 1].second, Seen.Writes[i].second);
}

TEST_F(BurnWriterTest, TrackFromFileCopiesItByteForByte) {
    auto tree = MakeTree();
    std::string source = Dir.file("source.iso");
    {
        std::string bytes(tree->ImageSize(), '\0');
        tree->Read(bytes.data(), static_cast<uint32_t>(bytes.size()));
        kvtest::writeFile(source, bytes);
    }
    BurnJob job;
    job.WriteMode = BurnJob::Mode::DiscAtOnce;
    BurnTrack track;
    track.Source = FileSource(source, &track.Audio);
    job.Tracks.push_back(std::move(track));
    WriteDisc(Target, job);
    EXPECT_EQ(kvtest::readFile(source), kvtest::readFile(Target.Path));
}

TEST_F(BurnWriterTest, SimulationLeavesTheImageAlone) {
    kvtest::writeFile(Target.Path, "old image");
    auto tree = MakeTree();
    BurnJob job;
    job.Simulate = true;
    job.Tracks.push_back({tree->NewImageSource(), false});
    WriteDisc(Target, job);
    EXPECT_EQ("old image", kvtest::readFile(Target.Path));
}

struct RefusalCase {
    const char* Label;
    const char* ImageName;
    int Tracks;
    EXCEPTION_NUMBER Code;
    const char* Text;  // after the image path
};

void PrintTo(const RefusalCase& c, std::ostream* os) {
    *os << c.Label;
}

class BurnWriterRefusalTest : public BurnWriterTest, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(BurnWriterRefusalTest, RefusesWhatTheImageCannotHold) {
    const RefusalCase& c = GetParam();
    Target.Path = Dir.file(c.ImageName);
    kvtest::writeFile(Target.Path, "keep me");
    BurnJob job;
    std::vector<std::unique_ptr<FileTree>> trees;
    for (int i = 0; i < c.Tracks; ++i) {
        trees.push_back(MakeTree());
        job.Tracks.push_back({trees.back()->NewImageSource(), false});
    }
    try {
        WriteDisc(Target, job);
        FAIL() << "no failure";
    } catch (const SdkError& e) {
        EXPECT_EQ(c.Code, e.Code);
        EXPECT_EQ(std::string(c.Text), std::string(e.what()).substr(0, std::string(c.Text).size()) ) << e.what();
    }
    EXPECT_EQ("keep me", kvtest::readFile(Target.Path));
}

INSTANTIATE_TEST_SUITE_P(
    Refusals, BurnWriterRefusalTest,
    ::testing::Values(RefusalCase{"CueSheet", "disc.cue", 1, EN_NOT_IMPLEMENTED, "Cannot write to image "},
                      RefusalCase{"TwoTracks", "disc.iso", 2, EN_NOT_IMPLEMENTED, "Cannot write 2 tracks to image "},
                      RefusalCase{"NoTracks", "disc.iso", 0, EN_INVALID_INPUT_PARAMETER,
                                  "Nothing to write: no tracks"}),
    [](const auto& info) { return std::string(info.param.Label); });

class BlankTest : public BurnWriterTest, public ::testing::WithParamInterface<bool> {};

TEST_P(BlankTest, BlankEmptiesTheImageAndReportsItsEnd) {
    bool full = GetParam();
    kvtest::writeFile(Target.Path, std::string(3 << 20, 'x'));
    BlankDisc(Target, full);
    EXPECT_EQ(0, FileSize(Target.Path));
    ASSERT_FALSE(Seen.Writes.empty());
    EXPECT_EQ(std::make_pair(int64_t{3 << 20}, int64_t{0}), Seen.Writes.front());
    EXPECT_EQ(std::make_pair(int64_t{3 << 20}, int64_t{3 << 20}), Seen.Writes.back());
    // A full blank overwrites the image in steps, a fast one does not.
    EXPECT_EQ(full, Seen.Writes.size() > 2);
}

INSTANTIATE_TEST_SUITE_P(Kinds, BlankTest, ::testing::Values(false, true),
                         [](const auto& info) { return std::string(info.param ? "Full" : "Fast"); });

TEST_F(BurnWriterTest, BlankOfAMissingImageNamesIt) {
    Target.Path = Dir.file("gone.iso");
    try {
        BlankDisc(Target, false);
        FAIL() << "no failure";
    } catch (const SdkError& e) {
        EXPECT_EQ(EN_NOT_FOUND, e.Code);
        EXPECT_EQ("Cannot open image " + Target.Path + ": No such file or directory", std::string(e.what()));
    }
}

}  // namespace
