#include <gtest/gtest.h>

#include <QWidget>

#include "TSavedFormUnit.h"
#include "platform/Registry.h"

namespace {

class SavedFormTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::TRegistry reg;
        reg.DeleteKey("Software\\KorvantaInt");
        reg.CreateKey("Software\\KorvantaInt");
        screen = QSize(1920, 1080);
        TSavedForm::ScreenSizeSource = [this] { return screen; };
        window.setObjectName("MainForm");
        saved = std::make_unique<TSavedForm>(&window);
        saved->SetSavedName("KVVDMain");
    }
    void TearDown() override
    {
        saved.reset();
        TSavedForm::ScreenSizeSource = nullptr;
    }
    static platform::TRegistry& key()
    {
        static platform::TRegistry reg;
        reg.CloseKey();
        reg.OpenKey("Software\\KorvantaInt", false);
        return reg;
    }
    static int value(const std::string& name) { return key().ReadInteger(name); }
    static bool has(const std::string& name) { return key().ValueExists(name); }

    QSize screen;
    QWidget window;
    std::unique_ptr<TSavedForm> saved;
};

TEST_F(SavedFormTest, FirstStartCentresTheDefaultSize)
{
    saved->LoadWithRequest(true);
    EXPECT_EQ(saved->place.left, 540);
    EXPECT_EQ(saved->place.top, 220);
    EXPECT_EQ(saved->place.right, 1379);
    EXPECT_EQ(saved->place.bottom, 859);
    EXPECT_EQ(window.geometry(), QRect(540, 220, 839, 639));
    EXPECT_FALSE(saved->startingmax);
}

TEST_F(SavedFormTest, SaveWritesTheRegistryFormatAndLoadGivesTheSameRectangle)
{
    window.setGeometry(100, 50, 900, 700);
    saved->SaveWithRequest(false, saved->emptydata);
    EXPECT_EQ(value("KVVDMain1920x1080Left"), 100);
    EXPECT_EQ(value("KVVDMain1920x1080Top"), 50);
    EXPECT_EQ(value("KVVDMain1920x1080Width"), 901);
    EXPECT_EQ(value("KVVDMain1920x1080Height"), 701);
    EXPECT_EQ(value("KVVDMain1920x1080State"), 0);
    EXPECT_EQ(key().GetDataType("KVVDMain1920x1080Width"), platform::TRegDataType::rdInteger);

    window.setGeometry(0, 0, 300, 300);
    saved->LoadWithRequest(true);
    EXPECT_EQ(window.geometry(), QRect(100, 50, 900, 700));

    // without setmax the stored width and height are taken unchanged
    saved->LoadWithRequest(false);
    EXPECT_EQ(window.geometry(), QRect(100, 50, 901, 701));
}

TEST_F(SavedFormTest, EachScreenSizeHasItsOwnValues)
{
    window.setGeometry(10, 20, 900, 700);
    saved->SaveWithRequest(false, saved->emptydata);
    screen = QSize(1280, 1024);
    window.setGeometry(30, 40, 810, 610);
    saved->SaveWithRequest(false, saved->emptydata);

    EXPECT_EQ(value("KVVDMain1920x1080Left"), 10);
    EXPECT_EQ(value("KVVDMain1280x1024Left"), 30);
    EXPECT_EQ(value("KVVDMain1280x1024Width"), 811);

    saved->LoadWithRequest(true);
    EXPECT_EQ(window.geometry(), QRect(30, 40, 810, 610));
    screen = QSize(1920, 1080);
    saved->LoadWithRequest(true);
    EXPECT_EQ(window.geometry(), QRect(10, 20, 900, 700));
}

TEST_F(SavedFormTest, MaximisedStateIsSavedAndRestoredWithTheNormalRectangle)
{
    window.setGeometry(100, 100, 850, 650);
    window.setWindowState(Qt::WindowMaximized);
    window.show();
    saved->SaveWithRequest(false, saved->emptydata);
    EXPECT_EQ(value("KVVDMain1920x1080State"), 2);
    EXPECT_EQ(value("KVVDMain1920x1080Width"), 851);

    QWidget next;
    TSavedForm load(&next);
    load.SetSavedName("KVVDMain");
    load.LoadWithRequest(true);
    EXPECT_TRUE(load.startingmax);
    EXPECT_TRUE(next.windowState() & Qt::WindowMaximized);
    EXPECT_EQ(load.place.left, 100);
    EXPECT_EQ(load.place.right, 100 + 851 - 1);
}

