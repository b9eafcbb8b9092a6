#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <set>
#include <thread>

#include <platform/Errors.h>
#include <platform/Registry.h>

#include "CasePrint.h"
#include "EngineTestSupport.h"
#include "sbLogger.h"

namespace {

// Writes (or removes, for nullptr) the "LogEnabled" string in HKLM.
void SetLogEnabled(const char* value)
{
    platform::TRegistry reg(platform::KEY_ALL_ACCESS);
    reg.RootKey = platform::HKEY_LOCAL_MACHINE;
    ASSERT_TRUE(reg.OpenKey(sbRegistrySettingsKey, true));
    if (value)
        reg.WriteString("LogEnabled", value);
    else
        reg.DeleteValue("LogEnabled");
}

TEST(FailureMessageTest, EveryVariantHasItsExactText)
{
    char text[1024] = "Cannot open image /x.iso: No such file or directory";
    struct Case {
        std::string actual;
        std::string expected;
    } cases[] = {
        {sbFailureMessage("Burnkit_Grabber_Create", 17, 2, text),
         "Burnkit_Grabber_Create() failed, exception 17, status 2, text \"Cannot open image /x.iso: No such file "
         "or directory\""},
        {sbFailureMessageN("Burnkit_Grabber_Release", 3, 0, text),
         "Burnkit_Grabber_Release() failed, exception 3, status 0, text \"Cannot open image /x.iso: No such file "
         "or directory\"\\n"},
        {sbVPortFailureMessage("Burnkit_VPort_GetVersion", 19, 38),
         "Burnkit_VPort_GetVersion() failed, exception 19, status 38\"\\n"},
        {sbShortFailureMessage("Burnkit_Wave_UncompressedFileCompress", 22),
         "Burnkit_Wave_UncompressedFileCompress() failed, exception 22"},
        // Both numbers are written signed.
        {sbFailureMessage("F", 0xFFFFFFFFu, 0xFFFFFFFEu, ""), "F() failed, exception -1, status -2, text \"\""},
    };
    for (const Case& c : cases) EXPECT_EQ(c.actual, c.expected);
}

TEST(FailureMessageTest, ErrorTextWithoutZeroIsCutAtBufferEnd)
{
    char text[1024];
    std::fill(std::begin(text), std::end(text), 'e');
    std::string msg = sbFailureMessage("F", 1, 0, text);
    EXPECT_EQ(msg, "F() failed, exception 1, status 0, text \"" + std::string(1024, 'e') + "\"");
}

TEST(FailureMessageTest, RaiseLogsThenThrowsTheMessage)
{
    enginetest::TraceCapture trace;
    try {
        sbRaise("X() failed, exception 1, status 0, text \"t\"");
        FAIL() << "sbRaise returned";
    } catch (const platform::EOSError& e) {
        EXPECT_STREQ(e.what(), "X() failed, exception 1, status 0, text \"t\"");
    }
    EXPECT_EQ(trace.Messages(), std::vector<std::string>{"X() failed, exception 1, status 0, text \"t\""});
}

TEST(TraceLineTest, TimeIsTwoDigitFieldsWithMillisecondsThenColonBlank)
{
    EXPECT_EQ(TsbLogger::FormatLine(9, 5, 3, 7, "hello"), "09:05:03.007: hello");
    EXPECT_EQ(TsbLogger::FormatLine(23, 59, 59, 999, ""), "23:59:59.999: ");
}

TEST(TraceLineTest, FileIsNamedAfterExecutableWithoutLastExtension)
{
    EXPECT_EQ(TsbLogger::LogFileNameFor("/apps/my.tool.exe"), "/apps/my.tool.log");
    EXPECT_EQ(TsbLogger::LogFileNameFor("/opt/kv/kvvd2021.exe"), "/opt/kv/kvvd2021.log");
}

TEST(TraceLineTest, LinesAreAppendedWithCrLf)
{
    enginetest::TraceCapture trace;
    sbLogger->Log("first");
    sbLogger->Log("second");
    std::string bytes = kvtest::readFile(trace.FileName());
    std::regex shape(R"(\d\d:\d\d:\d\d\.\d\d\d: first\r\n\d\d:\d\d:\d\d\.\d\d\d: second\r\n)");
    EXPECT_TRUE(std::regex_match(bytes, shape)) << bytes;
}

TEST(TraceLineTest, TwoThreadsNeverInterleaveLines)
{
    enginetest::TraceCapture trace;
    constexpr int kLines = 500;
    auto writer = [](char tag) {
        for (int i = 0; i < kLines; ++i) sbLogger->Log(std::string(200, tag) + std::to_string(i));
    };
    std::thread a(writer, 'a'), b(writer, 'b');
    a.join();
    b.join();
    std::vector<std::string> messages = trace.Messages();
    ASSERT_EQ(messages.size(), size_t(2 * kLines));
    std::set<std::string> seen;
    std::regex shape(R"((a{200}|b{200})\d+)");
    for (const std::string& m : messages) {
        EXPECT_TRUE(std::regex_match(m, shape)) << m;
        seen.insert(m);
    }
    EXPECT_EQ(seen.size(), size_t(2 * kLines));
}

TEST(TraceLineTest, UnwritableFileRaisesIoError)
{
    kvtest::TempDir dir;
    EXPECT_THROW(AppendLineToFile(dir.file("missing/folder/x.log"), "line"), platform::EOSError);
}

struct SwitchCase {
    const char* value;  // nullptr: no value
    bool enabled;
};
void PrintTo(const SwitchCase& c, std::ostream* os) { *os << (c.value ? kvtest::Quoted(c.value) : std::string("no value")); }

class LoggerSwitchTest : public ::testing::TestWithParam<SwitchCase> {
protected:
    void TearDown() override { SetLogEnabled(nullptr); }
};

TEST_P(LoggerSwitchTest, RegistryValueSwitchesTheTrace)
{
    SetLogEnabled(GetParam().value);
    TsbLogger logger;
    EXPECT_EQ(logger.Enabled(), GetParam().enabled);
}

INSTANTIATE_TEST_SUITE_P(Values, LoggerSwitchTest,
                         ::testing::Values(SwitchCase{nullptr, false}, SwitchCase{"0", false},
                                           SwitchCase{"2", true}, SwitchCase{"1", true},
                                           SwitchCase{"abc", false}, SwitchCase{"", false},
                                           SwitchCase{"-1", true}));

TEST(LoggerTest, OffByDefaultWritesNoFile)
{
    TsbLogger logger;
    ASSERT_FALSE(logger.Enabled());
    logger.Log("nothing");
    EXPECT_FALSE(std::filesystem::exists(logger.LogFileName()));
    EXPECT_EQ(logger.LogFileName(), TsbLogger::LogFileNameFor(std::filesystem::read_symlink("/proc/self/exe")));
}

TEST(LoggerTest, LogLevelIsReadAndNonStringSwitchFailsConstruction)
{
    platform::TRegistry reg(platform::KEY_ALL_ACCESS);
    reg.RootKey = platform::HKEY_LOCAL_MACHINE;
    ASSERT_TRUE(reg.OpenKey(sbRegistrySettingsKey, true));
    reg.WriteString("LogLevel", "7");
    EXPECT_EQ(TsbLogger().Level(), 7);
    reg.WriteInteger("LogEnabled", 1);
    EXPECT_THROW(TsbLogger(), platform::ERegistryException);
    reg.DeleteValue("LogEnabled");
    reg.DeleteValue("LogLevel");
}

}  // namespace
