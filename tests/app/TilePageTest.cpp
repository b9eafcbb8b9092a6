#include <gtest/gtest.h>

#include <QDir>
#include <QTest>

#include "THtPanel.h"
#include "TestDirs.h"
#include "TilePage.h"
#include "VDMainUnit.h"

namespace {

QString referenceDir() { return QString::fromStdString(kvtest::sourceDir()) + "/tests/app/reference/"; }

// Pixels whose channels differ by more than a little (font antialiasing
// may differ slightly between machines).
int differingPixels(const QImage& a, const QImage& b)
{
    int count = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            if (std::abs(qRed(p) - qRed(q)) > 40 || std::abs(qGreen(p) - qGreen(q)) > 40
                || std::abs(qBlue(p) - qBlue(q)) > 40)
                ++count;
        }
    return count;
}

// The tile page as the main window builds it without a skin, with pictures
// made here: solid squares for the tiles and a header picture in the base
// folder.
class TilePageFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetMainFormGlobals();
        const QColor colours[] = {Qt::black, Qt::black, Qt::black, Qt::black, QColor("#e04040"),
                                  QColor("#40a040"), QColor("#4060e0")};
        for (const QColor& c : colours) {
            QImage img(48, 48, QImage::Format_ARGB32);
            img.fill(c);
            list.Add(img);
        }
        QImage header(480, 96, QImage::Format_ARGB32);
        header.fill(QColor("#f0c030"));
        kvtest::writeFile(dir.file("icons/kv-virtualdrive.png"), "");
        ASSERT_TRUE(header.save(QString::fromStdString(dir.file("icons/kv-virtualdrive.png"))));

        view.Images = &list;
        view.mydir = QString::fromStdString(dir.path()) + "/icons/";
        view.SetDefaultFont("Tahoma", 14);
        view.Styles.Add(DesignedTileStyleSheet());
        view.HtmlLines.BeginUpdate();
        for (const QString& line : BuildTilePageLines())
            view.HtmlLines.Add(line);
        view.HtmlLines.EndUpdate();
    }
    kvtest::TempDir dir;
    TImageList list{48, 48};
    THtPanel view;
};

TEST_F(TilePageFixture, RendersLikeTheReferencePicture)
{
    const QImage actual = view.RenderToImage(843, 561).convertToFormat(QImage::Format_RGB32);
    const QString refPath = referenceDir() + "tile_page.png";
    const QImage reference = QImage(refPath).convertToFormat(QImage::Format_RGB32);
    const QString actualPath = referenceDir() + "tile_page.actual.png";
    if (reference.size() != actual.size() || differingPixels(reference, actual) > actual.width() * actual.height() / 200) {
        actual.save(actualPath);
        FAIL() << "tile page differs from " << refPath.toStdString() << "; actual picture saved as "
               << actualPath.toStdString();
    }
    QFile::remove(actualPath);
}

TEST_F(TilePageFixture, PicturesComeFromTheImageListAndTheBaseFolder)
{
    view.resize(843, 561);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    const QImage img = view.RenderToImage(843, 561);
    const QRect icon1 = view.ElementRect("a#1 img");
    const QRect icon3 = view.ElementRect("a#3 img");
    const QRect header = view.ElementRect("img[alt=Icon]");
    ASSERT_FALSE(icon1.isEmpty());
    EXPECT_EQ(icon1.size(), QSize(48, 48));
    EXPECT_EQ(img.pixelColor(icon1.center()), QColor("#e04040"));
    EXPECT_EQ(img.pixelColor(icon3.center()), QColor("#4060e0"));
    // the header picture is 240 wide, read against the base folder
    EXPECT_EQ(header.width(), 240);
    EXPECT_EQ(img.pixelColor(header.center()), QColor("#f0c030"));
}

TEST_F(TilePageFixture, HoverLightsTheTileBorder)
{
    view.resize(843, 561);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    const QRect panel = view.ElementRect("a#2 .panel");
    ASSERT_FALSE(panel.isEmpty());
    const QPoint border(panel.left(), panel.center().y());
    EXPECT_EQ(view.viewport()->grab().toImage().pixelColor(border), QColor("#333333"));
    QTest::mouseMove(view.viewport(), panel.center());
    EXPECT_EQ(view.viewport()->grab().toImage().pixelColor(border), QColor(Qt::white));
    QTest::mouseMove(view.viewport(), QPoint(2, 2));
    EXPECT_EQ(view.viewport()->grab().toImage().pixelColor(border), QColor("#333333"));
}

TEST_F(TilePageFixture, ClickReportsTheTileElement)
{
    view.resize(843, 561);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    QStringList ids;
    view.OnUrlClick = [&](const THtElement& el) { ids << el.GetAttribute("id"); };
    for (const char* sel : {"a#3 .panel", "a#1 .panel"}) {
        const QRect r = view.ElementRect(sel);
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, r.center());
    }
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_EQ(ids, (QStringList{"3", "1"}));
}

TEST(PicturePathTest, RelativePathsAreReadAgainstTheBaseFolder)
{
    THtPanel view;
    view.mydir = "/skin/icons/";
    const struct {
        const char* src;
        const char* path;
    } cases[] = {
        {"a.png", "/skin/icons/a.png"},
        {"file://a.png", "/skin/icons/a.png"},
        {"file:a.png", "/skin/icons/a.png"},
        {"file:///abs/a.png", "/abs/a.png"},
        {"/abs/a.png", "/abs/a.png"},
        {"sub/a.png", "/skin/icons/sub/a.png"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(view.ResolvePicturePath(c.src), QString::fromUtf8(c.path)) << c.src;
    // numbers without an image list, web addresses: no picture
    EXPECT_TRUE(view.ResolveImage("4").isNull());
    EXPECT_TRUE(view.ResolveImage("http://example.invalid/a.png").isNull());
}

TEST(TileMarkupTest, TitlesAreInsertedAsTheyAre)
{
    ResetMainFormGlobals();
    const QString tile = BuildTileHtml("7", "<b>Bold</b> & more", "Desc", 5);
    EXPECT_TRUE(tile.startsWith("<a id=\"7\" href=\"1\"><div class=\"panel\">"));
    EXPECT_TRUE(tile.contains("<b>Bold</b> & more</span><br>"));
    EXPECT_TRUE(tile.contains("src=\"5\""));
    EXPECT_TRUE(tile.endsWith("</div></div></a>"));
    EXPECT_EQ(TileTopColor, "rgba(15,26,42,0.55)");
    EXPECT_EQ(TileCaptionColor, "#dfe7ef");
    EXPECT_EQ(TileSubCaptionColor, "#7c8895");
    const QStringList lines = BuildTilePageLines();
    ASSERT_EQ(lines.size(), 9);
    EXPECT_TRUE(lines[3].endsWith("style=\"\">Actions"));
    EXPECT_TRUE(lines[0].contains("src=\"file://kv-virtualdrive.png\""));
}

}  // namespace
