#pragma once

#include <cstdint>
#include <string>

namespace platform {

// The LCID of the user's locale (LC_ALL, else LC_MESSAGES, else LANG),
// through ICU; 0x0409 when the locale is unset, "C" or "POSIX", or unknown
// to ICU.
uint32_t GetUserDefaultLCID();
// GetLocaleInfo(LOCALE_USER_DEFAULT, LOCALE_ILANGUAGE): four lower-case hex
// digits ("0407").
std::string GetUserDefaultLanguageHex();
// The locale's time separator (":").
std::string TimeSeparator();

// CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, ...) == CSTR_EQUAL.
bool AnsiSameTextIgnoreCase(const std::string& a, const std::string& b);

}  // namespace platform
