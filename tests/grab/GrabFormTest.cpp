#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QImage>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <regex>

#include "GrabFixture.h"
#include "TSavedFormUnit.h"
#include "TestDirs.h"
#include "VDHelpers.h"
#include "VDMainUnit.h"
#include "grabUnit.h"

namespace {

using grabtest::DriveMap;
using grabtest::FileNames;
using grabtest::MessageCatcher;
using grabtest::ThreeTrackDisc;

// Host drives take the numbers the drive map leaves free and would add rows.
#define SKIP_WITH_HOST_DRIVES()                       \
    if (std::filesystem::exists("/dev/sr0"))          \
    GTEST_SKIP() << "the host has optical drives of its own"

const char* const kWriterOnly = R"({"product": "Writer Only",
  "mediaFormats": {"IsCDRRead": false, "IsCDERead": false, "IsDVDROMRead": false, "IsDVDRRead": false,
                   "IsDVDRAMRead": false, "IsCDRWrite": true}})";
const char* const kEmptyReader = R"({"product": "Empty Reader", "disc": null})";

// A scripted reader with the cue sheet of disc inserted; extra goes into
// the script's "failures".
std::string ScriptedDiscReader(const ThreeTrackDisc& disc, const std::string& failures = "{}")
{
    return R"({"product": "Script Reader", "disc": {"image": ")" + disc.CuePath() + R"("}, "failures": )" +
           failures + "}";
}

// With KV_GRAB_SNAPSHOT_DIR set, saves a picture of the widget there to look at.
void SaveSnapshot(QWidget* w, const char* name)
{
    if (const char* dir = std::getenv("KV_GRAB_SNAPSHOT_DIR"))
        w->grab().save(QString::fromLocal8Bit(dir) + QLatin1Char('/') + QLatin1String(name));
}

class GrabPageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SaveFilterIndex = 0;
        TSaveDialog::ExecuteHook = nullptr;
        TBrowseForFolderDialog::ExecuteHook = nullptr;
    }
    void TearDown() override
    {
        page.reset();
        TSaveDialog::ExecuteHook = nullptr;
        TBrowseForFolderDialog::ExecuteHook = nullptr;
    }
    void Open()
    {
        page = std::make_unique<TGrabForm>(nullptr);
        page->formcreate();
    }
    static QStringList Rows(const QComboBox* box)
    {
        QStringList rows;
        for (int i = 0; i < box->count(); ++i)
            rows << box->itemText(i);
        return rows;
    }
    // Presses Start and records every value the progress bar takes.
    std::vector<int> Start()
    {
        std::vector<int> values;
        QObject::connect(page->cxProgressBar1, &QProgressBar::valueChanged, page.get(),
                         [&values](int v) { values.push_back(v); });
        page->cxButton5->click();
        QObject::disconnect(page->cxProgressBar1, &QProgressBar::valueChanged, page.get(), nullptr);
        return values;
    }

    std::unique_ptr<TGrabForm> page;
};

