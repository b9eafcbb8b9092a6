#include <gtest/gtest.h>

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

#include <platform/Errors.h>

#include "EngineTestSupport.h"
#include "TsbBurner.h"
#include "sbTrackList.h"

namespace {

using enginetest::CueTrack;
using enginetest::DriveMap;
using enginetest::TraceCapture;

// A burner with the grabber of CdRom0 open.
std::unique_ptr<TsbBurner> OpenBurner(DISC_TYPE discType = DISC_TYPE_UNKNOWN)
{
    auto burner = std::make_unique<TsbBurner>();
    burner->TransportType() = ttSpti;
    burner->DeviceName() = "CdRom0";
    burner->PrepareGrabber();
    burner->DiscType() = discType;
    return burner;
}

TEST(GrabberTest, OpeningAgainClosesTheOldGrabberFirst)
{
    DriveMap map;
    map.AddImage(0, enginetest::MakeIsoImage(map.Dir().file("disc.iso"), 16));
    TraceCapture trace;
    TsbBurner burner;
    burner.TransportType() = ttSpti;
    burner.DeviceName() = "CdRom0";
    burner.PrepareGrabber();
    ASSERT_NE(burner.Grabber, nullptr);
    burner.PrepareGrabber();
    EXPECT_EQ(trace.Messages(),
              (std::vector<std::string>{"Burnkit_Grabber_Create (before create)",
                                        "Burnkit_Grabber_Create (after create): PortID:0,BusID:0,TargetID:0,LUN:0",
                                        "Burnkit_Grabber_Release", "Burnkit_Destroy: Grabber",
                                        "Burnkit_Grabber_Create (before create)",
                                        "Burnkit_Grabber_Create (after create): PortID:0,BusID:0,TargetID:0,LUN:0"}));
}

TEST(GrabberTest, FailedCreationReportsTheCommonNameAndRaises)
{
    DriveMap map;
    map.AddScripted(0, R"({"failures": {"Burnkit_Grabber_CreateEx": {"result": 17, "systemError": 2,
        "text": "no such drive"}}})");
    TraceCapture trace;
    TsbBurner burner;
    burner.TransportType() = ttSpti;
    burner.DeviceName() = "CdRom0";
    const std::string expected = "Burnkit_Grabber_Create() failed, exception 17, status 2, text \"no such drive\"";
    try {
        burner.PrepareGrabber();
        FAIL() << "no exception";
    } catch (const platform::EOSError& e) {
        EXPECT_EQ(e.what(), expected);
    }
    EXPECT_EQ(burner.Message(), expected);
    EXPECT_EQ(trace.Messages().back(), expected);
}

TEST(GrabberTest, FailedReleaseIsOnlyLoggedWithTrailingBackslashN)
{
    DriveMap map;
    map.AddScripted(0, R"({"failures": {"Burnkit_Grabber_Release": {"result": 6, "systemError": 5,
        "text": "tray stuck"}}})");
    auto burner = OpenBurner();
    TraceCapture trace;
    EXPECT_NO_THROW(burner->UnlockDrive());
    const std::string expected = "Burnkit_Grabber_Release() failed, exception 6, status 5, text \"tray stuck\"\\n";
    EXPECT_EQ(burner->Message(), expected);
    EXPECT_EQ(trace.Messages(), (std::vector<std::string>{"Burnkit_Grabber_Release", expected}));
}

TEST(TrackListTest, NoGrabberGivesEmptyListWithoutTrace)
{
    TraceCapture trace;
    TsbBurner burner;
    TsbTrackList list;
    list.Add();
    FillTrackList(&list, &burner);
    EXPECT_EQ(list.Count(), 0);
    EXPECT_TRUE(trace.Messages().empty());
}

