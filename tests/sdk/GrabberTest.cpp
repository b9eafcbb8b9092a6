#include "SdkFixtures.h"
#include "TestDirs.h"
#include "burnkit.h"

#include <platform/DosDevices.h>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <map>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using namespace sdktest;

namespace {

// A drive map of an ISO drive (CdRom0) and a CUE/BIN drive (CdRom1).
class ImageDrives : public ::testing::Test {
protected:
    void SetUp() override {
        Disc = MakeDiscFiles(Dir.path());
        WriteDriveMap("CdRom0=" + Disc.Iso + "\nCdRom1=" + Disc.Cue + "\n");
    }
    void TearDown() override {
        if (Handle != nullptr)
            Burnkit_Destroy(&Handle);
    }

    void Open(const char* name) {
        Errors e;
        ASSERT_EQ(Burnkit_Grabber_CreateEx(&Handle, SDK_ERRORS(e), nullptr, nullptr, name, 0),
                  static_cast<EXCEPTION_NUMBER>(EN_SUCCESS))
            << e.Text;
        ASSERT_NE(Handle, nullptr);
    }

    kvtest::TempDir Dir;
    DiscFiles Disc;
    void* Handle = nullptr;
};

struct Found {
    std::string Name;
    SCSI_DEVICE_ADDRESS Address;
};

void CollectDrive(uint32_t reason, void* context, void* param1, void* param2) {
    ASSERT_EQ(reason, static_cast<uint32_t>(BURNKIT_CALLBACK_REASON_DEVICE_FOUND));
    auto* found = static_cast<std::vector<Found>*>(context);
    found->push_back(Found{static_cast<const char*>(param2), *static_cast<SCSI_DEVICE_ADDRESS*>(param1)});
}

struct Progress {
    std::vector<std::pair<int64_t, int64_t>> Steps;  // total, done
    int BufferReports = 0;
};

void CollectProgress(uint32_t reason, void* context, void* param1, void* param2) {
    auto* p = static_cast<Progress*>(context);
    if (reason == BURNKIT_CALLBACK_REASON_GRAB_PROGRESS)
        p->Steps.emplace_back(*static_cast<int64_t*>(param1), *static_cast<int64_t*>(param2));
    else if (reason == BURNKIT_CALLBACK_REASON_BUFFER_STATE) {
        EXPECT_LE(*static_cast<uint32_t*>(param2), *static_cast<uint32_t*>(param1));
        ++p->BufferReports;
    }
}

}  // namespace

TEST_F(ImageDrives, FindDeviceListsEveryDriveWithAddressAndLetter) {
    std::vector<Found> found;
    EXPECT_EQ(Burnkit_FindDevice(5, 0, CollectDrive, &found), static_cast<EXCEPTION_NUMBER>(EN_SUCCESS));
    std::map<std::string, SCSI_DEVICE_ADDRESS> byName;
    for (const Found& f : found)
        byName[f.Name] = f.Address;
    ASSERT_EQ(byName.count("CdRom0"), 1u);
    ASSERT_EQ(byName.count("CdRom1"), 1u);
    for (int n = 0; n < 2; ++n) {
        const SCSI_DEVICE_ADDRESS& a = byName["CdRom" + std::to_string(n)];
        EXPECT_EQ(a.m__BOOLEAN__IsValid, 1);
        EXPECT_EQ(a.m__UCHAR__TargetID, n);
        // The address leads back to the drive's letter, whose DOS device is the drive.
        char name[1024];
        ASSERT_EQ(Burnkit_GetDeviceNameByDeviceAddress(a.m__UCHAR__PortID, a.m__UCHAR__BusID, a.m__UCHAR__TargetID,
                                                       a.m__UCHAR__LUN, name),
                  static_cast<EXCEPTION_NUMBER>(EN_SUCCESS));
        ASSERT_EQ(std::strlen(name), 6u) << name;
        EXPECT_EQ(std::string(name, 4), "\\\\.\\");
        std::string target;
        ASSERT_TRUE(platform::QueryDosDevice(std::string(name + 4), target));
        EXPECT_EQ(target, "\\Device\\CdRom" + std::to_string(n));
    }
    // Opening by address reaches the same drive as opening by name.
    const SCSI_DEVICE_ADDRESS& a = byName["CdRom1"];
    Errors e;
    ASSERT_EQ(Burnkit_Grabber_Create(&Handle, SDK_ERRORS(e), nullptr, nullptr, a.m__UCHAR__PortID, a.m__UCHAR__BusID,
                                     a.m__UCHAR__TargetID, a.m__UCHAR__LUN, 0),
              static_cast<EXCEPTION_NUMBER>(EN_SUCCESS))
        << e.Text;
    TOC_INFORMATION toc;
    ASSERT_EQ(Burnkit_Grabber_GetTOCInformation(Handle, SDK_ERRORS(e), &toc), static_cast<EXCEPTION_NUMBER>(EN_SUCCESS));
    EXPECT_EQ(toc.m__UCHAR__NumberOfTracks, 3);
}

