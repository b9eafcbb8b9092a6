#include "kv_lang2.h"

#include "CasePrint.h"
#include "TestDirs.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using kvtest::TempDir;
using kvtest::writeFile;

std::string header(const std::string& fields, const std::string& charset = "UTF-8")
{
    return "msgid \"\"\nmsgstr \"\"\n\"Content-Type: text/plain; charset=" + charset + "\\n\"\n" + fields + "\n";
}

std::string field(const std::string& name, const std::string& value)
{
    return "\"" + name + ": " + value + "\\n\"\n";
}

const std::string kGermanHeader =
    header(field("X-App-Id", "kvvd, bmvd") + field("X-Language-Id", "G") + field("X-Culture", "de-de") +
           field("Language", "de_DE") + field("X-Native-Name", "Deutsch") +
           field("X-Native-Sub-Name", "Deutschland") + field("X-English-Name", "German") +
           field("X-Author", "Translator"));

const std::string kGermanPo = kGermanHeader +
                              "msgid \"pas.resourcestring.&Refresh\"\nmsgstr \"&Aktualisieren\"\n\n"
                              "#, fuzzy\nmsgid \"pas.resourcestring.Fuzzy\"\nmsgstr \"Unscharf\"\n\n"
                              "msgid \"pas.resourcestring.Empty\"\nmsgstr \"\"\n\n"
                              "msgid \"pas.resourcestring.Line\\r\\nBreak\"\nmsgstr \"Zeilen\\r\\numbruch\"\n";

std::u16string take(BRM_LANG2_CHAR* p)
{
    std::u16string s = p ? std::u16string(p) : std::u16string();
    BRM_LANG2_freeWideString(p);
    return s;
}

std::u16string u16(const std::string& s)
{
    return std::u16string(s.begin(), s.end());  // ASCII test texts only
}

BRM_LANG2_TEST_COUNTERS counters()
{
    BRM_LANG2_TEST_COUNTERS c{};
    BRM_LANG2_TEST_getCounters(&c);
    return c;
}

class LangLib : public ::testing::Test {
protected:
    void SetUp() override { BRM_LANG2_TEST_reset(); }
    void TearDown() override
    {
        // Whatever a test did, it released every string and handle once.
        auto c = counters();
        EXPECT_EQ(c.stringsOut, c.stringsFreed);
        EXPECT_EQ(c.nullsOut, c.nullsFreed);
        EXPECT_EQ(c.filesOut, c.filesFreed);
        BRM_LANG2_TEST_reset();
    }
    bool add(const std::string& folder, const char16_t* id = u"kvvd", const char16_t* id2 = u"bmvd")
    {
        return BRM_LANG2_add(u16(folder).c_str(), id, id2) != 0;
    }
    TempDir dir;
};

TEST_F(LangLib, RegistersFilesUnderTheirApplicationIds)
{
    writeFile(dir.file("de.po"), kGermanPo);
    writeFile(dir.file("fr.PO"), header(field("X-App-Id", "KVZIP") + field("X-Language-Id", "FR")));
    writeFile(dir.file("nolang.po"), header(field("X-App-Id", "bmvd")));
    writeFile(dir.file("readme.txt"), "not a language file");

    EXPECT_TRUE(add(dir.path() + "/"));
    EXPECT_EQ(BRM_LANG2_getLanguageCount(u"kvvd"), 1);
    EXPECT_EQ(BRM_LANG2_getLanguageCount(u"BMVD"), 2);
    EXPECT_EQ(BRM_LANG2_getLanguageCount(u"kvzip"), 0);  // not one of the ids given

    // The same folder again under other ids: no file counted twice.
    EXPECT_TRUE(add(dir.path(), u"kvzip", u"bmvd"));
    EXPECT_EQ(BRM_LANG2_getLanguageCount(u"bmvd"), 2);
    EXPECT_EQ(BRM_LANG2_getLanguageCount(u"kvzip"), 1);
    EXPECT_EQ(BRM_LANG2_getLanguageCount(u"nobody"), 0);

    EXPECT_FALSE(add(dir.file("missing")));
    EXPECT_FALSE(add(dir.file("readme.txt")));
}