TEST(TrackListTest, SizesTextsAndFiveLinesPerEntry)
{
    DriveMap map;
    map.AddImage(0, enginetest::MakeCueImage(map.Dir().file("sizes.cue"), {{"MODE1/2048", 1000},
                                                                           {"MODE1/2048", 333000},
                                                                           {"MODE1/2048", 400}}));
    auto burner = OpenBurner();
    TraceCapture trace;
    TsbTrackList list;
    FillTrackList(&list, burner.get());
    ASSERT_EQ(list.Count(), 3);
    const char* sizes[] = {"1 MB", "650 MB", "800 KB"};
    const int64_t blocks[] = {1000, 333000, 400};
    for (int i = 0; i < 3; ++i) {
        const TsbTrack& t = *list.GetItems(i);
        EXPECT_EQ(t.TrackSizeInLB, blocks[i]);
        EXPECT_EQ(t.TrackSizeInBytes, blocks[i] * 2048);
        EXPECT_EQ(t.TrackSizeInTime, 0.0);
        const std::string n = std::to_string(i + 1);
        EXPECT_EQ(t.ShortStrInfo, std::string("Size: ") + sizes[i] + ", Track Blank: No, free LBs " +
                                      std::to_string(t.TRACK_INFORMATION.m__LONG__FreeLBs) + ", track number " + n);
        EXPECT_EQ(t.StrInfo, std::string("Size: ") + sizes[i] + ", Track Blank: No, NWA valid: " +
                                 (t.TRACK_INFORMATION.m__BOOLEAN__IsNextWritableAddressValid ? "Yes" : "No") +
                                 ", free LBs " + std::to_string(t.TRACK_INFORMATION.m__LONG__FreeLBs) + ", NWA " +
                                 std::to_string(t.TRACK_INFORMATION.m__LONG__NextWritableAddress) +
                                 ", track number " + n);
    }
    std::vector<std::string> lines = trace.Messages();
    ASSERT_EQ(lines.size(), 1u + 3u * 6u);
    EXPECT_EQ(lines[0], "Burnkit_Grabber_GetTOCInformation");
    EXPECT_EQ(lines[1], "Burnkit_Grabber_GetTrackInformation");
    EXPECT_EQ(lines[2], "TOC Index 1, Track Number: 0x01, Entry Valid: Yes");
    EXPECT_EQ(lines[3], "Starting LBA 0, Starting MSF 0:2:0, Ending LBA 1000, Ending MSF 0:15:25");
    EXPECT_EQ(lines[4], "MCN Available: No, ISRC Available: No, Four Channels Audio: No, Pre-Emphasis Audio: No");
    EXPECT_EQ(lines[5], "Data: Yes, Audio: No, Digital Copy Prohibited: No");
    EXPECT_EQ(lines[6], "Track Mode: 0x01, MODE2 Form: 0x00 (if Track Mode = 0x02), LB (logical block) Size In "
                        "UCHARs: 2048");
    EXPECT_EQ(burner->Message(), lines.back());
}

struct WalkCase {
    DISC_TYPE discType;
    int tracks;
    int read;
};
void PrintTo(const WalkCase& c, std::ostream* os)
{
    *os << (c.discType == DISC_TYPE_DVDR ? "DVD-R" : c.discType == DISC_TYPE_DVDPLUSR ? "DVD+R" : "CD-ROM") << ", "
        << c.tracks << (c.tracks == 1 ? " track" : " tracks");
}

class DvdRecordableWalkTest : public ::testing::TestWithParam<WalkCase> {};

TEST_P(DvdRecordableWalkTest, StopsBeforeTheLastTwoPositions)
{
    const WalkCase& c = GetParam();
    DriveMap map;
    map.AddImage(0, enginetest::MakeCueImage(map.Dir().file("walk.cue"),
                                             std::vector<CueTrack>(size_t(c.tracks), CueTrack{"MODE1/2048", 20})));
    auto burner = OpenBurner(c.discType);
    TsbTrackList list;
    FillTrackList(&list, burner.get());
    ASSERT_EQ(list.Count(), c.read);
    for (int i = 0; i < c.read; ++i) EXPECT_EQ(list.GetItems(i)->TOC_ENTRY.m__UCHAR__TrackNumber, i + 1);
}

INSTANTIATE_TEST_SUITE_P(Walks, DvdRecordableWalkTest,
                         ::testing::Values(WalkCase{DISC_TYPE_DVDR, 1, 1}, WalkCase{DISC_TYPE_DVDR, 2, 0},
                                           WalkCase{DISC_TYPE_DVDR, 5, 3}, WalkCase{DISC_TYPE_DVDPLUSR, 5, 3},
                                           WalkCase{DISC_TYPE_CDROM, 2, 2}));