TEST_F(ImageDrives, AddressWithoutDriveIsNotFound) {
    char name[1024] = "stale";
    EXPECT_EQ(Burnkit_GetDeviceNameByDeviceAddress(1, 0, 9, 0, name), static_cast<EXCEPTION_NUMBER>(EN_NOT_FOUND));
    EXPECT_STREQ(name, "");
}

TEST_F(ImageDrives, TableOfContentsAndTrackInformationOfCueSheet) {
    Open("cdrom1");
    Errors e;
    EXPECT_EQ(Burnkit_Grabber_TestUnitReady(Handle, SDK_ERRORS(e)), static_cast<EXCEPTION_NUMBER>(EN_SUCCESS));
    EXPECT_STREQ(e.Text, "");
    EXPECT_EQ(e.SystemError, 0u);
    EXPECT_EQ(Burnkit_Grabber_GetInsertedDiscType(Handle), static_cast<DISC_TYPE>(DISC_TYPE_CDROM));

    TOC_INFORMATION toc;
    ASSERT_EQ(Burnkit_Grabber_GetTOCInformation(Handle, SDK_ERRORS(e), &toc), static_cast<EXCEPTION_NUMBER>(EN_SUCCESS));
    EXPECT_EQ(toc.m__BOOLEAN__IsValid, 1);
    EXPECT_EQ(toc.m__BOOLEAN__IsDVD, 0);
    ASSERT_EQ(toc.m__UCHAR__NumberOfTracks, 3);
    struct Expected {
        int Start, End, Index00, Audio, LbSize, Mode;
        uint8_t StartMsf[3];
    } expected[3] = {
        {0, 30, 0, 0, 2048, 1, {0, 2, 0}},
        {30, 110, 30, 1, 2352, 0, {0, 2, 30}},
        {130, 190, 110, 1, 2352, 0, {0, 3, 55}},
    };
    for (int i = 0; i < 3; ++i) {
        const TOC_ENTRY& t = toc.m__TOC_ENTRY[i];
        SCOPED_TRACE("track " + std::to_string(i + 1));
        EXPECT_EQ(t.m__BOOLEAN__IsValid, 1);
        EXPECT_EQ(t.m__UCHAR__TrackNumber, i + 1);
        EXPECT_EQ(t.m__LONG__StartingLBA, expected[i].Start);
        EXPECT_EQ(t.m__LONG__EndingLBA, expected[i].End);
        EXPECT_EQ(t.m__LONG__Index00, expected[i].Index00);
        EXPECT_EQ(t.m__BOOLEAN__IsAudio, expected[i].Audio);
        EXPECT_EQ(t.m__BOOLEAN__IsData, 1 - expected[i].Audio);
        EXPECT_EQ(t.m__ULONG__LBSizeInUCHARs, static_cast<uint32_t>(expected[i].LbSize));
        EXPECT_EQ(t.m__UCHAR__TrackMode, expected[i].Mode);
        EXPECT_EQ(0, std::memcmp(t.m__UCHAR__StartingMSF, expected[i].StartMsf, 3));

        TRACK_INFORMATION info;
        ASSERT_EQ(Burnkit_Grabber_GetTrackInformation(Handle, SDK_ERRORS(e), i + 1, &info),
                  static_cast<EXCEPTION_NUMBER>(EN_SUCCESS));
        EXPECT_EQ(info.m__BOOLEAN__IsValid, 1);
        EXPECT_EQ(info.m__UCHAR__TrackNumber, i + 1);
        EXPECT_EQ(info.m__LONG__TrackStartAddress, expected[i].Start);
        EXPECT_EQ(info.m__UCHAR__TrackMode, expected[i].Audio ? 0 : 4);
    }
    EXPECT_EQ(toc.m__TOC_ENTRY[3].m__BOOLEAN__IsValid, 0);

    DISC_INFORMATION disc;
    ASSERT_EQ(Burnkit_Grabber_GetDiscInformation(Handle, SDK_ERRORS(e), &disc),
              static_cast<EXCEPTION_NUMBER>(EN_SUCCESS));
    EXPECT_EQ(disc.m__BOOLEAN__IsValid, 1);
    EXPECT_EQ(disc.m__UCHAR__FirstTrackNumber, 1);
    EXPECT_EQ(disc.m__UCHAR__LastSessionLastTrack, 3);
    EXPECT_EQ(disc.m__BOOLEAN__IsErasable, 0);

    TRACK_INFORMATION info;
    EXPECT_EQ(Burnkit_Grabber_GetTrackInformation(Handle, SDK_ERRORS(e), 4, &info),
              static_cast<EXCEPTION_NUMBER>(EN_NOT_FOUND));
    EXPECT_STREQ(e.Text, "Track 4 is not on the disc (tracks 1 to 3)");
    EXPECT_EQ(Burnkit_Grabber_GetTrackInformation(Handle, SDK_ERRORS(e), TRACK_NUMBER_INVISIBLE, &info),
              static_cast<EXCEPTION_NUMBER>(EN_SCSI_CDB_FAILED));
}

