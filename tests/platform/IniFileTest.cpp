#include <gtest/gtest.h>

#include "PlatformTestEnv.h"
#include "platform/IniFile.h"

using namespace platform;

namespace {

class IniFileTest : public ::testing::Test {
protected:
    kvtest::TempDir dir;
    std::string file = dir.file("settings.ini");

    void SetUp() override
    {
        kvtest::writeFile(file,
                          "\xEF\xBB\xBF" "orphan=before any section\r\n"
                          "[General]\r\n"
                          "Icons = icons48 \r\n"
                          "; comment=no\r\n"
                          "# also=no\r\n"
                          "this line is garbage\r\n"
                          "=no key\r\n"
                          "[broken section\r\n"
                          "Quoted=\"  spaced  \"\r\n"
                          "Hex=$1F\r\n"
                          "Hex2=0x10\r\n"
                          "Neg=-12\r\n"
                          "NotNumber=12a\r\n"
                          "icons=second wins not\r\n"
                          "Long=" + std::string(3000, 'v') + "\r\n"
                          "[tile]\n"
                          "Color=#FFFFFF\n"
                          "Empty=\n");
    }
};

}  // namespace

TEST_F(IniFileTest, ReadsValuesAndSkipsGarbage)
{
    struct Case {
        const char *section, *key, *def;
        std::string expected;
    };
    const Case cases[] = {
        {"general", "ICONS", "d", "icons48"},
        {"General", "Quoted", "d", "  spaced  "},
        {"Tile", "color", "d", "#FFFFFF"},
        {"Tile", "Empty", "d", ""},
        {"General", "orphan", "d", "d"},
        {"General", "comment", "d", "d"},
        {"General", "also", "d", "d"},
        {"General", "this line is garbage", "d", "d"},
        {"General", "", "d", "d"},
        {"Missing", "Icons", "dflt", "dflt"},
        {"General", "Long", "d", std::string(2047, 'v')},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GetPrivateProfileString(c.section, c.key, c.def, file), c.expected)
            << c.section << "/" << c.key;
    EXPECT_EQ(GetPrivateProfileString("General", "Icons", "d", dir.file("missing.ini")), "d");
}

TEST_F(IniFileTest, TypedReadsAndSections)
{
    TIniFile ini(file);
    EXPECT_EQ(ini.ReadInteger("General", "Hex", 0), 31);
    EXPECT_EQ(ini.ReadInteger("General", "Hex2", 0), 16);
    EXPECT_EQ(ini.ReadInteger("General", "Neg", 0), -12);
    EXPECT_EQ(ini.ReadInteger("General", "NotNumber", 5), 5);
    EXPECT_EQ(ini.ReadInteger("General", "Missing", 9), 9);
    EXPECT_TRUE(ini.ReadBool("General", "Hex", false));
    EXPECT_TRUE(ini.ReadBool("General", "Missing", true));
    EXPECT_TRUE(ini.SectionExists("TILE"));
    EXPECT_FALSE(ini.SectionExists("Filelist"));
    EXPECT_EQ(ini.ReadSection("tile"), (std::vector<std::string>{"Color", "Empty"}));
    EXPECT_EQ(ini.ReadSection("General").front(), "Icons");
    EXPECT_EQ(ini.FileName(), file);
}
