#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <set>

#include "PlatformTestEnv.h"
#include "platform/DosDevices.h"
#include "platform/Errors.h"

using namespace platform;

namespace {

class DosDevices : public ::testing::Test {
protected:
    kvtest::FreshFolders folders;
    std::string table() const { return folders.system.path() + "/dosdevices.conf"; }
};

}  // namespace

TEST_F(DosDevices, DefineQueryRemove)
{
    std::string target = "unchanged";
    EXPECT_FALSE(QueryDosDevice("E:", target));
    EXPECT_EQ(GetLastError(), ENOENT);
    EXPECT_EQ(target, "");

    DefineDosDevice({'e', "\\Device\\CdRom0", "/img/a|b%.iso", "/mnt/e"});
    DefineDosDevice({'D', "\\Device\\CdRom1", "/dev/sr0", ""});
    ASSERT_TRUE(QueryDosDevice("e:", target));
    EXPECT_EQ(target, "\\Device\\CdRom0");
    auto e = FindDosDevice('E');
    ASSERT_TRUE(e);
    EXPECT_EQ(e->Medium, "/img/a|b%.iso");  // separator and escape survive
    EXPECT_EQ(e->MountPoint, "/mnt/e");
    auto all = ReadDosDevices();
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[0].Letter, 'D');

    DefineDosDevice({'E', "\\Device\\CdRom2", "/img/c.iso", ""});  // replaces
    ASSERT_TRUE(QueryDosDevice("E:", target));
    EXPECT_EQ(target, "\\Device\\CdRom2");
    RemoveDosDevice('E');
    RemoveDosDevice('E');  // no error when gone
    EXPECT_FALSE(QueryDosDevice("E:", target));
    EXPECT_THROW(DefineDosDevice({'1', "\\Device\\CdRom3", "", ""}), EOSError);
    EXPECT_THROW(SetDosDeviceMountPoint('Q', "/x"), EOSError);
}

TEST_F(DosDevices, AssignTakesFreeLettersAndKeepsAnExistingOne)
{
    DefineDosDevice({'D', "\\Device\\CdRom9", "/dev/sr0", ""});
    EXPECT_EQ(AssignDosDevice("\\Device\\CdRom0", "/a.iso"), 'E');
    EXPECT_EQ(AssignDosDevice("\\Device\\CdRom1", "/b.iso", 'D', 'X'), 'X');
    EXPECT_EQ(AssignDosDevice("\\Device\\CdRom2", "/c.iso", 'D', 'X'), 'F');  // X is taken
    // The same device keeps its letter and gets the new medium.
    EXPECT_EQ(AssignDosDevice("\\device\\cdrom0", "/new.iso"), 'E');
    EXPECT_EQ(FindDosDevice('E')->Medium, "/new.iso");
    EXPECT_EQ(ReadDosDevices().size(), 4u);
    for (int i = 3; i < 30; ++i)
        AssignDosDevice("\\Device\\CdRom" + std::to_string(i), "/x.iso", 'W');
    EXPECT_EQ(AssignDosDevice("\\Device\\CdRom99", "/y.iso", 'W'), std::nullopt);  // all taken
}

TEST_F(DosDevices, ProcessesAssigningAtOnceGetDistinctLetters)
{
    constexpr int kChildren = 8;
    std::vector<pid_t> pids;
    for (int c = 0; c < kChildren; ++c) {
        pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            try {
                _exit(AssignDosDevice("\\Device\\CdRom" + std::to_string(c), "/i.iso") ? 0 : 1);
            } catch (...) {
                _exit(2);
            }
        }
        pids.push_back(pid);
    }
    for (pid_t pid : pids) {
        int status = 0;
        waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    std::set<char> letters;
    std::set<std::string> names;
    for (auto& d : ReadDosDevices()) {
        letters.insert(d.Letter);
        names.insert(d.DeviceName);
    }
    EXPECT_EQ(letters.size(), size_t(kChildren));
    EXPECT_EQ(names.size(), size_t(kChildren));
}