TEST_F(SavedFormTest, MinimisedWindowKeepsTheEarlierState)
{
    key().WriteInteger("KVVDMain1920x1080State", 2);
    window.setGeometry(5, 6, 820, 620);
    window.setWindowState(Qt::WindowMinimized);
    saved->SaveWithRequest(false, saved->emptydata);
    EXPECT_EQ(value("KVVDMain1920x1080State"), 2);
    EXPECT_EQ(value("KVVDMain1920x1080Left"), 5);

    // a stored minimised state is never applied
    key().WriteInteger("KVVDMain1920x1080State", 1);
    QWidget next;
    TSavedForm load(&next);
    load.SetSavedName("KVVDMain");
    load.LoadWithRequest(true);
    EXPECT_FALSE(next.windowState() & Qt::WindowMinimized);
}

TEST_F(SavedFormTest, ValueOfAnotherTypeGivesTheDefaultSizeCentred)
{
    key().WriteInteger("KVVDMain1920x1080Left", 3);
    key().WriteInteger("KVVDMain1920x1080Top", 4);
    key().WriteString("KVVDMain1920x1080Width", "900");
    saved->LoadWithRequest(true);
    EXPECT_EQ(saved->place.left, 540);
    EXPECT_EQ(saved->place.top, 220);
    EXPECT_EQ(window.geometry().size(), QSize(839, 639));
}

TEST_F(SavedFormTest, WithoutTheKeyLoadCentresAndSaveWritesNothing)
{
    platform::TRegistry reg;
    reg.DeleteKey("Software\\KorvantaInt");
    saved->LoadWithRequest(true);
    EXPECT_EQ(window.geometry(), QRect(540, 220, 839, 639));
    EXPECT_NO_THROW(saved->SaveWithRequest(false, saved->emptydata));
    EXPECT_FALSE(reg.KeyExists("Software\\KorvantaInt"));
    EXPECT_THROW(saved->SaveWithRequest(true, saved->emptydata), std::exception);
}

TEST_F(SavedFormTest, RequestsCanVetoAndCustomModeWritesTheData)
{
    saved->OnSaveRequest = [](TSavedForm*, bool& execute) { execute = false; };
    saved->SaveWithRequest(false, saved->emptydata);
    EXPECT_FALSE(has("KVVDMain1920x1080Left"));

    saved->OnSaveRequest = nullptr;
    tcustomdata data{11, 22, 33, 44, 2};
    saved->SaveWithRequest(true, data);
    EXPECT_EQ(value("KVVDMain1920x1080Width"), 11);
    EXPECT_EQ(value("KVVDMain1920x1080Height"), 22);
    EXPECT_EQ(value("KVVDMain1920x1080Left"), 33);
    EXPECT_EQ(value("KVVDMain1920x1080Top"), 44);
    EXPECT_EQ(value("KVVDMain1920x1080State"), 2);

    window.setGeometry(1, 2, 800, 600);
    saved->OnLoadRequest = [](TSavedForm*, bool& execute) { execute = false; };
    saved->LoadWithRequest(true);
    EXPECT_EQ(window.geometry(), QRect(1, 2, 800, 600));
}

TEST(SavedFormOwnerTest, OwnerMustBeAWindow)
{
    QWidget window;
    QWidget child(&window);
    QObject plain;
    EXPECT_THROW(TSavedForm{&child}, std::runtime_error);
    try {
        TSavedForm f(&plain);
        FAIL();
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "TSavedForm: owner is not a TForm");
    }
    window.setObjectName("Named");
    TSavedForm ok(&window);
    EXPECT_EQ(ok.SavedName(), QStringLiteral("Named"));
}

}  // namespace