TEST_F(GrabPageTest, DriveListShowsOnlyDrivesThatRead)
{
    SKIP_WITH_HOST_DRIVES();
    struct Case {
        const char* name;
        std::function<void(DriveMap&, const ThreeTrackDisc&)> drives;
        std::vector<std::string> rows;  // after the "[X:] " letter
        std::vector<std::string> devices;
        int tracks;  // rows of the track list after "All tracks"
    };
    const Case cases[] = {
        {"no drive", [](DriveMap&, const ThreeTrackDisc&) {}, {}, {}, 0},
        {"only the second drive reads",
         [](DriveMap& m, const ThreeTrackDisc& d) {
             m.AddScripted(0, kWriterOnly);
             m.AddImage(1, d.CuePath());
         },
         {"Image Drive, CD-ROM"},
         {"CdRom1"},
         3},
        {"empty reader before an image drive",
         [](DriveMap& m, const ThreeTrackDisc& d) {
             m.AddScripted(0, kEmptyReader);
             m.AddImage(3, d.CuePath());
         },
         {"Empty Reader, Empty", "Image Drive, CD-ROM"},
         {"CdRom0", "CdRom3"},
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DriveMap map;
        ThreeTrackDisc disc(map.Dir().path());
        c.drives(map, disc);
        Open();

        ASSERT_EQ(page->lvdevices2->count(), int(c.rows.size()));
        for (size_t r = 0; r < c.rows.size(); ++r) {
            const TsbDeviceItem* item = GrabDeviceItems[r];
            ASSERT_NE(item, nullptr);
            EXPECT_EQ(item->DeviceName, c.devices[r]);
            EXPECT_TRUE(std::regex_match(item->DriveLetter, std::regex("[A-Z]:"))) << item->DriveLetter;
            EXPECT_EQ(page->lvdevices2->itemText(int(r)).toStdString(),
                      "[" + item->DriveLetter + "] " + c.rows[r]);
        }
        EXPECT_EQ(GrabDeviceItems[c.rows.size()], nullptr);
        if (c.rows.empty()) {
            EXPECT_FALSE(page->lvdevices2->isEnabled());
            EXPECT_EQ(page->lvdevices2->placeholderText(), QStringLiteral("No burner or media available"));
            continue;
        }
        EXPECT_TRUE(page->lvdevices2->isEnabled());
        EXPECT_EQ(page->lvdevices2->currentIndex(), 0);
        // The first row's disc is read: "All tracks", then its tracks.
        ASSERT_EQ(page->ComboBox2->count(), 1 + c.tracks);
        EXPECT_EQ(page->ComboBox2->itemText(0), QStringLiteral("All tracks"));
        EXPECT_EQ(page->ComboBox2->currentIndex(), 0);
        EXPECT_EQ(DiscTracks->Count(), c.tracks);
        for (int t = 0; t < c.tracks; ++t)
            EXPECT_EQ(page->ComboBox2->itemText(t + 1).toStdString(), DiscTracks->GetItems(t)->StrInfo);
        // Between actions the drive is closed.
        EXPECT_EQ(page->Burner()->Grabber, nullptr);
    }
}

TEST_F(GrabPageTest, AllTracksWriteOneImagePerDataTrack)
{
    SKIP_WITH_HOST_DRIVES();
    // The folder box as typed: plain, with its separator, empty (names
    // without a folder part land in the working folder).
    const struct {
        const char* name;
        const char* folderSuffix;  // appended to the output folder; nullptr: empty box
    } cases[] = {{"folder", ""}, {"folder with separator", "/"}, {"empty folder box", nullptr}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DriveMap map;
        ThreeTrackDisc disc(map.Dir().path());
        map.AddImage(0, disc.CuePath());
        kvtest::TempDir out;
        const QString oldCurrent = QDir::currentPath();
        Open();
        if (c.folderSuffix) {
            page->edit5->setText(QString::fromStdString(out.path() + c.folderSuffix));
        } else {
            page->edit5->clear();
            QDir::setCurrent(QString::fromStdString(out.path()));
        }
        page->edit6->setText(QStringLiteral("ignored.iso"));
        MessageCatcher messages;
        const std::vector<int> progress = Start();
        QDir::setCurrent(oldCurrent);

        EXPECT_EQ(FileNames(out.path()), (std::vector<std::string>{"KVTrack1.iso", "KVTrack2.iso", "KVTrack3.iso"}));
        for (int t = 0; t < 3; ++t)
            EXPECT_TRUE(kvtest::readFile(out.file("KVTrack" + std::to_string(t + 1) + ".iso")) ==
                        disc.Tracks()[size_t(t)])
                << "track " << t + 1;
        ASSERT_EQ(messages.Messages().size(), 1u);
        EXPECT_EQ(messages.Messages()[0].text, QStringLiteral("Image grabbing finished."));
        EXPECT_EQ(messages.Messages()[0].icon, QMessageBox::Information);
        ASSERT_FALSE(progress.empty());
        EXPECT_LE(*std::max_element(progress.begin(), progress.end()), 100);
        EXPECT_EQ(progress.back(), 100);
        EXPECT_EQ(page->cxProgressBar1->value(), 100);
    }
}

TEST_F(GrabPageTest, ChosenTrackWritesOneFileUnderTheFileName)
{
    SKIP_WITH_HOST_DRIVES();
    DriveMap map;
    ThreeTrackDisc disc(map.Dir().path());
    map.AddImage(0, disc.CuePath());
    kvtest::TempDir out;
    Open();
    page->edit5->setText(QString::fromStdString(out.path()));
    page->edit6->setText(QStringLiteral("x.iso"));
    page->ComboBox2->setCurrentIndex(2);
    MessageCatcher messages;
    Start();

    EXPECT_EQ(FileNames(out.path()), std::vector<std::string>{"x.iso"});
    EXPECT_TRUE(kvtest::readFile(out.file("x.iso")) == disc.Tracks()[1]);
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_EQ(messages.Messages()[0].text, QStringLiteral("Image grabbing finished."));
}

TEST_F(GrabPageTest, ChoosingAnotherDriveListsAndGrabsItsDisc)
{
    SKIP_WITH_HOST_DRIVES();
    DriveMap map;
    ThreeTrackDisc disc(map.Dir().path());
    std::string iso(20 * 2048, '\0');
    for (size_t i = 0; i < iso.size(); ++i)
        iso[i] = char(i * 13 / 2048 + i % 97);
    kvtest::writeFile(map.Dir().file("single.iso"), iso);
    map.AddImage(0, disc.CuePath());
    map.AddImage(1, map.Dir().file("single.iso"));
    kvtest::TempDir out;
    Open();
    ASSERT_EQ(page->lvdevices2->count(), 2);
    EXPECT_EQ(page->ComboBox2->count(), 4);

    page->lvdevices2->setCurrentIndex(1);
    EXPECT_EQ(page->Burner()->DeviceName(), "CdRom1");
    EXPECT_EQ(page->ComboBox2->count(), 2);
    EXPECT_EQ(page->Burner()->Grabber, nullptr);

    page->edit5->setText(QString::fromStdString(out.path()));
    MessageCatcher messages;
    Start();
    EXPECT_EQ(FileNames(out.path()), std::vector<std::string>{"KVTrack1.iso"});
    EXPECT_TRUE(kvtest::readFile(out.file("KVTrack1.iso")) == iso);
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_EQ(messages.Messages()[0].text, QStringLiteral("Image grabbing finished."));
}

TEST_F(GrabPageTest, StartReportsOnlyWhatThePageKnows)
{
    SKIP_WITH_HOST_DRIVES();
    using Msgs = std::vector<std::pair<QString, QMessageBox::Icon>>;
    const Msgs finished{{QStringLiteral("Image grabbing finished."), QMessageBox::Information}};
    enum Drive { NoDrive, EmptyReader, DiscReader };
    struct Case {
        const char* name;
        Drive drive;
        const char* setupFailures;  // of the disc reader while the page opens
        const char* startFailures;  // of the disc reader from Start on
        Msgs messages;
        bool grabTried;  // the bar ends at 100
    };
    const char* const noFailures = "{}";
    const char* const discInfo = R"({"Burnkit_Grabber_GetDiscInformation": {"result": 8}})";
    const Case cases[] = {
        {"drive without a disc", EmptyReader, noFailures, noFailures,
         {{QStringLiteral("No media inserted."), QMessageBox::Critical}}, false},
        {"disc information unreadable, also after the refresh", DiscReader, discInfo, discInfo,
         {{QStringLiteral("Media not writeable."), QMessageBox::Critical}}, false},
        {"no drive at all", NoDrive, noFailures, noFailures, {}, false},
        {"drive not ready when the grab starts: no message at all", DiscReader, noFailures,
         R"({"Burnkit_Grabber_TestUnitReady": {"result": 8}})", {}, true},
        {"drive does not open at Start: no message at all", DiscReader, noFailures,
         R"({"Burnkit_Grabber_CreateEx": {"result": 8}})", {}, true},
        {"every track copy fails: the end message still follows", DiscReader, noFailures,
         R"({"Burnkit_Grabber_GrabTrack": {"result": 28, "systemError": 5, "text": "Read error"}})", finished,
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DriveMap map;
        ThreeTrackDisc disc(map.Dir().path());
        std::string script;
        if (c.drive == EmptyReader)
            map.AddScripted(0, kEmptyReader);
        if (c.drive == DiscReader)
            script = map.AddScripted(0, ScriptedDiscReader(disc, c.setupFailures));
        kvtest::TempDir out;
        Open();
        if (c.drive == DiscReader)
            kvtest::writeFile(script, ScriptedDiscReader(disc, c.startFailures));
        page->edit5->setText(QString::fromStdString(out.path()));
        MessageCatcher messages;
        Start();

        EXPECT_TRUE(FileNames(out.path()).empty());
        ASSERT_EQ(messages.Messages().size(), c.messages.size());
        for (size_t i = 0; i < c.messages.size(); ++i) {
            EXPECT_EQ(messages.Messages()[i].text, c.messages[i].first);
            EXPECT_EQ(messages.Messages()[i].icon, c.messages[i].second);
        }
        EXPECT_EQ(page->cxProgressBar1->value(), c.grabTried ? 100 : 0);
    }
}

TEST_F(GrabPageTest, DiscReadableAfterTheRefreshIsGrabbedFromTheReopenedDrive)
{
    SKIP_WITH_HOST_DRIVES();
    DriveMap map;
    ThreeTrackDisc disc(map.Dir().path());
    const std::string script =
        map.AddScripted(0, ScriptedDiscReader(disc, R"({"Burnkit_Grabber_GetDiscInformation": {"result": 8}})"));
    kvtest::TempDir out;
    Open();
    ASSERT_EQ(page->lvdevices2->count(), 1);
    ASSERT_EQ(GrabDeviceItems[0]->DISC_INFORMATION.m__BOOLEAN__IsValid, 0);
    // The disc becomes readable before Start.
    kvtest::writeFile(script, ScriptedDiscReader(disc));
    page->edit5->setText(QString::fromStdString(out.path()));
    MessageCatcher messages;
    Start();

    EXPECT_EQ(FileNames(out.path()), (std::vector<std::string>{"KVTrack1.iso", "KVTrack2.iso", "KVTrack3.iso"}));
    EXPECT_TRUE(kvtest::readFile(out.file("KVTrack3.iso")) == disc.Tracks()[2]);
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_EQ(messages.Messages()[0].text, QStringLiteral("Image grabbing finished."));
}

TEST_F(GrabPageTest, ProgressBarShowsPercentagesUpTo100)
{
    page = std::make_unique<TGrabForm>(nullptr);
    const struct {
        int32_t percent;
        int shown;
    } cases[] = {{42, 42}, {100, 100}, {130, 100}, {-3, 0}, {0, 0}};
    for (const auto& c : cases) {
        page->WriteProgressHandler(nullptr, c.percent);
        EXPECT_EQ(page->cxProgressBar1->value(), c.shown) << c.percent;
    }
}

TEST_F(GrabPageTest, SaveDialogSetsFolderBaseNameAndFileName)
{
    struct Case {
        const char* name;
        int reportedFilter;  // 0: the dialog reports no type change
        const char* answer;  // nullptr: cancelled
        const char* folder;
        const char* baseName;
        const char* fileName;
    };
    const Case cases[] = {
        {"iso file", 0, "/img/disc.iso", "/img/", "disc", "disc.iso"},
        {"other extension, no type reported", 0, "/img/disc.img", "/img/", "disc", "disc.img"},
        {"other extension with the ISO filter", 1, "/img/disc.img", "/img/", "disc.img", "disc.img.iso"},
        {"upper-case extension with the ISO filter", 1, "/img/disc.ISO", "/img/", "disc.ISO", "disc.ISO.iso"},
        {"dot only in the folder", 1, "/img/a.b/disc", "/img/a.b/", "disc", "disc.iso"},
        {"name shorter than four characters", 0, "/x/ab", "/x/", "", "ab"},
        {"cancelled", 1, nullptr, "/start/", "KVTrack", "KVTrack1.iso"},
    };
    page = std::make_unique<TGrabForm>(nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SaveFilterIndex = 0;
        TrackBaseName = "KVTrack";
        page->edit5->setText(QStringLiteral("/start/"));
        page->edit6->setText(QStringLiteral("KVTrack1.iso"));
        QString initialDir, title;
        TSaveDialog::ExecuteHook = [&](TSaveDialog& d) {
            initialDir = d.InitialDir;
            title = d.Title;
            if (c.reportedFilter) {
                d.FilterIndex = c.reportedFilter;
                d.OnTypeChange();
            }
            if (!c.answer)
                return false;
            d.FileName = QString::fromUtf8(c.answer);
            return true;
        };
        page->cxButton4->click();

        EXPECT_EQ(initialDir, QStringLiteral("/start/"));
        EXPECT_EQ(title, QStringLiteral("Select image filename"));
        EXPECT_EQ(SaveFilterIndex, c.reportedFilter);
        EXPECT_EQ(page->edit5->text().toStdString(), c.folder);
        EXPECT_EQ(TrackBaseName, c.baseName);
        EXPECT_EQ(page->edit6->text().toStdString(), c.fileName);
    }
}

TEST_F(GrabPageTest, PlatformSaveDialogReportsItsTypeAndAnswersThePath)
{
    page = std::make_unique<TGrabForm>(nullptr);
    kvtest::TempDir folder;
    page->edit5->setText(QString::fromStdString(folder.path()));
    QString title, directory;
    QTimer answer;
    answer.setInterval(5);
    QObject::connect(&answer, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        answer.stop();
        title = dialog->windowTitle();
        directory = dialog->directory().absolutePath();
        dialog->selectFile(QStringLiteral("grabbed"));
        QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
    });
    answer.start();
    page->cxButton4->click();

    EXPECT_EQ(title, QStringLiteral("Select image filename"));
    EXPECT_EQ(directory.toStdString(), folder.path());
    EXPECT_EQ(SaveFilterIndex, 1);
    EXPECT_EQ(page->edit5->text().toStdString(), folder.path() + "/");
    EXPECT_EQ(page->edit6->text(), QStringLiteral("grabbed.iso"));
    EXPECT_EQ(TrackBaseName, "grabbed");
}

TEST_F(GrabPageTest, FolderPickerFillsTheFolderBoxWhenConfirmed)
{
    page = std::make_unique<TGrabForm>(nullptr);
    page->edit5->setText(QStringLiteral("/before"));
    for (const bool confirm : {false, true}) {
        TBrowseForFolderDialog::ExecuteHook = [confirm](TBrowseForFolderDialog& d) {
            d.Path = QStringLiteral("/chosen/folder");
            return confirm;
        };
        page->cxButton3->click();
        EXPECT_EQ(page->edit5->text(), confirm ? QStringLiteral("/chosen/folder") : QStringLiteral("/before"));
    }
}

TEST_F(GrabPageTest, EveryOpeningResetsFolderFileNameAndBaseName)
{
    SKIP_WITH_HOST_DRIVES();
    DriveMap map;
    Open();
    page->edit5->setText(QStringLiteral("/elsewhere"));
    page->edit6->setText(QStringLiteral("mine.iso"));
    TrackBaseName = "mine";
    page->cxProgressBar1->setValue(100);
    page->formcreate();
    EXPECT_EQ(page->edit5->text(), GetMyDocumentsDir());
    EXPECT_EQ(page->edit6->text(), QStringLiteral("KVTrack1.iso"));
    EXPECT_EQ(TrackBaseName, "KVTrack");
    EXPECT_EQ(page->cxProgressBar1->value(), 0);
}

TEST_F(GrabPageTest, ControlsKeepTheirPlacesAndTabOrder)
{
    page = std::make_unique<TGrabForm>(nullptr);
    page->formcreate();
    // Designed size, then 200 wider and 100 higher: lists, edits and the bar
    // stretch, the side buttons follow the right edge, Start the bottom
    // right corner and Close the bottom left corner.
    const struct {
        const char* name;
        QWidget* w;
        QRect designed;
        QRect grown;
    } cases[] = {
        {"lvdevices2", page->lvdevices2, {168, 32, 386, 21}, {168, 32, 586, 21}},
        {"cxButton1", page->cxButton1, {570, 32, 75, 21}, {770, 32, 75, 21}},
        {"ComboBox2", page->ComboBox2, {168, 59, 386, 21}, {168, 59, 586, 21}},
        {"edit5", page->edit5, {168, 112, 386, 21}, {168, 112, 586, 21}},
        {"cxButton3", page->cxButton3, {570, 112, 75, 21}, {770, 112, 75, 21}},
        {"edit6", page->edit6, {168, 141, 386, 21}, {168, 141, 586, 21}},
        {"cxButton4", page->cxButton4, {570, 141, 75, 21}, {770, 141, 75, 21}},
        {"cxProgressBar1", page->cxProgressBar1, {168, 184, 386, 57}, {168, 184, 586, 57}},
        {"cxButton5", page->cxButton5, {516, 386, 121, 43}, {716, 486, 121, 43}},
        {"cxButton6", page->cxButton6, {8, 386, 121, 43}, {8, 486, 121, 43}},
    };
    page->resize(672, 554);
    page->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(page.get()));
    SaveSnapshot(page.get(), "grab-page.png");
    for (const auto& c : cases)
        EXPECT_EQ(c.w->geometry(), c.designed) << c.name;
    page->resize(872, 654);
    for (const auto& c : cases)
        EXPECT_EQ(c.w->geometry(), c.grown) << c.name;
    EXPECT_FALSE(page->cxButton2->isVisible());
    EXPECT_EQ(page->cxLabel1->pos(), QPoint(3, 35));
    EXPECT_EQ(page->cxLabel4->pos(), QPoint(3, 144));

    // Tab stops in their designed order (the hidden button and the bar take none).
    std::vector<QWidget*> stops;
    QWidget* w = page->lvdevices2;
    do {
        if ((w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(page.get()) && w != page.get())
            stops.push_back(w);
        w = w->nextInFocusChain();
    } while (w != page->lvdevices2);
    const std::vector<QWidget*> expected{page->lvdevices2, page->cxButton1, page->ComboBox2,
                                         page->edit6,      page->edit5,     page->cxButton4,
                                         page->cxButton5,  page->cxButton3, page->cxButton6};
    EXPECT_EQ(stops, expected);
}

// The page docked into the main window.
class GrabMainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetMainFormGlobals();
        SetProgramArguments({QStringLiteral("kvvd2021.exe")});
        TSavedForm::ScreenSizeSource = [] { return QSize(1920, 1080); };
        form = std::make_unique<TMainForm>();
        form->seAnimation1.DurationMs = 0;
        form->resize(843, 600);
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        form->FormActivate();
    }
    void TearDown() override
    {
        form.reset();
        TSavedForm::ScreenSizeSource = nullptr;
    }
    DriveMap map;
    std::unique_ptr<TMainForm> form;
};

