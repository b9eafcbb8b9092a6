#include "platform/Locale.h"

#include <cstdio>
#include <cstdlib>
#include <initializer_list>

#include <unicode/uchar.h>
#include <unicode/udat.h>
#include <unicode/uloc.h>
#include <unicode/uchar.h>
#include <unicode/ustring.h>
#include <unicode/stringoptions.h>
#include <unicode/utypes.h>

#include "platform/CodePage.h"

namespace platform {

namespace {

constexpr uint32_t kFallbackLcid = 0x0409;

// The first set variable among the given ones, as the C library picks it.
std::string localeName(std::initializer_list<const char*> names)
{
    for (const char* n : names)
        if (const char* v = std::getenv(n); v && *v)
            return v;
    return "";
}

// "de_DE.UTF-8@euro" -> "de_DE"; "" for the C locale.
std::string icuName(std::string name)
{
    auto cut = name.find_first_of(".@");
    if (cut != std::string::npos)
        name.resize(cut);
    if (name == "C" || name == "POSIX")
        return "";
    return name;
}

}  // namespace

uint32_t GetUserDefaultLCID()
{
    std::string name = icuName(localeName({"LC_ALL", "LC_MESSAGES", "LANG"}));
    if (name.empty())
        return kFallbackLcid;
    uint32_t lcid = uloc_getLCID(name.c_str());
    if (lcid != 0 && lcid < 0x400) {
        // A bare language ("de") names no country: take its likely one.
        char full[ULOC_FULLNAME_CAPACITY];
        char lang[ULOC_LANG_CAPACITY];
        char country[ULOC_COUNTRY_CAPACITY];
        UErrorCode err = U_ZERO_ERROR;
        uloc_addLikelySubtags(name.c_str(), full, sizeof full, &err);
        uloc_getLanguage(full, lang, sizeof lang, &err);
        uloc_getCountry(full, country, sizeof country, &err);
        if (U_SUCCESS(err)) {
            uint32_t specific = uloc_getLCID((std::string(lang) + "_" + country).c_str());
            if (specific >= 0x400)
                lcid = specific;
        }
    }
    return lcid ? lcid : kFallbackLcid;
}

std::string GetUserDefaultLanguageHex()
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04x", GetUserDefaultLCID() & 0xFFFF);
    return buf;
}

std::string TimeSeparator()
{
    std::string name = icuName(localeName({"LC_ALL", "LC_TIME", "LANG"}));
    if (name.empty())
        return ":";
    UErrorCode err = U_ZERO_ERROR;
    UDateFormat* fmt = udat_open(UDAT_SHORT, UDAT_NONE, name.c_str(), nullptr, 0, nullptr, 0, &err);
    if (U_FAILURE(err) || !fmt)
        return ":";
    UChar pattern[128];
    int32_t n = udat_toPattern(fmt, false, pattern, 128, &err);
    udat_close(fmt);
    if (U_FAILURE(err))
        return ":";
    // The separator is what follows the hour field ("HH:mm", "H.mm").
    for (int32_t i = 0; i + 1 < n; ++i) {
        if ((pattern[i] == u'H' || pattern[i] == u'h') && pattern[i + 1] != pattern[i]) {
            UChar c = pattern[i + 1];
            if (c != u'\'' && c != u' ' && !u_isalpha(c))
                return Utf16ToUtf8(std::u16string(1, static_cast<char16_t>(c)));
            break;
        }
    }
    return ":";
}

bool AnsiSameTextIgnoreCase(const std::string& a, const std::string& b)
{
    std::u16string wa = AnsiToWide(a), wb = AnsiToWide(b);
    UErrorCode err = U_ZERO_ERROR;
    int r = u_strCaseCompare(reinterpret_cast<const UChar*>(wa.data()),
                             static_cast<int32_t>(wa.size()),
                             reinterpret_cast<const UChar*>(wb.data()),
                             static_cast<int32_t>(wb.size()), U_FOLD_CASE_DEFAULT, &err);
    return U_SUCCESS(err) && r == 0;
}

}  // namespace platform
