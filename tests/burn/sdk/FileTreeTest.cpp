// File trees: adding, collisions and their answers, removal, boot images,
// the image build and its read loop, checked by reading the image back
// with a peer (xorriso).

#include "TestDirs.h"
#include "TreeFixture.h"

#include <gtest/gtest.h>

#include <cerrno>

using burntest::Collision;
using burntest::PeerExtract;
using burntest::PeerList;
using burntest::Recorder;
using burntest::Tree;

namespace {

using Strings = std::vector<std::string>;

class FileTreeTest : public ::testing::Test {
protected:
    std::string Make(const std::string& relative, const std::string& content) {
        std::string path = Dir.file(relative);
        kvtest::writeFile(path, content);
        return path;
    }
    std::string Image() const { return Dir.file("out.iso"); }

    kvtest::TempDir Dir;
    Recorder Rec;
};

TEST_F(FileTreeTest, JolietTreeWithCollisionsIsReadBackByPeer) {
    std::string first = Make("one/readme.txt", "first");
    std::string second = Make("two/readme.txt", "second");
    Make("one/docs/a.txt", "A");
    Make("two/docs/b.txt", "B");
    Rec.Answer = [](const Collision& c) -> std::pair<uint32_t, std::string> {
        if ((c.FirstAttributes & 0x10) && (c.SecondAttributes & 0x10))
            return {BURNKIT_COLLISION_ACTION_MERGE_FOLDERS, ""};
        return {BURNKIT_COLLISION_ACTION_RENAME_ADDED, "readme_2.txt"};
    };
    Tree tree(&Rec, 1);
    ASSERT_EQ(EN_SUCCESS, tree.AddFile(first, "/")) << tree.Error;
    ASSERT_EQ(EN_SUCCESS, tree.AddFile(second, "\\")) << tree.Error;
    ASSERT_EQ(EN_SUCCESS, tree.AddFolder(Dir.file("one/docs"), "/")) << tree.Error;
    ASSERT_EQ(EN_SUCCESS, tree.AddFolder(Dir.file("two/docs"), "/")) << tree.Error;
    ASSERT_EQ(EN_SUCCESS, tree.Build()) << tree.Error;
    tree.SaveImage(Image());

    EXPECT_EQ(Strings({"/", "/docs", "/docs/a.txt", "/docs/b.txt", "/readme.txt", "/readme_2.txt"}),
              PeerList(Image(), true));
    EXPECT_EQ("first", PeerExtract(Image(), "/readme.txt", true));
    EXPECT_EQ("second", PeerExtract(Image(), "/readme_2.txt", true));

    ASSERT_EQ(2u, Rec.Collisions.size());
    const Collision& files = Rec.Collisions[0];
    EXPECT_EQ(1, files.Kind);
    EXPECT_EQ("readme.txt", files.Name);
    EXPECT_EQ(second, files.FirstPath);
    EXPECT_EQ(0, files.FirstKindByte);
    EXPECT_EQ("/readme.txt", files.SecondPath);
    EXPECT_EQ(0x80u, files.FirstAttributes);
    EXPECT_EQ(0x80u, files.SecondAttributes);
    const Collision& folders = Rec.Collisions[1];
    EXPECT_EQ("docs", folders.Name);
    EXPECT_EQ(Dir.file("two/docs"), folders.FirstPath);
    EXPECT_EQ(1, folders.FirstKindByte);
    EXPECT_EQ(0x10u, folders.FirstAttributes);
    EXPECT_EQ(0x10u, folders.SecondAttributes);
    // The merged folder is no new node: readme, readme_2, docs, a, b.
    EXPECT_EQ(5, Rec.NodeCount);
    EXPECT_EQ(Strings({"readme.txt", "readme_2.txt", "docs", "a.txt", "b.txt"}), Rec.Added);
}

struct ActionCase {
    const char* Label;
    uint32_t Action;
    Strings Listed;
    const char* OriginalNameHolds;  // content under /readme.txt
    const char* RenamedHolds;       // content under /readme_2.txt, or null
    size_t Ignored;
};

void PrintTo(const ActionCase& c, std::ostream* os) {
    *os << c.Label;
}

class CollisionActionTest : public FileTreeTest, public ::testing::WithParamInterface<ActionCase> {};

TEST_P(CollisionActionTest, ActionDecidesWhichEntryGetsWhichName) {
    const ActionCase& c = GetParam();
    std::string first = Make("one/readme.txt", "first");
    std::string second = Make("two/readme.txt", "second");
    Rec.Answer = [&](const Collision&) { return std::make_pair(c.Action, std::string("readme_2.txt")); };
    Tree tree(&Rec, 1);
    ASSERT_EQ(EN_SUCCESS, tree.AddFile(first, "/"));
    ASSERT_EQ(EN_SUCCESS, tree.AddFile(second, "/")) << tree.Error;
    ASSERT_EQ(EN_SUCCESS, tree.Build());
    tree.SaveImage(Image());
    EXPECT_EQ(c.Listed, PeerList(Image(), true));
    EXPECT_EQ(c.OriginalNameHolds, PeerExtract(Image(), "/readme.txt", true));
    if (c.RenamedHolds != nullptr)
        EXPECT_EQ(c.RenamedHolds, PeerExtract(Image(), "/readme_2.txt", true));
    EXPECT_EQ(c.Ignored, Rec.Ignored.size());
    EXPECT_EQ(static_cast<int32_t>(c.Listed.size() - 1), Rec.NodeCount);
}

INSTANTIATE_TEST_SUITE_P(
    Actions, CollisionActionTest,
    ::testing::Values(ActionCase{"RenameExisting", 1, {"/", "/readme.txt", "/readme_2.txt"}, "second", "first", 0},
                      ActionCase{"RenameAdded", 2, {"/", "/readme.txt", "/readme_2.txt"}, "first", "second", 0},
                      ActionCase{"MergeOfFilesLeavesOut", 3, {"/", "/readme.txt"}, "first", nullptr, 1},
                      ActionCase{"NoAnswerLeavesOut", 0, {"/", "/readme.txt"}, "first", nullptr, 1}),
    [](const auto& info) { return std::string(info.param.Label); });

TEST_F(FileTreeTest, Iso9660TreeMakesIsoNamesAndCollidesOnThem) {
    Make("src/readme.txt", "lower");
    Make("src/README.TXT", "upper");
    Make("src/verylongfilename.text", "long");
    std::vector<std::string> offered;
    Rec.Answer = [&](const Collision& c) {
        offered.push_back(c.Name);
        // A base of 8 characters plus a counter: the tree keeps the digit.
        return std::make_pair(uint32_t{BURNKIT_COLLISION_ACTION_RENAME_ADDED}, std::string("README123.TXT;1"));
    };
    Tree tree(&Rec, 0);
    ASSERT_EQ(EN_SUCCESS, tree.AddFolder(Dir.file("src"), "/", "my docs")) << tree.Error;
    ASSERT_EQ(EN_SUCCESS, tree.Build(false));
    tree.SaveImage(Image());

    // Entries in name order: README.TXT first, then readme.txt collides.
    ASSERT_EQ(Strings({"README.TXT;1"}), offered);
    EXPECT_EQ(0, Rec.Collisions[0].Kind);
    EXPECT_EQ(Dir.file("src/readme.txt"), Rec.Collisions[0].FirstPath);
    EXPECT_EQ(Strings({"MY_DOCS", "README.TXT", "READM123.TXT", "VERYLONG.TEX"}), Rec.Added);
    EXPECT_EQ(Strings({"/", "/MY_DOCS", "/MY_DOCS/READM123.TXT", "/MY_DOCS/README.TXT", "/MY_DOCS/VERYLONG.TEX"}),
              PeerList(Image(), false));
    EXPECT_EQ("upper", PeerExtract(Image(), "/MY_DOCS/README.TXT", false));
    EXPECT_EQ("lower", PeerExtract(Image(), "/MY_DOCS/READM123.TXT", false));
}

TEST_F(FileTreeTest, RemovalReportsChildrenBeforeTheirFolder) {
    Make("src/a.txt", "a");
    Make("src/sub/b.txt", "b");
    Tree tree(&Rec, 1);
    ASSERT_EQ(EN_SUCCESS, tree.AddFolder(Dir.file("src"), "/", "top"));
    ASSERT_EQ(4, Rec.NodeCount);
    ASSERT_EQ(EN_SUCCESS, Burnkit_ISO9660JolietFileTree_RemoveNode(tree.get(), tree.Error, sizeof(tree.Error),
                                                                   &tree.SystemError, "\\top"))
        << tree.Error;
    EXPECT_EQ(Strings({"a.txt", "b.txt", "sub", "top"}), Rec.Removed);
    EXPECT_EQ(0, Rec.NodeCount);
    ASSERT_EQ(EN_SUCCESS, tree.Build());
    tree.SaveImage(Image());
    EXPECT_EQ(Strings({"/"}), PeerList(Image(), true));
}

TEST_F(FileTreeTest, BootImageKeepsItsNameAndIsInTheCatalog) {
    std::string boot = Make("boot/boot.img", std::string(4096, '\xEB'));
    std::string user = Make("user/boot.img", "user file");
    // As the engine answers: an added entry whose path ends in boot.img
    // gets action 1.
    Rec.Answer = [](const Collision& c) {
        bool isBoot = c.FirstPath.size() >= 8 && c.FirstPath.substr(c.FirstPath.size() - 8) == "boot.img";
        return std::make_pair(uint32_t{isBoot ? 1u : 2u}, std::string("boot_1.img"));
    };
    Tree tree(&Rec, 1);
    ASSERT_EQ(EN_SUCCESS, tree.AddFile(user, "/"));
    ASSERT_EQ(EN_SUCCESS, Burnkit_ISO9660JolietFileTree_SetBootImage(tree.get(), boot.c_str(), 6, 2, 1, 0,
                                                                     tree.Error, sizeof(tree.Error),
                                                                     &tree.SystemError))
        << tree.Error;
    ASSERT_EQ(EN_SUCCESS, tree.Build());
    tree.SaveImage(Image());
    EXPECT_EQ(Strings({"/", "/boot.img", "/boot_1.img"}), PeerList(Image(), true));
    EXPECT_EQ(std::string(4096, '\xEB'), PeerExtract(Image(), "/boot.img", true));
    EXPECT_EQ("user file", PeerExtract(Image(), "/boot_1.img", true));
    std::string report = burntest::PeerBootReport(Image());
    EXPECT_NE(std::string::npos, report.find("/boot.img")) << report;
}

TEST_F(FileTreeTest, ImageSizeMatchesTheBytesReadInAnyChunkSize) {
    Make("src/data.bin", std::string(100000, 'x'));
    Tree tree(&Rec, 1);
    uint32_t high = 7;
    EXPECT_EQ(0u, Burnkit_ISO9660JolietFileTree_GetSizeInUCHARs(tree.get(), &high));
    EXPECT_EQ(0u, high);
    ASSERT_EQ(EN_SUCCESS, tree.AddFolder(Dir.file("src"), "/"));
    ASSERT_EQ(EN_SUCCESS, tree.Build());
    uint64_t size = Burnkit_ISO9660JolietFileTree_GetSizeInUCHARs(tree.get(), &high);
    EXPECT_EQ(0u, high);
    EXPECT_EQ(0u, size % 2048);
    EXPECT_GT(size, 100000u);
    EXPECT_EQ(size, tree.SaveImage(Image(), 6144));
    EXPECT_EQ(std::string(100000, 'x'), PeerExtract(Image(), "/src/data.bin", true));
}

struct FailureCase {
    const char* Label;
    std::function<EXCEPTION_NUMBER(Tree&, const std::string& dir)> Call;
    EXCEPTION_NUMBER Expected;
    std::string Text;  // with {dir} for the test folder
    uint32_t SystemError;
};

void PrintTo(const FailureCase& c, std::ostream* os) {
    *os << c.Label;
}

class FileTreeFailureTest : public FileTreeTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(FileTreeFailureTest, FailsWithCodeAndText) {
    const FailureCase& c = GetParam();
    Make("file.txt", "x");
    Tree tree(&Rec, 1);
    EXPECT_EQ(c.Expected, c.Call(tree, Dir.path()));
    std::string expected = c.Text;
    size_t at = expected.find("{dir}");
    if (at != std::string::npos)
        expected.replace(at, 5, Dir.path());
    EXPECT_EQ(expected, tree.Error);
    EXPECT_EQ(c.SystemError, tree.SystemError);
}

EXCEPTION_NUMBER ReadBytes(Tree& t, uint32_t n) {
    std::vector<char> buffer(n);
    return Burnkit_ISO9660JolietFileTree_Read(t.get(), t.Error, sizeof(t.Error), &t.SystemError, n, buffer.data());
}

INSTANTIATE_TEST_SUITE_P(
    Failures, FileTreeFailureTest,
    ::testing::Values(
        FailureCase{"MissingSource",
                    [](Tree& t, const std::string& d) { return t.AddFile(d + "/missing.txt", "/"); },
                    EN_NOT_FOUND, "Cannot add {dir}/missing.txt: No such file or directory", ENOENT},
        FailureCase{"MissingTreeFolder",
                    [](Tree& t, const std::string& d) { return t.AddFile(d + "/file.txt", "/nope"); },
                    EN_NOT_FOUND, "Folder /nope is not in the file tree", 0},
        FailureCase{"ReadBeforeBuild", [](Tree& t, const std::string&) { return ReadBytes(t, 2048); },
                    EN_INVALID_STATE, "The image of the file tree is not built", 0},
        FailureCase{"RemoveRoot",
                    [](Tree& t, const std::string&) {
                        return Burnkit_ISO9660JolietFileTree_RemoveNode(t.get(), t.Error, sizeof(t.Error),
                                                                        &t.SystemError, "/");
                    },
                    EN_INVALID_INPUT_PARAMETER, "The root folder of a file tree cannot be removed", 0},
        FailureCase{"NotATreeHandle",
                    [](Tree& t, const std::string& d) {
                        int notATree = 0;
                        return Burnkit_ISO9660JolietFileTree_AddFile(&notATree, t.Error, sizeof(t.Error),
                                                                     &t.SystemError, (d + "/file.txt").c_str(), "/",
                                                                     "");
                    },
                    EN_INVALID_INPUT_PARAMETER, "Invalid file tree handle", 0},
        FailureCase{"FloppyOfWrongSize",
                    [](Tree& t, const std::string& d) {
                        return Burnkit_ISO9660JolietFileTree_SetBootImage(t.get(), (d + "/file.txt").c_str(), 2, 0,
                                                                          0, 0, t.Error, sizeof(t.Error),
                                                                          &t.SystemError);
                    },
                    EN_INVALID_INPUT_PARAMETER, "Boot image {dir}/file.txt is not a 1440 KiB floppy image", 0}),
    [](const auto& info) { return std::string(info.param.Label); });

TEST_F(FileTreeTest, ReadPastTheEndNamesTheSizes) {
    Tree tree(&Rec, 1);
    ASSERT_EQ(EN_SUCCESS, tree.Build());
    uint32_t size = Burnkit_ISO9660JolietFileTree_GetSizeInUCHARs(tree.get(), nullptr);
    EXPECT_EQ(EN_RANGE, ReadBytes(tree, size + 1));
    EXPECT_EQ("Read of " + std::to_string(size + 1) + " bytes at 0 passes the end of the image (" +
                  std::to_string(size) + " bytes)",
              tree.Error);
}

TEST_F(FileTreeTest, CollisionWithoutCallbackFailsAndAddsNothing) {
    std::string file = Make("file.txt", "x");
    void* handle = nullptr;
    char text[BURNKIT_EXCEPTION_TEXT_SIZE];
    uint32_t err = 0;
    ASSERT_EQ(EN_SUCCESS, Burnkit_ISO9660JolietFileTree_Create(&handle, text, sizeof(text), &err, nullptr, nullptr,
                                                               1, 0));
    EXPECT_EQ(EN_SUCCESS, Burnkit_ISO9660JolietFileTree_AddFile(handle, text, sizeof(text), &err, file.c_str(), "/",
                                                                nullptr));
    EXPECT_EQ(EN_INVALID_INPUT_PARAMETER,
              Burnkit_ISO9660JolietFileTree_AddFile(handle, text, sizeof(text), &err, file.c_str(), "/", nullptr));
    EXPECT_STREQ("file.txt is already in folder /", text);
    Burnkit_Destroy(&handle);
}

TEST_F(FileTreeTest, UnknownFileSystemTypeIsRefused) {
    void* handle = reinterpret_cast<void*>(1);
    char text[BURNKIT_EXCEPTION_TEXT_SIZE];
    EXPECT_EQ(EN_INVALID_INPUT_PARAMETER,
              Burnkit_ISO9660JolietFileTree_Create(&handle, text, sizeof(text), nullptr, nullptr, nullptr, 2, 0));
    EXPECT_EQ(nullptr, handle);
    EXPECT_STREQ("Unknown file system type 2 (0 ISO9660, 1 Joliet)", text);
}

}  // namespace
