#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "MakeDvdUnit.h"
#include "RemoveDvd.h"
#include "TestDirs.h"
#include "VDHelpers.h"
#include "VDMainUnit.h"
#include "grabUnit.h"
#include "platform/Registry.h"

namespace {

// The add and remove pages open only when the virtual-device driver
// answers; tests that open them need it installed (which needs root).
#define REQUIRE_DRIVER()                                                                 \
    if (!driverInstalled)                                                                \
    GTEST_SKIP() << "the pages need the virtual-device driver, which needs root (loop devices)"

class MainFormTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetMainFormGlobals();
        SetProgramArguments({QStringLiteral("kvvd2021.exe")});
        TSavedForm::ScreenSizeSource = [] { return QSize(1920, 1080); };
        InstallerRunner = [](const QString&, const QString&, const QString&, bool, const QString&, int) {
            return uint32_t(0);
        };
        if (kvtest::isRoot())
            driverInstalled = drvinst({QStringLiteral("-install"), QStringLiteral("ROOT\\VPortLite"),
                                       QString::fromStdString(kvtest::runtimeDir()) + "/vportlite.inf"}) == 0;
        // Message boxes are answered at once.
        QObject::connect(&answerer, &QTimer::timeout, [] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible() && !box->buttons().isEmpty())
                    box->buttons().first()->click();
        });
        answerer.start(20);
    }
    void TearDown() override
    {
        form.reset();
        TSavedForm::ScreenSizeSource = nullptr;
        InstallerRunner = RunAndWait;
        if (driverInstalled)
            drvinst({QStringLiteral("-uninstall"), QStringLiteral("ROOT\\VPortLite"), QStringLiteral("done")});
    }
    static int drvinst(const QStringList& args)
    {
        QProcess p;
        p.start(QString::fromStdString(kvtest::runtimeDir()) + "/drvinst.exe", args);
        return p.waitForFinished(30000) ? p.exitCode() : -1;
    }
    bool driverInstalled = false;
    QTimer answerer;
    void create(const QStringList& args = {})
    {
        SetProgramArguments(QStringList{QStringLiteral("kvvd2021.exe")} + args);
        form = std::make_unique<TMainForm>();
        form->seAnimation1.DurationMs = 20;
        form->resize(843, 600);
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        form->FormActivate();
    }
    std::unique_ptr<TMainForm> form;
};

TEST_F(MainFormTest, StartsOnTheTilePageWithTheTitle)
{
    create();
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Korvanta Virtual Drive"));
    EXPECT_EQ(CurrentTabIndex, -1);
    EXPECT_TRUE(form->dxtile->isVisible());
    EXPECT_FALSE(form->Image1->isVisible());
    EXPECT_FALSE(form->cxButton2->isVisible());
    EXPECT_FALSE(form->cxButton3->isVisible());
    EXPECT_FALSE(form->cxButton4->isVisible());
    EXPECT_EQ(form->cxButton2->text(), QStringLiteral("Help"));
    EXPECT_EQ(FirstActivation, 0);
    // settings keys exist after a start
    platform::TRegistry reg;
    EXPECT_TRUE(reg.KeyExists("Software\\KorvantaInt\\Files"));
    EXPECT_TRUE(reg.KeyExists("Software\\KorvantaInt\\General"));
}

TEST_F(MainFormTest, ShowtabAndCloseTabSwitchViewsAndKeepPagesDocked)
{
    create();
    auto* pageA = new QWidget(form.get());
    auto* pageB = new QWidget(form.get());
    form->showtab(pageA, 6, "Title A", "Sub A", true);
    EXPECT_EQ(CurrentTabIndex, 6);
    EXPECT_EQ(PreviousTabIndex, -1);
    EXPECT_FALSE(form->dxtile->isVisible());
    EXPECT_TRUE(form->Label1->isVisible());
    EXPECT_EQ(form->Label1->text(), QStringLiteral("Title A"));
    EXPECT_EQ(form->Label2->text(), QStringLiteral("Sub A"));
    EXPECT_TRUE(form->scButton1->isVisible());
    EXPECT_EQ(pageA->parentWidget(), form.get());
    // below the 89-pixel header, 10 pixels from every side
    EXPECT_EQ(pageA->geometry(), QRect(10, 99, 843 - 20, 600 - 89 - 20));

    form->CloseTab();
    EXPECT_EQ(CurrentTabIndex, -1);
    EXPECT_EQ(PreviousTabIndex, -1);
    EXPECT_TRUE(form->dxtile->isVisible());
    EXPECT_FALSE(form->Label1->isVisible());
    EXPECT_FALSE(form->scButton1->isVisible());

    form->showtab(pageB, 5, "Title B", "", true);
    form->showtab(pageA, 4, "", "", true);  // no title: no header
    EXPECT_EQ(PreviousTabIndex, 5);
    EXPECT_FALSE(form->Image1->isVisible());
    EXPECT_EQ(pageA->geometry(), QRect(10, 10, 843 - 20, 600 - 20));
    // A is in front of B, B stays docked and visible behind it
    EXPECT_TRUE(pageB->isVisible());
    const auto children = form->children();
    EXPECT_GT(children.indexOf(pageA), children.indexOf(pageB));
}

