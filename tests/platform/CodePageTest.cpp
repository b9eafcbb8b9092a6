#include <gtest/gtest.h>

#include <optional>

#include "PlatformTestEnv.h"
#include "platform/CodePage.h"

using namespace platform;

TEST(CodePage, Utf8AndUtf16Convert)
{
    struct Case {
        const char* what;
        std::string utf8;
        std::u16string utf16;
    };
    const Case cases[] = {
        {"ascii", "Virtual Drive", u"Virtual Drive"},
        {"empty", "", u""},
        {"umlaut", "Laufwerk \xC3\xA4", u"Laufwerk \u00E4"},
        {"three bytes", "\xE2\x82\xAC", u"\u20AC"},
        {"surrogate pair", "\xF0\x9F\x92\xBF", u"\U0001F4BF"},
        {"embedded zero", std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Utf8ToUtf16(c.utf8), c.utf16);
        EXPECT_EQ(Utf16ToUtf8(c.utf16), c.utf8);
    }
}

TEST(CodePage, BadSequencesBecomeReplacementsNotCrashes)
{
    struct Case {
        const char* what;
        std::string bytes;
        std::u16string expected;
    };
    const Case cases[] = {
        {"lone continuation", "a\x80z", u"a\uFFFDz"},
        {"truncated at end", "a\xE2\x82", u"a\uFFFD"},
        {"overlong slash", "\xC0\xAF", u"\uFFFD\uFFFD"},
        {"encoded surrogate", "\xED\xA0\x80", u"\uFFFD"},
        {"beyond U+10FFFF", "\xF4\x90\x80\x80", u"\uFFFD"},
        {"latin-1 byte", "caf\xE9!", u"caf\uFFFD!"},
    };
    kvtest::ScopedEnv all("LC_ALL", std::string("C.UTF-8"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Utf8ToUtf16(c.bytes), c.expected);
        EXPECT_EQ(AnsiToWide(c.bytes), c.expected);
    }
    // A lone surrogate has no 8-bit form.
    EXPECT_EQ(WideToAnsi(std::u16string(u"a") + char16_t(0xD800) + u"b"), "a?b");
}

// The C library here knows only C and C.UTF-8: the code set comes from the
// locale's name then, and an unknown one falls back to UTF-8.
TEST(CodePage, SystemCharsetFollowsTheLocaleName)
{
    struct Case {
        std::optional<std::string> lcAll, lang;
        std::string charset;
    };
    const Case cases[] = {
        {std::nullopt, std::nullopt, "UTF-8"},
        {std::nullopt, "C", "UTF-8"},
        {std::nullopt, "POSIX", "UTF-8"},
        {std::nullopt, "de_DE.UTF-8", "UTF-8"},
        {std::nullopt, "de_DE.utf8", "UTF-8"},
        {std::nullopt, "de_DE.ISO-8859-1", "ISO-8859-1"},
        {std::nullopt, "ru_RU.KOI8-R@cyrillic", "KOI8-R"},
        {"de_DE.ISO-8859-15", "de_DE.UTF-8", "ISO-8859-15"},
        {std::nullopt, "xx_YY.NO-SUCH-SET", "UTF-8"},
        {std::nullopt, "de_DE", "UTF-8"},
    };
    kvtest::ScopedEnv ctype("LC_CTYPE", std::nullopt);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lang.value_or("<unset>"));
        kvtest::ScopedEnv all("LC_ALL", c.lcAll);
        kvtest::ScopedEnv lang("LANG", c.lang);
        EXPECT_EQ(SystemCharset(), c.charset);
    }
}

TEST(CodePage, AnsiTextUsesTheLocaleCharset)
{
    kvtest::ScopedEnv all("LC_ALL", std::string("de_DE.ISO-8859-1"));
    EXPECT_EQ(AnsiToWide("Gr\xF6\xDF" "e"), u"Gr\u00F6\u00DFe");
    EXPECT_EQ(WideToAnsi(u"Gr\u00F6\u00DFe"), "Gr\xF6\xDF" "e");
    // Characters outside the code page become "?".
    EXPECT_EQ(WideToAnsi(u"\u20AC5"), "?5");
}
