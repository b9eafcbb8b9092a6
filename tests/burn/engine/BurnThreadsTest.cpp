// The burn and erase threads: the image-file copy loop with its progress
// rule, the mode table, the session layout, the erase types, and the
// burner pieces that start and forget the threads.

#include "BurnThreadsFixture.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

#include "sbBurnThreads.h"
#include "sbCallBack.h"

using namespace burnthreads;

namespace {

using Strings = std::vector<std::string>;

TEST_F(BurnThreadsTest, ImageFileModeWritesATreeWithCollisionsThatAPeerReads) {
    kvtest::writeFile(Dir.file("one/readme.txt"), "first");
    kvtest::writeFile(Dir.file("two/readme.txt"), "second");
    kvtest::writeFile(Dir.file("one/docs/a.txt"), "A");
    kvtest::writeFile(Dir.file("two/docs/b.txt"), "B");
    // The tree reports through the engine's own callback, which renames
    // colliding files and merges colliding Joliet folders.
    CreateTree(BurnkitCallBack, &Burner.sbTreeNodes);
    AddFile(Dir.file("one/readme.txt"));
    AddFile(Dir.file("two/readme.txt"));
    AddFolder(Dir.file("one/docs"));
    AddFolder(Dir.file("two/docs"));
    EXPECT_EQ(5, Burner.sbTreeNodes);
    int64_t size = BuildImage();

    std::string out = Dir.file("out.iso");
    RunImageFile(out, size);

    EXPECT_TRUE(Burner.Success());
    EXPECT_EQ("", Burner.Message());
    EXPECT_EQ(size, FileSize(out));
    Strings listed = burntest::PeerList(out, true);
    ASSERT_EQ(6u, listed.size()) << ::testing::PrintToString(listed);
    EXPECT_EQ(Strings({"/", "/docs", "/docs/a.txt", "/docs/b.txt", "/readme.txt"}),
              Strings({listed[0], listed[1], listed[2], listed[3], listed[4]}));
    EXPECT_EQ(0u, listed[5].rfind("/readme_", 0)) << listed[5];
    EXPECT_EQ("second", burntest::PeerExtract(out, listed[5], true));
    EXPECT_EQ("first", burntest::PeerExtract(out, "/readme.txt", true));
    for (size_t i = 0; i < Events.Progress.size(); ++i) {
        EXPECT_GT(Events.Progress[i], 0);
        EXPECT_LT(Events.Progress[i], 100);
        if (i > 0) { EXPECT_GT(Events.Progress[i], Events.Progress[i - 1]); }
    }
    EXPECT_EQ(std::vector<bool>({true, false}), Events.CancelAllowed);
    EXPECT_EQ(1, Events.BufferDisabled);
    EXPECT_EQ(nullptr, Burner.FBurnThread);
    EXPECT_EQ(sbNoThreadHandle, Burner.FBurnThreadHandle);
}

struct CopyCase {
    const char* Label;
    int64_t Total;       // bytes the caller asks for; -1: the image size plus one chunk
    bool Cancel;
    bool ReadOnlyFile;
    bool CheckProgress;
    std::vector<int32_t> Progress;
    bool Success;
    int64_t Written;     // -1: not checked
    const char* MessageStart;
};

void PrintTo(const CopyCase& c, std::ostream* os)
{
    *os << c.Label;
}

class ImageCopyTest : public BurnThreadsTest, public ::testing::WithParamInterface<CopyCase> {};

TEST_P(ImageCopyTest, CopiesInChunksAndReportsProgressOnlyWhenItChanges) {
    const CopyCase& c = GetParam();
    kvtest::writeFile(Dir.file("src/data.bin"), std::string(300000, 'd'));
    CreateTree(nullptr, nullptr);
    AddFolder(Dir.file("src"));
    int64_t size = BuildImage();
    int64_t total = c.Total >= 0 ? c.Total : size + 65536;
    Burner.SetCancel(c.Cancel);
    std::string out = Dir.file("out.iso");
    RunImageFile(out, total, c.ReadOnlyFile);

    if (c.CheckProgress) { EXPECT_EQ(c.Progress, Events.Progress); }
    EXPECT_EQ(c.Success, Burner.Success());
    if (c.Written >= 0) { EXPECT_EQ(c.Written, FileSize(out)); }
    EXPECT_EQ(0u, Burner.Message().rfind(c.MessageStart, 0)) << Burner.Message();
    EXPECT_EQ(std::vector<bool>({true, false}), Events.CancelAllowed);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ImageCopyTest,
    ::testing::Values(CopyCase{"HundredThousandBytes", 100000, false, false, true, {65}, true, 100000, ""},
                      CopyCase{"Cancelled", 100000, true, false, true, {}, true, 0, ""},
                      CopyCase{"ZeroBytes", 0, false, false, true, {}, true, 0, ""},
                      CopyCase{"ReadPastTheImage", -1, false, false, false, {}, false, -1,
                               "Burnkit_ISO9660FileTree_Read(loop) failed, exception 20, status 0, text \"Read of "},
                      CopyCase{"WriteRefused", 100000, false, true, true, {}, false, 0,
                               "WriteFile( 65536 ) failed, status 9"}),
    [](const auto& info) { return std::string(info.param.Label); });

TEST_F(BurnThreadsTest, HundredThousandBytesGoInChunksOf65536And34464) {
    kvtest::writeFile(Dir.file("src/data.bin"), std::string(300000, 'd'));
    CreateTree(nullptr, nullptr);
    AddFolder(Dir.file("src"));
    BuildImage();
    enginetest::TraceCapture trace;
    RunImageFile(Dir.file("out.iso"), 100000);
    EXPECT_EQ(34464, Burner.FIPV.IoTransferSizeInUCHARs);
    EXPECT_EQ(0, Burner.FIPV.CurrentUnstoredSizeInUCHARs);
    EXPECT_EQ(100000, Burner.FIPV.ProcessedUCHARs);
    EXPECT_EQ(Strings({"Burnkit_ISO9660JolietFileTree_Read", "Burnkit_ISO9660JolietFileTree_Read"}),
              trace.Messages());
    // The image starts with its system area and the primary descriptor.
    std::string bytes = kvtest::readFile(Dir.file("out.iso"));
    EXPECT_EQ(std::string("\1CD001", 6), bytes.substr(32768, 6));
}

struct ModeCase {
    TsbBurnMode Mode;
    const char* Text;
    const char* Function;
    const char* FailureName;
};

void PrintTo(const ModeCase& c, std::ostream* os)
{
    *os << c.Function;
}

class BurnModeTest : public BurnThreadsTest, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(BurnModeTest, ModeAnnouncesItselfCallsTheSdkAndReportsItsFailure) {
    const ModeCase& c = GetParam();
    // No grabber: the SDK refuses the call, so the failure path is seen
    // with the SDK's own text.
    std::string source = Dir.file("source.iso");
    kvtest::writeFile(source, std::string(4096, 'i'));
    Burner.DAODISCLAYOUT.m__LONG__NumberOfEntries = 1;
    std::strcpy(Burner.DAODISCLAYOUT.m__DAO_DISC_LAYOUT_ENTRY[0].m__CHAR__FileName, source.c_str());
    Burner.BurnFileList() = {source};
    CreateTree(nullptr, nullptr);
    Burner.BurnOptions().Mode = c.Mode;
    enginetest::TraceCapture trace;
    RunBurn();