TEST_F(MainFormTest, EscapeReturnsFromATilePageAndClosesOnTheTilePage)
{
    REQUIRE_DRIVER();
    create();
    form->AddDriveButtClick();
    ASSERT_EQ(CurrentTabIndex, 4);
    // the window sees the key before the focused control
    MakeDvdForm->cxTextEdit1->setFocus();
    QTest::keyClick(MakeDvdForm->cxTextEdit1, Qt::Key_Escape);
    EXPECT_EQ(CurrentTabIndex, -1);
    EXPECT_TRUE(form->isVisible());
    QTest::keyClick(form.get(), Qt::Key_A);
    EXPECT_TRUE(form->isVisible());
    QTest::keyClick(form->dxtile, Qt::Key_Escape);
    EXPECT_FALSE(form->isVisible());
    // closing saved the placement
    platform::TRegistry reg;
    reg.OpenKey("Software\\KorvantaInt", false);
    EXPECT_EQ(reg.ReadInteger("KVVDMain1920x1080Width"), form->width() + 1);
}

TEST_F(MainFormTest, PageFromTheCommandLineCoversTheTilesAndEscapeCloses)
{
    REQUIRE_DRIVER();
    kvtest::TempDir dir;
    // An empty file: the page takes it and its mount fails (the error box is answered).
    kvtest::writeFile(dir.file("disc.iso"), "");
    create({QString::fromStdString(dir.file("disc.iso"))});
    ASSERT_TRUE(MakeDvdForm);
    EXPECT_EQ(CmdAddImage, QString::fromStdString(dir.file("disc.iso")));
    EXPECT_EQ(MakeDvdForm->cxTextEdit1->text(), CmdAddImage);
    EXPECT_TRUE(MakeDvdForm->isVisible());
    EXPECT_EQ(MakeDvdForm->geometry(), form->rect());
    EXPECT_EQ(CurrentTabIndex, -1);
    EXPECT_FALSE(form->Image1->isVisible());
    // later activations do nothing
    MakeDvdForm->cxTextEdit1->clear();
    form->FormActivate();
    EXPECT_TRUE(MakeDvdForm->cxTextEdit1->text().isEmpty());
    QTest::keyClick(MakeDvdForm->cxTextEdit1, Qt::Key_Escape);
    EXPECT_FALSE(form->isVisible());
}

TEST_F(MainFormTest, RemoveFromTheCommandLineOpensTheRemovePage)
{
    REQUIRE_DRIVER();
    create({"/remove", "e"});
    EXPECT_EQ(CmdRemoveDrive, QStringLiteral("e:\\"));
    ASSERT_TRUE(RemoveDvdForm);
    EXPECT_TRUE(RemoveDvdForm->isVisible());
    EXPECT_FALSE(MakeDvdForm);
}

TEST_F(MainFormTest, ClickOnATileReachesItsPageOpener)
{
    REQUIRE_DRIVER();
    create();
    const struct {
        const char* selector;
        int tab;
    } tiles[] = {{"a#1 .panel", 4}, {"a#2 .panel", 5}, {"a#3 .panel", 6}};
    for (const auto& t : tiles) {
        const QRect r = form->dxtile->ElementRect(t.selector);
        ASSERT_FALSE(r.isEmpty()) << t.selector;
        QTest::mouseMove(form->dxtile->viewport(), r.center());
        QTest::mouseClick(form->dxtile->viewport(), Qt::LeftButton, {}, r.center());
        EXPECT_EQ(CurrentTabIndex, t.tab) << t.selector;
        form->CloseTab();
    }
    EXPECT_TRUE(MakeDvdForm);
    EXPECT_TRUE(RemoveDvdForm);
    EXPECT_TRUE(GrabForm);
    EXPECT_EQ(HelpPageName, QStringLiteral("burner-copy.html"));
}

TEST_F(MainFormTest, ClickBesideTheTilesOpensNothing)
{
    create();
    const QRect r = form->dxtile->ElementRect("a#1 .panel");
    ASSERT_FALSE(r.isEmpty());
    const QPoint beside(r.right() + 60, r.center().y());
    QTest::mouseClick(form->dxtile->viewport(), Qt::LeftButton, {}, beside);
    EXPECT_EQ(CurrentTabIndex, -1);
    EXPECT_FALSE(MakeDvdForm);
}

TEST_F(MainFormTest, BackButtonReturnsToTheTiles)
{
    REQUIRE_DRIVER();
    create();
    form->RemoveDriveButtClick();
    ASSERT_EQ(CurrentTabIndex, 5);
    QTest::mouseClick(form->scButton1, Qt::LeftButton);
    EXPECT_EQ(CurrentTabIndex, -1);
    EXPECT_TRUE(form->dxtile->isVisible());
}

TEST_F(MainFormTest, DarkSkinNameSelectsTheDarkSkinFile)
{
    platform::TRegistry reg;
    reg.OpenKey("Software\\KorvantaInt\\General", true);
    reg.WriteString("DSkin19", "Windows10 Dark");
    create();
    EXPECT_EQ(SkinPath, ExeDir() + QStringLiteral("SKINS/Dark Outlet Media/Dark Outlet Media.vsf"));
    reg.DeleteValue("DSkin19");
}

TEST_F(MainFormTest, SkinErrorShowsTheMessageAndLeavesTheTilePageOut)
{
    kvtest::TempDir dir;
    kvtest::writeFile(dir.file("Bad/settings.ini"), "[General]\nFormColor=nonsense\n");
    platform::TRegistry reg;
    reg.OpenKey("Software\\KorvantaInt\\General", true);
    reg.WriteString("DSkin19", dir.file("Bad/Bad.vsf"));
    QString shown;
    auto saved = ApplicationShowException;
    ApplicationShowException = [&](const QString& m) { shown = m; };
    create();
    ApplicationShowException = saved;
    reg.DeleteValue("DSkin19");
    EXPECT_EQ(shown, QStringLiteral("'nonsense' is not a valid integer value"));
    EXPECT_EQ(form->dxtile->HtmlLines.Count(), 0);
    EXPECT_TRUE(form->isVisible());
}

}  // namespace
