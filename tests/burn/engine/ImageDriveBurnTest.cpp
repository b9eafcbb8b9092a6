// The threads against a real drive of the SDK: a drive backed by an ISO
// image, which burns and blanks its image file.

#include "BurnThreadsFixture.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "sbBurnThreads.h"

using namespace burnthreads;

namespace {

using Strings = std::vector<std::string>;

// A drive map with CdRom0 over an image made from a tree of one file, and
// the burner's grabber open on it.
class ImageDriveBurnTest : public BurnThreadsTest {
protected:
    ImageDriveBurnTest()
    {
        kvtest::writeFile(Dir.file("old/old.txt"), "old content");
        MakeImage(Dir.file("old"), ImagePath);
        kvtest::writeFile(MapPath, "CdRom0=" + ImagePath + "\n");
        Burner.TransportType() = ttSpti;
        Burner.DeviceName() = "CdRom0";
        Burner.PrepareGrabber();
    }
    ~ImageDriveBurnTest() override
    {
        Burner.ShutDownGrabber();
        std::remove(MapPath.c_str());
    }

    // Writes the image of a tree of Folder to Path through the read loop.
    static void MakeImage(const std::string& Folder, const std::string& Path)
    {
        burntest::Recorder recorder;
        burntest::Tree tree(&recorder, 1);
        ASSERT_EQ(EN_SUCCESS, tree.AddFolder(Folder, "/", "")) << tree.Error;
        ASSERT_EQ(EN_SUCCESS, tree.Build()) << tree.Error;
        tree.SaveImage(Path);
    }

    std::string ImagePath = Dir.file("drive.iso");
    std::string MapPath = kvtest::systemDir() + "/drives.conf";
};

TEST_F(ImageDriveBurnTest, TrackAtOnceFromTreeWritesTheTreeIntoTheImage) {
    kvtest::writeFile(Dir.file("new/new.txt"), "new content");
    CreateTree(nullptr, nullptr);
    AddFolder(Dir.file("new"));
    int64_t size = BuildImage();
    Burner.BurnOptions().Mode = bmTrackAtOnce;
    RunBurn();

    EXPECT_TRUE(Burner.Success()) << Burner.Message();
    EXPECT_EQ("", Burner.Message());
    EXPECT_EQ(size, FileSize(ImagePath));
    EXPECT_EQ(Strings({"/", "/new", "/new/new.txt"}), burntest::PeerList(ImagePath, true));
    EXPECT_EQ("new content", burntest::PeerExtract(ImagePath, "/new/new.txt", true));
    EXPECT_EQ(Strings({"Burning mode: Track-At-Once (from tree)", "Burning started"}), Actions);
    for (int32_t percent : Events.Progress) {
        EXPECT_GE(percent, 0);
        EXPECT_LE(percent, 100);
    }
}

TEST_F(ImageDriveBurnTest, SessionAtOnceFromFileCopiesTheListedImage) {
    std::string source = Dir.file("source.iso");
    kvtest::writeFile(Dir.file("src/file.txt"), "listed");
    MakeImage(Dir.file("src"), source);
    Burner.BurnFileList() = {source};
    Burner.BurnOptions().Mode = bmSessionAtOnceFromFile;
    RunBurn();
    EXPECT_TRUE(Burner.Success()) << Burner.Message();
    EXPECT_EQ(kvtest::readFile(source), kvtest::readFile(ImagePath));
}

TEST_F(ImageDriveBurnTest, TestModeWritesNothing) {
    std::string before = kvtest::readFile(ImagePath);
    kvtest::writeFile(Dir.file("new/new.txt"), "new content");
    CreateTree(nullptr, nullptr);
    AddFolder(Dir.file("new"));
    BuildImage();
    Burner.BurnOptions().Mode = bmDiscAtOncePQFromTree;
    Burner.BurnOptions().TestMode = true;
    RunBurn();
    EXPECT_TRUE(Burner.Success()) << Burner.Message();
    EXPECT_EQ(before, kvtest::readFile(ImagePath));
}

class ImageDriveBlankTest : public ImageDriveBurnTest, public ::testing::WithParamInterface<bool> {};

TEST_P(ImageDriveBlankTest, BlankEmptiesTheImage) {
    ASSERT_GT(FileSize(ImagePath), 0);
    Burner.EraseOptions().IsFull = GetParam();
    auto thread = RunErase();
    EXPECT_FALSE(thread->HasFatalException()) << thread->FatalException();
    EXPECT_EQ("", Burner.Message());
    EXPECT_EQ(EN_SUCCESS, Burner.sbException);
    EXPECT_EQ(0, FileSize(ImagePath));
}

INSTANTIATE_TEST_SUITE_P(Kinds, ImageDriveBlankTest, ::testing::Values(false, true),
                         [](const auto& info) { return std::string(info.param ? "Full" : "Fast"); });

}  // namespace