TEST_F(ImageDrives, GrabsEveryTrackByteForByteWithProgress) {
    struct Case {
        const char* Drive;
        uint8_t Track;
        const std::string* Source;
        bool Wave;
    } cases[] = {
        {"CdRom0", 1, &Disc.IsoBytes, false},
        {"CdRom1", 1, &Disc.DataTrack, false},
        {"CdRom1", 2, &Disc.AudioTrack2, true},
        {"CdRom1", 3, &Disc.AudioTrack3, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.Drive) + " track " + std::to_string(c.Track));
        Progress progress;
        Errors e;
        void* h = nullptr;
        ASSERT_EQ(Burnkit_Grabber_CreateEx(&h, SDK_ERRORS(e), CollectProgress, &progress, c.Drive, 0),
                  static_cast<EXCEPTION_NUMBER>(EN_SUCCESS));
        std::string out = Dir.file("out.bin");
        ASSERT_EQ(Burnkit_Grabber_GrabTrack(h, SDK_ERRORS(e), c.Track, out.c_str(), 1, 1, 0, 1),
                  static_cast<EXCEPTION_NUMBER>(EN_SUCCESS))
            << e.Text;
        Burnkit_Destroy(&h);
        EXPECT_EQ(h, nullptr);
        std::string bytes = kvtest::readFile(out);
        if (c.Wave) {
            ASSERT_EQ(bytes.size(), 44 + c.Source->size());
            EXPECT_EQ(bytes.substr(0, 4), "RIFF");
            EXPECT_EQ(bytes.substr(8, 8), "WAVEfmt ");
            uint32_t rate, dataSize;
            std::memcpy(&rate, bytes.data() + 24, 4);
            std::memcpy(&dataSize, bytes.data() + 40, 4);
            EXPECT_EQ(rate, 44100u);
            EXPECT_EQ(dataSize, c.Source->size());
            EXPECT_TRUE(bytes.compare(44, std::string::npos, *c.Source) == 0);
        } else {
            EXPECT_TRUE(bytes == *c.Source);
        }
        // Progress starts at 0, never goes back and ends with everything done.
        ASSERT_GE(progress.Steps.size(), 2u);
        EXPECT_EQ(progress.Steps.front().second, 0);
        EXPECT_EQ(progress.Steps.back().second, static_cast<int64_t>(c.Source->size()));
        for (size_t i = 1; i < progress.Steps.size(); ++i) {
            EXPECT_EQ(progress.Steps[i].first, static_cast<int64_t>(c.Source->size()));
            EXPECT_GT(progress.Steps[i].second, progress.Steps[i - 1].second);
        }
        EXPECT_GT(progress.BufferReports, 0);
    }
}

TEST_F(ImageDrives, GrabReportsAtLeastEveryWholePercentOfALongTrack) {
    // 3000 sectors are read in 512-sector chunks: progress must still step by
    // at most one percent.
    kvtest::writeFile(Dir.file("long.iso"), Pattern(3000 * 2048, 9));
    WriteDriveMap("CdRom2=" + Dir.file("long.iso") + "\n");
    Progress progress;
    Errors e;
    ASSERT_EQ(Burnkit_Grabber_CreateEx(&Handle, SDK_ERRORS(e), CollectProgress, &progress, "CdRom2", 0),
              static_cast<EXCEPTION_NUMBER>(EN_SUCCESS));
    ASSERT_EQ(Burnkit_Grabber_GrabTrack(Handle, SDK_ERRORS(e), 1, Dir.file("long.out").c_str(), 1, 1, 0, 1),
              static_cast<EXCEPTION_NUMBER>(EN_SUCCESS));
    int64_t last = -1;
    for (const auto& [total, done] : progress.Steps) {
        int64_t percent = done * 100 / total;
        EXPECT_LE(percent - last, 1) << "jumped from " << last << " to " << percent;
        last = percent;
    }
    EXPECT_EQ(last, 100);
}

