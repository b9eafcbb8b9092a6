#include "EnvGuard.h"
#include "KVLanguages.h"
#include "LangFixture.h"
#include "TextFilter.h"

#include <filesystem>

namespace {

using langtest::LangFixture;
using langtest::LocaleEnv;

QString filter(const QString& found, const QString& def)
{
    QString result = QStringLiteral("untouched");
    FilterLocalString("key", def, found, 0, result);
    return result;
}

QString readText(std::FILE* file, const QString& text)
{
    QString result;
    ReadLanguageText(file, text, result);
    return result;
}

TEST(FilterLocalString, DefaultYearsAndAppName)
{
    struct {
        QString found, def, expected;
    } cases[] = {
        {"", "English", "English"},
        {"Übersetzt", "English", "Übersetzt"},
        {"", "", ""},
        {"(c) 2009-2013", "x", "(c) 2015-2015"},
        {"2006 2007 2011 2012 2013 2009", "x", "2015 2015 2015 2015 2015 2015"},
        {"2010 and 2008 stay", "x", "2010 and 2008 stay"},
        {"", "%APPNAME% Images", "Korvanta 2021 Images"},
        {"%APPNAME%: %APPNAME%", "x", "Korvanta 2021: Korvanta 2021"},
        {"%APPNAME%  is searching", "x", "Korvanta 2021  is searching"},
        {"%appname% stays", "x", "%appname% stays"},
        {"20092009", "x", "20152015"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(filter(c.found, c.def), c.expected) << c.found.toStdString();
}

TEST(FilterLocalString, PlaceholderInsideAppNameDoesNotLoopForever)
{
    const QString saved = AppName;
    AppName = QStringLiteral("X %APPNAME%");
    EXPECT_EQ(filter("%APPNAME%", ""), QStringLiteral("X %APPNAME% 2021"));
    AppName = saved;
}

TEST(ReadLanguageText, EscapesAndYearChainWithoutFile)
{
    LocaleEnv env("de_DE.UTF-8");
    struct {
        QString text, expected;
    } cases[] = {
        {"Line one#13#10Line two", "Line one\r\nLine two"},
        {"Don#39t", "Don't"},
        {"##1313", "#\r13"},
        {"2009 2010 2011 2012 2013", "2015 2015 2015 2015 2015"},
        {"2008 2014 2021", "2008 2014 2021"},
        {"日本#13#10語", "日本\r\n語"},  // escapes after multi-byte characters
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(readText(nullptr, c.text), c.expected) << c.text.toStdString();
}

TEST(ReadLanguageText, CharactersOutsideTheCodePageAreLost)
{
    LocaleEnv env("de_DE.ISO-8859-1");
    EXPECT_EQ(readText(nullptr, QStringLiteral("Größe Ω")), QStringLiteral("Größe ?"));
}

TEST(ReadLanguageText, EntriesFromAFile)
{
    LocaleEnv env("de_DE.UTF-8");
    kvtest::TempDir dir;
    // An empty first entry, escapes, and a last entry without its zero byte.
    const std::string path = dir.file("KVMAIN_X.PLF");
    const char bytes[] = "\0Ja#39#13#10\0Nein 2009\0Abbrechen";
    kvtest::writeFile(path, std::string(bytes, sizeof bytes - 1));
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> f(std::fopen(path.c_str(), "rb"), std::fclose);
    ASSERT_TRUE(f);
    EXPECT_EQ(readText(f.get(), "OK"), QStringLiteral("OK"));  // empty entry: text unchanged
    EXPECT_EQ(readText(f.get(), "&Yes"), QStringLiteral("Ja'\r\n"));
    EXPECT_EQ(readText(f.get(), "&No"), QStringLiteral("Nein 2015"));
    EXPECT_EQ(readText(f.get(), "&Cancel"), QStringLiteral("Abbrechen"));
    EXPECT_EQ(readText(f.get(), "&Help"), QStringLiteral("&Help"));  // past the end
}

class ResourceReset : public LangFixture {};

TEST_F(ResourceReset, PatchPointsTheRecordAtTheNewestText)
{
    EXPECT_FALSE(PatchResourceString(nullptr, "x"));
    platform::TResStringRec rec = {&platform::HInstance, 64912};
    ASSERT_TRUE(PatchResourceString(&rec, "first"));
    ASSERT_TRUE(PatchResourceString(&rec, "second"));
    EXPECT_GT(rec.Identifier, 0xFFFFu);
    EXPECT_EQ(ResStr(rec), QStringLiteral("second"));
    EXPECT_EQ(ResStr(SImageIso), QStringLiteral("... Image (.iso)"));  // the program's record is untouched
}

TEST_F(ResourceReset, FirstPassStoresFilteredTexts)
{
    brm_lang2_Initialize();
    OnLocalString = FilterLocalString;
    ResetBurnerStrings();
    for (auto* rec : KVBStringsResetList)
        EXPECT_GT(rec->Identifier, 0xFFFFu);
    EXPECT_EQ(ResStr(SAPPNAMEImages), QStringLiteral("Korvanta 2021 Images"));
    EXPECT_EQ(QString::fromStdU16String(platform::DefaultLoadResString(&SAPPNAMEImages)),
              QStringLiteral("Korvanta 2021 Images"));  // the record itself holds the new text
    EXPECT_EQ(ResStr(SAPPNAMEIsSearchingForCDDVD),
              QStringLiteral("Korvanta 2021  is searching for CD/DVD/BD burning drives."));
    EXPECT_EQ(ResStr(SAddVirtualDrive), QStringLiteral("Add Virtual Drive"));
    EXPECT_EQ(SAddVirtualDrive.Identifier, 64898u);  // not in the list
}

struct ButtonCase {
    const char* name;
    QString code;
    const char* plf;  // nullptr: no file; "<dir>": a folder in its place
    size_t plfSize;
    QString codeAfter;
    std::array<QString, 5> buttons;
};
void PrintTo(const ButtonCase& c, std::ostream* os) { *os << c.name; }

class ButtonReset : public LangFixture, public ::testing::WithParamInterface<ButtonCase> {};

TEST_P(ButtonReset, SecondPass)
{
    LocaleEnv env("de_DE.UTF-8");
    const auto& c = GetParam();
    const std::string exeDir = dir.path() + "/";
    const std::string plf = ProgramLanguageFile(exeDir, c.code);
    if (c.plf && std::string(c.plf) == "<dir>")
        std::filesystem::create_directories(plf);
    else if (c.plf)
        kvtest::writeFile(plf, std::string(c.plf, c.plfSize));
    brm_lang2_Initialize();
    OnLocalString = FilterLocalString;
    QString code = c.code;
    ResetButtonStrings(code, exeDir);
    EXPECT_EQ(code, c.codeAfter);
    for (size_t i = 0; i < 5; ++i)
        EXPECT_EQ(ResStr(*KVStringsButtonList[i]), c.buttons[i]) << i;
}

INSTANTIATE_TEST_SUITE_P(
    Files, ButtonReset,
    ::testing::Values(
        ButtonCase{"FromFile", "G", "OK\0&Ja\0&Nein\0&Abbrechen\0&Hilfe\0Extra\0", 37, "G",
                   {"OK", "&Ja", "&Nein", "&Abbrechen", "&Hilfe"}},
        ButtonCase{"EmptyFirstEntry", "G", "\0&Ja\0", 5, "G", {"OK", "&Ja", "&No", "&Cancel", "&Help"}},
        ButtonCase{"NoTerminator", "G", "Okay\0Jawohl", 11, "G", {"Okay", "Jawohl", "&No", "&Cancel", "&Help"}},
        ButtonCase{"MissingFile", "FR", nullptr, 0, "", {"OK", "&Yes", "&No", "&Cancel", "&Help"}},
        ButtonCase{"NoCode", "", nullptr, 0, "", {"OK", "&Yes", "&No", "&Cancel", "&Help"}},
        ButtonCase{"Unreadable", "G", "<dir>", 0, "G", {"OK", "&Yes", "&No", "&Cancel", "&Help"}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
