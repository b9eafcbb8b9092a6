// The VPort calls over a fake machine (FakeVPortHost): target ids, letters,
// the device-list buffer, bad input, restarts, a damaged state and two
// processes adding at once. Real loop devices: VPortLoopTest.cpp.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <map>
#include <set>
#include <vector>

#include "Drives.h"
#include "FakeVPortHost.h"
#include "TestDirs.h"
#include "VPortDriver.h"
#include "burnkit.h"
#include "platform/DosDevices.h"
#include "platform/Paths.h"

using namespace vport;

namespace {

struct ListedDevice {
    int32_t index;
    int32_t targetId;
    std::string name;
};

// Every letter of the DOS-device table with its device name.
std::map<char, std::string> DosTable()
{
    std::map<char, std::string> table;
    for (const auto& d : platform::ReadDosDevices())
        table[d.Letter] = d.DeviceName;
    return table;
}

class VPortLogicTest : public ::testing::Test {
protected:
    kvtest::TempDir images;
    kvtest::FakeVPortHost* host = nullptr;

    void SetUp() override
    {
        auto fake = std::make_unique<kvtest::FakeVPortHost>();
        host = fake.get();
        SetVPortHost(std::move(fake));
        VPortInstall("1.2.3.4");
    }

    void TearDown() override
    {
        SetVPortHost(nullptr);
        std::filesystem::remove_all(VPortDir());
        std::filesystem::remove(platform::SystemDir() + "/dosdevices.conf");
    }

    std::string Image(const std::string& name, size_t bytes = 4096)
    {
        std::string path = images.file(name);
        kvtest::writeFile(path, std::string(bytes, 'x'));
        return path;
    }

    int32_t Add(const std::string& path, bool persistent = false)
    {
        int32_t id = -1;
        uint32_t status = 99;
        EXPECT_EQ(Burnkit_VPort_DeviceAddLocalEx(VPORT_DEVICE_TYPE_DVD, path.c_str(), &id, persistent, &status),
                  EN_SUCCESS)
            << path << " status " << status;
        EXPECT_EQ(status, 0u);
        return id;
    }

    std::vector<ListedDevice> List()
    {
        std::vector<unsigned char> buffer(BURNKIT_VPORT_DEVICE_LIST_SIZE);
        int32_t count = -1;
        uint32_t status = 0;
        EXPECT_EQ(Burnkit_VPort_DeviceListQueryLocal(buffer.data(), buffer.size(), &count, &status), EN_SUCCESS);
        int32_t stored = 0;
        std::memcpy(&stored, buffer.data(), 4);
        EXPECT_EQ(stored, count);
        std::vector<ListedDevice> devices;
        for (int32_t i = 0; i < stored; ++i) {
            VPORT_DEVICE_LIST_ENTRY e;
            std::memcpy(&e, buffer.data() + 4 + i * sizeof e, sizeof e);
            devices.push_back({e.m__LONG__Index, e.m__LONG__TargetId, e.m__CHAR__Name});
        }
        return devices;
    }

    std::string Letter(int32_t id)
    {
        char letter[1024];
        std::memset(letter, 'Q', sizeof letter);
        uint32_t status = 0;
        EXPECT_EQ(Burnkit_VPort_GetDeviceLetter(id, letter, &status), EN_SUCCESS);
        return letter;
    }
};

}  // namespace

TEST_F(VPortLogicTest, VersionComesFromTheInstall)
{
    uint32_t major = 0, minor = 0, status = 7;
    EXPECT_EQ(Burnkit_VPort_GetVersion(&major, &minor, &status), EN_SUCCESS);
    EXPECT_EQ(major, 0x00010002u);
    EXPECT_EQ(minor, 0x00030004u);
    EXPECT_EQ(status, 0u);
}