    EXPECT_EQ(Strings({std::string("Burning mode: ") + c.Text, "Burning started"}), Actions);
    EXPECT_FALSE(Burner.Success());
    EXPECT_EQ(EN_INVALID_INPUT_PARAMETER, Burner.sbException);
    EXPECT_EQ(std::string(c.FailureName) + "() failed, exception 2, status 22, text \"Invalid grabber handle\"",
              Burner.Message());
    EXPECT_EQ(Strings({c.Function, Burner.Message()}), trace.Messages());
    EXPECT_EQ(std::vector<bool>({true, false}), Events.CancelAllowed);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, BurnModeTest,
    ::testing::Values(
        ModeCase{bmTrackAtOnce, "Track-At-Once (from tree)", "Burnkit_Grabber_TrackAtOnceFromTree",
                 "Burnkit_Grabber_TrackAtOnceFromTree"},
        ModeCase{bmSessionAtOnce, "Session-At-Once (from tree)", "Burnkit_Grabber_SessionAtOnce",
                 "Burnkit_Grabber_SessionAtOnce"},
        ModeCase{bmDiscAtOncePQFromTree, "Disc-At-Once PQ (from tree)", "Burnkit_Grabber_DiscAtOncePQFromTree",
                 "Burnkit_Grabber_DiscAtOncePQFromTree"},
        ModeCase{bmDiscAtOnceRawPWFromTree, "Disc-At-Once raw P-W (from tree)",
                 "Burnkit_Grabber_DiscAtOnceRawPWFromTree", "Burnkit_Grabber_DiscAtOncePQ[RawPW]FromTree"},
        ModeCase{bmDiscAtOncePQFromFile, "Disc-At-Once PQ (from file)", "Burnkit_Grabber_DiscAtOncePQFromFile",
                 "Burnkit_Grabber_DiscAtOncePQFromFile"},
        ModeCase{bmDiscAtOnceRawPWFromFile, "Disc-At-Once raw P-W (from file)",
                 "Burnkit_Grabber_DiscAtOnceRawPWFromFile", "Burnkit_Grabber_DiscAtOnceRawPWFromFile"},
        ModeCase{bmTrackAtOnceFromFile, "Track-At-Once (from file)", "Burnkit_Grabber_TrackAtOnceFromFile",
                 "Burnkit_Grabber_TrackAtOnceFromFile"},
        ModeCase{bmSessionAtOnceFromFile, "Session-At-Once (from file)", "Burnkit_Grabber_SessionAtOnce",
                 "Burnkit_Grabber_SessionAtOnce"}),
    [](const auto& info) { return std::to_string(static_cast<int>(info.param.Mode)); });

class ModeAboveEightTest : public BurnThreadsTest, public ::testing::WithParamInterface<bool> {};

TEST_P(ModeAboveEightTest, DoesNothingButAllowAndForbidCancel) {
    Burner.Success() = GetParam();
    Burner.Message() = "old";
    Burner.BurnOptions().Mode = static_cast<TsbBurnMode>(9);
    enginetest::TraceCapture trace;
    RunBurn();
    EXPECT_EQ(GetParam(), Burner.Success());
    EXPECT_EQ("", Burner.Message());
    EXPECT_TRUE(Actions.empty());
    EXPECT_TRUE(trace.Messages().empty());
    EXPECT_EQ(std::vector<bool>({true, false}), Events.CancelAllowed);
}

INSTANTIATE_TEST_SUITE_P(PreviousSuccess, ModeAboveEightTest, ::testing::Values(false, true));

TEST_F(BurnThreadsTest, TrackAtOnceFromFileWithoutEntriesSucceedsWithoutSdkCall) {
    Burner.BurnOptions().Mode = bmTrackAtOnceFromFile;
    Burner.DAODISCLAYOUT.m__LONG__NumberOfEntries = 0;
    enginetest::TraceCapture trace;
    RunBurn();
    EXPECT_TRUE(Burner.Success());
    EXPECT_EQ(2u, Actions.size());
    EXPECT_EQ(Strings({"Burnkit_Grabber_TrackAtOnceFromFile"}), trace.Messages());
    EXPECT_EQ(EN_SUCCESS, Burner.sbException);
}

TEST(SessionLayoutTest, FileNamesLieAtTheirEntryOffsets) {
    auto layout = sbSessionLayoutForFiles({"/a/first.iso", "/b/second.iso"});
    int32_t count = 0;
    std::memcpy(&count, layout->data(), 4);
    EXPECT_EQ(2, count);
    EXPECT_STREQ("/a/first.iso", reinterpret_cast<const char*>(layout->data() + 19));
    EXPECT_STREQ("/b/second.iso", reinterpret_cast<const char*>(layout->data() + 306));
    EXPECT_EQ(29108u, layout->size());

    int dummy = 0;
    auto tree = sbSessionLayoutForTree(&dummy);
    void* stored = nullptr;
    std::memcpy(&stored, tree->data() + 4 + 279, sizeof stored);
    EXPECT_EQ(&dummy, stored);
}

struct LayoutLimitCase {
    const char* Label;
    TsbBurnMode Mode;
    size_t Lines;          // burn file list lines
    size_t NameLength;     // bytes of each line
    int32_t DaoEntries;
    const char* Message;   // empty: the layout is accepted
};

void PrintTo(const LayoutLimitCase& c, std::ostream* os)
{
    *os << c.Label;
}

class LayoutLimitTest : public BurnThreadsTest, public ::testing::WithParamInterface<LayoutLimitCase> {};

TEST_P(LayoutLimitTest, LayoutsAreNeverFilledPastTheirCapacity) {
    const LayoutLimitCase& c = GetParam();
    Burner.BurnOptions().Mode = c.Mode;
    Burner.BurnFileList().assign(c.Lines, std::string(c.NameLength, 'n'));
    Burner.DAODISCLAYOUT.m__LONG__NumberOfEntries = c.DaoEntries;
    RunBurn();
    EXPECT_FALSE(Burner.Success());
    if (*c.Message != '\0') {
        std::string expected = c.Message;
        size_t at = expected.find("{name}");
        if (at != std::string::npos) expected.replace(at, 6, std::string(c.NameLength, 'n'));
        EXPECT_EQ(expected, Burner.Message());
        EXPECT_EQ(EN_SUCCESS, Burner.sbException) << "no SDK call";
    } else {
        // Accepted by the engine: the SDK answers (no grabber here).
        EXPECT_EQ(EN_INVALID_INPUT_PARAMETER, Burner.sbException);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Limits, LayoutLimitTest,
    ::testing::Values(
        LayoutLimitCase{"HundredAndOneFiles", bmSessionAtOnceFromFile, 101, 10, 0, ""},
        LayoutLimitCase{"HundredAndTwoFiles", bmSessionAtOnceFromFile, 102, 10, 0,
                        "The session layout holds at most 101 files, not 102"},
        LayoutLimitCase{"NameOf263Bytes", bmSessionAtOnceFromFile, 1, 263, 0, ""},
        LayoutLimitCase{"NameOf264Bytes", bmSessionAtOnceFromFile, 1, 264, 0,
                        "The file name {name} is longer than the 263 bytes a session layout holds"},
        LayoutLimitCase{"DaoOf101Entries", bmDiscAtOncePQFromFile, 0, 0, 101,
                        "The disc-at-once layout holds 0 to 100 entries, not 101"},
        LayoutLimitCase{"TrackLoopOfNegativeCount", bmTrackAtOnceFromFile, 0, 0, -1,
                        "The disc-at-once layout holds 0 to 100 entries, not -1"}),
    [](const auto& info) { return std::string(info.param.Label); });

class EraseThreadTest : public BurnThreadsTest, public ::testing::WithParamInterface<bool> {};

TEST_P(EraseThreadTest, EraseTypeIsTracedAndAFailureEndsTheThread) {
    bool full = GetParam();
    Burner.EraseOptions().IsFull = full;
    Burner.Success() = true;
    enginetest::TraceCapture trace;
    auto thread = RunErase();

    std::string type = full ? "ERASE_TYPE_BLANK_DISC_FULL" : "ERASE_TYPE_BLANK_DISC_FAST";
    ASSERT_EQ(2u, trace.Messages().size());
    EXPECT_EQ("Burnkit_Grabber_Blank: EraseType: " + type, trace.Messages()[0]);
    EXPECT_EQ("Burnkit_Grabber_Blank failed, exception 2, status 22, text \"Invalid grabber handle\"",
              Burner.Message());
    EXPECT_EQ(Burner.Message(), trace.Messages()[1]);
    EXPECT_TRUE(thread->HasFatalException());
    EXPECT_EQ(Burner.Message(), thread->FatalException());
    EXPECT_TRUE(thread->Terminated());
    EXPECT_EQ(nullptr, thread->Burner());
    // The termination notice ran: the burner forgot the thread.
    EXPECT_EQ(nullptr, Burner.FEraseThread);
    EXPECT_TRUE(Burner.Success()) << "the erase thread leaves Success alone";
    EXPECT_TRUE(Events.CancelAllowed.empty());
}

INSTANTIATE_TEST_SUITE_P(Types, EraseThreadTest, ::testing::Values(false, true),
                         [](const auto& info) { return std::string(info.param ? "Full" : "Fast"); });

TEST_F(BurnThreadsTest, ShutDownFileTreeClosesTheTreeAndForgetsTheUdfVolume) {
    kvtest::writeFile(Dir.file("a.txt"), "a");
    CreateTree(nullptr, nullptr);
    void* tree = Burner.ISO9660JolietFileTree;
    int notAVolume = 0;
    Burner.mp_UDFVolume = &notAVolume;
    enginetest::TraceCapture trace;
    Burner.ShutDownFileTree();
    EXPECT_EQ(nullptr, Burner.ISO9660JolietFileTree);
    EXPECT_EQ(nullptr, Burner.mp_UDFVolume);
    EXPECT_EQ(Strings({"Burnkit_Destroy: FileTree"}), trace.Messages());
    // The handle is closed: the SDK no longer knows it.
    char text[1024];
    EXPECT_EQ(EN_INVALID_INPUT_PARAMETER, Burnkit_ISO9660JolietFileTree_AddFile(
                                              tree, text, sizeof text, nullptr, Dir.file("a.txt").c_str(), "/", ""));
    EXPECT_EQ(0, notAVolume);
}

}  // namespace