TEST_F(ImageDrives, RawSectorsAndHeaderlessAudio) {
    Open("CdRom1");
    Errors e;
    std::string out = Dir.file("raw.pcm");
    ASSERT_EQ(Burnkit_Grabber_GrabTrack(Handle, SDK_ERRORS(e), 2, out.c_str(), 1, 0, 0, 0),
              static_cast<EXCEPTION_NUMBER>(EN_SUCCESS));
    EXPECT_TRUE(kvtest::readFile(out) == Disc.AudioTrack2);
    // A MODE1/2048 track has no raw sectors to give.
    EXPECT_EQ(Burnkit_Grabber_GrabTrack(Handle, SDK_ERRORS(e), 1, out.c_str(), 1, 1, 1, 0),
              static_cast<EXCEPTION_NUMBER>(EN_UNSUPPORTED_READ_MODE));
}

TEST_F(ImageDrives, EjectTakesTheDiscAwayUntilLoaded) {
    Open("CdRom0");
    Errors e;
    ASSERT_EQ(Burnkit_Grabber_Eject(Handle, SDK_ERRORS(e)), static_cast<EXCEPTION_NUMBER>(EN_SUCCESS));
    EXPECT_EQ(Burnkit_Grabber_TestUnitReady(Handle, SDK_ERRORS(e)), static_cast<EXCEPTION_NUMBER>(EN_SCSI_CDB_FAILED));
    EXPECT_STREQ(e.Text, "No disc in drive CdRom0");
    EXPECT_EQ(Burnkit_Grabber_GetInsertedDiscType(Handle), static_cast<DISC_TYPE>(DISC_TYPE_NO_MEDIA));
    TOC_INFORMATION toc;
    EXPECT_EQ(Burnkit_Grabber_GetTOCInformation(Handle, SDK_ERRORS(e), &toc),
              static_cast<EXCEPTION_NUMBER>(EN_SCSI_CDB_FAILED));
    ASSERT_EQ(Burnkit_Grabber_LoadEx(Handle, e.Text, sizeof(e.Text), &e.SystemError, 0, 1),
              static_cast<EXCEPTION_NUMBER>(EN_SUCCESS));
    EXPECT_EQ(Burnkit_Grabber_TestUnitReady(Handle, SDK_ERRORS(e)), static_cast<EXCEPTION_NUMBER>(EN_SUCCESS));
}

TEST_F(ImageDrives, DestroyRefusesHandlesItDoesNotKnow) {
    Open("CdRom0");
    void* copy = Handle;
    EXPECT_EQ(Burnkit_Destroy(&Handle), static_cast<EXCEPTION_NUMBER>(EN_SUCCESS));
    EXPECT_EQ(Handle, nullptr);
    // A destroyed handle is refused, not used.
    EXPECT_EQ(Burnkit_Destroy(&copy), static_cast<EXCEPTION_NUMBER>(EN_INVALID_INPUT_PARAMETER));
    Errors e;
    EXPECT_EQ(Burnkit_Grabber_TestUnitReady(copy, SDK_ERRORS(e)),
              static_cast<EXCEPTION_NUMBER>(EN_INVALID_INPUT_PARAMETER));
    EXPECT_STREQ(e.Text, "Invalid grabber handle");
    EXPECT_EQ(Burnkit_Destroy(nullptr), static_cast<EXCEPTION_NUMBER>(EN_INVALID_INPUT_PARAMETER));
}

TEST(FastReadToc, IsOneSettingOfTheProcess) {
    Burnkit_SetFastReadTOC(1);
    EXPECT_EQ(Burnkit_GetFastReadTOC(), 1);
    Burnkit_SetFastReadTOC(0);
    EXPECT_EQ(Burnkit_GetFastReadTOC(), 0);
}