TEST_F(GrabMainWindowTest, OpensAsTabAndLocksOutSecondActionsWhileGrabbing)
{
    SKIP_WITH_HOST_DRIVES();
    ThreeTrackDisc disc(map.Dir().path());
    map.AddImage(0, disc.CuePath());
    kvtest::TempDir out;

    form->MakeIsoButtActivateDetail();
    ASSERT_TRUE(GrabForm);
    EXPECT_EQ(HelpPageName, QStringLiteral("burner-copy.html"));
    EXPECT_EQ(CurrentTabIndex, 6);
    EXPECT_EQ(form->Label1->text(), QStringLiteral("DVD to ISO"));
    EXPECT_EQ(form->Label2->text(), QStringLiteral("Grab DVD and save as ISO image."));
    EXPECT_TRUE(GrabForm->isVisible());
    EXPECT_EQ(GrabForm->parentWidget(), form.get());
    ASSERT_EQ(GrabForm->lvdevices2->count(), 1);
    GrabForm->edit5->setText(QString::fromStdString(out.path()));

    // While the grab runs: what could start a second action or close the
    // drive is disabled, and direct calls are refused.
    struct Seen {
        bool tiles, start, refresh, drives;
    };
    std::vector<Seen> seen;
    const TsbDeviceFinder* finder = GrabDeviceFinder.get();
    bool triedAgain = false;
    QObject::connect(GrabForm->cxProgressBar1, &QProgressBar::valueChanged, GrabForm, [&](int) {
        seen.push_back({form->dxtile->isEnabled(), GrabForm->cxButton5->isEnabled(),
                        GrabForm->cxButton1->isEnabled(), GrabForm->lvdevices2->isEnabled()});
        if (!triedAgain) {
            triedAgain = true;
            form->MakeIsoButtActivateDetail();
            GrabForm->cxButton1Click();
            GrabForm->lvdevices2PropertiesChange();
            GrabForm->cxButton5Click();
        }
    });
    MessageCatcher messages;
    QTest::mouseClick(GrabForm->cxButton5, Qt::LeftButton);

    ASSERT_FALSE(seen.empty());
    for (const Seen& s : seen) {
        EXPECT_FALSE(s.tiles);
        EXPECT_FALSE(s.start);
        EXPECT_FALSE(s.refresh);
        EXPECT_FALSE(s.drives);
    }
    EXPECT_EQ(GrabDeviceFinder.get(), finder);
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_EQ(messages.Messages()[0].text, QStringLiteral("Image grabbing finished."));
    EXPECT_EQ(FileNames(out.path()), (std::vector<std::string>{"KVTrack1.iso", "KVTrack2.iso", "KVTrack3.iso"}));
    EXPECT_TRUE(form->dxtile->isEnabled());
    EXPECT_TRUE(GrabForm->cxButton5->isEnabled());
    EXPECT_TRUE(GrabForm->lvdevices2->isEnabled());
    // The grab leaves the drive open until the next choice or Start.
    EXPECT_NE(GrabForm->Burner()->Grabber, nullptr);

    SaveSnapshot(form.get(), "grab-docked.png");

    QTest::mouseClick(GrabForm->cxButton6, Qt::LeftButton);
    EXPECT_EQ(CurrentTabIndex, -1);
    EXPECT_TRUE(form->dxtile->isVisible());
    EXPECT_EQ(GrabForm->edit5->text(), QString::fromStdString(out.path()));
}

}  // namespace
