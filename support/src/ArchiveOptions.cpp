#include "ArchiveOptions.h"

namespace ArchiveOptions {

std::array<QString, elCount> ExtensionLists;
int32_t SelectedProfile = 0;
TForceOptions ForceOptions;
std::array<QString, 9> OptionTexts;

namespace {

// One row per TExtensionList entry, in its order.
constexpr std::array<const char*, elCount> kExtensionTable = {
    " zip 7z rar arj cab gz tgz bz2 tbz xz txz lz lzma zst z lzh lha ace zoo sit jar war apk deb rpm ",
    " mp3 mp2 ogg oga opus aac m4a wma mpc ape ac3 dts amr ",
    " wav flac wv tta aiff aif au snd ",
    " sf2 mptm it xm s3m mod mtm 669 ",
    " avi mp4 m4v mkv mov wmv flv webm mpg mpeg vob ts m2ts 3gp ogv ",
    " bmp tif tiff ppm pgm pbm pcx tga psd raw dng cr2 nef ",
    " jpg jpeg png gif webp jp2 heic avif ",
    " pdf doc docx xls xlsx ppt pptx odt ods odp rtf ",
    " txt csv log ini xml json htm html css md ",
    " c cpp cc h hpp pas dpr inc java cs py js ts go rs sh ",
    " exe dll sys ocx com so elf bin msi ",
    " db dbf mdb accdb sqlite sdf ",
    " iso img nrg mdf cue bin udf ",
    " ttf otf fon fnt woff woff2 ",
    " obj 3ds stl fbx dae blend ",
    " epub mobi azw azw3 fb2 djvu ",
    " vmdk vdi vhd vhdx qcow2 ",
};

}  // namespace

void Startup()
{
    for (int i = 0; i < elCount; ++i)
        ExtensionLists[i] = QString::fromLatin1(kExtensionTable[i]);
    SelectedProfile = -1;
    ForceOptions = {};
    for (QString& t : OptionTexts)
        t.clear();
}

void Shutdown()
{
    for (QString& t : ExtensionLists)
        t.clear();
    ForceOptions = {};
    for (QString& t : OptionTexts)
        t.clear();
}

}  // namespace ArchiveOptions
