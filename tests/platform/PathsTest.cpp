#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <optional>
#include <set>

#include "PlatformTestEnv.h"
#include "platform/Errors.h"
#include "platform/Paths.h"

using namespace platform;
namespace fs = std::filesystem;

TEST(Paths, ExecutablePathAndFolder)
{
    EXPECT_EQ(fs::path(ExecutablePath()).filename(), "platform_tests");
    EXPECT_EQ(ExecutableDir(), fs::path(ExecutablePath()).parent_path().string() + "/");
}

TEST(Paths, TempPathAlwaysEndsWithSlash)
{
    struct Case {
        std::optional<std::string> tmpdir;
        std::string expected;
    };
    const Case cases[] = {
        {std::nullopt, "/tmp/"}, {"", "/tmp/"}, {"/var/tmp", "/var/tmp/"}, {"/x/y/", "/x/y/"}};
    for (const Case& c : cases) {
        kvtest::ScopedEnv env("TMPDIR", c.tmpdir);
        EXPECT_EQ(GetTempPath(), c.expected);
    }
}

TEST(Paths, TempFileNamesAreUniqueAndCreated)
{
    kvtest::TempDir dir;
    std::set<std::string> names;
    for (int i = 0; i < 20; ++i) {
        std::string name = GetTempFileName(dir.path() + "/", "grabber");
        EXPECT_TRUE(names.insert(name).second) << name;
        EXPECT_EQ(fs::path(name).parent_path(), dir.path());
        EXPECT_EQ(fs::path(name).filename().string().substr(0, 3), "gra");
        EXPECT_EQ(fs::path(name).extension(), ".tmp");
        EXPECT_TRUE(fs::exists(name));
        EXPECT_EQ(fs::file_size(name), 0u);
    }
    // Without a folder the temporary folder is used.
    kvtest::ScopedEnv env("TMPDIR", dir.path());
    EXPECT_EQ(fs::path(GetTempFileName("", "kv")).parent_path(), dir.path());
}

TEST(Paths, TempFileInMissingFolderFails)
{
    kvtest::TempDir dir;
    std::string missing = dir.path() + "/missing/";
    try {
        GetTempFileName(missing, "x");
        ADD_FAILURE() << "no exception";
    } catch (const EOSError& e) {
        EXPECT_EQ(e.ErrorCode, ENOENT);
        EXPECT_EQ(std::string(e.what()),
                  "Cannot create a temporary file in " + missing + ": No such file or directory");
    }
}

TEST(Paths, UserAndSystemFoldersFollowTheEnvironment)
{
    kvtest::TempDir dir;
    {
        kvtest::ScopedEnv user("KORVANTA_USER_DIR", dir.path() + "/u/");
        kvtest::ScopedEnv sys("KORVANTA_SYSTEM_DIR", dir.path() + "/s");
        EXPECT_EQ(UserDir(), dir.path() + "/u");
        EXPECT_EQ(SystemDir(), dir.path() + "/s");
        EXPECT_TRUE(fs::is_directory(dir.path() + "/u"));
    }
    kvtest::ScopedEnv user("KORVANTA_USER_DIR", std::nullopt);
    kvtest::ScopedEnv config("XDG_CONFIG_HOME", dir.path() + "/cfg");
    EXPECT_EQ(UserDir(), dir.path() + "/cfg/korvanta");
}

TEST(Paths, DocumentsFolder)
{
    kvtest::TempDir dir;
    kvtest::ScopedEnv home("HOME", dir.path());
    kvtest::ScopedEnv config("XDG_CONFIG_HOME", dir.path() + "/cfg");
    kvtest::ScopedEnv docs("XDG_DOCUMENTS_DIR", std::nullopt);
    EXPECT_EQ(DocumentsDir(), dir.path() + "/Documents");
    kvtest::writeFile(dir.path() + "/cfg/user-dirs.dirs",
                      "# comment\nXDG_DESKTOP_DIR=\"$HOME/Desk\"\n"
                      "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n");
    EXPECT_EQ(DocumentsDir(), dir.path() + "/Dokumente");
    kvtest::ScopedEnv docs2("XDG_DOCUMENTS_DIR", std::string("/data/docs/"));
    EXPECT_EQ(DocumentsDir(), "/data/docs");
}
