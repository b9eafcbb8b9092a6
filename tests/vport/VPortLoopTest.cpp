// The driver on real loop devices (root only): drvinst.exe installs it,
// devices appear in losetup read-only over the right files, list with
// names, letters and labels, survive a lost loop device when persistent,
// and leave nothing behind. The C client (vport_client.c, burnkit.h only)
// walks the same road. Every loop device and mount a test made is undone
// in its fixture, also when the test fails.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <thread>
#include <vector>

#include "Drives.h"
#include "TestDirs.h"
#include "VPortDriver.h"
#include "VPortHost.h"
#include "burnkit.h"
#include "platform/DosDevices.h"
#include "platform/Paths.h"
#include "platform/Process.h"

extern char** environ;

namespace {

struct RunResult {
    int exitCode = -1;
    std::string out, err;
};

// Runs a program with an argument vector; captures its output.
RunResult RunProgram(const std::string& program, const std::vector<std::string>& args)
{
    kvtest::TempDir capture;
    std::vector<std::string> all{program};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& a : all)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, capture.file("out").c_str(), O_WRONLY | O_CREAT, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, capture.file("err").c_str(), O_WRONLY | O_CREAT, 0644);
    pid_t pid = -1;
    RunResult r;
    if (posix_spawnp(&pid, program.c_str(), &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        waitpid(pid, &status, 0);
        r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    r.out = kvtest::readFile(capture.file("out"));
    r.err = kvtest::readFile(capture.file("err"));
    return r;
}

// The runtime folder: from the test environment, else beside this test's
// folder in the build tree (build/tests/bin -> build/bin).
std::string RuntimeDir()
{
    std::string dir = kvtest::runtimeDir();
    return dir.empty() ? platform::ExecutableDir() + "../../bin" : dir;
}

// drvinst.exe with a parameter string as the program hands it over.
RunResult Drvinst(const std::string& parameters)
{
    return RunProgram(RuntimeDir() + "/drvinst.exe", platform::SplitCommandLine(parameters));
}

std::string InfPath() { return RuntimeDir() + "/vportlite.inf"; }

// One row of losetup: device node -> (read-only flag, backing file).
std::map<std::string, std::pair<std::string, std::string>> Losetup()
{
    std::map<std::string, std::pair<std::string, std::string>> rows;
    RunResult r = RunProgram("losetup", {"--list", "--noheadings", "--raw", "--output", "NAME,RO,BACK-FILE"});
    std::istringstream in(r.out);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string name, ro, file;
        fields >> name >> ro;
        std::getline(fields >> std::ws, file);
        // --raw writes blanks and other bytes as \xNN.
        std::string plain;
        for (size_t i = 0; i < file.size(); ++i) {
            if (file[i] == '\\' && i + 3 < file.size() && file[i + 1] == 'x') {
                plain += static_cast<char>(std::stoi(file.substr(i + 2, 2), nullptr, 16));
                i += 3;
            } else {
                plain += file[i];
            }
        }
        rows[name] = {ro, plain};
    }
    return rows;
}

// Mount points under a folder (from /proc/self/mounts, octal escapes undone).
std::vector<std::string> MountsUnder(const std::string& folder)
{
    std::vector<std::string> found;
    std::ifstream in("/proc/self/mounts");
    std::string dev, dir, rest;
    while (in >> dev >> dir && std::getline(in, rest)) {
        std::string plain;
        for (size_t i = 0; i < dir.size(); ++i) {
            if (dir[i] == '\\' && i + 3 < dir.size()) {
                plain += static_cast<char>(std::stoi(dir.substr(i + 1, 3), nullptr, 8));
                i += 3;
            } else {
                plain += dir[i];
            }
        }
        if (plain.rfind(folder + "/", 0) == 0)
            found.push_back(plain);
    }
    return found;
}

