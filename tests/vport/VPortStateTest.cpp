// The driver state file: what survives a round trip, what a damaged file
// keeps, and how a damaged file is reported and backed up.

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "TestDirs.h"
#include "VPortHost.h"
#include "VPortState.h"

using namespace vport;

namespace {

TVPortDevice Device(int32_t id, const std::string& image, char letter)
{
    TVPortDevice d;
    d.TargetId = id;
    d.Type = 3;
    d.Image = image;
    d.Name = "TargetName=" + image.substr(image.rfind('/') + 1);
    d.Persistent = id % 2 == 1;
    d.Loop = "/dev/loop" + std::to_string(id + 4);
    d.Letter = letter;
    d.DeviceName = "\\Device\\CdRom" + std::to_string(10 + id);
    d.MountPoint = "/var/lib/korvanta/vport/mnt/" + std::to_string(id);
    return d;
}

const std::string kGood =
    "Version=1.2.3.4\n"
    "Boot=b\n"
    "\n[Device]\nTargetId=0\nType=3\nName=TargetName=a.iso\nImage=/i/a.iso\nPersistent=0\n"
    "Loop=/dev/loop1\nLetter=D\nDeviceName=\\Device\\CdRom10\nMountPoint=\n";

}  // namespace

TEST(VPortStateFormat, RoundTripKeepsEveryField)
{
    TVPortState state;
    state.Version = "1.0.0.7";
    state.BootId = "627b88e6-64e3-4f74-ba9a-b290159a2052";
    state.Devices = {Device(0, "/home/u/My Discs/ölü = disk.iso", 'D'), Device(3, "/x/y.iso", 'F'),
                     Device(1, "/x/[Device].iso", 0)};
    state.Devices[2].Loop.clear();
    state.Devices[2].MountPoint.clear();

    TVPortParse parse = ParseVPortState(FormatVPortState(state));

    EXPECT_TRUE(parse.Faults.empty()) << parse.Faults.front();
    ASSERT_EQ(parse.State.Devices.size(), 3u);
    EXPECT_EQ(parse.State.Version, state.Version);
    EXPECT_EQ(parse.State.BootId, state.BootId);
    for (size_t i = 0; i < 3; ++i) {
        const auto& a = state.Devices[i];
        const auto& b = parse.State.Devices[i];
        EXPECT_EQ(b.TargetId, a.TargetId);
        EXPECT_EQ(b.Type, a.Type);
        EXPECT_EQ(b.Name, a.Name);
        EXPECT_EQ(b.Image, a.Image);
        EXPECT_EQ(b.Persistent, a.Persistent);
        EXPECT_EQ(b.Loop, a.Loop);
        EXPECT_EQ(b.Letter, a.Letter);
        EXPECT_EQ(b.DeviceName, a.DeviceName);
        EXPECT_EQ(b.MountPoint, a.MountPoint);
    }
}

struct DamageCase {
    const char* name;
    std::string text;
    size_t keptDevices;
    const char* faultPart;  // a part of the first fault's text
};

void PrintTo(const DamageCase& c, std::ostream* os) { *os << c.name; }

class VPortStateDamage : public ::testing::TestWithParam<DamageCase> {};

TEST_P(VPortStateDamage, KeepsEveryWholeDeviceAndNamesTheFault)
{
    const DamageCase& c = GetParam();
    TVPortParse parse = ParseVPortState(c.text);
    ASSERT_FALSE(parse.Faults.empty());
    EXPECT_NE(parse.Faults.front().find(c.faultPart), std::string::npos) << parse.Faults.front();
    EXPECT_EQ(parse.State.Devices.size(), c.keptDevices);
    for (const auto& d : parse.State.Devices)
        EXPECT_EQ(d.Image, "/i/a.iso");
}

const std::string kSecondBad = "\n[Device]\nTargetId=1\nType=3\nName=TargetName=b.iso\nImage=/i/b.iso\n";

