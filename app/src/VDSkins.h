#pragma once

#include <QImage>
#include <QString>

#include <cstdint>
#include <stdexcept>

class THtPanel;
class TImageList;

// A text that is no number where one is needed ("'abc' is not a valid
// integer value").
class EConvertError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A skin that cannot be applied: a picture or icon file that cannot be read,
// a missing "blank.png", a style file that does not load. The message names
// the file and the reason.
class ESkinError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Decimal, or hexadecimal after "$" or "0x"; optional sign. Raises
// EConvertError when Text is no number.
int64_t StrToInt64(const QString& Text);

// Colours are Windows colour references $00BBGGRR.
// Empty text gives 0; "#RRGGBB" gives HexRGBToColor of the rest; any other
// text is a number (StrToInt64).
int64_t SkinColorToColor(const QString& Text);
// Characters 1-2, 3-4, 5-6 as hexadecimal red, green, blue; further
// characters are ignored; a missing or bad pair raises EConvertError.
int64_t HexRGBToColor(const QString& Text);

// A 32-bit copy of a PNG picture: colour bytes as they are, alpha from the
// picture's alpha channel or 255 when it has none; colours are not
// multiplied by alpha. An empty FileName leaves Bitmap unchanged; a file
// that cannot be read raises ESkinError.
void PngToBitmap32(QImage& Bitmap, const QString& FileName);
// The PNG picture of FileName, or "blank.png" in the same folder when
// FileName does not exist.
QImage LoadPngBitmap(const QString& FileName);
// An icon file's picture made at Size x Size (the best of the file's
// images, scaled). Raises ESkinError when it cannot be read.
QImage LoadIconSized(const QString& FileName, int Size);

// The windows' style from a ".vsf" style file: see resources/SKINS/README.md
// for the format. Raises ESkinError when the file cannot be loaded.
void LoadStyleFile(const QString& FileName);

// What a skin changes in the main window.
struct TSkinTargets {
    THtPanel* View = nullptr;          // the tile page
    TImageList* ImageList1 = nullptr;  // 48 x 48
    TImageList* ImageList1High = nullptr;  // 96 x 96
    TImageList* ImageList2 = nullptr;  // 32 x 32 (64 x 64 with high-resolution icons)
    bool HighResIcons = false;
};

// Applies the skin of Skin (a style file path, or a bare built-in style
// name) to Targets and to the program-wide skin values (SkinPath,
// SkinIconsDir, the tile colours, SkinDisableAero, SkinFormColor). Raises
// EConvertError or ESkinError; what was applied before the failing step
// stays.
void ApplySkin(const QString& Skin, const TSkinTargets& Targets);

// The folder part of a path with its trailing "/", empty when there is none.
QString ExtractFilePath(const QString& path);
