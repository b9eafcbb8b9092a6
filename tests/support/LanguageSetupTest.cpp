#include "CasePrint.h"
#include "EnvGuard.h"
#include "LangFixture.h"
#include "LanguageSetup.h"
#include "TextFilter.h"

#include <filesystem>
#include <optional>

#include <platform/Registry.h>

namespace {

using langtest::LangFixture;
using langtest::LocaleEnv;
using langtest::poFile;

struct LocaleCase {
    const char* id;
    const char* code;
    const char* culture;
};
void PrintTo(const LocaleCase& c, std::ostream* os) { *os << kvtest::Quoted(c.id); }

class LocaleTable : public ::testing::TestWithParam<LocaleCase> {};

TEST_P(LocaleTable, MapsIdentifierToCodeAndCulture)
{
    QString code = "unchanged", culture = "-";
    MatchLocaleTable(GetParam().id, code, culture);
    EXPECT_EQ(code, GetParam().code);
    EXPECT_EQ(culture, GetParam().culture);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, LocaleTable,
    ::testing::Values(LocaleCase{"0407", "G", "de-de"}, LocaleCase{"1407", "G", "de-de"},
                      LocaleCase{"0c0c", "FR", "fr-fr"}, LocaleCase{"2c0a", "AR", "es-ar"},
                      LocaleCase{"080a", "ES", "es-es"}, LocaleCase{"0810", "I", "it-it"},
                      LocaleCase{"0411", "JP", "-"}, LocaleCase{"0421", "IND", "-"},
                      LocaleCase{"0804", "SC", "zh-cn"}, LocaleCase{"081d", "SV", "sv-se"},
                      LocaleCase{"0412", "KO", "ko-kr"}, LocaleCase{"0409", "", "-"},
                      LocaleCase{"2C0A", "", "-"},  // compared case-sensitively
                      LocaleCase{"", "", "-"}));

void writeString(platform::HKEY root, const char* key, const char* name, const char* value)
{
    platform::TRegistry reg;
    reg.RootKey = root;
    ASSERT_TRUE(reg.OpenKey(key, true));
    reg.WriteString(name, value);
}

void writeInteger(platform::HKEY root, const char* key, const char* name, int value)
{
    platform::TRegistry reg;
    reg.RootKey = root;
    ASSERT_TRUE(reg.OpenKey(key, true));
    reg.WriteInteger(name, value);
}

const char* const kGeneral = "Software\\KorvantaInt\\General";

class SetupLanguageTest : public LangFixture {
protected:
    void SetUp() override
    {
        LangFixture::SetUp();
        clearRegistry();
        exeDir = dir.path() + "/";
        kvtest::writeFile(exeDir + "lang/de.po", poFile("G", "de-de", {{"&Refresh", "&Aktualisieren"}}));
        kvtest::writeFile(exeDir + "lang/pl.po", poFile("PL", "pl-pl", {{"&Refresh", "&Odśwież"}}));
        kvtest::writeFile(exeDir + "Languages/KVMAIN_G.PLF", std::string("OK\0&Ja\0", 7));
        kvtest::writeFile(exeDir + "Languages/KVMAIN_PL.PLF", std::string("OK\0&Tak\0", 8));
        for (QString* g : {&LanguageCulture, &LanguageCode, &VDLanguageCode, &DetectedLanguageCode,
                           &ProductVariant, &UpdateLanguage})
            *g = "before";
    }
    void TearDown() override
    {
        clearRegistry();
        LangFixture::TearDown();
    }
    static void clearRegistry()
    {
        for (auto root : {platform::HKEY_CURRENT_USER, platform::HKEY_LOCAL_MACHINE}) {
            platform::TRegistry reg;
            reg.RootKey = root;
            reg.DeleteKey("Software\\KorvantaInt");
        }
    }
    QString setup()
    {
        QString code = "x";
        SetupLanguage(code, exeDir);
        return code;
    }
    std::string exeDir;
};

TEST_F(SetupLanguageTest, MachineValueWinsOverUserValue)
{
    writeString(platform::HKEY_CURRENT_USER, kGeneral, "Language", "PL");
    writeString(platform::HKEY_LOCAL_MACHINE, kGeneral, "Language", "G");
    EXPECT_EQ(setup(), "G");
    EXPECT_EQ(LanguageCulture, "G");
    EXPECT_EQ(LanguageCode, "G");
    EXPECT_EQ(VDLanguageCode, "G");
    EXPECT_EQ(ProductVariant, "Int");
    EXPECT_EQ(DetectedLanguageCode, "before");  // written only on the locale path
    EXPECT_EQ(OnLocalString, &FilterLocalString);
    brm_lang2_Initialize();
    OnLocalString = FilterLocalString;
    EXPECT_EQ(ResStr(SRefresh), "&Aktualisieren");  // the library was told "G"
    EXPECT_EQ(ResStr(SMsgDlgYes), "&Ja");
}

TEST_F(SetupLanguageTest, SetupLanguageReferral)
{
    LocaleEnv env("de_DE.UTF-8");
    writeString(platform::HKEY_CURRENT_USER, kGeneral, "Language", "--");
    writeString(platform::HKEY_LOCAL_MACHINE, "Software\\KorvantaInt", "ReferSetupLanguage", "PL");
    EXPECT_EQ(setup(), "PL");
    EXPECT_EQ(LanguageCulture, "PL");
    EXPECT_EQ(ResStr(SMsgDlgYes), "&Tak");

    // Without the referral the locale decides.
    clearRegistry();
    writeString(platform::HKEY_CURRENT_USER, kGeneral, "Language", "--");
    EXPECT_EQ(setup(), "G");
    EXPECT_EQ(LanguageCulture, "de-de");
    EXPECT_EQ(DetectedLanguageCode, "G");
}

TEST_F(SetupLanguageTest, EmptyValueChoosesNoLanguage)
{
    LocaleEnv env("de_DE.UTF-8");
    writeString(platform::HKEY_CURRENT_USER, kGeneral, "Language", "");
    EXPECT_EQ(setup(), "");
    EXPECT_EQ(LanguageCulture, "");
    EXPECT_EQ(DetectedLanguageCode, "before");
    EXPECT_EQ(BRM_LANG2_getLanguageCount(u"kvvd"), 0);  // nothing registered
    EXPECT_EQ(OnLocalString, &FilterLocalString);
    EXPECT_GT(SAPPNAMEImages.Identifier, 0xFFFFu);  // both passes still ran
}

TEST_F(SetupLanguageTest, ValueOfAnotherTypeIsIgnored)
{
    LocaleEnv env("pl_PL.UTF-8");
    writeString(platform::HKEY_CURRENT_USER, kGeneral, "Language", "G");
    writeInteger(platform::HKEY_LOCAL_MACHINE, kGeneral, "Language", 7);
    EXPECT_EQ(setup(), "G");  // the user's value stays

    clearRegistry();
    writeInteger(platform::HKEY_CURRENT_USER, kGeneral, "Language", 7);
    EXPECT_EQ(setup(), "PL");  // nothing usable: the locale decides
    EXPECT_EQ(LanguageCulture, "pl-pl");
}

TEST_F(SetupLanguageTest, UnparsableHiveIsIgnored)
{
    LocaleEnv env("de_DE.UTF-8");
    const std::string hive = platform::HiveFilePath(platform::HKEY_CURRENT_USER);
    std::optional<std::string> saved;
    if (std::filesystem::exists(hive))
        saved = kvtest::readFile(hive);
    kvtest::writeFile(hive, "this is no registry hive\n[[[\n");
    QString code;
    EXPECT_NO_THROW(SetupLanguage(code, exeDir));
    EXPECT_EQ(code, "G");
    if (saved)
        kvtest::writeFile(hive, *saved);
    else
        std::filesystem::remove(hive);
}

struct LocalePathCase {
    const char* lang;
    const char* code;       // out code
    const char* languageCode;
    const char* culture;
};
void PrintTo(const LocalePathCase& c, std::ostream* os) { *os << c.lang; }

class SetupLanguageLocale : public SetupLanguageTest, public ::testing::WithParamInterface<LocalePathCase> {};

TEST_P(SetupLanguageLocale, ChoosesFromTheUserLocale)
{
    LocaleEnv env(GetParam().lang);
    EXPECT_EQ(setup(), GetParam().code);
    EXPECT_EQ(LanguageCode, GetParam().languageCode);
    EXPECT_EQ(DetectedLanguageCode, GetParam().languageCode);
    EXPECT_EQ(LanguageCulture, GetParam().culture);
}

INSTANTIATE_TEST_SUITE_P(Locales, SetupLanguageLocale,
                         ::testing::Values(LocalePathCase{"de_DE.UTF-8", "G", "G", "de-de"},
                                           LocalePathCase{"de_AT.UTF-8", "G", "G", "de-de"},
                                           LocalePathCase{"ja_JP.UTF-8", "", "JP", "-"},  // no KVMAIN_JP.PLF
                                           LocalePathCase{"en_US.UTF-8", "", "", "-"},
                                           LocalePathCase{"C", "", "", "-"}));

TEST_F(SetupLanguageTest, UpdateIniLanguage)
{
    writeString(platform::HKEY_CURRENT_USER, kGeneral, "Language", "G");
    setup();
    EXPECT_EQ(UpdateLanguage, "");
    kvtest::writeFile(exeDir + "UPDATE.INI", "[General]\nKVLanguage=FR\n");
    setup();
    EXPECT_EQ(UpdateLanguage, "FR");
}

}  // namespace