INSTANTIATE_TEST_SUITE_P(
    Texts, VPortStateDamage,
    ::testing::Values(
        DamageCase{"GarbageLineInDevice", kGood + kSecondBad + "Persistent=0\nthis is not a line\n", 1,
                   "not a key=value line"},
        DamageCase{"BadLetter", kGood + kSecondBad + "Persistent=0\nLetter=ab\n", 1, "bad drive letter ab"},
        DamageCase{"BadType", kGood + "\n[Device]\nTargetId=1\nType=9\nName=x\nImage=/i/b.iso\nPersistent=0\n", 1,
                   "bad device type 9"},
        DamageCase{"RepeatedKey", kGood + kSecondBad + "Persistent=1\nType=3\n", 1, "repeated key Type"},
        DamageCase{"TruncatedDevice", kGood + kSecondBad, 1, "device without Persistent"},
        DamageCase{"DuplicateTargetId",
                   kGood + "\n[Device]\nTargetId=0\nType=3\nName=x\nImage=/i/c.iso\nPersistent=0\n", 1,
                   "target id 0 used twice"},
        DamageCase{"DuplicateLetter",
                   kGood + "\n[Device]\nTargetId=2\nType=3\nName=x\nImage=/i/c.iso\nPersistent=0\nLetter=D\n", 1,
                   "letter D used twice"},
        DamageCase{"RelativeImage", kGood + "\n[Device]\nTargetId=2\nType=3\nName=x\nImage=c.iso\nPersistent=0\n", 1,
                   "not absolute"},
        DamageCase{"UnknownSection", kGood + "\n[Stuff]\nTargetId=2\n", 1, "unknown section [Stuff]"},
        DamageCase{"NoVersion", std::string(kGood).substr(std::string(kGood).find('\n') + 1), 1, "no driver version"},
        DamageCase{"BinaryGarbage", std::string("\x7f" "ELF\x02\x01\x01\0\0\0", 10), 0, "line 1"},
        DamageCase{"EmptyFile", "", 0, "no driver version"}),
    [](const auto& info) { return std::string(info.param.name); });

class VPortStateFile : public ::testing::Test {
protected:
    void SetUp() override { std::filesystem::create_directories(VPortDir()); }
    void TearDown() override { std::filesystem::remove_all(VPortDir()); }
};

TEST_F(VPortStateFile, MissingStateMeansNotInstalled)
{
    TVPortLock lock;
    EXPECT_FALSE(VPortStateExists());
    try {
        LoadVPortState();
        FAIL() << "no failure";
    } catch (const TVPortError& e) {
        EXPECT_EQ(e.SystemError, ENOENT);
    }
}

TEST_F(VPortStateFile, DamagedStateIsReportedBackedUpAndRepaired)
{
    const std::string damaged = kGood + kSecondBad + "Persistent=0\nLetter=#?\n";
    kvtest::writeFile(VPortStatePath(), damaged);
    TVPortLock lock;

    try {
        LoadVPortState();
        FAIL() << "a damaged state loaded without a report";
    } catch (const TVPortError& e) {
        EXPECT_EQ(e.Exception, kEnInvalidState);
        EXPECT_EQ(e.SystemError, EBADMSG);
        EXPECT_EQ(std::string(e.what()),
                  "The driver state " + VPortStatePath() + " was damaged (line 21: bad drive letter #?); a copy is "
                  "kept in " + VPortStatePath() + ".bad; 1 device(s) kept");
    }
    EXPECT_EQ(kvtest::readFile(VPortStatePath() + ".bad"), damaged);

    // The repaired state loads and keeps the whole device.
    TVPortState repaired = LoadVPortState();
    ASSERT_EQ(repaired.Devices.size(), 1u);
    EXPECT_EQ(repaired.Devices[0].Image, "/i/a.iso");
    EXPECT_EQ(repaired.Version, "1.2.3.4");

    // A second damage gets a backup of its own; the first stays.
    kvtest::writeFile(VPortStatePath(), "garbage\n");
    EXPECT_THROW(LoadVPortState(), TVPortError);
    EXPECT_EQ(kvtest::readFile(VPortStatePath() + ".bad"), damaged);
    EXPECT_EQ(kvtest::readFile(VPortStatePath() + ".bad.1"), "garbage\n");
}

TEST_F(VPortStateFile, SaveLeavesNoTemporaryFiles)
{
    TVPortLock lock;
    TVPortState state;
    state.Version = "1.0.0.0";
    state.Devices = {Device(0, "/i/a.iso", 'D')};
    SaveVPortState(state);
    SaveVPortState(state);
    size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(VPortDir())) {
        (void)entry;
        ++files;
    }
    EXPECT_EQ(files, 1u);
    EXPECT_EQ(LoadVPortState().Devices.size(), 1u);
}
