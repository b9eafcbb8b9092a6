#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <string>

#include "ArchiveOptions.h"
#include "BMShared.h"
#include "KVBStrings.h"
#include "KVUnrar.h"
#include "MasterKey.h"
#include "SharedStartup.h"
#include "TempDirectory.h"
#include "TestDirs.h"
#include "platform/Registry.h"

namespace {

// ---------------------------------------------------------------- RAR library

class RarLibraryTest : public ::testing::Test {
protected:
    void TearDown() override { KVUnrar::Shutdown(); }
};

TEST_F(RarLibraryTest, MissingLibraryGivesFallbackRoutines)
{
    KVUnrar::Startup("libkvunrar5-absent-for-test.so");
    EXPECT_FALSE(KVUnrar::Loaded);
    EXPECT_EQ(KVUnrar::LibraryHandle, nullptr);
    const auto& e = KVUnrar::Entries;
    ASSERT_TRUE(e.A && e.B && e.C && e.D && e.E && e.F && e.G && e.H);
    EXPECT_EQ(e.A(), 15);
    EXPECT_EQ(e.B(), 15);
    EXPECT_EQ(e.C(), 0);
    EXPECT_EQ(e.D(), 12);
    EXPECT_EQ(e.E(), 12);
    EXPECT_EQ(e.F(7), 13);
    EXPECT_EQ(e.G(-1), 13);
    e.H();
}

TEST_F(RarLibraryTest, LoadedLibraryGivesItsExportsAndLeavesMissingOnesEmpty)
{
    KVUnrar::Startup(KV_FAKE_UNRAR_PATH);
    ASSERT_TRUE(KVUnrar::Loaded);
    EXPECT_NE(KVUnrar::LibraryHandle, nullptr);
    const auto& e = KVUnrar::Entries;
    ASSERT_TRUE(e.A && e.B && e.C && e.F);
    EXPECT_EQ(e.A(), 101);
    EXPECT_EQ(e.B(), 102);
    EXPECT_EQ(e.C(), 103);
    EXPECT_EQ(e.F(5), 205);
    // Missing exports get no fallback once the library is there.
    EXPECT_EQ(e.D, nullptr);
    EXPECT_EQ(e.E, nullptr);
    EXPECT_EQ(e.G, nullptr);
    EXPECT_EQ(e.H, nullptr);

    KVUnrar::Shutdown();
    EXPECT_FALSE(KVUnrar::Loaded);
    EXPECT_EQ(KVUnrar::LibraryHandle, nullptr);
    EXPECT_EQ(KVUnrar::Entries.A, nullptr) << "an entry into the released library must not stay";
}

TEST_F(RarLibraryTest, ProgramStartUpFindsNoLibraryByItsName)
{
    // None ships with the program, so the bare-name search falls back.
    KVUnrar::Startup();
    EXPECT_FALSE(KVUnrar::Loaded);
    ASSERT_TRUE(KVUnrar::Entries.A);
    EXPECT_EQ(KVUnrar::Entries.A(), 15);
}

// ----------------------------------------------------------------- master key

// RSA public keys in the four forms, made once with the openssl command.
struct KeyFiles {
    std::string dir;
    bool made = false;
};

KeyFiles& keyFiles()
{
    static kvtest::TempDir tmp;
    static KeyFiles files = [] {
        KeyFiles f{tmp.path(), false};
        const std::string d = tmp.path();
        const std::string cmd =
            "openssl genrsa -out '" + d + "/priv.pem' 1024 2>/dev/null"
            " && openssl rsa -in '" + d + "/priv.pem' -pubout -outform DER -out '" + d + "/spki.der' 2>/dev/null"
            " && openssl rsa -in '" + d + "/priv.pem' -pubout -outform PEM -out '" + d + "/spki.pem' 2>/dev/null"
            " && openssl rsa -in '" + d + "/priv.pem' -RSAPublicKey_out -outform DER -out '" + d + "/pkcs1.der' 2>/dev/null"
            " && openssl rsa -in '" + d + "/priv.pem' -RSAPublicKey_out -outform PEM -out '" + d + "/pkcs1.pem' 2>/dev/null";
        f.made = std::system(cmd.c_str()) == 0;
        return f;
    }();
    return files;
}

enum class KeyFile { None, Empty, Garbage, SpkiDer, SpkiPem, Pkcs1Der, Pkcs1Pem, PrivatePem };

struct MasterKeyCase {
    const char* name;
    KeyFile file;
    bool generalKey;   // HKLM "Software\KorvantaInt\General" exists
    bool useMaster;
    bool useForensic;
    bool expectMaster;
    bool expectForensic;
    friend void PrintTo(const MasterKeyCase& c, std::ostream* os) { *os << c.name; }
};

class MasterKeyTest : public ::testing::TestWithParam<MasterKeyCase> {
protected:
    void SetUp() override
    {
        MasterKey::Shutdown();
        platform::TRegistry reg;
        reg.RootKey = platform::HKEY_LOCAL_MACHINE;
        reg.DeleteKey("Software\\KorvantaInt");
    }
    void TearDown() override { MasterKey::Shutdown(); }