TEST_F(LangLib, FileHandleReadsHeaderFields)
{
    writeFile(dir.file("de.po"), kGermanPo);
    ASSERT_TRUE(add(dir.path()));
    BRM_LANG2_FILE f = BRM_LANG2_getLanguageFile(u"kvvd", 0);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(take(BRM_LANG2_FILE_getAppID(f)), u"kvvd, bmvd");
    EXPECT_EQ(take(BRM_LANG2_FILE_getLanguageID(f)), u"G");
    EXPECT_EQ(take(BRM_LANG2_FILE_getNativeName(f)), u"Deutsch");
    EXPECT_EQ(take(BRM_LANG2_FILE_getNativeSubName(f)), u"Deutschland");
    EXPECT_EQ(take(BRM_LANG2_FILE_getEnglishName(f)), u"German");
    EXPECT_EQ(take(BRM_LANG2_FILE_getAuthor(f)), u"Translator");
    BRM_LANG2_CHAR* missing = BRM_LANG2_FILE_getEnglishSubName(f);
    EXPECT_EQ(missing, nullptr);  // an empty field is a null library string
    BRM_LANG2_freeWideString(missing);
    EXPECT_EQ(take(BRM_LANG2_FILE_getComment(f)), u"");

    BRM_LANG2_freeBrmLangFile(f);
    EXPECT_EQ(counters().filesFreed, 1);
    // A released handle reads as none.
    EXPECT_EQ(take(BRM_LANG2_FILE_getLanguageID(f)), u"");
}

TEST_F(LangLib, LanguageFileIndexOutOfRangeIsNull)
{
    writeFile(dir.file("de.po"), kGermanPo);
    ASSERT_TRUE(add(dir.path()));
    for (int index : {-1, 1, 100})
        EXPECT_EQ(BRM_LANG2_getLanguageFile(u"kvvd", index), nullptr) << index;
    EXPECT_EQ(BRM_LANG2_getLanguageFile(u"other", 0), nullptr);
    EXPECT_EQ(counters().filesOut, 0);
}

struct LanguageCase {
    const char16_t* code;
    bool selects;
};
void PrintTo(const LanguageCase& c, std::ostream* os)
{
    *os << kvtest::Quoted(std::string(c.code, c.code + std::char_traits<char16_t>::length(c.code)));
}

class LangLibLanguage : public LangLib, public ::testing::WithParamInterface<LanguageCase> {};

TEST_P(LangLibLanguage, SelectsFilesByIdCultureOrLanguage)
{
    writeFile(dir.file("de.po"), kGermanPo);
    ASSERT_TRUE(add(dir.path()));
    BRM_LANG2_setCurrentLanguage(GetParam().code);
    EXPECT_EQ(take(BRM_LANG2_getLocalString(u"pas.resourcestring.&Refresh", u"&Refresh")),
              GetParam().selects ? u"&Aktualisieren" : u"&Refresh");
}

INSTANTIATE_TEST_SUITE_P(Codes, LangLibLanguage,
                         ::testing::Values(LanguageCase{u"G", true}, LanguageCase{u"g", true},
                                           LanguageCase{u"de-de", true}, LanguageCase{u"DE-DE", true},
                                           LanguageCase{u"de_de", false}, LanguageCase{u"de", false},
                                           LanguageCase{u"-", false}, LanguageCase{u"", false},
                                           LanguageCase{u"FR", false}));

TEST_F(LangLib, LanguageChosenBeforeTheFolderIsRegisteredStillApplies)
{
    writeFile(dir.file("de.po"), kGermanPo);
    BRM_LANG2_setCurrentLanguage(u"G");
    ASSERT_TRUE(add(dir.path()));
    EXPECT_EQ(take(BRM_LANG2_getLocalString(u"pas.resourcestring.&Refresh", u"&Refresh")), u"&Aktualisieren");
}