TEST_F(DosDevices, DriveRootsMapToMountPoints)
{
    DefineDosDevice({'E', "\\Device\\CdRom0", "/a.iso", ""});
    DefineDosDevice({'F', "\\Device\\CdRom1", "/b.iso", "/mnt/f/"});
    struct Case {
        std::string root, path;
    };
    const Case cases[] = {
        {"F:\\", "/mnt/f/"},
        {"f:", "/mnt/f/"},
        {"F:\\dir\\file.txt", "/mnt/f/dir/file.txt"},
        {"E:\\", ""},  // not mounted
        {"G:\\", ""},  // not defined
        {"", ""},
        {"nonsense", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DriveRootToPath(c.root), c.path) << c.root;
    SetDosDeviceMountPoint('e', "/mnt/e");
    EXPECT_EQ(DriveRootToPath("E:\\x"), "/mnt/e/x");
}

TEST_F(DosDevices, MalformedTableIsReportedAndKept)
{
    const std::string text = "E=\\Device\\CdRom0|/a.iso|\n9 is not a letter\n";
    kvtest::writeFile(table(), text);
    try {
        ReadDosDevices();
        ADD_FAILURE() << "no exception";
    } catch (const EOSError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Cannot parse " + table() + ", line 2: drive letter expected");
    }
    std::string target;
    EXPECT_FALSE(QueryDosDevice("E:", target));
    EXPECT_EQ(GetLastError(), EINVAL);
    EXPECT_THROW(DefineDosDevice({'F', "\\Device\\CdRom1", "", ""}), EOSError);
    EXPECT_EQ(kvtest::readFile(table()), text);
}

// ---- volume labels --------------------------------------------------------

namespace {

struct ImageSpec {
    std::string primary;            // ISO9660 volume id, "" for no ISO9660
    std::u16string joliet;          // "" for no Joliet descriptor
    std::u16string udf;             // "" for no UDF
    size_t sectorSize = 2048, dataOffset = 0;
};

void putSector(std::string& img, const ImageSpec& s, uint32_t lba, const std::string& data)
{
    size_t pos = lba * s.sectorSize + s.dataOffset;
    if (img.size() < (lba + 1) * s.sectorSize)
        img.resize((lba + 1) * s.sectorSize, '\0');
    img.replace(pos, data.size(), data);
}

std::string descriptor(unsigned char type, const char* id)
{
    std::string d(2048, '\0');
    d[0] = static_cast<char>(type);
    std::memcpy(&d[1], id, 5);
    d[6] = 1;
    return d;
}

void putLe(std::string& d, size_t at, uint32_t v, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        d[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

std::string buildImage(const ImageSpec& s)
{
    std::string img;
    uint32_t lba = 16;
    if (!s.primary.empty()) {
        std::string pvd = descriptor(1, "CD001");
        std::string id = s.primary;
        id.resize(32, ' ');
        pvd.replace(40, 32, id);
        putSector(img, s, lba++, pvd);
    }
    if (!s.joliet.empty()) {
        std::string svd = descriptor(2, "CD001");
        svd.replace(88, 3, "%/E");
        std::u16string id = s.joliet;
        id.resize(16, u' ');
        for (size_t i = 0; i < 16; ++i) {
            svd[40 + 2 * i] = static_cast<char>(id[i] >> 8);
            svd[41 + 2 * i] = static_cast<char>(id[i] & 0xFF);
        }
        putSector(img, s, lba++, svd);
    }
    if (!s.primary.empty())
        putSector(img, s, lba++, descriptor(255, "CD001"));
    if (!s.udf.empty()) {
        putSector(img, s, lba++, descriptor(0, "BEA01"));
        putSector(img, s, lba++, descriptor(0, "NSR02"));
        putSector(img, s, lba++, descriptor(0, "TEA01"));
        std::string anchor(2048, '\0');
        putLe(anchor, 0, 2, 2);
        putLe(anchor, 16, 4 * 2048, 4);
        putLe(anchor, 20, 32, 4);
        putSector(img, s, 256, anchor);
        std::string lvd(2048, '\0');
        putLe(lvd, 0, 6, 2);
        lvd[84] = 16;
        for (size_t i = 0; i < s.udf.size(); ++i) {
            lvd[85 + 2 * i] = static_cast<char>(s.udf[i] >> 8);
            lvd[86 + 2 * i] = static_cast<char>(s.udf[i] & 0xFF);
        }
        lvd[84 + 127] = static_cast<char>(1 + 2 * s.udf.size());
        putSector(img, s, 33, lvd);
    }
    putSector(img, s, lba + 1, std::string(2048, '\0'));
    return img;
}

}  // namespace

TEST_F(DosDevices, VolumeLabelComesFromTheMedium)
{
    kvtest::ScopedEnv all("LC_ALL", std::string("C.UTF-8"));
    struct Case {
        const char* what;
        ImageSpec spec;
        std::string label, fs;
    };
    const Case cases[] = {
        {"iso9660 only", {"MY_DISC", u"", u""}, "MY_DISC", "CDFS"},
        {"joliet wins", {"MY_DISC", u"My Disc \u00C4", u""}, "My Disc \xC3\x84", "CDFS"},
        {"blank label", {" ", u"", u""}, "", "CDFS"},
        {"raw mode 1 sectors", {"RAW_DISC", u"", u"", 2352, 16}, "RAW_DISC", "CDFS"},
        {"raw mode 2 sectors", {"XA_DISC", u"", u"", 2352, 24}, "XA_DISC", "CDFS"},
        {"udf bridge", {"ISO_NAME", u"", u"Udf Name"}, "Udf Name", "UDF"},
        {"udf only", {"", u"", u"Only Udf"}, "Only Udf", "UDF"},
    };
    kvtest::TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string image = dir.file("disc.img");
        kvtest::writeFile(image, buildImage(c.spec));
        DefineDosDevice({'E', "\\Device\\CdRom0", image, ""});
        std::string label = "stale", fs = "stale";
        ASSERT_TRUE(GetVolumeInformation("E:\\", label, fs));
        EXPECT_EQ(label, c.label);
        EXPECT_EQ(fs, c.fs);
    }
}

TEST_F(DosDevices, VolumeInformationFailsWithoutAReadableMedium)
{
    kvtest::TempDir dir;
    kvtest::writeFile(dir.file("empty.img"), std::string(40 * 2048, '\0'));
    kvtest::writeFile(dir.file("short.img"), "tiny");
    DefineDosDevice({'E', "\\Device\\CdRom0", dir.file("missing.iso"), ""});
    DefineDosDevice({'F', "\\Device\\CdRom1", dir.file("empty.img"), ""});
    DefineDosDevice({'G', "\\Device\\CdRom2", dir.file("short.img"), ""});
    struct Case {
        const char* root;
        int error;
    };
    const Case cases[] = {{"E:\\", ENOENT}, {"F:\\", EINVAL}, {"G:\\", EINVAL},
                          {"H:\\", ENOENT}, {"?", EINVAL}};
    for (const Case& c : cases) {
        std::string label = "x", fs = "x";
        EXPECT_FALSE(GetVolumeInformation(c.root, label, fs)) << c.root;
        EXPECT_EQ(GetLastError(), c.error) << c.root;
        EXPECT_EQ(label, "");
    }
}

TEST_F(DosDevices, CueSheetLeadsToItsDataFile)
{
    kvtest::TempDir dir;
    kvtest::writeFile(dir.file("disc.bin"), buildImage({"CUE_DISC", u"", u"", 2352, 16}));
    kvtest::writeFile(dir.file("disc.cue"),
                      "FILE \"disc.bin\" BINARY\n  TRACK 01 MODE1/2352\n    INDEX 01 00:00:00\n");
    std::string label, fs;
    ASSERT_TRUE(ReadVolumeLabel(dir.file("disc.cue"), label, fs));
    EXPECT_EQ(label, "CUE_DISC");
}