// Detaches a loop device with losetup and waits until it is gone. While
// another process holds the device open (a concurrent attach that opened
// it as a free device just before it was taken, say), the kernel only
// marks it and lets it go when that process closes it.
void DetachLoop(const std::string& node)
{
    RunProgram("losetup", {"-d", node});
    const std::string backing = "/sys/block/" + std::filesystem::path(node).filename().string() + "/loop/backing_file";
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (std::chrono::steady_clock::now() < until) {
        std::ifstream in(backing);
        std::string line;
        if (!in || !std::getline(in, line) || line.empty())
            return;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

bool HaveFuseiso()
{
    std::istringstream path(std::getenv("PATH") ? std::getenv("PATH") : "");
    std::string dir;
    while (std::getline(path, dir, ':')) {
        if (access((dir + "/fuseiso").c_str(), X_OK) == 0)
            return access("/dev/fuse", R_OK | W_OK) == 0;
    }
    return false;
}

// An ISO9660/Joliet image with one file, made by xorriso.
void MakeIso(const std::string& path, const std::string& label, const std::string& content)
{
    kvtest::TempDir tree;
    kvtest::writeFile(tree.file("hello.txt"), content);
    RunResult r = RunProgram("xorriso", {"-as", "mkisofs", "-quiet", "-V", label, "-J", "-o", path, tree.path()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
}

class VPortLoopTest : public ::testing::Test {
protected:
    kvtest::TempDir images;
    std::string folder;  // image folder with blanks and non-ASCII letters

    void SetUp() override
    {
        if (!kvtest::isRoot())
            GTEST_SKIP() << "loop devices need root";
        if (access("/dev/loop-control", R_OK | W_OK) != 0)
            GTEST_SKIP() << "no /dev/loop-control on this machine";
        vport::SetVPortHost(nullptr);
        folder = images.file("Disc Images ä ö");
        std::filesystem::create_directories(folder);
    }

    // Undo what this test made: mounts under its system folder and loop
    // devices over its images.
    void TearDown() override
    {
        for (const auto& m : MountsUnder(platform::SystemDir()))
            ::umount2(m.c_str(), MNT_DETACH);
        for (const auto& [node, row] : Losetup()) {
            if (row.second.rfind(images.path() + "/", 0) == 0)
                DetachLoop(node);
        }
        std::filesystem::remove_all(vport::VPortDir());
        std::filesystem::remove(platform::SystemDir() + "/dosdevices.conf");
    }

    // Our loop devices: backing file -> (node, read-only flag).
    std::map<std::string, std::pair<std::string, std::string>> OurLoops()
    {
        std::map<std::string, std::pair<std::string, std::string>> ours;
        for (const auto& [node, row] : Losetup()) {
            if (row.second.rfind(images.path() + "/", 0) == 0)
                ours[row.second] = {node, row.first};
        }
        return ours;
    }

    void Install()
    {
        RunResult r = Drvinst("-install ROOT\\VPortLite \"" + InfPath() + "\"");
        ASSERT_EQ(r.exitCode, 0) << r.err;
    }
};

}  // namespace

TEST_F(VPortLoopTest, InstallAddListRemoveUninstall)
{
    const std::string alpha = folder + "/alpha one.iso", beta = folder + "/beta.iso";
    MakeIso(alpha, "ALPHA", "first disc\n");
    MakeIso(beta, "BETA", "second disc\n");

    // Without the driver nothing answers and nothing is attached.
    uint32_t major = 0, minor = 0, status = 0;
    EXPECT_EQ(Burnkit_VPort_GetVersion(&major, &minor, &status), EN_NOT_IMPLEMENTED);
    int32_t id = -1;
    EXPECT_NE(Burnkit_VPort_DeviceAddLocalEx(3, alpha.c_str(), &id, 0, &status), EN_SUCCESS);
    EXPECT_TRUE(OurLoops().empty());
    EXPECT_NE(Drvinst("-check ROOT\\VPortLite ").exitCode, 0);

    Install();
    EXPECT_EQ(Drvinst("-check ROOT\\VPortLite ").exitCode, 0);
    ASSERT_EQ(Burnkit_VPort_GetVersion(&major, &minor, &status), EN_SUCCESS);

    int32_t a = -1, b = -1;
    ASSERT_EQ(Burnkit_VPort_DeviceAddLocalEx(3, alpha.c_str(), &a, 0, &status), EN_SUCCESS) << status;
    ASSERT_EQ(Burnkit_VPort_DeviceAddLocalEx(3, beta.c_str(), &b, 1, &status), EN_SUCCESS) << status;

    auto loops = OurLoops();
    ASSERT_EQ(loops.size(), 2u);
    EXPECT_EQ(loops[alpha].second, "1");
    EXPECT_EQ(loops[beta].second, "1");
    EXPECT_EQ(loops[alpha].first, vport::VPortFindDevice(a).Loop);

    // The list with names, letters and labels, as the remove-drive page reads it.
    std::vector<unsigned char> buffer(BURNKIT_VPORT_DEVICE_LIST_SIZE);
    int32_t count = 0;
    ASSERT_EQ(Burnkit_VPort_DeviceListQueryLocal(buffer.data(), buffer.size(), &count, &status), EN_SUCCESS);
    ASSERT_EQ(count, 2);
    struct Expected { int32_t id; const char* name; const char* label; const char* content; };
    const Expected expected[] = {{a, "TargetName=alpha one.iso", "ALPHA", "first disc\n"},
                                 {b, "TargetName=beta.iso", "BETA", "second disc\n"}};
    for (int i = 0; i < 2; ++i) {
        VPORT_DEVICE_LIST_ENTRY e;
        std::memcpy(&e, buffer.data() + 4 + i * sizeof e, sizeof e);
        EXPECT_EQ(e.m__LONG__TargetId, expected[i].id);
        EXPECT_STREQ(e.m__CHAR__Name, expected[i].name);
        char letter[1024] = {};
        ASSERT_EQ(Burnkit_VPort_GetDeviceLetter(e.m__LONG__TargetId, letter, &status), EN_SUCCESS);
        ASSERT_EQ(std::strlen(letter), 1u);
        std::string label, fileSystem;
        EXPECT_TRUE(platform::GetVolumeInformation(std::string(letter) + ":\\", label, fileSystem));
        EXPECT_EQ(label, expected[i].label);
        // With FUSE at hand the medium is mounted and its files readable;
        // without it the drive has no root folder.
        std::string root = platform::DriveRootToPath(std::string(letter) + ":\\");
        if (HaveFuseiso()) {
            ASSERT_FALSE(root.empty());
            EXPECT_EQ(kvtest::readFile(root + "/hello.txt"), expected[i].content);
        } else {
            EXPECT_EQ(root, "");
        }
    }

    ASSERT_EQ(Burnkit_VPort_DeviceRemove(a, &status), EN_SUCCESS) << status;
    loops = OurLoops();
    ASSERT_EQ(loops.size(), 1u);
    EXPECT_EQ(loops.begin()->first, beta);
    EXPECT_EQ(loops.begin()->second.second, "1");
    for (const auto& m : MountsUnder(vport::VPortDir()))
        EXPECT_NE(m, vport::VPortMountFolder(a));

    RunResult r = Drvinst("-uninstall ROOT\\VPortLite \"You have to reboot your machine to complete uninstallation\"");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "You have to reboot your machine to complete uninstallation\n");
    EXPECT_TRUE(OurLoops().empty());
    EXPECT_TRUE(MountsUnder(platform::SystemDir()).empty());
    EXPECT_FALSE(std::filesystem::exists(vport::VPortDir()));
    EXPECT_TRUE(platform::ReadDosDevices().empty());
    EXPECT_NE(Drvinst("-check ROOT\\VPortLite ").exitCode, 0);
}

TEST_F(VPortLoopTest, PersistentDeviceComesBackAfterItsLoopDeviceIsGone)
{
    const std::string kept = folder + "/kept.iso", dropped = folder + "/dropped.iso";
    MakeIso(kept, "KEPT", "k\n");
    MakeIso(dropped, "DROPPED", "d\n");
    Install();
    int32_t k = -1, d = -1;
    uint32_t status = 0;
    ASSERT_EQ(Burnkit_VPort_DeviceAddLocalEx(3, kept.c_str(), &k, 1, &status), EN_SUCCESS);
    ASSERT_EQ(Burnkit_VPort_DeviceAddLocalEx(3, dropped.c_str(), &d, 0, &status), EN_SUCCESS);
    const char letter = vport::VPortFindDevice(k).Letter;

    // What a restart does to the devices: mounts and loop devices vanish.
    for (const auto& m : MountsUnder(platform::SystemDir()))
        ASSERT_EQ(::umount2(m.c_str(), MNT_DETACH), 0);
    for (const auto& [file, row] : OurLoops())
        DetachLoop(row.first);
    ASSERT_TRUE(OurLoops().empty());

    kvsdk::VPortStartUp();

    auto loops = OurLoops();
    ASSERT_EQ(loops.size(), 1u);
    EXPECT_EQ(loops.begin()->first, kept);
    EXPECT_EQ(loops.begin()->second.second, "1");
    auto devices = vport::VPortListDevices();
    ASSERT_EQ(devices.size(), 1u);
    EXPECT_EQ(devices[0].TargetId, k);
    EXPECT_EQ(devices[0].Letter, letter);
    EXPECT_EQ(devices[0].Loop, loops.begin()->second.first);
}

TEST_F(VPortLoopTest, CClientUsesOnlyTheSdkHeader)
{
    const std::string client = RuntimeDir() + "/../tests/bin/vport_client";
    const std::string one = folder + "/one.iso", two = folder + "/two.iso";
    MakeIso(one, "ONE", "1\n");
    MakeIso(two, "TWO", "2\n");

    RunResult r = RunProgram(client, {"version"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "Burnkit_VPort_GetVersion failed, exception 19, status 2\n");
    EXPECT_EQ(RunProgram(client, {"add", one}).exitCode, 1);
    EXPECT_TRUE(OurLoops().empty());

    Install();
    EXPECT_EQ(RunProgram(client, {"version"}).out, "1.0.0.0\n");
    EXPECT_EQ(RunProgram(client, {"add", one}).out, "0\n");
    EXPECT_EQ(RunProgram(client, {"add", two, "persistent"}).out, "1\n");
    EXPECT_EQ(OurLoops().size(), 2u);
    r = RunProgram(client, {"list"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "0 D TargetName=one.iso\n1 E TargetName=two.iso\n");
    EXPECT_EQ(RunProgram(client, {"info", "1"}).out, "3|KORVANTA|VIRTUAL DVD-ROM|1.00\n");
    EXPECT_EQ(RunProgram(client, {"remove", "0"}).exitCode, 0);
    EXPECT_EQ(RunProgram(client, {"remove", "0"}).err, "Burnkit_VPort_DeviceRemove failed, exception 17, status 2\n");
    EXPECT_EQ(RunProgram(client, {"list"}).out, "1 E TargetName=two.iso\n");
    auto loops = OurLoops();
    ASSERT_EQ(loops.size(), 1u);
    EXPECT_EQ(loops.begin()->first, two);

    EXPECT_EQ(Drvinst("-uninstall ROOT\\VPortLite \"bye\"").exitCode, 0);
    EXPECT_TRUE(OurLoops().empty());
}

struct DrvinstCase {
    const char* name;
    std::string parameters;
    int exitCode;
    const char* errPart;
};

void PrintTo(const DrvinstCase& c, std::ostream* os) { *os << c.name; }

class DrvinstArguments : public ::testing::TestWithParam<DrvinstCase> {};

TEST_P(DrvinstArguments, RefusesWithAMessage)
{
    const DrvinstCase& c = GetParam();
    RunResult r = Drvinst(c.parameters);
    EXPECT_EQ(r.exitCode, c.exitCode);
    EXPECT_NE(r.err.find(c.errPart), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(vport::VPortStatePath()));
}

INSTANTIATE_TEST_SUITE_P(
    Lines, DrvinstArguments,
    ::testing::Values(DrvinstCase{"NoArguments", "", 2, "missing arguments"},
                      DrvinstCase{"UnknownCommand", "-frobnicate ROOT\\VPortLite ", 2, "unknown command -frobnicate"},
                      DrvinstCase{"OtherHardwareId", "-check ROOT\\Other ", 2, "unknown hardware id ROOT\\Other"},
                      DrvinstCase{"InstallWithoutInf", "-install ROOT\\VPortLite ", 2, "needs the path"},
                      DrvinstCase{"MissingInf", "-install ROOT\\VPortLite \"/nonexistent dir/vportlite.inf\"", 1,
                                  "Cannot open /nonexistent dir/vportlite.inf: No such file or directory"},
                      DrvinstCase{"CheckNotInstalled", "-check ROOT\\VPortLite ", 1, "is not installed"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DrvinstInf, VersionComesFromTheInfBesideTheExecutables)
{
    kvtest::TempDir dir;
    struct Case { const char* text; const char* version; } cases[] = {
        {"[Version]\nDriverVer=01/01/2026,1.0.0.0\n", "1.0.0.0"},
        {"; c\n[version]\r\n  driverver = 02/03/2026 , 2.5.0.17 \r\n", "2.5.0.17"},
        {"[Strings]\nDriverVer=01/01/2026,9.9.9.9\n[Version]\nDriverVer=01/01/2026,1.2.3.4\n", "1.2.3.4"},
    };
    for (const auto& c : cases) {
        kvtest::writeFile(dir.file("x.inf"), c.text);
        EXPECT_EQ(vport::ReadInfVersion(dir.file("x.inf")), c.version) << c.text;
    }
    for (const char* bad : {"[Version]\nDriverVer=01/01/2026\n", "[Version]\nDriverVer=x,1.2.3\n", ""}) {
        kvtest::writeFile(dir.file("x.inf"), bad);
        EXPECT_THROW(vport::ReadInfVersion(dir.file("x.inf")), vport::TVPortError) << bad;
    }
    EXPECT_EQ(vport::ReadInfVersion(InfPath()), "1.0.0.0");
}