// Opening drives whose backing is bad: each is a clear failure.
struct BadDrive {
    const char* Name;
    const char* Map;   // drive-map text; {dir} is the test folder
    EXCEPTION_NUMBER Result;
    const char* Text;  // expected error text; {dir} is the test folder
};
void PrintTo(const BadDrive& c, std::ostream* os) { *os << c.Name; }

class BadDrives : public ::testing::TestWithParam<BadDrive> {
protected:
    static std::string Fill(std::string s, const std::string& dir) {
        for (size_t p; (p = s.find("{dir}")) != std::string::npos;)
            s.replace(p, 5, dir);
        return s;
    }
    void SetUp() override {
        kvtest::writeFile(Dir.file("good.iso"), Pattern(4 * 2048, 1));
        kvtest::writeFile(Dir.file("odd.iso"), Pattern(4 * 2048 + 7, 1));
        kvtest::writeFile(Dir.file("a.bin"), Pattern(30 * 2352, 2));
        const char* track = "  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n";
        kvtest::writeFile(Dir.file("missing-bin.cue"), std::string("FILE \"gone.bin\" BINARY\n") + track);
        kvtest::writeFile(Dir.file("mode.cue"), "FILE a.bin BINARY\n  TRACK 01 MODE2/2336\n    INDEX 01 00:00:00\n");
        kvtest::writeFile(Dir.file("order.cue"),
                          "FILE a.bin BINARY\n  TRACK 02 AUDIO\n    INDEX 01 00:00:00\n"
                          "  TRACK 01 AUDIO\n    INDEX 01 00:00:10\n");
        kvtest::writeFile(Dir.file("truncated.cue"),
                          "FILE a.bin BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"
                          "  TRACK 02 AUDIO\n    INDEX 01 00:00:40\n");
        kvtest::writeFile(Dir.file("bad.json"), "{\"vendor\": \"x\",");
        std::filesystem::create_directory(Dir.file("folder.iso"));
        WriteDriveMap(Fill(GetParam().Map, Dir.path()));
    }
    kvtest::TempDir Dir;
};

