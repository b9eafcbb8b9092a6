#pragma once
// Language choice at start-up.

#include <QString>
#include <string>

#include <platform/Paths.h>

// The program's copy of the chosen language code, written by SetupLanguage.
extern QString VDLanguageCode;

// GetLocaleInfo type of the user locale's language identifier.
constexpr int LOCALE_ILANGUAGE = 1;
// The user default locale's value of lcType: LOCALE_ILANGUAGE gives four
// lower-case hex digits ("0407"); other types give "".
QString GetUserLocaleInfo(int lcType);

// Maps a four-digit locale language identifier to a language code and a
// culture name through the locale table; unmatched gives code "" and the
// culture unchanged.
void MatchLocaleTable(const QString& id, QString& code, QString& culture);

// Chooses the language: HKCU then HKLM "Software\KorvantaInt\General"
// "Language" ("-" = from the user locale, "--" = HKLM "Software\KorvantaInt"
// "ReferSetupLanguage"), fills the language globals, registers
// exeDir + "lang/" under "kvvd"/"bmvd" and selects LanguageCulture in the
// language library (when a code was chosen), installs FilterLocalString and
// re-sets the stored resource strings. code receives the chosen code, or ""
// when the program's language file for it (Languages/KVMAIN_<code>.PLF) is
// missing. exeDir ends with "/". Never raises; shows no message.
void SetupLanguage(QString& code, const std::string& exeDir = platform::ExecutableDir());
