#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPalette>

#include "THtPanel.h"
#include "TImageList.h"
#include "TestDirs.h"
#include "TilePage.h"
#include "VDMainUnit.h"
#include "VDSkins.h"

namespace {

TEST(SkinColorTest, ConvertsColourTexts)
{
    const struct {
        const char* text;
        int64_t color;
    } cases[] = {
        {"", 0},
        {"#1E90FF", 0x00FF901E},
        {"#1e90ff", 0x00FF901E},
        {"#1E90FFAA", 0x00FF901E},  // characters after the sixth are ignored
        {"$00B98711", 0x00B98711},
        {"255", 255},
        {"0x10", 16},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SkinColorToColor(QString::fromUtf8(c.text)), c.color) << c.text;
}

TEST(SkinColorTest, RejectsTextsThatAreNoNumber)
{
    for (const char* text : {"#FFF", "#GG0000", "blue", "12ab", "$", "#"})
        EXPECT_THROW(SkinColorToColor(QString::fromUtf8(text)), EConvertError) << text;
}

QImage solid(int size, QColor c, bool alpha)
{
    QImage img(size, size, alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    img.fill(c);
    return img;
}

TEST(PngToBitmap32Test, KeepsAlphaUnmultipliedAndGivesOpaquePicturesFullAlpha)
{
    kvtest::TempDir dir;
    const QString withAlpha = QString::fromStdString(dir.file("a.png"));
    const QString opaque = QString::fromStdString(dir.file("b.png"));
    ASSERT_TRUE(solid(4, QColor(200, 100, 50, 128), true).save(withAlpha));
    ASSERT_TRUE(solid(4, QColor(10, 20, 30), false).save(opaque));

    QImage bmp;
    PngToBitmap32(bmp, withAlpha);
    EXPECT_EQ(bmp.format(), QImage::Format_ARGB32);
    EXPECT_EQ(bmp.pixelColor(1, 1), QColor(200, 100, 50, 128));
    PngToBitmap32(bmp, opaque);
    EXPECT_EQ(bmp.pixelColor(1, 1), QColor(10, 20, 30, 255));

    const QImage before = bmp;
    PngToBitmap32(bmp, QString());
    EXPECT_EQ(bmp, before);
}

// A skin folder made by the test: settings, optional style file and icons.
class SkinFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetMainFormGlobals();
        targets.View = &view;
        targets.ImageList1 = &list1;
        targets.ImageList1High = &list1High;
        targets.ImageList2 = &list2;
        view.Styles.Add(QStringLiteral("designed"));
    }
    QString path(const std::string& name) const { return QString::fromStdString(dir.file(name)); }
    void write(const std::string& name, const std::string& text) { kvtest::writeFile(dir.file(name), text); }
    void picture(const std::string& name, QColor c, int size = 48)
    {
        kvtest::writeFile(dir.file(name), "");
        ASSERT_TRUE(solid(size, c, true).save(path(name), "PNG"));
    }

    kvtest::TempDir dir;
    THtPanel view;
    TImageList list1{48, 48}, list1High{96, 96}, list2{32, 32};
    TSkinTargets targets;
};

TEST_F(SkinFixture, SettingsReplaceStyleLinesColoursAndBaseFolder)
{
    write("settings.ini",
          "[General]\nIcons=\nDisableAero=257\nFormColor=#1E90FF\n"
          "[Tile]\nStyle.1=body { color: red }\nStyle.2=a { x: y }\nStyle.3=.p { }\nStyle.4=\nStyle.5=.late { }\n"
          "CaptionColor=#ff0000\nSubCaptionColor=\n");
    ApplySkin(path("Skin.vsf"), targets);

    EXPECT_EQ(view.Styles.Lines(), (QStringList{"body { color: red }", "a { x: y }", ".p { }"}));
    EXPECT_EQ(view.mydir, QString::fromStdString(dir.path()) + "//");
    EXPECT_EQ(TileCaptionColor, QStringLiteral("#ff0000"));
    EXPECT_TRUE(TileSubCaptionColor.isEmpty());
    EXPECT_EQ(SkinDisableAero, 1);
    EXPECT_EQ(SkinFormColor, 0x00FF901E);
    EXPECT_EQ(SkinPath, path("Skin.vsf"));
    // "Icons" empty: no icon is loaded
    EXPECT_EQ(list1.Count(), 0);

    // The empty colours take their defaults in the tiles; the skin's stays.
    const QString tile = BuildTileHtml("1", "T", "D", 4);
    EXPECT_TRUE(tile.contains("color: #ff0000;"));
    EXPECT_TRUE(tile.contains("color: #7c8895;"));
    EXPECT_TRUE(tile.contains("background-color: rgba(15,26,42,0.55);"));
}

TEST_F(SkinFixture, WithoutSettingsNothingButTheStyleChanges)
{
    ApplySkin(path("Nothing.vsf"), targets);
    EXPECT_EQ(view.Styles.Lines(), QStringList{"designed"});
    EXPECT_TRUE(view.mydir.isEmpty());
    EXPECT_TRUE(SkinIconsDir.isEmpty());
    EXPECT_EQ(list1.Count(), 0);
    EXPECT_EQ(SkinFormColor, -1);
}

