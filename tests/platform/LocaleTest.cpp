#include <gtest/gtest.h>

#include <optional>

#include "PlatformTestEnv.h"
#include "platform/Locale.h"

using namespace platform;

TEST(Locale, UserLcidFromTheEnvironment)
{
    struct Case {
        std::optional<std::string> all, messages, lang;
        uint32_t lcid;
        const char* hex;
    };
    const Case cases[] = {
        {std::nullopt, std::nullopt, "de_DE.UTF-8", 0x0407, "0407"},
        {std::nullopt, std::nullopt, "es_ES", 0x0c0a, "0c0a"},
        {std::nullopt, std::nullopt, "fr_FR.ISO-8859-1@euro", 0x040c, "040c"},
        {std::nullopt, "it_IT.UTF-8", "de_DE.UTF-8", 0x0410, "0410"},
        {"ja_JP.UTF-8", "it_IT.UTF-8", "de_DE.UTF-8", 0x0411, "0411"},
        {std::nullopt, std::nullopt, "de", 0x0407, "0407"},  // bare language: its usual country
        {std::nullopt, std::nullopt, "pt_BR", 0x0416, "0416"},
        // Fallbacks: unset, C, POSIX and names unknown to ICU give US English.
        {std::nullopt, std::nullopt, std::nullopt, 0x0409, "0409"},
        {std::nullopt, std::nullopt, "C", 0x0409, "0409"},
        {std::nullopt, std::nullopt, "C.UTF-8", 0x0409, "0409"},
        {"POSIX", std::nullopt, "de_DE", 0x0409, "0409"},
        {std::nullopt, std::nullopt, "xx_YY.UTF-8", 0x0409, "0409"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lang.value_or("<unset>") + " / " + c.all.value_or("-") + " / " +
                     c.messages.value_or("-"));
        kvtest::ScopedEnv all("LC_ALL", c.all);
        kvtest::ScopedEnv messages("LC_MESSAGES", c.messages);
        kvtest::ScopedEnv lang("LANG", c.lang);
        EXPECT_EQ(GetUserDefaultLCID(), c.lcid);
        EXPECT_EQ(GetUserDefaultLanguageHex(), c.hex);
    }
}

TEST(Locale, TimeSeparatorOfTheLocale)
{
    kvtest::ScopedEnv time("LC_TIME", std::nullopt);
    struct Case {
        std::optional<std::string> lang;
        const char* separator;
    };
    const Case cases[] = {{"de_DE.UTF-8", ":"}, {"fi_FI.UTF-8", "."}, {"C", ":"}, {std::nullopt, ":"}};
    for (const Case& c : cases) {
        kvtest::ScopedEnv all("LC_ALL", c.lang);
        EXPECT_EQ(TimeSeparator(), c.separator) << c.lang.value_or("<unset>");
    }
}

TEST(Locale, SameTextIgnoresCase)
{
    kvtest::ScopedEnv all("LC_ALL", std::string("C.UTF-8"));
    EXPECT_TRUE(AnsiSameTextIgnoreCase("\\Device\\CdRom0", "\\DEVICE\\cdrom0"));
    EXPECT_TRUE(AnsiSameTextIgnoreCase("\xC3\x84rger", "\xC3\xA4RGER"));
    EXPECT_FALSE(AnsiSameTextIgnoreCase("\\Device\\CdRom0", "\\Device\\CdRom1"));
    EXPECT_FALSE(AnsiSameTextIgnoreCase("abc", "abcd"));
    EXPECT_TRUE(AnsiSameTextIgnoreCase("", ""));
}