    kvtest::TempDir exeDir;
};

TEST_P(MasterKeyTest, LoadsOnlyWhenFileAndSwitchAreThere)
{
    const MasterKeyCase& c = GetParam();
    const std::string target = exeDir.path() + "/zipnew1.dat";
    auto copyKey = [&](const char* name) {
        if (!keyFiles().made)
            GTEST_SKIP() << "the openssl command could not make a test key";
        std::filesystem::copy_file(keyFiles().dir + "/" + name, target);
    };
    switch (c.file) {
    case KeyFile::None: break;
    case KeyFile::Empty: kvtest::writeFile(target, ""); break;
    case KeyFile::Garbage: kvtest::writeFile(target, "not a key at all\n"); break;
    case KeyFile::SpkiDer: copyKey("spki.der"); break;
    case KeyFile::SpkiPem: copyKey("spki.pem"); break;
    case KeyFile::Pkcs1Der: copyKey("pkcs1.der"); break;
    case KeyFile::Pkcs1Pem: copyKey("pkcs1.pem"); break;
    case KeyFile::PrivatePem: copyKey("priv.pem"); break;
    }
    if (IsSkipped())
        return;
    if (c.generalKey) {
        platform::TRegistry reg;
        reg.RootKey = platform::HKEY_LOCAL_MACHINE;
        ASSERT_TRUE(reg.OpenKey("Software\\KorvantaInt\\General", true));
        reg.WriteString("Language", "G");
        if (c.useMaster)
            reg.WriteInteger("UseMaster", 0);  // any type and content counts
        if (c.useForensic)
            reg.WriteString("UseForensic", "");
    }

    MasterKey::Startup(exeDir.path() + "/");

    EXPECT_EQ(MasterKey::MasterKeyAvailable, c.expectMaster);
    EXPECT_EQ(MasterKey::ForensicMode, c.expectForensic);
    EXPECT_EQ(MasterKey::KeyMaterial != nullptr, c.expectMaster);
    EXPECT_EQ(MasterKey::KeyEncryption != nullptr, c.expectMaster);
    if (c.expectMaster) {
        EXPECT_EQ(MasterKey::KeyMaterial->Bits(), 1024);
        EXPECT_EQ(MasterKey::KeyMaterial->KeyFormat, MasterKey::kfX509);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MasterKeyTest,
    ::testing::Values(
        // Without the file the registry is not consulted at all.
        MasterKeyCase{"NoFileIgnoresRegistry", KeyFile::None, true, true, true, false, false},
        MasterKeyCase{"FileWithoutRegistryKey", KeyFile::SpkiDer, false, false, false, false, false},
        MasterKeyCase{"FileWithKeyButNoSwitch", KeyFile::SpkiDer, true, false, false, false, false},
        MasterKeyCase{"ForensicAlone", KeyFile::SpkiDer, true, false, true, false, true},
        MasterKeyCase{"EmptyFile", KeyFile::Empty, true, true, false, false, false},
        MasterKeyCase{"EmptyFileKeepsForensic", KeyFile::Empty, true, true, true, false, true},
        MasterKeyCase{"GarbageFile", KeyFile::Garbage, true, true, false, false, false},
        MasterKeyCase{"PrivateKeyIsNoPublicKey", KeyFile::PrivatePem, true, true, false, false, false},
        MasterKeyCase{"SubjectPublicKeyInfoDer", KeyFile::SpkiDer, true, true, false, true, false},
        MasterKeyCase{"SubjectPublicKeyInfoPem", KeyFile::SpkiPem, true, true, true, true, true},
        MasterKeyCase{"Pkcs1Der", KeyFile::Pkcs1Der, true, true, false, true, false},
        MasterKeyCase{"Pkcs1Pem", KeyFile::Pkcs1Pem, true, true, false, true, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MasterKeyShutdown, ReleasesKeyAndClearsFlags)
{
    if (!keyFiles().made)
        GTEST_SKIP() << "the openssl command could not make a test key";
    kvtest::TempDir exeDir;
    std::filesystem::copy_file(keyFiles().dir + "/spki.pem", exeDir.path() + "/zipnew1.dat");
    platform::TRegistry reg;
    reg.RootKey = platform::HKEY_LOCAL_MACHINE;
    ASSERT_TRUE(reg.OpenKey("Software\\KorvantaInt\\General", true));
    reg.WriteString("UseMaster", "1");
    reg.WriteString("UseForensic", "1");

    MasterKey::Startup(exeDir.path() + "/");
    ASSERT_TRUE(MasterKey::MasterKeyAvailable);
    MasterKey::Shutdown();
    EXPECT_FALSE(MasterKey::MasterKeyAvailable);
    EXPECT_FALSE(MasterKey::ForensicMode);
    EXPECT_EQ(MasterKey::KeyMaterial, nullptr);
    EXPECT_EQ(MasterKey::KeyEncryption, nullptr);
    reg.DeleteKey("\\Software\\KorvantaInt");
}

// ------------------------------------------------------- temporary directory

TEST(GetTempDirectoryTest, FollowsTmpdirWithTrailingSlashAndConvertsText)
{
    kvtest::TempDir base;
    const std::string dir = base.path() + "/t\xc3\xa4mp";  // "tämp" in UTF-8
    std::filesystem::create_directories(dir);
    const char* old = std::getenv("TMPDIR");
    const std::string saved = old ? old : "";
    setenv("TMPDIR", dir.c_str(), 1);
    const QString got = GetTempDirectory();
    if (old)
        setenv("TMPDIR", saved.c_str(), 1);
    else
        unsetenv("TMPDIR");
    EXPECT_EQ(got, QString::fromUtf8(dir.c_str()) + "/");
}

// ------------------------------------------------ the start-up/shut-down pair

TEST(SuiteSharedStartupTest, SetsSharedGlobalsAndShutsDownInReverse)
{
    kvtest::TempDir exeDir;
    LanguageSetting.clear();
    SuiteSharedStartup(exeDir.path() + "/");

    EXPECT_EQ(LanguageSetting, QStringLiteral("Int"));
    for (int i = 1; i <= 100; ++i)
        ASSERT_EQ(BMShared::SharedTable[i], -1) << "entry " << i;
    EXPECT_FALSE(BMShared::IsWin9x);
    EXPECT_EQ(BMShared::OSVersionInfo.dwOSVersionInfoSize, 276u);
    EXPECT_GT(BMShared::OSVersionInfo.dwMajorVersion, 5u);
    EXPECT_EQ(TempDirectory::DefaultStyleFile, QStringLiteral("Blue/Blue.vsf"));
    EXPECT_EQ(ArchiveOptions::SelectedProfile, -1);
    for (const QString& list : ArchiveOptions::ExtensionLists) {
        ASSERT_GE(list.size(), 3);
        EXPECT_TRUE(list.startsWith(' ') && list.endsWith(' ')) << list.toStdString();
        EXPECT_FALSE(list.contains(QStringLiteral("  "))) << list.toStdString();
    }
    EXPECT_FALSE(KVUnrar::Loaded);
    ASSERT_TRUE(KVUnrar::Entries.C);
    EXPECT_EQ(KVUnrar::Entries.C(), 0);
    EXPECT_FALSE(MasterKey::MasterKeyAvailable);

    SuiteSharedShutdown();
    EXPECT_TRUE(TempDirectory::DefaultStyleFile.isEmpty());
    EXPECT_TRUE(ArchiveOptions::ExtensionLists[ArchiveOptions::elAudio].isEmpty());
    EXPECT_FALSE(KVUnrar::Loaded);
}

}  // namespace
