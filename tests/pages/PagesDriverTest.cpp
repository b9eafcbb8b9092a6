#include "PagesDriverTest.h"

#include <sys/stat.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <cstdlib>
#include <fstream>

#include "MakeDvdUnit.h"
#include "VDHelpers.h"
#include "VDMainUnit.h"
#include "platform/Registry.h"

void PagesDriverTest::SetUp()
{
    if (!kvtest::isRoot())
        GTEST_SKIP() << "virtual drives need loop devices, which need root";
    ASSERT_EQ(pagestest::InstallDriver(), 0);
    // The shell's opener only records what it was asked to open.
    kvtest::writeFile(bin_.file("xdg-open"), "#!/bin/sh\nprintf '%s\\n' \"$1\" >> \"$(dirname \"$0\")/opened.log\"\n");
    ::chmod(bin_.file("xdg-open").c_str(), 0755);
    const char* path = std::getenv("PATH");
    savedPath_ = path ? path : "";
    setenv("PATH", (bin_.path() + ":" + savedPath_).c_str(), 1);

    platform::TRegistry reg;
    reg.RootKey = platform::HKEY_CURRENT_USER;
    reg.OpenKey("Software\\KorvantaInt\\General", true);
    reg.WriteString("DSkin19", kvtest::runtimeDir() + "/SKINS/Light Solitude/Light Solitude.vsf");
    InstallerRunner = RunAndWait;
}

void PagesDriverTest::TearDown()
{
    if (!kvtest::isRoot())
        return;
    delete form_;
    form_ = nullptr;
    InstallerRunner = RunAndWait;
    setenv("PATH", savedPath_.c_str(), 1);
    pagestest::RemoveAllDevices(images_.path());
    pagestest::UninstallDriver();
    EXPECT_TRUE(pagestest::MountsUnder(kvtest::systemDir()).empty());
}

std::string PagesDriverTest::NewIso(const std::string& name, const std::string& label)
{
    const std::string path = images_.file(name);
    pagestest::MakeIso(path, label);
    return path;
}

void PagesDriverTest::StartMainForm(const QStringList& arguments)
{
    ResetMainFormGlobals();
    ResetApplicationTerminated();
    SetProgramArguments(QStringList{QStringLiteral("kvvd2021.exe")} + arguments);
    form_ = new TMainForm;
    form_->show();
}

QStringList PagesDriverTest::OpenedPaths(int Count)
{
    QStringList paths;
    QElapsedTimer t;
    t.start();
    do {
        paths.clear();
        std::ifstream in(bin_.file("opened.log"));
        for (std::string line; std::getline(in, line);)
            paths << QString::fromStdString(line);
        if (paths.size() >= Count)
            break;
        QThread::msleep(20);
    } while (t.elapsed() < 5000);
    return paths;
}