TEST_F(SkinFixture, IconsFallBackToPicturesAndBlank)
{
    write("settings.ini", "[General]\nIcons=ic\n");
    picture("ic/vdrive_mount_48.png", Qt::red);
    picture("ic/icon_sub_back.png", Qt::green);
    picture("ic/icon_sub_back_48.png", Qt::yellow);
    picture("ic/blank.png", Qt::blue);
    ApplySkin(path("S.vsf"), targets);

    ASSERT_EQ(list1.Count(), 7);
    for (int i = 0; i < 7; ++i) {
        const QColor expected = i == 4 ? QColor(Qt::red) : i == 3 ? QColor(Qt::green) : QColor(Qt::blue);
        EXPECT_EQ(list1.Image(i).pixelColor(24, 24), expected) << "index " << i;
        EXPECT_EQ(list1.Image(i).size(), QSize(48, 48));
    }
    EXPECT_EQ(view.mydir, path("ic/"));
    // no icon_go.ico: the Start buttons' list stays empty, the large set unused
    EXPECT_EQ(list2.Count(), 0);
    EXPECT_EQ(list1High.Count(), 0);
}

TEST_F(SkinFixture, HighResolutionIconsFillTheLargeSet)
{
    write("settings.ini", "[General]\nIcons=ic\n");
    picture("ic/blank.png", Qt::blue);
    picture("ic/vdrive_unmount_96.png", Qt::red, 96);
    ASSERT_TRUE(solid(64, Qt::green, true).save(path("ic/icon_go.ico"), "ICO"));
    targets.HighResIcons = true;
    ApplySkin(path("S.vsf"), targets);
    ASSERT_EQ(list1High.Count(), 7);
    EXPECT_EQ(list1High.Image(5).pixelColor(48, 48), QColor(Qt::red));
    EXPECT_EQ(list1High.Image(0).size(), QSize(96, 96));
    ASSERT_EQ(list2.Count(), 1);
    EXPECT_EQ(list2.Width(), 64);
    EXPECT_EQ(list2.Image(0).pixelColor(32, 32), QColor(Qt::green));
}

TEST_F(SkinFixture, FailuresStopTheSkinAtTheirStep)
{
    // a missing blank.png
    write("settings.ini", "[General]\nIcons=ic\n[Tile]\nCaptionColor=#123456\n");
    EXPECT_THROW(ApplySkin(path("S.vsf"), targets), ESkinError);
    EXPECT_EQ(TileCaptionColor, QStringLiteral("#123456"));  // applied before the failing step

    // a colour that is no number
    write("settings.ini", "[General]\nFormColor=#FFF\n");
    EXPECT_THROW(ApplySkin(path("S.vsf"), targets), EConvertError);
    write("settings.ini", "[General]\nDisableAero=yes\n");
    EXPECT_THROW(ApplySkin(path("S.vsf"), targets), EConvertError);

    // an unreadable picture
    write("settings.ini", "[General]\nIcons=ic\n");
    write("ic/blank.png", "not a picture");
    EXPECT_THROW(ApplySkin(path("S.vsf"), targets), ESkinError);
}

TEST_F(SkinFixture, StyleFileSetsPaletteAndMalformedOneFails)
{
    const QPalette before = QApplication::palette();
    write("Good.vsf", "[Style]\nName=Good\n[Palette]\nWindow=#102030\nButtonText=#fafafa\n");
    ApplySkin(path("Good.vsf"), targets);
    EXPECT_EQ(QApplication::palette().color(QPalette::Window), QColor("#102030"));
    EXPECT_EQ(QApplication::palette().color(QPalette::ButtonText), QColor("#fafafa"));

    write("NoSection.vsf", "Window=#102030\n");
    EXPECT_THROW(ApplySkin(path("NoSection.vsf"), targets), ESkinError);
    write("BadColour.vsf", "[Style]\n[Palette]\nWindow=not-a-colour\n");
    EXPECT_THROW(ApplySkin(path("BadColour.vsf"), targets), ESkinError);
    QApplication::setPalette(before);
    qApp->setStyleSheet(QString());
}

TEST_F(SkinFixture, ShippedSkinsLoad)
{
    for (const char* name : {"Light Solitude", "Dark Outlet Media"}) {
        ResetMainFormGlobals();
        const QString vsf = QString::fromStdString(kvtest::sourceDir()) + "/resources/SKINS/" + name + "/" + name + ".vsf";
        ASSERT_NO_THROW(ApplySkin(vsf, targets)) << name;
        EXPECT_EQ(list1.Count(), 7) << name;
        EXPECT_EQ(list2.Count(), 1) << name;
        EXPECT_GT(view.Styles.Count(), 0) << name;
        EXPECT_FALSE(view.ResolveImage("file://kv-virtualdrive.png").isNull()) << name;
    }
    qApp->setStyleSheet(QString());
}

}  // namespace
