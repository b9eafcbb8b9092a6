#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>

#include "BaseFrame.h"
#include "TestDirs.h"
#include "VDHelpers.h"
#include "platform/Paths.h"
#include "platform/Registry.h"

namespace {

TEST(StripAmpersandsTest, RemovesEveryAmpersand)
{
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"&Virtual Drive", "Virtual Drive"}, {"&&", ""}, {"A&&B", "AB"}, {"", ""},
        {"no mnemonic", "no mnemonic"},     {"&a&b&", "ab"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(StripAmpersands(QString::fromUtf8(c.in)), QString::fromUtf8(c.out)) << c.in;
}

TEST(CenteredDialogPosTest, CentresOnTheMainWindowAndNeverGoesNegative)
{
    const struct {
        QRect main;
        QSize dialog;
        QPoint expected;
    } cases[] = {
        {QRect(100, 100, 800, 600), QSize(300, 120), QPoint(100 + 400 - 150, 100 + 300 - 60)},
        {QRect(0, 0, 200, 100), QSize(300, 120), QPoint(0, 0)},
        {QRect(-50, 10, 200, 100), QSize(100, 40), QPoint(0, 40)},
        // odd sizes truncate
        {QRect(0, 0, 801, 601), QSize(301, 121), QPoint(400 - 150, 300 - 60)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CenteredDialogPos(c.main, c.dialog), c.expected);
}

class DocumentsDirTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        reg.RootKey = platform::HKEY_CURRENT_USER;
        ASSERT_TRUE(reg.OpenKey("\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", true));
    }
    void TearDown() override { reg.WriteString("Personal", platform::DocumentsDir()); }
    platform::TRegistry reg;
};

TEST_F(DocumentsDirTest, ReadsThePersonalValue)
{
    reg.WriteString("Personal", "/home/someone/Docs");
    EXPECT_EQ(GetMyDocumentsDir(), QStringLiteral("/home/someone/Docs"));
}

TEST_F(DocumentsDirTest, MissingValueGivesEmptyText)
{
    reg.DeleteValue("Personal");
    EXPECT_EQ(GetMyDocumentsDir(), QString());
}

TEST_F(DocumentsDirTest, ValueOfAnotherTypeGivesTheDocumentsFolderAndCreatesIt)
{
    const QString docs = QString::fromStdString(platform::DocumentsDir());
    QDir(docs).removeRecursively();
    reg.WriteInteger("Personal", 5);
    EXPECT_EQ(GetMyDocumentsDir(), docs);
    EXPECT_TRUE(QFileInfo(docs).isDir());
}

TEST(RunAndWaitTest, ReturnsTheExitCodeOfTheProgram)
{
    const struct {
        int show;
        const char* script;
        uint32_t code;
    } cases[] = {{0, "exit 7", 7}, {1, "exit 3", 3}, {0, "exit 0", 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(RunAndWait("/bin/sh", QStringLiteral("-c \"%1\"").arg(c.script), QString(), true,
                             QStringLiteral("open"), c.show),
                  c.code)
            << c.script;
    }
}

TEST(RunAndWaitTest, MissingProgramGivesZeroAtOnce)
{
    EXPECT_EQ(RunAndWait("/no/such/program", "", "", true, "open", 1), 0u);
    EXPECT_EQ(RunAndWait("/no/such/program", "", "", true, "runas", 0), 0u);
}

TEST(IsVistaOrLaterTest, TheSystemAnswersAsVersion10)
{
    EXPECT_TRUE(IsVistaOrLater());
}

TEST(BaseFrameTest, ScalesPageAndControlsByResolution)
{
    TBaseFrame page;
    EXPECT_EQ(page.size(), QSize(623, 407));
    auto* child = new QWidget(&page);
    child->setGeometry(40, 20, 100, 30);
    page.ScaleBy(120, 96);
    EXPECT_EQ(page.width(), 779);
    EXPECT_EQ(page.height(), 509);
    EXPECT_EQ(child->geometry(), QRect(50, 25, 125, 38));
    page.ScaleBy(96, 96);
    EXPECT_EQ(page.width(), 779);
}

}  // namespace
