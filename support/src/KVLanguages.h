#pragma once
// The language list: registers the suite's language folder with the
// language library and lists the installed languages.

#include <QString>
#include <array>
#include <string>

#include "brm_lang2.h"

struct tkvlanguage {
    QString name;    // display name: "Native (Sub)" or "English (Sub)"
    QString short_;  // the language id the file declares
};

// Entries 1..LanguageCount are filled (index 0 is unused); languages past
// the hundredth are dropped.
extern std::array<tkvlanguage, 101> LanguageTable;
extern int32_t LanguageCount;
// The base folder under which "lang/" was registered (with a trailing "/").
extern std::string LanguageBaseFolder;
// The file read last, kept until shut-down.
extern IBrmLangFilePtr CurrentLanguageFile;

// 8-bit text in the system code page to UTF-16 ("" for "").
QString AnsiToWide(const std::string& s);

// Start-up: registers exeDir + "lang/" (or, when that folder is missing, the
// "lang/" folder of exeDir's parent) under "kvzip" and "bmzip" and fills the
// table from the files known under "bmzip". exeDir ends with "/".
void KVLanguages_Initialize(const std::string& exeDir);
// Shut-down: empties the table and releases the last language file.
void KVLanguages_Finalize();
