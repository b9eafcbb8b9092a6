#include "VDSkins.h"

#include <QApplication>
#include <QColor>
#include <QFileInfo>
#include <QImageReader>
#include <QPalette>
#include <QStyle>
#include <QStyleFactory>

#include "THtPanel.h"
#include "TImageList.h"
#include "TilePage.h"
#include "VDMainUnit.h"
#include "platform/IniFile.h"

namespace {

EConvertError notAnInteger(const QString& text)
{
    return EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(text).toStdString());
}

QString readIni(const QString& file, const char* section, const QString& key)
{
    return QString::fromStdString(
        platform::GetPrivateProfileString(section, key.toStdString(), "", file.toStdString()));
}

// Icon files of ImageList1 / ImageList1High by index, and the pictures that
// stand in for them.
struct TSkinIconRow {
    const char* icon;
    const char* png48;
    const char* png96;
};
constexpr TSkinIconRow kSkinIcons[] = {
    {"icon_menu_internet.ico", "icon_menu_internet_48.png", "icon_menu_internet_96.png"},
    {"icon_menu_settings.ico", "icon_menu_settings_48.png", "icon_menu_settings_96.png"},
    {"icon_menu_help.ico", "icon_menu_help_48.png", "icon_menu_help_96.png"},
    {"icon_sub_back.ico", "icon_sub_back.png", "icon_sub_back_96.png"},
    {"vdrive_mount.ico", "vdrive_mount_48.png", "vdrive_mount_96.png"},
    {"vdrive_unmount.ico", "vdrive_unmount_48.png", "vdrive_unmount_96.png"},
    {"vdrive_disc-to-iso.ico", "vdrive_disc-to-iso_48.png", "vdrive_disc-to-iso_96.png"},
};

void fillImageList(TImageList& list, int size, const QString& iconDir, bool large)
{
    list.SetSize(size, size);
    for (const auto& row : kSkinIcons) {
        const QString icon = iconDir + QLatin1String(row.icon);
        if (QFileInfo::exists(icon))
            list.Add(LoadIconSized(icon, size));
        else
            list.Add(LoadPngBitmap(iconDir + QLatin1String(large ? row.png96 : row.png48)));
    }
}

// Palette roles a style file may set, by key of its [Palette] section.
struct TPaletteRow {
    const char* key;
    QPalette::ColorRole role;
};
constexpr TPaletteRow kPaletteRoles[] = {
    {"Window", QPalette::Window},
    {"WindowText", QPalette::WindowText},
    {"Base", QPalette::Base},
    {"AlternateBase", QPalette::AlternateBase},
    {"Text", QPalette::Text},
    {"Button", QPalette::Button},
    {"ButtonText", QPalette::ButtonText},
    {"Highlight", QPalette::Highlight},
    {"HighlightedText", QPalette::HighlightedText},
    {"ToolTipBase", QPalette::ToolTipBase},
    {"ToolTipText", QPalette::ToolTipText},
    {"Link", QPalette::Link},
    {"BrightText", QPalette::BrightText},
    {"PlaceholderText", QPalette::PlaceholderText},
};

}  // namespace

int64_t StrToInt64(const QString& Text)
{
    QString s = Text;
    while (!s.isEmpty() && s.front().isSpace())
        s.remove(0, 1);
    bool negative = false;
    if (s.startsWith(QLatin1Char('-')) || s.startsWith(QLatin1Char('+'))) {
        negative = s.front() == QLatin1Char('-');
        s.remove(0, 1);
    }
    int base = 10;
    if (s.startsWith(QLatin1Char('$'))) {
        base = 16;
        s.remove(0, 1);
    } else if (s.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        base = 16;
        s.remove(0, 2);
    }
    bool ok = false;
    const qulonglong value = s.isEmpty() || s.front() == QLatin1Char('+') || s.front() == QLatin1Char('-')
        ? 0
        : s.toULongLong(&ok, base);
    if (!ok)
        throw notAnInteger(Text);
    return negative ? -static_cast<int64_t>(value) : static_cast<int64_t>(value);
}

int64_t HexRGBToColor(const QString& Text)
{
    auto pair = [&](int start) {
        return StrToInt64(QLatin1Char('$') + Text.mid(start, 2));
    };
    const int64_t red = pair(0);
    const int64_t green = pair(2);
    const int64_t blue = pair(4);
    return red + green * 256 + blue * 65536;
}

int64_t SkinColorToColor(const QString& Text)
{
    if (Text.isEmpty())
        return 0;
    if (Text.front() == QLatin1Char('#'))
        return HexRGBToColor(Text.mid(1));
    return StrToInt64(Text);
}

void PngToBitmap32(QImage& Bitmap, const QString& FileName)
{
    if (FileName.isEmpty())
        return;
    QImageReader reader(FileName);
    QImage picture = reader.read();
    if (picture.isNull())
        throw ESkinError(QStringLiteral("Cannot read picture %1: %2").arg(FileName, reader.errorString()).toStdString());
    // Format_ARGB32 keeps colours unmultiplied; a picture without alpha gets 255.
    Bitmap = picture.convertToFormat(QImage::Format_ARGB32);
}

QImage LoadPngBitmap(const QString& FileName)
{
    QString file = FileName;
    if (!QFileInfo::exists(file))
        file = ExtractFilePath(FileName) + QStringLiteral("blank.png");
    QImage bitmap;
    PngToBitmap32(bitmap, file);
    return bitmap;
}