TEST_F(VPortLogicTest, AddedDevicesGetIdsLettersNamesAndMounts)
{
    // D belongs to another drive already.
    platform::DefineDosDevice({'D', "\\Device\\CdRom0", "/dev/sr0", ""});
    std::string first = Image("first.iso");
    std::string second = Image("Meine Bilder ä ü.iso");

    EXPECT_EQ(Add(first), 0);
    EXPECT_EQ(Add(second, true), 1);

    auto listed = List();
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_EQ(listed[0].index, 1);
    EXPECT_EQ(listed[0].targetId, 0);
    EXPECT_EQ(listed[0].name, "TargetName=first.iso");
    EXPECT_EQ(listed[1].index, 2);
    EXPECT_EQ(listed[1].targetId, 1);
    EXPECT_EQ(listed[1].name, "TargetName=Meine Bilder ä ü.iso");
    EXPECT_EQ(Letter(0), "E");
    EXPECT_EQ(Letter(1), "F");

    auto e = platform::FindDosDevice('E');
    ASSERT_TRUE(e);
    EXPECT_EQ(e->DeviceName, "\\Device\\CdRom10");
    EXPECT_EQ(e->Medium, first);
    EXPECT_EQ(e->MountPoint, VPortMountFolder(0));
    EXPECT_EQ(platform::FindDosDevice('F')->Medium, second);
    EXPECT_EQ(host->attached.size(), 2u);
    EXPECT_EQ(host->mounted, (std::set<std::string>{VPortMountFolder(0), VPortMountFolder(1)}));

    VPORT_DEVICE_TYPE type = 0;
    char vendor[1024], product[4], revision[1024];
    uint32_t status = 0;
    ASSERT_EQ(Burnkit_VPort_GetDeviceInformation(1, &type, vendor, sizeof vendor, product, sizeof product, revision,
                                                 sizeof revision, &status),
              EN_SUCCESS);
    EXPECT_EQ(type, VPORT_DEVICE_TYPE_DVD);
    EXPECT_STREQ(vendor, "KORVANTA");
    EXPECT_STREQ(product, "VIR");  // cut to its buffer, still terminated
    EXPECT_STREQ(revision, "1.00");

    // The drive list of the SDK sees both devices.
    auto drives = kvsdk::ListVirtualDrives();
    ASSERT_EQ(drives.size(), 2u);
    EXPECT_EQ(drives[1].TargetId, 1);
    EXPECT_EQ(drives[1].ImagePath, second);
}

TEST_F(VPortLogicTest, RemoveFreesLoopLetterAndMountForTheNextDevice)
{
    Add(Image("a.iso"));
    Add(Image("b.iso"));
    uint32_t status = 5;
    ASSERT_EQ(Burnkit_VPort_DeviceRemove(0, &status), EN_SUCCESS);
    EXPECT_EQ(status, 0u);

    EXPECT_EQ(host->attached.size(), 1u);
    EXPECT_EQ(host->mounted, std::set<std::string>{VPortMountFolder(1)});
    EXPECT_EQ(DosTable(), (std::map<char, std::string>{{'E', "\\Device\\CdRom11"}}));
    ASSERT_EQ(List().size(), 1u);

    EXPECT_EQ(Add(Image("c.iso")), 0);
    EXPECT_EQ(Letter(0), "D");
}

TEST_F(VPortLogicTest, DeviceWithoutMountHasNoRootFolder)
{
    host->mountKind = TMountKind::None;
    Add(Image("a.iso"));
    EXPECT_EQ(platform::FindDosDevice('D')->MountPoint, "");
    EXPECT_FALSE(std::filesystem::exists(VPortMountFolder(0)));
    EXPECT_EQ(platform::DriveRootToPath("D:\\"), "");
}

struct BadImageCase {
    const char* name;
    std::string (*make)(const kvtest::TempDir& dir);
    uint32_t type;
    EXCEPTION_NUMBER result;
    uint32_t systemError;
    bool needsNonRoot;
};

void PrintTo(const BadImageCase& c, std::ostream* os) { *os << c.name; }

class VPortBadImage : public VPortLogicTest, public ::testing::WithParamInterface<BadImageCase> {};