TEST_F(LangLib, LocalStringAnswers)
{
    writeFile(dir.file("de.po"), kGermanPo);
    ASSERT_TRUE(add(dir.path()));
    BRM_LANG2_setCurrentLanguage(u"de-de");
    struct {
        const char16_t* key;
        const char16_t* def;
        const char16_t* expected;
    } cases[] = {
        {u"pas.resourcestring.&Refresh", u"&Refresh", u"&Aktualisieren"},
        {u"pas.resourcestring.Line\r\nBreak", u"x", u"Zeilen\r\numbruch"},
        {u"pas.resourcestring.Fuzzy", u"Fuzzy", u"Fuzzy"},  // fuzzy entries are not used
        {u"pas.resourcestring.Empty", u"Empty", u"Empty"},  // untranslated
        {u"pas.resourcestring.refresh", u"refresh", u"refresh"},  // keys keep their case
        {u"pas.resourcestring.Unknown", u"Unknown", u"Unknown"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(take(BRM_LANG2_getLocalString(c.key, c.def)), c.expected);

    BRM_LANG2_CHAR* none = BRM_LANG2_getLocalString(u"pas.resourcestring.", u"");
    EXPECT_EQ(none, nullptr);
    BRM_LANG2_freeWideString(none);
    BRM_LANG2_CHAR* nullArgs = BRM_LANG2_getLocalString(nullptr, nullptr);
    EXPECT_EQ(nullArgs, nullptr);
    BRM_LANG2_freeWideString(nullArgs);
}

TEST_F(LangLib, DoubleOrForeignReleaseIsCountedNotFatal)
{
    BRM_LANG2_CHAR* s = BRM_LANG2_getLocalString(u"k", u"text");
    ASSERT_NE(s, nullptr);
    BRM_LANG2_freeWideString(s);
    BRM_LANG2_freeWideString(s);
    char16_t foreign[] = u"mine";
    BRM_LANG2_freeWideString(foreign);
    BRM_LANG2_freeBrmLangFile(reinterpret_cast<BRM_LANG2_FILE>(foreign));
    auto c = counters();
    EXPECT_EQ(c.stringsOut, 1);
    EXPECT_EQ(c.stringsFreed, 1);
    EXPECT_EQ(c.badFrees, 3);
}

struct BadFileCase {
    const char* name;
    std::string content;
    const char* message;  // expected stderr line after "kv_lang2: <path>: "
};
void PrintTo(const BadFileCase& c, std::ostream* os) { *os << c.name; }

class LangLibBadFile : public LangLib, public ::testing::WithParamInterface<BadFileCase> {};

TEST_P(LangLibBadFile, IsLeftOutWithAMessage)
{
    const std::string path = dir.file("bad.po");
    writeFile(path, GetParam().content);
    writeFile(dir.file("good.po"), kGermanPo);
    testing::internal::CaptureStderr();
    EXPECT_TRUE(add(dir.path()));
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("kv_lang2: " + path + ": " + GetParam().message), std::string::npos) << err;
    EXPECT_NE(err.find("; file ignored\n"), std::string::npos) << err;
    EXPECT_EQ(BRM_LANG2_getLanguageCount(u"kvvd"), 1);  // the good file is still there
    BRM_LANG2_setCurrentLanguage(u"G");
    EXPECT_EQ(take(BRM_LANG2_getLocalString(u"pas.resourcestring.&Refresh", u"&Refresh")), u"&Aktualisieren");
}

INSTANTIATE_TEST_SUITE_P(
    Files, LangLibBadFile,
    ::testing::Values(
        BadFileCase{"SyntaxError",
                    header(field("X-App-Id", "kvvd") + field("X-Language-Id", "G")) +
                        "msgid \"pas.resourcestring.A\"\nmsgstr \"unterminated\n",
                    "line 9: end-of-line within string"},
        BadFileCase{"Garbage", "this is not a PO file at all\n", "line 1: "},
        BadFileCase{"NoHeader", "msgid \"pas.resourcestring.A\"\nmsgstr \"B\"\n", "no PO header"},
        BadFileCase{"NoAppId", header(field("X-Language-Id", "G")), "no X-App-Id in the PO header"},
        BadFileCase{"InvalidUtf8",
                    header(field("X-App-Id", "kvvd") + field("X-Language-Id", "G")) +
                        "msgid \"pas.resourcestring.A\"\nmsgstr \"caf\xe9\"\n",
                    "line 8: invalid multibyte sequence"},
        BadFileCase{"UnknownCharset",
                    header(field("X-App-Id", "kvvd") + field("X-Language-Id", "G"), "NO-SUCH-CHARSET") +
                        "msgid \"pas.resourcestring.A\"\nmsgstr \"B\"\n",
                    "unknown charset NO-SUCH-CHARSET"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(LangLib, DecodesTheDeclaredCharset)
{
    writeFile(dir.file("latin1.po"), header(field("X-App-Id", "kvvd") + field("X-Language-Id", "G") +
                                                field("X-Native-Name", "Fran\xe7" "ais"),
                                            "ISO-8859-1") +
                                         "msgid \"pas.resourcestring.Size:\"\nmsgstr \"Gr\xf6\xdf" "e:\"\n");
    ASSERT_TRUE(add(dir.path()));
    BRM_LANG2_setCurrentLanguage(u"G");
    EXPECT_EQ(take(BRM_LANG2_getLocalString(u"pas.resourcestring.Size:", u"Size:")), u"Größe:");
    BRM_LANG2_FILE f = BRM_LANG2_getLanguageFile(u"kvvd", 0);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(take(BRM_LANG2_FILE_getNativeName(f)), u"Français");
    BRM_LANG2_freeBrmLangFile(f);
}

}  // namespace
