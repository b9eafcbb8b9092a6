#pragma once

#include <QString>

#include <array>
#include <cstdint>

// The suite's archiving options: file-name extension lists by kind of
// content and the forced compression options. Nothing in this program reads
// them; they are set up and released with the program.
namespace ArchiveOptions {

// Extension lists, each extension enclosed in blanks (" mp3 ogg flac "),
// so that a lookup of " ext " finds whole extensions only.
enum TExtensionList {
    elArchives, elAudio, elAudioLossless, elTrackerModules, elVideo,
    elImagesRaw, elImagesCompressed, elDocuments, elText, elSourceCode,
    elExecutables, elDatabases, elDiscImages, elFonts, elModels3D,
    elEbooks, elVirtualDisks, elCount
};

struct TForceOptions {
    QString C, D, MC, FB, LC, LP, PB, A, X, bwtc, zstdd, zstdc, ppmc, ppmd;
    int32_t myrepcustomm = 0;
};

extern std::array<QString, elCount> ExtensionLists;
// The chosen options profile; -1 = none.
extern int32_t SelectedProfile;
extern TForceOptions ForceOptions;
extern std::array<QString, 9> OptionTexts;

void Startup();
void Shutdown();

}  // namespace ArchiveOptions
