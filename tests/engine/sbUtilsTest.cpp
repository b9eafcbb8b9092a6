#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "sbUtils.h"

namespace {

struct SizeCase {
    int64_t size;
    bool noSuffix;
    const char* text;
};
void PrintTo(const SizeCase& c, std::ostream* os) { *os << c.size << (c.noSuffix ? " bytes without unit" : " bytes"); }

class BytesToSizeTextTest : public ::testing::TestWithParam<SizeCase> {};

TEST_P(BytesToSizeTextTest, FormatsKilobytesUpTo1024AndMegabytesAbove)
{
    const SizeCase& c = GetParam();
    EXPECT_EQ(BytesToSizeText(c.noSuffix, c.size), c.text);
}

INSTANTIATE_TEST_SUITE_P(Sizes, BytesToSizeTextTest,
                         ::testing::Values(SizeCase{1023, false, "0 KB"}, SizeCase{1048576, false, "1024 KB"},
                                           SizeCase{1049600, false, "1 MB"}, SizeCase{-2048, false, "2 KB"},
                                           SizeCase{819200, false, "800 KB"},
                                           SizeCase{681574400, false, "650 MB"},
                                           SizeCase{1049600, true, "1"},
                                           SizeCase{INT64_MIN, false, "8796093022208 MB"}));

TEST(TextHelpersTest, KeyValueReplaceLeftAndCompare)
{
    EXPECT_EQ(GetKeyValue("TargetName=Disc 1", "TargetName", "="), "Disc 1");
    EXPECT_EQ(GetKeyValue("a=b", "x", "="), "");
    EXPECT_EQ(GetKeyValue("key value", "key", "="), "key value");
    // Where the key stands plays no part: the first separator counts.
    EXPECT_EQ(GetKeyValue("a=b TargetName", "TargetName", "="), "b TargetName");

    EXPECT_EQ(ReplaceAllText("a/b/c", "/", "\\"), "a\\b\\c");
    EXPECT_EQ(ReplaceAllText("aaa", "aa", "a"), "aa");
    EXPECT_EQ(ReplaceAllText("abc", "", "x"), "abc");

    EXPECT_EQ(LeftChars("hello", 2), "he");
    EXPECT_EQ(LeftChars("hello", 9), "hello");
    EXPECT_EQ(LeftChars("hello", -1), "");

    EXPECT_TRUE(AnsiTextEquals("boot.IMG", "BOOT.img"));
    EXPECT_TRUE(AnsiTextEquals("\xc3\xa4rger", "\xc3\x84RGER"));  // äRGER
    EXPECT_FALSE(AnsiTextEquals("boot.img", "boot.im"));

    EXPECT_EQ(BoolToYesNo(true, true), "Yes");
    EXPECT_EQ(BoolToYesNo(false, true), "No");
    EXPECT_EQ(BoolToYesNo(false, false), "No");
}

TEST(TextHelpersTest, CharArrayStopsAtZeroOrAfterLastIndex)
{
    char full[1024];
    std::fill(std::begin(full), std::end(full), 'x');
    EXPECT_EQ(CharArrayToStr(full, 1023).size(), 1024u);

    char empty[16] = {0, 'a', 'b'};
    EXPECT_EQ(CharArrayToStr(empty, 15), "");

    unsigned char label[256] = {'D', 'I', 'S', 'C', 0, 'z'};
    EXPECT_EQ(CharArrayToStr(label, 255), "DISC");
}

TEST(FileHelpersTest, NamesAndTemporaryFiles)
{
    EXPECT_EQ(FileNameWithoutExt("/apps/my.tool.exe"), "my.tool");
    EXPECT_EQ(FileNameWithoutExt("C:\\Apps\\kvvd2021.exe"), "kvvd2021");
    EXPECT_EQ(FileNameWithoutExt("/apps/noext"), "noext");

    QString temp = GetSystemTempPath();
    ASSERT_FALSE(temp.isEmpty());
    EXPECT_TRUE(temp.endsWith('/'));

    QString a = MakeTempFileName("kvg");
    QString b = MakeTempFileName("kvg");
    ASSERT_FALSE(a.isEmpty());
    EXPECT_NE(a, b);
    EXPECT_TRUE(a.startsWith(temp));
    // The name is reserved by an empty file.
    EXPECT_TRUE(std::filesystem::exists(a.toStdString()));
    EXPECT_EQ(std::filesystem::file_size(a.toStdString()), 0u);
    std::filesystem::remove(a.toStdString());
    std::filesystem::remove(b.toStdString());
}

}  // namespace
