#include <gtest/gtest.h>

#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>

#include "TestDirs.h"
#include "platform/Mutex.h"
#include "platform/Registry.h"

namespace {

struct TRun {
    int exitCode = -1;
    bool crashed = false;
    QString err;
};

TRun runProgram(const QStringList& args, const QProcessEnvironment& extra = {})
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    for (const QString& k : extra.keys())
        env.insert(k, extra.value(k));
    p.setProcessEnvironment(env);
    p.start(QString::fromStdString(kvtest::runtimeDir()) + "/kvvd2021.exe", args);
    TRun r;
    if (!p.waitForFinished(30000)) {
        p.kill();
        p.waitForFinished();
        r.err = "timed out";
        return r;
    }
    r.exitCode = p.exitCode();
    r.crashed = p.exitStatus() == QProcess::CrashExit;
    r.err = QString::fromLocal8Bit(p.readAllStandardError());
    return r;
}

TEST(ProgramStartTest, MainWindowAppearsWithTheTilePage)
{
    kvtest::TempDir dir;
    const QString shot = QString::fromStdString(dir.file("main.png"));
    QProcessEnvironment env;
    env.insert("KV_SCREENSHOT", shot);
    const TRun r = runProgram({}, env);
    ASSERT_FALSE(r.crashed) << r.err.toStdString();
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QImage img(shot);
    ASSERT_FALSE(img.isNull());
    EXPECT_GE(img.width(), 800);
    EXPECT_GE(img.height(), 600);
    // the default skin's light page background fills the lower right corner
    EXPECT_EQ(img.pixelColor(img.width() - 5, img.height() - 5), QColor("#eef2f6"));
}

QImage screenshot(const kvtest::TempDir& dir, const char* name)
{
    QProcessEnvironment env;
    env.insert("KV_SCREENSHOT", QString::fromStdString(dir.file(name)));
    const TRun r = runProgram({}, env);
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    return QImage(QString::fromStdString(dir.file(name))).convertToFormat(QImage::Format_RGB32);
}

TEST(ProgramStartTest, TilePageFollowsTheChosenLanguage)
{
    kvtest::TempDir dir;
    const QImage english = screenshot(dir, "en.png");
    platform::TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("Software\\KorvantaInt\\General", true));
    reg.WriteString("Language", "G");
    const QImage german = screenshot(dir, "de.png");
    reg.DeleteValue("Language");
    ASSERT_EQ(english.size(), german.size());
    // The header picture is the same; the section title and the tile texts
    // below it are not.
    int differing = 0;
    for (int y = 80; y < english.height(); ++y)
        for (int x = 0; x < english.width(); ++x)
            differing += english.pixel(x, y) != german.pixel(x, y);
    int headerDiffering = 0;
    for (int y = 0; y < 70; ++y)
        for (int x = 0; x < english.width(); ++x)
            headerDiffering += english.pixel(x, y) != german.pixel(x, y);
    EXPECT_GT(differing, 500);
    EXPECT_EQ(headerDiffering, 0);
}

struct TInstallerCase {
    const char* name;
    QStringList args;
    int32_t vdInstalled;
};
void PrintTo(const TInstallerCase& c, std::ostream* os) { *os << c.name; }

class InstallerBranchTest : public ::testing::TestWithParam<TInstallerCase> {};

// The installer mode ends by itself and records the driver state, whatever
// the driver installer managed (without root it cannot install).
TEST_P(InstallerBranchTest, EndsByItselfAndRecordsTheDriverState)
{
    const TRun r = runProgram(GetParam().args);
    EXPECT_FALSE(r.crashed);
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    platform::TRegistry reg(platform::KEY_READ);
    reg.RootKey = platform::HKEY_LOCAL_MACHINE;
    ASSERT_TRUE(reg.OpenKeyReadOnly("Software\\KorvantaInt\\General"));
    EXPECT_EQ(reg.ReadInteger("VDInstalled"), GetParam().vdInstalled);
}

INSTANTIATE_TEST_SUITE_P(
    Branches, InstallerBranchTest,
    ::testing::Values(TInstallerCase{"Install", {"-installvd"}, 1},
                      TInstallerCase{"UninstallBeforeTray", {"-uninstallvd", "-tray"}, 0},
                      TInstallerCase{"InstallWinsOverUninstall", {"-installvd", "-uninstallvd"}, 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ProgramStartTest, SecondTrayProcessEndsQuietly)
{
    platform::TNamedMutex held;
    ASSERT_TRUE(held.Create("BrindmoorZipVirtualDrive"));
    const TRun r = runProgram({"-tray"});
    EXPECT_FALSE(r.crashed);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_FALSE(r.err.contains("tray mode")) << r.err.toStdString();
}

}  // namespace