TEST(TrackListTest, MissingTableIsEmptyOtherFailuresRaise)
{
    struct {
        const char* failure;
        bool raises;
    } cases[] = {{R"({"result": 8, "text": "no table"})", false},
                 {R"({"result": 28, "systemError": 5, "text": "read error"})", true}};
    for (const auto& c : cases) {
        DriveMap map;
        std::string iso = enginetest::MakeIsoImage(map.Dir().file("d.iso"), 16);
        map.AddScripted(0, std::string(R"({"disc": {"image": ")") + iso +
                               R"("}, "failures": {"Burnkit_Grabber_GetTOCInformation": )" + c.failure + "}}");
        auto burner = OpenBurner();
        TsbTrackList list;
        if (c.raises) {
            EXPECT_THROW(FillTrackList(&list, burner.get()), platform::EOSError);
            EXPECT_EQ(burner->Message(),
                      "Burnkit_Grabber_GetTOCInformation() failed, exception 28, status 5, text \"read error\"");
        } else {
            EXPECT_NO_THROW(FillTrackList(&list, burner.get()));
        }
        EXPECT_EQ(list.Count(), 0);
    }
}

TEST(SpeedTablesTest, ListedRatesInAscendingOrder)
{
    EXPECT_EQ(CD_SPEEDS[5].ulSpeedInKBps, 1400u);
    EXPECT_STREQ(CD_SPEEDS[9].pSpeedX, "20.0x");
    EXPECT_EQ(CD_SPEEDS[9].ulSpeedInKBps, 3250u);
    EXPECT_EQ(DVD_SPEEDS.back().ulSpeedInKBps, 22160u);
    EXPECT_EQ(BD_SPEEDS[3].ulSpeedInKBps, 26970u);
    auto ascending = [](const auto& table) {
        return std::is_sorted(table.begin(), table.end(),
                              [](const CDDVD_SPEED& a, const CDDVD_SPEED& b) { return a.ulSpeedInKBps < b.ulSpeedInKBps; });
    };
    EXPECT_TRUE(ascending(CD_SPEEDS) && ascending(DVD_SPEEDS) && ascending(BD_SPEEDS));
}

// What cd-info prints for the same image: track number, kind, start LSN;
// the lead-out as track 170.
struct PeerTrack {
    int number;
    std::string kind;
    int lsn;
};

std::vector<PeerTrack> CdInfoTracks(const std::string& cuePath)
{
    QProcess p;
    p.start("cd-info", {"--no-cddb", "--no-analyze", "--no-header", "--no-device-info", "--cue-file",
                        QString::fromStdString(cuePath)});
    if (!p.waitForFinished(30000)) return {};
    std::vector<PeerTrack> tracks;
    QRegularExpression row(R"(^\s*(\d+): \d\d:\d\d:\d\d\s+(\d+) (\w+))");
    for (const QString& line : QString::fromUtf8(p.readAllStandardOutput()).split('\n')) {
        auto m = row.match(line);
        if (m.hasMatch()) tracks.push_back({m.captured(1).toInt(), m.captured(3).toStdString(), m.captured(2).toInt()});
    }
    return tracks;
}

TEST(TrackListPeerTest, TracksAgreeWithCdInfo)
{
    if (QStandardPaths::findExecutable("cd-info").isEmpty()) GTEST_SKIP() << "cd-info is not installed";
    DriveMap map;
    std::string cue = enginetest::MakeCueImage(map.Dir().file("mixed.cue"),
                                               {{"MODE1/2352", 300}, {"AUDIO", 450}, {"AUDIO", 151}});
    std::vector<PeerTrack> peer = CdInfoTracks(cue);
    ASSERT_EQ(peer.size(), 4u) << "cd-info gave no track list";

    map.AddImage(0, cue);
    auto burner = OpenBurner();
    TsbTrackList list;
    FillTrackList(&list, burner.get());
    ASSERT_EQ(list.Count(), 3);
    for (int i = 0; i < 3; ++i) {
        const TOC_ENTRY& e = list.GetItems(i)->TOC_ENTRY;
        EXPECT_EQ(e.m__UCHAR__TrackNumber, peer[size_t(i)].number);
        EXPECT_EQ(e.m__BOOLEAN__IsData != 0, peer[size_t(i)].kind == "data") << i;
        EXPECT_EQ(e.m__BOOLEAN__IsAudio != 0, peer[size_t(i)].kind == "audio") << i;
        EXPECT_EQ(e.m__LONG__StartingLBA, peer[size_t(i)].lsn) << i;
    }
    EXPECT_EQ(peer[3].kind, "leadout");
    EXPECT_EQ(list.GetItems(2)->TOC_ENTRY.m__LONG__EndingLBA, peer[3].lsn);
    // Audio tracks get their playing time: 450 sectors of 2352 bytes.
    EXPECT_DOUBLE_EQ(list.GetItems(1)->TrackSizeInTime, 450.0 * 2352 / 176400 / 86400);
}

}  // namespace
