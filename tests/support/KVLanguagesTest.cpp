#include "EnvGuard.h"
#include "KVLanguages.h"
#include "LangFixture.h"

namespace {

using langtest::LangFixture;
using langtest::poFile;

std::string names(const std::string& nn, const std::string& nsn, const std::string& en, const std::string& esn)
{
    std::string s;
    auto add = [&](const char* f, const std::string& v) {
        if (!v.empty())
            s += std::string("\"") + f + ": " + v + "\\n\"\n";
    };
    add("X-Native-Name", nn);
    add("X-Native-Sub-Name", nsn);
    add("X-English-Name", en);
    add("X-English-Sub-Name", esn);
    return s;
}

class KVLanguagesTest : public LangFixture {
protected:
    void TearDown() override
    {
        KVLanguages_Finalize();
        LangFixture::TearDown();
    }
};

TEST_F(KVLanguagesTest, TableOfDisplayNames)
{
    const std::string exeDir = dir.path() + "/bin/";
    kvtest::writeFile(exeDir + "lang/a.po", poFile("G", "", {}, names("Deutsch", "Deutschland", "German", "Germany")));
    kvtest::writeFile(exeDir + "lang/b.po", poFile("", "", {}, names("Nobody", "", "", "")));
    kvtest::writeFile(exeDir + "lang/c.po", poFile("FR", "", {}, names("Français", "", "French", "France")));
    kvtest::writeFile(exeDir + "lang/d.po", poFile("PL", "", {}, names("", "", "Polish", "")));
    KVLanguages_Initialize(exeDir);
    EXPECT_EQ(LanguageBaseFolder, exeDir);
    ASSERT_EQ(LanguageCount, 3);
    const std::pair<QString, QString> expected[] = {
        {"Deutsch (Deutschland)", "G"}, {"French (France)", "FR"}, {"Polish ()", "PL"}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(LanguageTable[i + 1].name, expected[i].first) << i;
        EXPECT_EQ(LanguageTable[i + 1].short_, expected[i].second) << i;
    }
    EXPECT_TRUE(CurrentLanguageFile);  // the last file stays referenced
    KVLanguages_Finalize();
    EXPECT_FALSE(CurrentLanguageFile);
    EXPECT_EQ(langtest::counters().filesFreed, 4);
}

TEST_F(KVLanguagesTest, ParentLangFolderWhenNoneBesideTheExecutable)
{
    const std::string exeDir = dir.path() + "/bin/";
    kvtest::writeFile(exeDir + "placeholder", "");
    kvtest::writeFile(dir.path() + "/lang/de.po", poFile("G", "", {}, names("Deutsch", "Deutschland", "", "")));
    KVLanguages_Initialize(exeDir);
    EXPECT_EQ(LanguageBaseFolder, dir.path() + "/");
    EXPECT_EQ(LanguageCount, 1);
}

TEST_F(KVLanguagesTest, NoLanguagesAtAll)
{
    KVLanguages_Initialize(dir.path() + "/bin/");
    EXPECT_EQ(LanguageCount, 0);
}

TEST_F(KVLanguagesTest, ManyLanguagesStayInsideTheTable)
{
    const std::string exeDir = dir.path() + "/";
    for (int i = 0; i < 105; ++i)
        kvtest::writeFile(exeDir + "lang/l" + std::to_string(1000 + i) + ".po",
                          poFile("L" + std::to_string(i), "", {}, names("N", "S", "", "")));
    KVLanguages_Initialize(exeDir);
    EXPECT_EQ(LanguageCount, 100);
    EXPECT_EQ(LanguageTable[100].short_, "L99");
}

TEST(AnsiToWide, SystemCodePageText)
{
    langtest::LocaleEnv env("de_DE.UTF-8");
    EXPECT_EQ(AnsiToWide(""), QString());
    EXPECT_EQ(AnsiToWide("Größe"), QStringLiteral("Größe"));
}

}  // namespace
