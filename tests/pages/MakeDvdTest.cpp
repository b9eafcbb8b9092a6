// The add-drive page: the device-list buffer, Browse, Start over the real
// driver (mount, making room, failures, the command line) and tile 1's
// driver installer runs.

#include <gtest/gtest.h>

#include <QTest>

#include <cstring>
#include <filesystem>

#include "MakeDvdUnit.h"
#include "PagesDriverTest.h"
#include "VDHelpers.h"
#include "VDMainUnit.h"
#include "platform/DosDevices.h"

namespace {

TEST(VPortDeviceListBufferTest, ReadsNoFurtherThanTheBuffer)
{
    struct Case {
        int32_t count;
        int32_t readable;
    };
    const Case cases[] = {{-3, 0}, {0, 0}, {5, 5}, {15, 15}, {16, 15}, {1000, 15}};
    for (const Case& c : cases)
        EXPECT_EQ(TVPortDeviceListBuffer::Readable(c.count), c.readable) << c.count;

    // Entry 15 is the last record that fits: it starts at 4 + 14 * 1032.
    TVPortDeviceListBuffer list;
    auto* bytes = static_cast<unsigned char*>(list.Data());
    const int32_t id = 4711;
    std::memcpy(bytes + 4 + 14 * 1032 + 4, &id, sizeof id);
    std::memcpy(bytes + 4 + 14 * 1032 + 8, "TargetName=last.iso", 20);
    EXPECT_EQ(list.Entry(15).m__LONG__TargetId, id);
    EXPECT_STREQ(list.Entry(15).m__CHAR__Name, "TargetName=last.iso");
    EXPECT_EQ(list.Entry(16).m__LONG__TargetId, 0);
    EXPECT_EQ(list.Entry(0).m__LONG__TargetId, 0);
}

struct BrowseCase {
    const char* name;
    bool confirm;
    const char* chosen;
    const char* expectedPath;
};
void PrintTo(const BrowseCase& c, std::ostream* os) { *os << c.name; }

class MakeDvdBrowseTest : public ::testing::TestWithParam<BrowseCase> {
protected:
    void TearDown() override { TOpenDialog::ExecuteHook = nullptr; }
};

TEST_P(MakeDvdBrowseTest, PutsTheConfirmedFileIntoThePath)
{
    const BrowseCase& c = GetParam();
    TMakeDvdForm page(nullptr);
    page.show();
    page.cxTextEdit1->setText(QStringLiteral("/earlier/choice.iso"));
    QString filter;
    int filterIndex = -1;
    TOpenDialog::ExecuteHook = [&](TOpenDialog& dialog) {
        filter = dialog.Filter;
        filterIndex = dialog.FilterIndex;
        dialog.FileName = QString::fromUtf8(c.chosen);
        return c.confirm;
    };
    QTest::mouseClick(page.cxButton1, Qt::LeftButton);
    EXPECT_EQ(filter, QStringLiteral("ISO file|*.iso"));
    EXPECT_EQ(filterIndex, 0);
    EXPECT_EQ(page.cxTextEdit1->text().toStdString(), c.expectedPath);
}

INSTANTIATE_TEST_SUITE_P(Answers, MakeDvdBrowseTest,
                         ::testing::Values(BrowseCase{"Confirmed", true, "/data/disc one.iso", "/data/disc one.iso"},
                                           BrowseCase{"Cancelled", false, "/data/other.iso", "/earlier/choice.iso"}),
                         [](const auto& info) { return std::string(info.param.name); });

using MakeDvdPageTest = PagesDriverTest;

TEST_F(MakeDvdPageTest, StartMountsTheImageAsReadOnlyLoopDeviceAndOpensItsRoot)
{
    const std::string iso = NewIso("disc.iso", "MOUNTME");
    StartMainForm({});
    pagestest::MessageBoxAnswerer answers;
    form_->AddDriveButtClick();
    ASSERT_TRUE(MakeDvdForm);
    EXPECT_TRUE(MakeDvdForm->isVisible());
    EXPECT_EQ(CurrentTabIndex, 4);
    EXPECT_EQ(MakeDvdForm->cxButton2->text(), QStringLiteral("Start"));

    MakeDvdForm->cxTextEdit1->clear();
    QTest::keyClicks(MakeDvdForm->cxTextEdit1, QString::fromStdString(iso));
    QTest::mouseClick(MakeDvdForm->cxButton2, Qt::LeftButton);

    const std::vector<int32_t> ids = pagestest::ListedTargetIds();
    ASSERT_EQ(ids.size(), 1u);
    EXPECT_EQ(MakeDvdForm->FActionVPortDeviceTargetId, ids[0]);
    const std::string loop = pagestest::LoopDeviceOf(iso);
    ASSERT_FALSE(loop.empty());
    EXPECT_TRUE(pagestest::LoopIsReadOnly(loop));
    EXPECT_TRUE(answers.Texts.isEmpty()) << "no message without command-line arguments";
    EXPECT_FALSE(ApplicationTerminated());

    const std::string letter = pagestest::LetterOf(ids[0]);
    ASSERT_FALSE(letter.empty());
    const std::string root = platform::DriveRootToPath(letter + ":\\");
    ASSERT_FALSE(root.empty()) << "the image was not mounted";
    const QStringList opened = OpenedPaths(1);
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(std::filesystem::path(opened[0].toStdString()).lexically_normal(),
              std::filesystem::path(root).lexically_normal());
}

struct RoomCase {
    int present;
    std::vector<int> keptPositions;  // 1-based positions of the devices that stay
};
void PrintTo(const RoomCase& c, std::ostream* os) { *os << c.present << " devices present"; }

class MakeDvdRoomTest : public PagesDriverTest, public ::testing::WithParamInterface<RoomCase> {};

TEST_P(MakeDvdRoomTest, KeepsFiveDevicesBeforeTheNewOne)
{
    const RoomCase& c = GetParam();
    std::vector<int32_t> before;
    const std::string iso = NewIso("base.iso", "BASE");
    for (int i = 0; i < c.present; ++i) {
        const std::string copy = images_.file("present" + std::to_string(i) + ".iso");
        std::filesystem::copy_file(iso, copy);
        before.push_back(pagestest::AddDevice(copy));
        ASSERT_GE(before.back(), 0);
    }
    StartMainForm({});
    form_->AddDriveButtClick();
    ASSERT_TRUE(MakeDvdForm);
    MakeDvdForm->cxTextEdit1->setText(QString::fromStdString(iso));
    QTest::mouseClick(MakeDvdForm->cxButton2, Qt::LeftButton);

    std::vector<int32_t> expected;
    for (int position : c.keptPositions)
        expected.push_back(before[size_t(position - 1)]);
    expected.push_back(MakeDvdForm->FActionVPortDeviceTargetId);
    EXPECT_EQ(pagestest::ListedTargetIds(), expected);
}

INSTANTIATE_TEST_SUITE_P(Present, MakeDvdRoomTest,
                         ::testing::Values(RoomCase{5, {1, 2, 3, 4, 5}}, RoomCase{6, {1, 2, 3, 4, 5}},
                                           RoomCase{8, {1, 2, 3, 4, 5}}),
                         [](const auto& info) { return "Present" + std::to_string(info.param.present); });

struct CommandCase {
    const char* name;
    std::vector<const char*> arguments;  // "<iso>" is the test's image, "<missing>" a path that does not exist
    bool mounted;
    std::vector<const char*> messages;
    bool ends;
    const char* pathShown;  // in the page's path edit, with the same placeholders
};
void PrintTo(const CommandCase& c, std::ostream* os) { *os << c.name; }

class MakeDvdCommandLineTest : public PagesDriverTest, public ::testing::WithParamInterface<CommandCase> {};

TEST_P(MakeDvdCommandLineTest, FirstActivationOpensThePageAndStarts)
{
    const CommandCase& c = GetParam();
    const std::string iso = NewIso("cmd.iso", "CMDLINE");
    const std::string missing = images_.file("missing.iso");
    auto expand = [&](const char* text) {
        const std::string t = text;
        return QString::fromStdString(t == "<iso>" ? iso : t == "<missing>" ? missing : t);
    };
    QStringList arguments;
    for (const char* a : c.arguments)
        arguments << expand(a);
    StartMainForm(arguments);
    pagestest::MessageBoxAnswerer answers;
    form_->FormActivate();

    ASSERT_TRUE(MakeDvdForm);
    EXPECT_TRUE(MakeDvdForm->isVisible());
    EXPECT_EQ(CurrentTabIndex, -1);
    EXPECT_EQ(MakeDvdForm->cxTextEdit1->text(), expand(c.pathShown));
    EXPECT_EQ(!pagestest::LoopDeviceOf(iso).empty(), c.mounted);
    EXPECT_EQ(pagestest::ListedTargetIds().size(), c.mounted ? 1u : 0u);
    QStringList expectedMessages;
    for (const char* m : c.messages)
        expectedMessages << QString::fromUtf8(m);
    EXPECT_EQ(answers.Texts, expectedMessages);
    EXPECT_EQ(ApplicationTerminated(), c.ends);
}

INSTANTIATE_TEST_SUITE_P(
    Roads, MakeDvdCommandLineTest,
    ::testing::Values(
        CommandCase{"AddWithPath", {"/add", "<iso>"}, true, {"Virtual drive successfully created."}, true, "<iso>"},
        CommandCase{"ExistingFileAlone", {"<iso>"}, true, {"Virtual drive successfully created."}, true, "<iso>"},
        CommandCase{"AddAlone", {"/add"}, false, {}, false, ""},
        CommandCase{"AddWithThreeArguments", {"/add", "<iso>", "x"}, false, {}, false, ""},
        CommandCase{"AddMissingImage",
                    {"/add", "<missing>"},
                    false,
                    {"Error while creating virtual drive."},
                    false,
                    "<missing>"}),
    [](const auto& info) { return std::string(info.param.name); });

struct InstallerCase {
    const char* name;
    int installsOnRun;  // the installer run that installs the driver, 0 for none
    int expectedRuns;
    bool pageShown;
};
void PrintTo(const InstallerCase& c, std::ostream* os) { *os << c.name; }

class TileOneInstallerTest : public PagesDriverTest, public ::testing::WithParamInterface<InstallerCase> {};

TEST_P(TileOneInstallerTest, RunsTheInstallerUntilTheDriverAnswers)
{
    const InstallerCase& c = GetParam();
    ASSERT_EQ(pagestest::UninstallDriver(), 0);
    StartMainForm({});
    pagestest::MessageBoxAnswerer answers;
    int runs = 0;
    InstallerRunner = [&](const QString& file, const QString& parameters, const QString& directory, bool wait,
                          const QString& verb, int show) -> uint32_t {
        ++runs;
        EXPECT_EQ(file, ExeDir() + QStringLiteral("kvvd2021.exe"));
        EXPECT_EQ(parameters, QStringLiteral("-installvd"));
        EXPECT_EQ(directory, ExeDir());
        EXPECT_TRUE(wait);
        EXPECT_EQ(verb, QStringLiteral("runas"));
        EXPECT_EQ(show, 1);
        if (runs == c.installsOnRun) {
            EXPECT_EQ(pagestest::InstallDriver(), 0);
        }
        return 0;
    };
    form_->AddDriveButtClick();
    EXPECT_EQ(runs, c.expectedRuns);
    EXPECT_EQ(MakeDvdForm && MakeDvdForm->isVisible(), c.pageShown);
    EXPECT_EQ(CurrentTabIndex, c.pageShown ? 4 : -1);
    EXPECT_TRUE(answers.Texts.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Driver, TileOneInstallerTest,
                         ::testing::Values(InstallerCase{"NeverInstalled", 0, 2, false},
                                           InstallerCase{"InstalledByFirstRun", 1, 1, true},
                                           InstallerCase{"InstalledBySecondRun", 2, 2, false}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
