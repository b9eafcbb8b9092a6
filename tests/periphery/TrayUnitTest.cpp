#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QTimer>

#include <chrono>
#include <filesystem>
#include <thread>
#include <vector>

#include "TestDirs.h"
#include "TrayUnit.h"
#include "VDMainUnit.h"
#include "platform/Paths.h"

namespace {

// Records what would be started instead of starting it.
class TrayFormTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved = ElevatedShellExecuteEx;
        ElevatedShellExecuteEx = [this](platform::TShellExecuteInfo& info) {
            started.push_back(info);
            return true;
        };
    }
    void TearDown() override
    {
        ElevatedShellExecuteEx = saved;
        QApplication::setQuitOnLastWindowClosed(true);
    }
    std::function<bool(platform::TShellExecuteInfo&)> saved;
    std::vector<platform::TShellExecuteInfo> started;
};

TEST_F(TrayFormTest, IconHasHintAndMenuWithWizardAndExit)
{
    TTrayForm form;
    EXPECT_EQ(form.TrayIcon1->toolTip().toStdString(), "Brindmoor Virtual Drive");
    EXPECT_FALSE(form.TrayIcon1->icon().isNull());
    EXPECT_TRUE(form.TrayIcon1->isVisible());
    ASSERT_EQ(form.TrayIcon1->contextMenu(), form.PopupMenu1);
    const QList<QAction*> items = form.PopupMenu1->actions();
    ASSERT_EQ(items.size(), 2);
    EXPECT_EQ(items[0], form.Wizard1);
    EXPECT_EQ(items[0]->text().toStdString(), "Wizard");
    EXPECT_EQ(items[1], form.Exit1);
    EXPECT_EQ(items[1]->text().toStdString(), "Exit");
    EXPECT_FALSE(form.isVisible());
    EXPECT_FALSE(QApplication::quitOnLastWindowClosed())
        << "closing the main window shown from the tray must not end the program";
}

TEST_F(TrayFormTest, WizardStartsOwnExecutableElevatedWithoutArguments)
{
    TTrayForm form;
    form.Wizard1->trigger();
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0].Verb, "runas");
    EXPECT_EQ(started[0].File, platform::ExecutablePath());
    EXPECT_EQ(started[0].Parameters, "");
    EXPECT_EQ(started[0].Directory, "");
    EXPECT_EQ(started[0].Show, platform::SW_SHOWNORMAL);
}

TEST_F(TrayFormTest, ElevatedStartIgnoresWindowAndShowCommand)
{
    ShellExecuteElevated(1234, QStringLiteral("/opt/Program Files/x.exe"), QStringLiteral("-tray"), platform::SW_HIDE);
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0].Verb, "runas");
    EXPECT_EQ(started[0].File, "/opt/Program Files/x.exe");
    EXPECT_EQ(started[0].Parameters, "-tray");
    EXPECT_EQ(started[0].Show, platform::SW_SHOWNORMAL);
    EXPECT_FALSE(started[0].NoCloseProcess) << "the start is not waited for";
}

TEST_F(TrayFormTest, ExitEndsTheMessageLoop)
{
    TTrayForm form;
    QTimer::singleShot(0, form.Exit1, &QAction::trigger);
    // A loop that does not end is stopped with another code.
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    guard.start(5000);
    EXPECT_EQ(QCoreApplication::exec(), 0);
    EXPECT_FALSE(form.TrayIcon1->isVisible());
}

// The main window shown from the tray.
class TrayMainWindowTest : public TrayFormTest {
protected:
    void SetUp() override
    {
        TrayFormTest::SetUp();
        previous = MainForm;
        window = new TMainForm;
        MainForm = window;
    }
    void TearDown() override
    {
        MainForm = previous;
        delete window;
        TrayFormTest::TearDown();
    }
    TMainForm* previous = nullptr;
    TMainForm* window = nullptr;
};

TEST_F(TrayMainWindowTest, DoubleClickShowsHiddenMainWindowModallyUntilClosed)
{
    TTrayForm form;
    bool sawModal = false;
    bool closed = false;
    QTimer::singleShot(50, [&] {
        sawModal = window->isVisible() && window->isModal();
        window->close();
        closed = true;
    });
    emit form.TrayIcon1->activated(QSystemTrayIcon::DoubleClick);
    EXPECT_TRUE(closed) << "the double-click returns only after the window was closed";
    EXPECT_TRUE(sawModal);
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(window->isModal());
}

TEST_F(TrayMainWindowTest, DoubleClickRestoresVisibleMinimisedWindowAtOnce)
{
    TTrayForm form;
    window->showMinimized();
    ASSERT_TRUE(window->isVisible());
    form.TrayIcon1DblClick();
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->windowState() & Qt::WindowMinimized);
}

TEST_F(TrayMainWindowTest, SingleClickDoesNothing)
{
    TTrayForm form;
    emit form.TrayIcon1->activated(QSystemTrayIcon::Trigger);
    EXPECT_FALSE(window->isVisible());
}

// The real start: a script stands in for the program and writes down its
// arguments.
TEST(ShellExecuteElevatedTest, StartsTheProgramWithItsParameters)
{
    kvtest::TempDir dir;
    const std::string script = dir.file("tray program.sh");
    const std::string marker = dir.file("started.txt");
    kvtest::writeFile(script, "#!/bin/sh\necho \"$#:$1\" > '" + marker + ".tmp' && mv '" + marker + ".tmp' '" +
                                  marker + "'\n");
    std::filesystem::permissions(script, std::filesystem::perms::owner_all);
    if (!kvtest::isRoot() && std::system("command -v pkexec >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "an elevated start needs root or pkexec";
    if (!kvtest::isRoot())
        GTEST_SKIP() << "an elevated start would ask for a password";

    ShellExecuteElevated(0, QString::fromStdString(script), QStringLiteral("-tray"), platform::SW_HIDE);
    for (int i = 0; i < 100 && !std::filesystem::exists(marker); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    ASSERT_TRUE(std::filesystem::exists(marker));
    EXPECT_EQ(kvtest::readFile(marker), "1:-tray\n");
}

}  // namespace