TEST_P(VPortBadImage, FailsAndChangesNothing)
{
    const BadImageCase& c = GetParam();
    if (c.needsNonRoot && kvtest::isRoot())
        GTEST_SKIP() << "root reads every file";
    Add(Image("kept.iso"));
    const std::string stateBefore = kvtest::readFile(VPortStatePath());
    const int attachesBefore = host->attachCalls;

    std::string path = c.make(images);
    int32_t id = -5;
    uint32_t status = 0;
    EXPECT_EQ(Burnkit_VPort_DeviceAddLocalEx(c.type, path.c_str(), &id, 1, &status), c.result);
    EXPECT_EQ(status, c.systemError) << std::strerror(static_cast<int>(status));
    EXPECT_EQ(id, -5);
    EXPECT_EQ(host->attachCalls, attachesBefore);
    EXPECT_EQ(kvtest::readFile(VPortStatePath()), stateBefore);
    EXPECT_EQ(DosTable().size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Images, VPortBadImage,
    ::testing::Values(
        BadImageCase{"Missing", [](const kvtest::TempDir& d) { return d.file("none.iso"); }, 3,
                     EN_SYSTEM_CALL_FAILED, ENOENT, false},
        BadImageCase{"Directory",
                     [](const kvtest::TempDir& d) {
                         std::filesystem::create_directory(d.file("folder.iso"));
                         return d.file("folder.iso");
                     },
                     3, EN_INVALID_INPUT_PARAMETER, EISDIR, false},
        BadImageCase{"Empty",
                     [](const kvtest::TempDir& d) {
                         kvtest::writeFile(d.file("empty.iso"), "");
                         return d.file("empty.iso");
                     },
                     3, EN_UNRECOGNIZED_MEDIA, EINVAL, false},
        BadImageCase{"Unreadable",
                     [](const kvtest::TempDir& d) {
                         kvtest::writeFile(d.file("locked.iso"), "data");
                         ::chmod(d.file("locked.iso").c_str(), 0);
                         return d.file("locked.iso");
                     },
                     3, EN_SYSTEM_CALL_FAILED, EACCES, true},
        BadImageCase{"NoPath", [](const kvtest::TempDir&) { return std::string(); }, 3,
                     EN_INVALID_INPUT_PARAMETER, EINVAL, false},
        BadImageCase{"NotADvdDevice",
                     [](const kvtest::TempDir& d) {
                         kvtest::writeFile(d.file("ram.iso"), "data");
                         return d.file("ram.iso");
                     },
                     1, EN_INVALID_INPUT_PARAMETER, EINVAL, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(VPortLogicTest, UnknownTargetIdIsNotFoundAndTouchesNoDevice)
{
    Add(Image("a.iso"));
    char buffer[1024];
    VPORT_DEVICE_TYPE type;
    for (int32_t id : {1, 99, -1}) {
        SCOPED_TRACE(id);
        uint32_t status = 0;
        EXPECT_EQ(Burnkit_VPort_DeviceRemove(id, &status), EN_NOT_FOUND);
        EXPECT_EQ(status, static_cast<uint32_t>(ENOENT));
        EXPECT_EQ(Burnkit_VPort_GetDeviceLetter(id, buffer, &status), EN_NOT_FOUND);
        EXPECT_EQ(Burnkit_VPort_GetDeviceInformation(id, &type, buffer, sizeof buffer, buffer, sizeof buffer, buffer,
                                                     sizeof buffer, &status),
                  EN_NOT_FOUND);
    }
    EXPECT_EQ(List().size(), 1u);
    EXPECT_EQ(host->attached.size(), 1u);
    EXPECT_EQ(Letter(0), "D");
}

TEST_F(VPortLogicTest, NoFreeLoopDeviceLeavesNoLetter)
{
    host->freeLoops = 0;
    int32_t id = -1;
    uint32_t status = 0;
    EXPECT_EQ(Burnkit_VPort_DeviceAddLocalEx(3, Image("a.iso").c_str(), &id, 0, &status), EN_SYSTEM_CALL_FAILED);
    EXPECT_EQ(status, static_cast<uint32_t>(ENOSPC));
    EXPECT_TRUE(DosTable().empty());
    EXPECT_TRUE(List().empty());
}

TEST_F(VPortLogicTest, NoFreeLetterDetachesTheLoopDeviceAgain)
{
    for (char c = 'D'; c <= 'Z'; ++c)
        platform::DefineDosDevice({c, "\\Device\\Other" + std::string(1, c), "/x", ""});
    int32_t id = -1;
    uint32_t status = 0;
    EXPECT_EQ(Burnkit_VPort_DeviceAddLocalEx(3, Image("a.iso").c_str(), &id, 0, &status), EN_RANGE);
    EXPECT_EQ(status, static_cast<uint32_t>(ENOSPC));
    EXPECT_EQ(host->attachCalls, 1);
    EXPECT_TRUE(host->attached.empty());
    EXPECT_TRUE(host->mounted.empty());
    EXPECT_TRUE(List().empty());
    EXPECT_EQ(DosTable().size(), 23u);
}

struct ListBufferCase {
    int devices;
    uint32_t bufferSize;
    EXCEPTION_NUMBER result;
    int32_t written;
};

void PrintTo(const ListBufferCase& c, std::ostream* os) { *os << c.devices << " devices, " << c.bufferSize << " bytes"; }

class VPortListBuffer : public VPortLogicTest, public ::testing::WithParamInterface<ListBufferCase> {};

TEST_P(VPortListBuffer, FillsWhatFitsAndNeverWritesPastTheBuffer)
{
    const ListBufferCase& c = GetParam();
    for (int i = 0; i < c.devices; ++i)
        Add(Image("d" + std::to_string(i) + ".iso"));

    const size_t guard = 64;
    std::vector<unsigned char> memory(c.bufferSize + guard, 0xAB);
    int32_t count = -7;
    uint32_t status = 0;
    EXPECT_EQ(Burnkit_VPort_DeviceListQueryLocal(memory.data(), c.bufferSize, &count, &status), c.result);
    for (size_t i = c.bufferSize; i < memory.size(); ++i)
        ASSERT_EQ(memory[i], 0xAB) << "byte " << i << " written past the buffer";
    if (c.result != EN_SUCCESS)
        return;
    int32_t stored = 0;
    std::memcpy(&stored, memory.data(), 4);
    EXPECT_EQ(stored, c.written);
    EXPECT_EQ(count, c.written);
    for (int32_t i = 0; i < c.written; ++i) {
        VPORT_DEVICE_LIST_ENTRY e;
        std::memcpy(&e, memory.data() + 4 + i * sizeof e, sizeof e);
        EXPECT_EQ(e.m__LONG__TargetId, i);
        EXPECT_EQ(std::string(e.m__CHAR__Name), "TargetName=d" + std::to_string(i) + ".iso");
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, VPortListBuffer,
                         ::testing::Values(ListBufferCase{2, 16384, EN_SUCCESS, 2},
                                           ListBufferCase{16, 16384, EN_SUCCESS, 15},
                                           ListBufferCase{3, 4 + 2 * 1032 + 1031, EN_SUCCESS, 2},
                                           ListBufferCase{1, 4, EN_SUCCESS, 0},
                                           ListBufferCase{0, 16384, EN_SUCCESS, 0},
                                           ListBufferCase{1, 3, EN_BUFFER_TOO_SMALL, 0}));

TEST_F(VPortLogicTest, RestartBringsBackPersistentDevicesOnly)
{
    std::string kept = Image("kept.iso");
    std::string gone = Image("gone.iso");
    Add(kept, true);          // 0, D
    Add(Image("b.iso"));      // 1, E
    Add(gone, true);          // 2, F
    std::filesystem::remove(gone);

    host->Restart();
    std::vector<std::string> reports = VPortRestoreDevices();

    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0], "Virtual device 2 was removed: its image " + gone +
                              " cannot be opened: No such file or directory");
    auto listed = List();
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(listed[0].targetId, 0);
    EXPECT_EQ(Letter(0), "D");
    EXPECT_EQ(host->attached.size(), 1u);
    EXPECT_EQ(host->attached.begin()->second, kept);
    EXPECT_EQ(DosTable(), (std::map<char, std::string>{{'D', "\\Device\\CdRom10"}}));
    EXPECT_EQ(platform::FindDosDevice('D')->MountPoint, VPortMountFolder(0));
}

TEST_F(VPortLogicTest, FirstCallAfterRestartRestoresWithoutStartUp)
{
    Add(Image("a.iso"), true);
    Add(Image("b.iso"));
    host->Restart();
    auto listed = List();
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(listed[0].targetId, 0);
    EXPECT_EQ(host->attached.size(), 1u);
    // A second call finds everything in place and attaches nothing more.
    int attaches = host->attachCalls;
    List();
    kvsdk::VPortStartUp();
    EXPECT_EQ(host->attachCalls, attaches);
}

TEST_F(VPortLogicTest, DamagedStateFailsOnceKeepsBackupAndOtherDevices)
{
    Add(Image("a.iso"));
    Add(Image("b.iso"));
    std::string text = kvtest::readFile(VPortStatePath());
    // Mangle the second device by hand.
    text.replace(text.rfind("Letter=E"), 8, "Letter=#!");
    kvtest::writeFile(VPortStatePath(), text);
    int attaches = host->attachCalls;

    int32_t id = -1;
    uint32_t status = 0;
    EXPECT_EQ(Burnkit_VPort_DeviceAddLocalEx(3, Image("c.iso").c_str(), &id, 0, &status), EN_INVALID_STATE);
    EXPECT_EQ(status, static_cast<uint32_t>(EBADMSG));
    EXPECT_EQ(host->attachCalls, attaches);
    EXPECT_EQ(kvtest::readFile(VPortStatePath() + ".bad"), text);

    auto listed = List();
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(listed[0].name, "TargetName=a.iso");
}

TEST_F(VPortLogicTest, ProcessesAddingAtOnceGetDistinctIdsAndLetters)
{
    constexpr int kProcesses = 3, kEach = 4;
    std::vector<std::string> paths;
    for (int i = 0; i < kProcesses * kEach; ++i)
        paths.push_back(Image("p" + std::to_string(i) + ".iso"));
    std::vector<pid_t> children;
    for (int p = 0; p < kProcesses; ++p) {
        pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            host->nextLoop = 1000 * (p + 1);
            int failures = 0;
            for (int i = 0; i < kEach; ++i) {
                int32_t id = -1;
                uint32_t status = 0;
                failures += Burnkit_VPort_DeviceAddLocalEx(3, paths[p * kEach + i].c_str(), &id, 0, &status) != 0;
            }
            ::_exit(failures);
        }
        children.push_back(pid);
    }
    for (pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }

    auto listed = List();
    ASSERT_EQ(listed.size(), static_cast<size_t>(kProcesses * kEach));
    std::set<int32_t> ids;
    std::set<std::string> letters, names;
    for (const auto& d : listed) {
        ids.insert(d.targetId);
        letters.insert(Letter(d.targetId));
        names.insert(d.name);
    }
    EXPECT_EQ(ids.size(), listed.size());
    EXPECT_EQ(letters.size(), listed.size());
    EXPECT_EQ(names.size(), listed.size());
    EXPECT_EQ(DosTable().size(), listed.size());
}

TEST(VPortNotInstalled, EveryCallFailsAndNothingIsAttached)
{
    auto fake = std::make_unique<kvtest::FakeVPortHost>();
    auto* host = fake.get();
    SetVPortHost(std::move(fake));
    kvtest::TempDir dir;
    std::string image = dir.file("a.iso");
    kvtest::writeFile(image, "data");

    uint32_t major, minor, status = 0;
    EXPECT_EQ(Burnkit_VPort_GetVersion(&major, &minor, &status), EN_NOT_IMPLEMENTED);
    EXPECT_EQ(status, static_cast<uint32_t>(ENOENT));
    int32_t id = -1;
    EXPECT_EQ(Burnkit_VPort_DeviceAddLocalEx(3, image.c_str(), &id, 1, &status), EN_NOT_IMPLEMENTED);
    std::vector<unsigned char> buffer(BURNKIT_VPORT_DEVICE_LIST_SIZE);
    int32_t count = 0;
    EXPECT_EQ(Burnkit_VPort_DeviceListQueryLocal(buffer.data(), buffer.size(), &count, &status), EN_NOT_IMPLEMENTED);
    EXPECT_EQ(Burnkit_VPort_DeviceRemove(0, &status), EN_NOT_IMPLEMENTED);
    kvsdk::VPortStartUp();

    EXPECT_EQ(host->attachCalls, 0);
    EXPECT_FALSE(std::filesystem::exists(VPortDir()));
    SetVPortHost(nullptr);
}

TEST(VPortLoopsUnusable, DriverDoesNotAnswerAndAddsNothing)
{
    auto fake = std::make_unique<kvtest::FakeVPortHost>();
    auto* host = fake.get();
    SetVPortHost(std::move(fake));
    VPortInstall("1.0.0.0");
    host->loopError = EACCES;
    kvtest::TempDir dir;
    std::string image = dir.file("a.iso");
    kvtest::writeFile(image, "data");

    uint32_t major, minor, status = 0;
    EXPECT_EQ(Burnkit_VPort_GetVersion(&major, &minor, &status), EN_NOT_IMPLEMENTED);
    EXPECT_EQ(status, static_cast<uint32_t>(EACCES));
    int32_t id = -1;
    EXPECT_EQ(Burnkit_VPort_DeviceAddLocalEx(3, image.c_str(), &id, 0, &status), EN_NOT_IMPLEMENTED);
    EXPECT_EQ(status, static_cast<uint32_t>(EACCES));
    EXPECT_EQ(host->attachCalls, 0);
    SetVPortHost(nullptr);
    std::filesystem::remove_all(VPortDir());
}
