#include <gtest/gtest.h>

#include <ostream>
#include <vector>

#include "HelpTopics.h"
#include "KVBStrings.h"
#include "KVStrings.h"

namespace {

struct HelpCase {
    const char* name;
    const char* culture;
    const char* helpLanguage;
    const char* helpSetupLanguage;
    const char* page;
    const char* expectedTail;     // the address after the base address
    const char* expectedCulture;  // LanguageCulture afterwards
    friend void PrintTo(const HelpCase& c, std::ostream* os) { *os << c.name; }
};

class HelpTopicsTest : public ::testing::TestWithParam<HelpCase> {
protected:
    void SetUp() override
    {
        savedOpener = HelpPageOpener;
        HelpPageOpener = [this](const QString& a) { opened.push_back(a); };
    }
    void TearDown() override
    {
        HelpPageOpener = savedOpener;
        LanguageCulture.clear();
        HelpLanguage.clear();
        HelpSetupLanguage.clear();
    }
    THelpPageOpener savedOpener;
    std::vector<QString> opened;
};

TEST_P(HelpTopicsTest, OpensTheTopicAddress)
{
    const HelpCase& c = GetParam();
    LanguageCulture = QString::fromUtf8(c.culture);
    HelpLanguage = QString::fromUtf8(c.helpLanguage);
    HelpSetupLanguage = QString::fromUtf8(c.helpSetupLanguage);

    OpenHelpPage(QString::fromUtf8(c.page));

    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].toStdString(), (HelpWikiBaseAddress + QString::fromUtf8(c.expectedTail)).toStdString());
    EXPECT_EQ(LanguageCulture.toStdString(), c.expectedCulture);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HelpTopicsTest,
    ::testing::Values(
        HelpCase{"GermanCultureMixedCaseStoredLowered", "DE-de", "", "", "burner-virtualdrive.html",
                 "de:help:main:korvanta_burner:virtual_drive_iso", "de-de"},
        HelpCase{"EnglishByDefault", "", "", "", "burner-virtualdrive.html",
                 "en:help:main:korvanta_burner:virtual_drive_iso", ""},
        HelpCase{"CopyPage", "en-us", "", "", "burner-copy.html",
                 "en:help:main:korvanta_burner:copy_disc_to_image_iso", "en-us"},
        HelpCase{"FrenchCultureOverridesHelpLanguage", "fr-FR", "G", "", "burner.html",
                 "en:help:main:korvanta_burner:welcome", "fr-fr"},
        HelpCase{"HelpLanguageGermanWithoutCulture", "", "G", "", "configuration.html",
                 "de:help:main:configuration:configuration_dialog_box", ""},
        HelpCase{"DashTakesSetupLanguage", "", "-", "G", "main.html", "de:help:main", ""},
        HelpCase{"DoubleDashTakesSetupLanguage", "", "--", "G", "introduction.html", "de:help:welcome", ""},
        HelpCase{"UnknownCultureKeepsHelpLanguage", "xx-yy", "G", "", "introduction.html",
                 "de:help:welcome", "xx-yy"},
        HelpCase{"OnlyAsciiLettersLowered", "DE-DE\xc3\x84", "", "", "main.html", "en:help:main",
                 "de-de\xc3\x84"},
        HelpCase{"PathWithLeadingColon", "", "", "", "tutorial.html", "en:help::tutorial", ""},
        HelpCase{"EmptyPathIsStartPage", "de-de", "", "", "features.html", "de:help:", "de-de"},
        HelpCase{"PageNamesCompareWithCase", "", "", "", "Burner-Copy.html", "en:help:", ""},
        HelpCase{"UnknownPageIsStartPage", "", "", "", "no-such-page.html", "en:help:", ""},
        HelpCase{"EmptyPageIsStartPage", "", "", "", "", "en:help:", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(HelpWikiBaseAddressTest, IsAWebAddressEndingInSlash)
{
    EXPECT_TRUE(HelpWikiBaseAddress.startsWith(QStringLiteral("https://")));
    EXPECT_TRUE(HelpWikiBaseAddress.endsWith(u'/'));
}

}  // namespace
