#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>

#include "PlatformTestEnv.h"
#include "platform/Errors.h"
#include "platform/Paths.h"
#include "platform/Registry.h"

using namespace platform;
namespace fs = std::filesystem;

namespace {

class RegistryTest : public ::testing::Test {
protected:
    kvtest::FreshFolders folders;
    kvtest::ScopedEnv docs{"XDG_DOCUMENTS_DIR", folders.user.path() + "/Docs"};

    std::string hkcuFile() const { return folders.user.path() + "/HKEY_CURRENT_USER.reg"; }
    std::string hklmFile() const { return folders.system.path() + "/HKEY_LOCAL_MACHINE.reg"; }
};

// Runs body in a child process and answers its exit status (0 = passed).
int inChild(const std::function<int()>& body)
{
    pid_t pid = fork();
    if (pid == 0) {
        int rc = 1;
        try {
            rc = body();
        } catch (...) {
            rc = 99;
        }
        _exit(rc);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128;
}

}  // namespace

TEST_F(RegistryTest, TypedValuesRoundTripThroughTheHiveText)
{
    struct Case {
        const char* name;
        std::function<void(TRegistry&)> write;
        std::string line;  // as it stands in the hive file
        TRegDataType type;
        int size;
    };
    const unsigned char bin[] = {0x01, 0x02, 0xff};
    const Case cases[] = {
        {"Text", [](TRegistry& r) { r.WriteString("Text", "C:\\x \"quoted\""); },
         "\"Text\"=\"C:\\\\x \\\"quoted\\\"\"", TRegDataType::rdString, 28},
        {"", [](TRegistry& r) { r.WriteString("", "default"); }, "@=\"default\"",
         TRegDataType::rdString, 16},
        {"N", [](TRegistry& r) { r.WriteInteger("N", 10); }, "\"N\"=dword:0000000a",
         TRegDataType::rdInteger, 4},
        {"Neg", [](TRegistry& r) { r.WriteInteger("Neg", -2); }, "\"Neg\"=dword:fffffffe",
         TRegDataType::rdInteger, 4},
        {"B", [&](TRegistry& r) { r.WriteBinaryData("B", bin, 3); }, "\"B\"=hex:01,02,ff",
         TRegDataType::rdBinary, 3},
        {"E", [](TRegistry& r) { r.WriteExpandString("E", "%T%"); },
         "\"E\"=hex(2):25,00,54,00,25,00,00,00", TRegDataType::rdExpandString, 8},
        {"Flag", [](TRegistry& r) { r.WriteBool("Flag", true); }, "\"Flag\"=dword:00000001",
         TRegDataType::rdInteger, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        TRegistry w;
        ASSERT_TRUE(w.OpenKey("Software\\KorvantaInt\\General", true));
        c.write(w);
        EXPECT_NE(kvtest::readFile(hkcuFile()).find("\n" + c.line + "\n"), std::string::npos)
            << kvtest::readFile(hkcuFile());
        TRegistry r(KEY_READ);
        ASSERT_TRUE(r.OpenKeyReadOnly("\\SOFTWARE\\korvantaint\\GENERAL"));
        EXPECT_EQ(r.GetDataType(c.name), c.type);
        EXPECT_EQ(r.GetDataSize(c.name), c.size);
    }
    TRegistry r(KEY_READ);
    ASSERT_TRUE(r.OpenKeyReadOnly("Software\\KorvantaInt\\General"));
    EXPECT_EQ(r.ReadString("text"), "C:\\x \"quoted\"");
    EXPECT_EQ(r.ReadString(""), "default");
    EXPECT_EQ(r.ReadInteger("N"), 10);
    EXPECT_EQ(r.ReadInteger("Neg"), -2);
    EXPECT_EQ(r.ReadString("E"), "%T%");
    EXPECT_TRUE(r.ReadBool("Flag"));
    unsigned char out[8] = {};
    EXPECT_EQ(r.ReadBinaryData("B", out, 2), 2);  // cut to the buffer
    EXPECT_EQ(out[1], 0x02);
    EXPECT_EQ(out[2], 0x00);
}

TEST_F(RegistryTest, TypedReadsOfAnotherTypeFail)
{
    TRegistry w;
    ASSERT_TRUE(w.OpenKey("Software\\KorvantaInt\\General", true));
    w.WriteString("Text", "5");
    w.WriteInteger("Number", 5);
    const unsigned char b[] = {1};
    w.WriteBinaryData("Bytes", b, 1);

    struct Case {
        const char* what;
        std::function<void()> read;
        std::string message;  // "" when the read must succeed
    };
    unsigned char buf[4];
    const Case cases[] = {
        {"integer of text", [&] { w.ReadInteger("Text"); }, "Invalid data type for 'Text'"},
        {"integer missing", [&] { w.ReadInteger("Nope"); }, "Invalid data type for 'Nope'"},
        {"bool of binary", [&] { w.ReadBool("Bytes"); }, "Invalid data type for 'Bytes'"},
        {"text of integer", [&] { w.ReadString("Number"); }, "Invalid data type for 'Number'"},
        {"text of binary", [&] { w.ReadString("Bytes"); }, "Invalid data type for 'Bytes'"},
        {"binary of text", [&] { w.ReadBinaryData("Text", buf, 4); },
         "Invalid data type for 'Text'"},
        {"binary missing", [&] { w.ReadBinaryData("Nope", buf, 4); },
         "Invalid data type for 'Nope'"},
        {"text missing", [&] { EXPECT_EQ(w.ReadString("Nope"), ""); }, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.message.empty()) {
            EXPECT_NO_THROW(c.read());
            continue;
        }
        try {
            c.read();
            ADD_FAILURE() << "no exception";
        } catch (const ERegistryException& e) {
            EXPECT_EQ(std::string(e.what()), c.message);
        }
    }
}

TEST_F(RegistryTest, KeysOpenCreateExistAndDelete)
{
    TRegistry reg;
    EXPECT_FALSE(reg.OpenKey("Software\\KorvantaInt\\Files", false));
    EXPECT_EQ(reg.CurrentPath(), "");
    ASSERT_TRUE(reg.OpenKey("Software\\KorvantaInt", true));
    // Relative to the current key, then absolute.
    ASSERT_TRUE(reg.OpenKey("Files", true));
    EXPECT_EQ(reg.CurrentPath(), "Software\\KorvantaInt\\Files");
    reg.WriteString("LastAddFolder", "/x");
    EXPECT_TRUE(reg.KeyExists("\\software\\KORVANTAINT\\files"));
    EXPECT_TRUE(reg.ValueExists("lastaddfolder"));
    ASSERT_TRUE(reg.OpenKey("\\Software\\KorvantaInt\\General", true));
    reg.WriteString("A", "1");
    reg.WriteString("B", "2");
    EXPECT_EQ(reg.GetValueNames(), (std::vector<std::string>{"A", "B"}));
    EXPECT_TRUE(reg.DeleteValue("a"));
    EXPECT_FALSE(reg.DeleteValue("a"));
    EXPECT_EQ(reg.GetValueNames(), (std::vector<std::string>{"B"}));

    ASSERT_TRUE(reg.OpenKey("\\Software\\KorvantaInt", false));
    EXPECT_EQ(reg.GetKeyNames(), (std::vector<std::string>{"Files", "General"}));
    reg.CloseKey();
    EXPECT_TRUE(reg.DeleteKey("Software\\KorvantaInt"));
    EXPECT_FALSE(reg.DeleteKey("Software\\KorvantaInt"));
    EXPECT_FALSE(reg.KeyExists("Software\\KorvantaInt\\Files"));
    EXPECT_TRUE(reg.KeyExists("Software"));
    EXPECT_THROW(reg.WriteString("X", "y"), ERegistryException);  // no key open

    // The same calls on the machine hive land in the system folder.
    TRegistry machine;
    machine.RootKey = HKEY_LOCAL_MACHINE;
    ASSERT_TRUE(machine.OpenKey("Software\\KorvantaInt\\General", true));
    machine.WriteString("Language", "de");
    EXPECT_NE(kvtest::readFile(hklmFile()).find("[HKEY_LOCAL_MACHINE\\Software\\KorvantaInt\\General]"),
              std::string::npos);
    EXPECT_FALSE(TRegistry().KeyExists("Software\\KorvantaInt\\General"));
}

TEST_F(RegistryTest, ReadOnlyObjectRefusesChanges)
{
    TRegistry w;
    ASSERT_TRUE(w.OpenKey("Software\\KorvantaInt\\General", true));
    w.WriteString("Language", "en");
    TRegistry r(KEY_READ);
    EXPECT_FALSE(r.OpenKey("Software\\KorvantaInt\\New", true));
    EXPECT_FALSE(r.KeyExists("Software\\KorvantaInt\\New"));
    ASSERT_TRUE(r.OpenKey("Software\\KorvantaInt\\General", false));
    try {
        r.WriteString("Language", "de");
        ADD_FAILURE() << "write allowed";
    } catch (const ERegistryException& e) {
        EXPECT_EQ(std::string(e.what()), "Failed to set data for 'Language': Access denied");
    }
    EXPECT_FALSE(r.DeleteValue("Language"));
    EXPECT_EQ(r.ReadString("Language"), "en");
}

TEST_F(RegistryTest, NewUserHiveIsSeededWithTheDocumentsFolder)
{
    TRegistry r(KEY_READ);
    ASSERT_TRUE(r.OpenKey("\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                          false));
    EXPECT_EQ(r.ReadString("Personal"), folders.user.path() + "/Docs");
    EXPECT_TRUE(fs::exists(hkcuFile()));
    // The machine hive gets no seed and is not made by a read.
    TRegistry m(KEY_READ);
    m.RootKey = HKEY_LOCAL_MACHINE;
    EXPECT_FALSE(m.KeyExists("Software"));
    EXPECT_FALSE(fs::exists(hklmFile()));
}

TEST_F(RegistryTest, HandWrittenHiveIsRead)
{
    kvtest::writeFile(hkcuFile(),
                      "\xEF\xBB\xBFREGEDIT4\r\n"
                      "; a comment\r\n"
                      "\r\n"
                      "[HKEY_CURRENT_USER\\Software\\KorvantaInt\\General]\r\n"
                      "\"DSkin19\"=\"SKINS/Light Solitude/\"\r\n"
                      "@=\"def\"\r\n"
                      "\"Long\"=hex:01,02,\\\r\n"
                      "  03,04\r\n"
                      "\"Path\"=hex(2):41,00,3a,00,00,00\r\n"
                      "\"Multi\"=hex(7):41,00,00,00,00,00\r\n"
                      "\"DSkin19\"=\"later wins\"\r\n");
    TRegistry r(KEY_READ);
    ASSERT_TRUE(r.OpenKey("Software\\KorvantaInt\\General", false));
    EXPECT_TRUE(r.KeyExists("\\Software\\KorvantaInt"));
    EXPECT_EQ(r.ReadString("dskin19"), "later wins");
    EXPECT_EQ(r.ReadString(""), "def");
    EXPECT_EQ(r.ReadString("Path"), "A:");
    EXPECT_EQ(r.GetDataType("Multi"), TRegDataType::rdUnknown);
    unsigned char buf[8] = {};
    EXPECT_EQ(r.ReadBinaryData("Long", buf, 8), 4);
    EXPECT_EQ(buf[3], 4);

    // A write keeps values of types this layer does not read.
    TRegistry w;
    ASSERT_TRUE(w.OpenKey("Software\\KorvantaInt\\General", false));
    w.WriteString("New", "v");
    EXPECT_NE(kvtest::readFile(hkcuFile()).find("\"Multi\"=hex(7):41,00,00,00,00,00\n"),
              std::string::npos);
}

TEST_F(RegistryTest, MalformedHiveIsReportedAndNeverOverwritten)
{
    struct Case {
        std::string text;
        std::string reason;  // expected message after "<file>, "
    };
    const Case cases[] = {
        {"not a hive\n", "line 1: REGEDIT4 header expected"},
        {"REGEDIT4\n\"A\"=\"x\"\n", "line 2: value before the first key"},
        {"REGEDIT4\n[HKEY_CURRENT_USER\\S]\n\"A\"=\"open\n", "line 3: unterminated quoted text"},
        {"REGEDIT4\n[HKEY_CURRENT_USER\\S]\n\"A\"=dword:xyz\n", "line 3: bad dword value"},
        {"REGEDIT4\n[HKEY_CURRENT_USER\\S]\n\"A\"=hex:0g\n", "line 3: bad hexadecimal byte"},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\S]\n", "line 2: key outside HKEY_CURRENT_USER"},
        {"REGEDIT4\n[HKEY_CURRENT_USER\\S\n", "line 2: ']' expected"},
        {"REGEDIT4\n[HKEY_CURRENT_USER\\S]\ngarbage\n", "line 3: key or value expected"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        kvtest::writeFile(hkcuFile(), c.text);
        const std::string expected =
            "Cannot parse registry hive " + hkcuFile() + ", " + c.reason;
        TRegistry reg;
        try {
            reg.OpenKey("S", true);
            ADD_FAILURE() << "no exception";
        } catch (const ERegistryException& e) {
            EXPECT_EQ(std::string(e.what()), expected);
        }
        reg.CloseKey();
        EXPECT_THROW(reg.CreateKey("Other"), ERegistryException);
        EXPECT_EQ(kvtest::readFile(hkcuFile()), c.text);
    }
}

TEST_F(RegistryTest, UnreadableHiveIsReported)
{
    fs::create_directories(hkcuFile());  // a folder where the file should be
    TRegistry reg;
    try {
        reg.OpenKey("Software", false);
        ADD_FAILURE() << "no exception";
    } catch (const ERegistryException& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Cannot read registry hive " + hkcuFile() + ": Is a directory");
    }
    EXPECT_TRUE(fs::is_directory(hkcuFile()));
}

// A system hive the process may not write refuses writes as access denied
// and keeps its contents. As root the check runs in a child that drops to
// an unprivileged user.
TEST_F(RegistryTest, SystemHiveThatMayNotBeWrittenRefusesAccess)
{
    kvtest::TempDir base;
    std::string sysDir = base.path() + "/system";
    fs::create_directories(sysDir);
    const std::string hive = sysDir + "/HKEY_LOCAL_MACHINE.reg";
    const std::string text = "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\KorvantaInt\\General]\n"
                             "\"Language\"=\"en\"\n";
    kvtest::writeFile(hive, text);
    chmod(base.path().c_str(), 0755);
    chmod(hive.c_str(), 0644);
    chmod(sysDir.c_str(), 0555);
    kvtest::ScopedEnv env("KORVANTA_SYSTEM_DIR", sysDir);

    int rc = inChild([&] {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
            return 10;
        TRegistry reg;
        reg.RootKey = HKEY_LOCAL_MACHINE;
        if (!reg.OpenKey("Software\\KorvantaInt\\General", true))
            return 11;
        if (reg.ReadString("Language") != "en")
            return 12;
        if (reg.OpenKey("\\Software\\KorvantaInt\\Other", true))
            return 13;  // creation must fail
        try {
            reg.WriteString("Language", "de");
            return 14;
        } catch (const ERegistryException& e) {
            std::string m = e.what();
            if (m.rfind("Failed to set data for 'Language': Access denied: cannot write registry "
                        "hive " + hive,
                        0) != 0)
                return 15;
        }
        return 0;
    });
    chmod(sysDir.c_str(), 0755);
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(kvtest::readFile(hive), text);
}

// Several processes writing into one hive at once: every value survives.
TEST_F(RegistryTest, ConcurrentWritersKeepEachOthersValues)
{
    constexpr int kChildren = 6;
    constexpr int kValues = 40;
    std::vector<pid_t> pids;
    for (int c = 0; c < kChildren; ++c) {
        pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            int rc = 0;
            try {
                TRegistry reg;
                std::string key = "Software\\KorvantaInt\\Child" + std::to_string(c % 2);
                if (!reg.OpenKey(key, true))
                    _exit(2);
                for (int v = 0; v < kValues; ++v)
                    reg.WriteInteger("V" + std::to_string(c) + "_" + std::to_string(v), c * 1000 + v);
            } catch (...) {
                rc = 3;
            }
            _exit(rc);
        }
        pids.push_back(pid);
    }
    for (pid_t pid : pids) {
        int status = 0;
        waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    }
    TRegistry reg(KEY_READ);
    int found = 0;
    for (int c = 0; c < kChildren; ++c) {
        ASSERT_TRUE(reg.OpenKey("\\Software\\KorvantaInt\\Child" + std::to_string(c % 2), false));
        for (int v = 0; v < kValues; ++v) {
            std::string name = "V" + std::to_string(c) + "_" + std::to_string(v);
            if (reg.ValueExists(name) && reg.ReadInteger(name) == c * 1000 + v)
                ++found;
        }
    }
    EXPECT_EQ(found, kChildren * kValues);
    // No temporary file is left beside the hive.
    for (auto& e : fs::directory_iterator(folders.user.path()))
        EXPECT_TRUE(e.path().filename() == "HKEY_CURRENT_USER.reg" ||
                    e.path().filename() == "HKEY_CURRENT_USER.reg.lock")
            << e.path();
}