QImage LoadIconSized(const QString& FileName, int Size)
{
    QImageReader reader(FileName);
    QImage best;
    // An icon file holds several pictures: take the one closest to Size.
    int bestDiff = INT_MAX;
    const int count = std::max(1, reader.imageCount());
    for (int i = 0; i < count; ++i) {
        if (!reader.jumpToImage(i) && i > 0)
            break;
        const QImage img = reader.read();
        if (img.isNull())
            continue;
        const int diff = std::abs(img.width() - Size);
        if (diff < bestDiff) {
            bestDiff = diff;
            best = img;
        }
    }
    if (best.isNull())
        throw ESkinError(QStringLiteral("Cannot read icon %1: %2").arg(FileName, reader.errorString()).toStdString());
    if (best.width() != Size || best.height() != Size)
        best = best.scaled(Size, Size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return best.convertToFormat(QImage::Format_ARGB32);
}

void LoadStyleFile(const QString& FileName)
{
    const std::string file = FileName.toStdString();
    const platform::TIniFile ini(file);
    if (!ini.SectionExists("Style"))
        throw ESkinError(QStringLiteral("Cannot load style file %1: no [Style] section").arg(FileName).toStdString());
    const QString baseName = QString::fromStdString(ini.ReadString("Style", "Base", "Fusion"));
    QPalette palette;
    for (const auto& row : kPaletteRoles) {
        const QString value = QString::fromStdString(ini.ReadString("Palette", row.key, ""));
        if (value.isEmpty())
            continue;
        const QColor color = QColor::fromString(value);
        if (!color.isValid())
            throw ESkinError(QStringLiteral("Cannot load style file %1: [Palette] %2 is no colour: %3")
                                 .arg(FileName, QLatin1String(row.key), value)
                                 .toStdString());
        palette.setColor(row.role, color);
    }
    QStringList sheet;
    for (int n = 1;; ++n) {
        const QString line = QString::fromStdString(ini.ReadString("StyleSheet", std::to_string(n), ""));
        if (line.isEmpty())
            break;
        sheet << line;
    }
    // Switching to the loaded style may fail without harm: the previous stays.
    try {
        if (QStyle* style = QStyleFactory::create(baseName))
            QApplication::setStyle(style);
        QApplication::setPalette(palette);
        qApp->setStyleSheet(sheet.join(QLatin1Char('\n')));
    } catch (...) {
    }
}

QString ExtractFilePath(const QString& path)
{
    const int slash = path.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : path.left(slash + 1);
}

void ApplySkin(const QString& Skin, const TSkinTargets& Targets)
{
    SkinPath = Skin;
    const QString skinDir = ExtractFilePath(Skin);
    const QString settings = skinDir + QStringLiteral("settings.ini");
    if (QFileInfo::exists(settings)) {
        SkinIconsDir = readIni(settings, "General", QStringLiteral("Icons"));
        if (Targets.View) {
            Targets.View->Styles.BeginUpdate();
            Targets.View->Styles.Clear();
            Targets.View->mydir = skinDir + SkinIconsDir + QLatin1Char('/');
        }
        for (int n = 1;; ++n) {
            const QString line = readIni(settings, "Tile", QStringLiteral("Style.%1").arg(n));
            if (line.isEmpty())
                break;
            if (Targets.View)
                Targets.View->Styles.Add(line);
        }
        if (Targets.View)
            Targets.View->Styles.EndUpdate();
        struct {
            const char* key;
            QString* target;
        } colours[] = {{"CaptionColor", &TileCaptionColor},
                       {"SubCaptionColor", &TileSubCaptionColor},
                       {"TopColor", &TileTopColor}};
        for (const auto& c : colours) {
            const QString value = readIni(settings, "Tile", QLatin1String(c.key));
            if (!value.isEmpty())
                *c.target = value;
        }
        const QString aero = readIni(settings, "General", QStringLiteral("DisableAero"));
        if (!aero.isEmpty())
            SkinDisableAero = static_cast<uint8_t>(StrToInt64(aero) & 0xFF);
        const QString formColor = readIni(settings, "General", QStringLiteral("FormColor"));
        if (!formColor.isEmpty())
            SkinFormColor = static_cast<int32_t>(SkinColorToColor(formColor) & 0xFFFFFFFF);
    }

    if (QFileInfo(Skin).isFile()) {
        LoadStyleFile(Skin);
    } else if (skinDir.isEmpty() && !Skin.isEmpty()) {
        if (QStyle* style = QStyleFactory::create(Skin))
            QApplication::setStyle(style);
    }

    if (SkinIconsDir.isEmpty())
        return;
    const QString iconDir = skinDir + SkinIconsDir + QLatin1Char('/');
    if (Targets.ImageList2) {
        const int goSize = Targets.HighResIcons ? 64 : 32;
        Targets.ImageList2->SetSize(goSize, goSize);
        const QString go = iconDir + QStringLiteral("icon_go.ico");
        if (QFileInfo::exists(go))
            Targets.ImageList2->Add(LoadIconSized(go, goSize));
    }
    if (Targets.ImageList1)
        fillImageList(*Targets.ImageList1, 48, iconDir, false);
    if (Targets.HighResIcons && Targets.ImageList1High)
        fillImageList(*Targets.ImageList1High, 96, iconDir, true);
}