TEST_P(BadDrives, OpeningFailsWithResultErrnoAndText) {
    const BadDrive& c = GetParam();
    Errors e;
    void* h = reinterpret_cast<void*>(0x1);
    EXPECT_EQ(Burnkit_Grabber_CreateEx(&h, SDK_ERRORS(e), nullptr, nullptr, "CdRom3", 0), c.Result);
    EXPECT_EQ(h, nullptr);
    EXPECT_EQ(std::string(e.Text), Fill(c.Text, Dir.path()));
    EXPECT_NE(e.SystemError, 12345u);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BadDrives,
    ::testing::Values(
        BadDrive{"MissingImage", "CdRom3={dir}/none.iso\n", EN_NOT_FOUND,
                 "Cannot open image {dir}/none.iso: No such file or directory"},
        BadDrive{"ImageIsAFolder", "CdRom3={dir}/folder.iso\n", EN_SYSTEM_CALL_FAILED,
                 "Cannot open image {dir}/folder.iso: Is a directory"},
        BadDrive{"ImageOfPartialSectors", "CdRom3={dir}/odd.iso\n", EN_UNRECOGNIZED_MEDIA,
                 "Image {dir}/odd.iso is not a whole number of 2048-byte sectors (8199 bytes)"},
        BadDrive{"CueNamesMissingBin", "CdRom3={dir}/missing-bin.cue\n", EN_NOT_FOUND,
                 "Cannot open BIN file {dir}/gone.bin named by cue sheet {dir}/missing-bin.cue: No such file or "
                 "directory"},
        BadDrive{"CueWithUnknownMode", "CdRom3={dir}/mode.cue\n", EN_UNRECOGNIZED_MEDIA,
                 "Cue sheet {dir}/mode.cue line 2: unsupported track mode 'MODE2/2336'"},
        BadDrive{"CueWithTracksOutOfOrder", "CdRom3={dir}/order.cue\n", EN_UNRECOGNIZED_MEDIA,
                 "Cue sheet {dir}/order.cue line 4: track 1 follows track 2 (tracks must be numbered in order)"},
        BadDrive{"TruncatedBin", "CdRom3={dir}/truncated.cue\n", EN_UNRECOGNIZED_MEDIA,
                 "Cue sheet {dir}/truncated.cue: 'a.bin' is truncated: track 2 starts at byte 94080, the file has "
                 "70560 bytes"},
        BadDrive{"MalformedDriveMapLine", "CdRom0={dir}/good.iso\nCdRom3\n", EN_NOT_FOUND,
                 "No drive named 'CdRom3' (drives.conf line 2: expected CdRomN=PATH with N from 0 to 9, found "
                 "'CdRom3')"},
        BadDrive{"MalformedScriptedDrive", "CdRom3=scripted:{dir}/bad.json\n", EN_INVALID_INPUT_PARAMETER,
                 "Scripted drive {dir}/bad.json: not valid JSON: [json.exception.parse_error.101] parse error at "
                 "line 1, column 16: syntax error while parsing object key - unexpected end of input; expected "
                 "string literal"},
        BadDrive{"MissingScript", "CdRom3=scripted:{dir}/none.json\n", EN_NOT_FOUND,
                 "Cannot open scripted drive {dir}/none.json: No such file or directory"}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(ImageDrives, MalformedDriveMapStillListsTheGoodDrivesButFails) {
    WriteDriveMap("CdRom0=" + Disc.Iso + "\nnonsense\n");
    std::vector<Found> found;
    EXPECT_EQ(Burnkit_FindDevice(5, 0, CollectDrive, &found),
              static_cast<EXCEPTION_NUMBER>(EN_INVALID_INPUT_PARAMETER));
    bool listed = false;
    for (const Found& f : found)
        listed = listed || f.Name == "CdRom0";
    EXPECT_TRUE(listed);
}

// Grabs that cannot be done fail, and leave no output file behind.
TEST_F(ImageDrives, GrabFailuresLeaveNoOutput) {
    Open("CdRom1");
    Errors e;
    const std::string out = Dir.file("out.iso");

    EXPECT_EQ(Burnkit_Grabber_GrabTrack(Handle, SDK_ERRORS(e), 7, out.c_str(), 1, 1, 0, 1),
              static_cast<EXCEPTION_NUMBER>(EN_NOT_FOUND));
    EXPECT_STREQ(e.Text, "Track 7 is not on the disc (tracks 1 to 3)");

    const std::string noFolder = Dir.file("no/such/folder/out.iso");
    EXPECT_EQ(Burnkit_Grabber_GrabTrack(Handle, SDK_ERRORS(e), 1, noFolder.c_str(), 1, 1, 0, 1),
              static_cast<EXCEPTION_NUMBER>(EN_SYSTEM_CALL_FAILED));
    EXPECT_EQ(std::string(e.Text), "Cannot create output file " + noFolder + ": No such file or directory");
    EXPECT_EQ(e.SystemError, static_cast<uint32_t>(ENOENT));

    // The drive's own image as the output: refused, and the image survives.
    EXPECT_EQ(Burnkit_Grabber_GrabTrack(Handle, SDK_ERRORS(e), 1, Disc.DataBin.c_str(), 1, 1, 0, 1),
              static_cast<EXCEPTION_NUMBER>(EN_INVALID_INPUT_PARAMETER));
    EXPECT_EQ(std::string(e.Text), "The output file " + Disc.DataBin + " is the disc image being read");
    EXPECT_TRUE(kvtest::readFile(Disc.DataBin) == Disc.DataTrack);

    // A full disk: the output is a link to /dev/full.
    const std::string full = Dir.file("full.iso");
    ASSERT_EQ(::symlink("/dev/full", full.c_str()), 0);
    EXPECT_EQ(Burnkit_Grabber_GrabTrack(Handle, SDK_ERRORS(e), 1, full.c_str(), 1, 1, 0, 1),
              static_cast<EXCEPTION_NUMBER>(EN_SYSTEM_CALL_FAILED));
    EXPECT_EQ(std::string(e.Text), "Cannot write output file " + full + ": No space left on device");
    EXPECT_EQ(e.SystemError, static_cast<uint32_t>(ENOSPC));
    struct stat st {};
    EXPECT_NE(::lstat(full.c_str(), &st), 0) << "the failed output is still there";

    // The BIN file shrinks after the drive was opened: a short read.
    ASSERT_EQ(::truncate(Disc.AudioBin.c_str(), 40 * 2352), 0);
    EXPECT_EQ(Burnkit_Grabber_GrabTrack(Handle, SDK_ERRORS(e), 2, out.c_str(), 1, 1, 0, 1),
              static_cast<EXCEPTION_NUMBER>(EN_GENERAL_READ_ERROR));
    const std::string shortRead = "Cannot read track 2 from " + Disc.AudioBin + ": the file ends at byte 94080, ";
    EXPECT_EQ(std::string(e.Text).substr(0, shortRead.size()), shortRead);
    EXPECT_FALSE(std::filesystem::exists(out));
}
