// The built program end to end: "-installvd", "/add IMAGE", "/remove E:"
// and "-uninstallvd", each run as its own process from the runtime folder
// in the test's user and system folders.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QProcess>
#include <QProcessEnvironment>

#include "Burnkit.h"
#include "PagesFixture.h"
#include "TestDirs.h"
#include "platform/Registry.h"

namespace {

struct RunResult {
    bool finished = false;
    int exitCode = -1;
    std::string errors;
};

int32_t readVDInstalled()
{
    platform::TRegistry reg(platform::KEY_READ);
    reg.RootKey = platform::HKEY_LOCAL_MACHINE;
    if (!reg.OpenKeyReadOnly("Software\\KorvantaInt\\General") || !reg.ValueExists("VDInstalled"))
        return -1;
    return reg.ReadInteger("VDInstalled");
}

class PagesE2ETest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!kvtest::isRoot())
            GTEST_SKIP() << "virtual drives need loop devices, which need root";
        kvtest::writeFile(bin_.file("xdg-open"), "#!/bin/sh\nexit 0\n");
        ::chmod(bin_.file("xdg-open").c_str(), 0755);
    }
    void TearDown() override
    {
        if (!kvtest::isRoot())
            return;
        pagestest::RemoveAllDevices(images_.path());
        pagestest::UninstallDriver();
        EXPECT_TRUE(pagestest::MountsUnder(kvtest::systemDir()).empty());
    }

    // Runs kvvd2021.exe with the arguments; message boxes are answered by
    // the program itself (KV_ACCEPT_MESSAGES) and written to standard error.
    RunResult Run(const QStringList& arguments)
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("KV_ACCEPT_MESSAGES"), QStringLiteral("1"));
        env.insert(QStringLiteral("PATH"),
                   QString::fromStdString(bin_.path()) + QLatin1Char(':') + env.value(QStringLiteral("PATH")));
        p.setProcessEnvironment(env);
        p.start(QString::fromStdString(kvtest::runtimeDir()) + QStringLiteral("/kvvd2021.exe"), arguments);
        RunResult r;
        r.finished = p.waitForFinished(60000);
        if (!r.finished) {
            p.kill();
            p.waitForFinished();
        }
        r.exitCode = p.exitCode();
        r.errors = p.readAllStandardError().toStdString();
        return r;
    }

    kvtest::TempDir images_;
    kvtest::TempDir bin_;
};

TEST_F(PagesE2ETest, InstallAddRemoveUninstall)
{
    const std::string iso = images_.file("e2e.iso");
    pagestest::MakeIso(iso, "ENDTOEND");

    RunResult r = Run({QStringLiteral("-installvd")});
    ASSERT_TRUE(r.finished) << "-installvd did not end";
    EXPECT_EQ(readVDInstalled(), 1);
    EXPECT_TRUE(pagestest::ListedTargetIds().empty());
    uint32_t major = 0, minor = 0, systemError = 0;
    ASSERT_EQ(Burnkit_VPort_GetVersion(&major, &minor, &systemError), EN_SUCCESS) << "the driver does not answer";

    r = Run({QStringLiteral("/add"), QString::fromStdString(iso)});
    ASSERT_TRUE(r.finished) << "/add did not end: " << r.errors;
    EXPECT_NE(r.errors.find("message: Virtual drive successfully created."), std::string::npos) << r.errors;
    const std::string loop = pagestest::LoopDeviceOf(iso);
    ASSERT_FALSE(loop.empty()) << r.errors;
    EXPECT_TRUE(pagestest::LoopIsReadOnly(loop));
    const std::vector<int32_t> ids = pagestest::ListedTargetIds();
    ASSERT_EQ(ids.size(), 1u);
    const std::string letter = pagestest::LetterOf(ids[0]);
    ASSERT_FALSE(letter.empty());

    r = Run({QStringLiteral("/remove"), QString::fromStdString(letter + ":")});
    ASSERT_TRUE(r.finished) << "/remove did not end: " << r.errors;
    EXPECT_TRUE(pagestest::ListedTargetIds().empty());
    EXPECT_TRUE(pagestest::LoopDeviceOf(iso).empty());

    // A drive to take away with the driver.
    ASSERT_GE(pagestest::AddDevice(iso), 0);
    r = Run({QStringLiteral("-uninstallvd")});
    ASSERT_TRUE(r.finished) << "-uninstallvd did not end";
    EXPECT_EQ(readVDInstalled(), 0);
    EXPECT_TRUE(pagestest::LoopDeviceOf(iso).empty());
    EXPECT_NE(Burnkit_VPort_GetVersion(&major, &minor, &systemError), EN_SUCCESS);
}

}  // namespace
