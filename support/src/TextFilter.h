#pragma once
// The text filter installed as OnLocalString, the reader of the program's
// language file (Languages/KVMAIN_<code>.PLF) and the re-set of stored
// resource strings at start-up.
//
// The language file is a sequence of 8-bit entries in the system code page,
// each ended by a zero byte (the end of the file ends the last one); "#13",
// "#10" and "#39" in an entry stand for CR, LF and an apostrophe. Its first
// five entries are the texts of OK, Yes, No, Cancel and Help.

#include <QString>
#include <cstdint>
#include <cstdio>
#include <string>

#include <platform/ResourceStrings.h>

// found, or default when found is empty; old years (2009, 2007, 2006, 2011,
// 2013, 2012) become "2015"; every "%APPNAME%" becomes AppName + " 2021".
void FilterLocalString(const QString& sId, const QString& sDefault, const QString& sFound, intptr_t data,
                       QString& result);

// With a file: the file's next entry (read up to a zero byte, the end of the
// file or a failed read); without one (nullptr): text in the system code
// page. The escapes are expanded and 2009..2013 become "2015"; result is the
// outcome in UTF-16, or text unchanged when the 8-bit text is empty.
void ReadLanguageText(std::FILE* file, const QString& text, QString& result);

// Points the record at a copy of text for every later load. False for a null
// record.
bool PatchResourceString(platform::TResStringRec* rec, const QString& text);

// Pass 1: every record of KVBStringsResetList re-set to its translated,
// filtered text taken through the system code page.
void ResetBurnerStrings();
// Pass 2: the five button texts from exeDir + "Languages/KVMAIN_<code>.PLF"
// (exeDir ends with "/"). When code is not empty and that file is missing,
// code becomes empty and the texts are re-set as in pass 1.
void ResetButtonStrings(QString& code, const std::string& exeDir);

// Path of the program's language file for a code.
std::string ProgramLanguageFile(const std::string& exeDir, const QString& code);
