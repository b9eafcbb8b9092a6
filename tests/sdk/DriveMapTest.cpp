#include "DriveMap.h"

#include <gtest/gtest.h>

using namespace kvsdk;

TEST(DriveMap, ReadsImageAndScriptedDrivesWithCommentsAndRelativePaths) {
    DriveMap map = ParseDriveMap(
        "# test drives\n"
        "\n"
        "CdRom0=/images/a.iso\r\n"
        "  cdrom3 = disc.cue  \n"
        "CdRom5=scripted:drives/d.json\n",
        "/sys");
    EXPECT_TRUE(map.Errors.empty());
    ASSERT_EQ(map.Entries.size(), 3u);
    EXPECT_EQ(map.Entries[0].Number, 0);
    EXPECT_EQ(map.Entries[0].Path, "/images/a.iso");
    EXPECT_EQ(map.Entries[0].Source, DriveMapEntry::Kind::Image);
    EXPECT_EQ(map.Entries[1].Number, 3);
    EXPECT_EQ(map.Entries[1].Path, "/sys/disc.cue");
    EXPECT_EQ(map.Entries[2].Source, DriveMapEntry::Kind::Scripted);
    EXPECT_EQ(map.Entries[2].Path, "/sys/drives/d.json");
}

TEST(DriveMap, MalformedLinesAreReportedAndSkipped) {
    struct Case {
        const char* Line;
        const char* Error;
    } cases[] = {
        {"CdRom1", "drives.conf line 2: expected CdRomN=PATH with N from 0 to 9, found 'CdRom1'"},
        {"CdRom12=/a.iso", "drives.conf line 2: expected CdRomN=PATH with N from 0 to 9, found 'CdRom12=/a.iso'"},
        {"Disk1=/a.iso", "drives.conf line 2: expected CdRomN=PATH with N from 0 to 9, found 'Disk1=/a.iso'"},
        {"CdRom1=", "drives.conf line 2: CdRom1 has no path"},
        {"CdRom1=scripted:", "drives.conf line 2: CdRom1 has no path"},
        {"CdRom0=/b.iso", "drives.conf line 2: CdRom0 is already defined in line 1"},
    };
    for (const Case& c : cases) {
        DriveMap map = ParseDriveMap(std::string("CdRom0=/a.iso\n") + c.Line + "\nCdRom2=/c.iso\n", "/sys");
        ASSERT_EQ(map.Errors.size(), 1u) << c.Line;
        EXPECT_EQ(map.Errors[0], c.Error);
        // The good lines around the bad one still count.
        ASSERT_EQ(map.Entries.size(), 2u) << c.Line;
        EXPECT_EQ(map.Entries[0].Path, "/a.iso");
        EXPECT_EQ(map.Entries[1].Number, 2);
    }
}
