#include <gtest/gtest.h>
#include <sndfile.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <regex>

#include <platform/Errors.h>

#include "EngineTestSupport.h"
#include "sbActions.h"
#include "sbCallBackEventer.h"

namespace {

using enginetest::CueTrack;
using enginetest::DriveMap;
using enginetest::TraceCapture;

struct Message {
    std::string text;
    TsbLogItemType kind;
    bool operator==(const Message&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Message& m)
{
    return os << "{" << m.text << ", " << int(m.kind) << "}";
}

// A burner whose cancel request is already set.
class CancelledBurner : public TsbBurner {
public:
    CancelledBurner() { FCancel = true; }
};

// One action in a list over a burner with CdRom0 open; records the
// action's messages and the fan-out's progress.
template <typename TAction, typename TBurner = TsbBurner>
class ActionRig {
public:
    ActionRig()
    {
        burner.TransportType() = ttSpti;
        burner.DeviceName() = "CdRom0";
        burner.PrepareGrabber();
        list.Burner() = &burner;
        item = list.Add();
        item->Action() = &action;
        action.OnAction() = [this](TObject* sender, const std::string& m, TsbLogItemType t) {
            EXPECT_EQ(sender, &action);
            messages.push_back({m, t});
        };
    }
    ~ActionRig() { burner.OnAction() = nullptr; }

    TBurner burner;
    TsbActionList list;
    TsbActionItem* item;
    TAction action;
    std::vector<Message> messages;
};

std::string IsoWithDisc(DriveMap& map, const std::string& failures = "")
{
    std::string iso = enginetest::MakeIsoImage(map.Dir().file("d.iso"), 64);
    return std::string(R"({"disc": {"image": ")") + iso + R"("})" +
           (failures.empty() ? "" : R"(, "failures": )" + failures) + "}";
}

TEST(ActionTest, RunWithoutItemIsInvalidAndChangesNothing)
{
    TsbAction action;
    std::vector<int32_t> progress;
    TsbCallBackEventer saved = *sbCallBackEventer;
    sbCallBackEventer->OnWriteProgress = [&](TObject*, int32_t p) { progress.push_back(p); };
    try {
        action.RunAction(nullptr);
        FAIL() << "no exception";
    } catch (const platform::EOSError& e) {
        EXPECT_STREQ(e.what(), "Invalid action");
    }
    EXPECT_EQ(action.AL(), nullptr);
    EXPECT_TRUE(progress.empty());

    TsbActionList list;
    action.RunAction(list.Add());
    EXPECT_EQ(action.AL(), &list);
    EXPECT_EQ(progress, std::vector<int32_t>{0});
    EXPECT_TRUE(action.FinalSuccess());
    *sbCallBackEventer = saved;
}

TEST(ActionTest, ListHandlersReachActionsOnlyThroughUpdate)
{
    TsbActionList list;
    EXPECT_TRUE(list.EnhancedLog());
    EXPECT_FALSE(list.ActionOptions.BurnFromFile);
    list.UpdateActionsEvent();  // empty list: nothing

    TsbAction a, b;
    list.Add()->Action() = &a;
    list.Add();  // no action: skipped
    list.Add()->Action() = &b;
    int calls = 0;
    list.OnAction() = [&](TObject*, const std::string&, TsbLogItemType) { ++calls; };
    a.DoActionEvent("before update", litInfo);
    EXPECT_EQ(calls, 0);
    list.UpdateActionsEvent();
    a.DoActionEvent("x", litInfo);
    b.DoActionEvent("y", litInfo);
    EXPECT_EQ(calls, 2);

    list.OnAction() = nullptr;
    list.UpdateActionsEvent();
    EXPECT_FALSE(a.OnAction());

    TsbActionItem* copy = list.Add();
    list.GetItems(0)->PageOwner() = 7;
    copy->Assign(*list.GetItems(0));
    EXPECT_EQ(copy->Action(), &a);
    EXPECT_EQ(copy->PageOwner(), 7);
}

TEST(StagedActionTest, DefaultStagesQuietLogOnlySpeedWarning)
{
    DriveMap map;
    map.AddScripted(0, IsoWithDisc(map, R"({"Burnkit_Grabber_SetSpeeds": {"result": 8, "text": "speed"}})"));
    ActionRig<TsbStagedAction> rig;
    rig.list.EnhancedLog() = false;
    ASSERT_EQ(rig.action.Stages().Mask(), 0x05FF);
    EXPECT_NO_THROW(rig.action.RunAction(rig.item));
    // Only warnings pass while the log is quiet: the speed failure, and the
    // invisible track, which a closed image disc does not have.
    EXPECT_EQ(rig.messages,
              (std::vector<Message>{
                  {"Burnkit_Grabber_SetSpeeds() failed, exception 8, status 0, text \"speed\"", litWarning},
                  {"Burnkit_Grabber_GetTrackInformation() failed, exception 8, status 0, text \"The disc is closed: "
                   "it has no writable track\"",
                   litWarning}}));
}

TEST(StagedActionTest, StagesThatDoNothingOnTheirOwn)
{
    DriveMap map;
    map.AddScripted(0, IsoWithDisc(map));
    for (TsbStages stages : {TsbStages{sSetBUP}, TsbStages{sVerify}, TsbStages{sBuildISO9660JolietFileTree},
                             TsbStages{sSendOPC}}) {
        ActionRig<TsbStagedAction> rig;
        TraceCapture trace;
        rig.action.Stages() = stages;
        rig.burner.Message() = "untouched";
        rig.action.RunAction(rig.item);
        EXPECT_TRUE(rig.messages.empty()) << stages.Mask();
        EXPECT_TRUE(trace.Messages().empty()) << stages.Mask();
        EXPECT_EQ(rig.burner.Message(), "untouched");
        // The burner's own messages now come out of the action.
        rig.burner.DoAction(nullptr, "from burner", litWarning);
        EXPECT_EQ(rig.messages.back(), (Message{"from burner", litWarning}));
    }
}

TEST(StagedActionTest, FailedTrackInformationStillGivesItsResultText)
{
    DriveMap map;
    map.AddScripted(0, IsoWithDisc(map, R"({"Burnkit_Grabber_GetTrackInformation": {"result": 8, "text": "t"}})"));
    ActionRig<TsbStagedAction> rig;
    rig.action.Stages() = TsbStages{sGetTrackInfo, sShowCache};
    rig.action.RunAction(rig.item);
    ASSERT_EQ(rig.messages.size(), 4u);
    EXPECT_EQ(rig.messages[0], (Message{"160 MBs of cache will be used during burn process", litInfo}));
    EXPECT_EQ(rig.messages[1], (Message{"Getting track information", litInfo}));
    EXPECT_EQ(rig.messages[2].kind, litWarning);
    EXPECT_EQ(rig.messages[3],
              (Message{"Track Blank: No, NWA valid: No, free LBs 0, track \xc4\x85 0", litInfo}));
}

TEST(StagedActionTest, RaisingStageStopsTheRun)
{
    DriveMap map;
    map.AddScripted(0, IsoWithDisc(map, R"({"Burnkit_Grabber_GetDiscInformation": {"result": 17, "text": "d"}})"));
    ActionRig<TsbStagedAction> rig;
    rig.action.Stages() = TsbStages{sGetDiscInfo, sGetSpeed};
    EXPECT_THROW(rig.action.RunAction(rig.item), platform::EOSError);
    EXPECT_EQ(rig.burner.Message(), "Burnkit_Grabber_GetDiscInformation() failed, exception 17, status 0, text \"d\"");
    // sGetSpeed comes earlier in stage order and did run.
    EXPECT_EQ(rig.messages.front(), (Message{"Getting current CD/DVD speeds", litInfo}));
}

TEST(StagedActionTest, ImageSizeIsReportedInWholeMegabytes)
{
    EXPECT_EQ(sbImageSizeText(1048575), "Need to save 0 MB");
    EXPECT_EQ(sbImageSizeText(1048576), "Need to save 1 MB");
    EXPECT_EQ(sbImageSizeText(uint64_t(5) << 32), "Need to save 20480 MB");
}

TEST(EjectTest, FailedEjectIsAnErrorMessageNeverAnException)
{
    DriveMap map;
    map.AddScripted(0, IsoWithDisc(map, R"({"Burnkit_Grabber_Eject": {"result": 6, "systemError": 5, "text": "e"},
        "Burnkit_Grabber_LoadEx": {"result": 6}})"));
    ActionRig<TsbAction> rig;
    rig.burner.LoadAfter() = true;
    rig.action.RunAction(rig.item);
    EXPECT_NO_THROW(rig.action.EjectDisc());
    const std::string expected = "Burnkit_Grabber_Eject() failed, exception 6, status 5, text \"e\"";
    EXPECT_EQ(rig.messages, (std::vector<Message>{{expected, litError}}));
    EXPECT_EQ(rig.burner.Message(), expected);
}

class GrabActionTest : public ::testing::Test {
protected:
    std::vector<std::string> Texts(const std::vector<Message>& messages)
    {
        std::vector<std::string> texts;
        for (const Message& m : messages) texts.push_back(m.text);
        return texts;
    }
    DriveMap map;
};

TEST_F(GrabActionTest, EmptyListOnlyCompletesAndEjects)
{
    map.AddScripted(0, IsoWithDisc(map));
    ActionRig<TsbGrabAction> rig;
    ASSERT_EQ(rig.action.Stages().Mask(), 1u << sTestUnitReady);
    rig.action.Eject = true;
    rig.action.RunAction(rig.item);
    EXPECT_EQ(Texts(rig.messages), (std::vector<std::string>{"Testing unit ready", "Grabbing complete", "Eject disc"}));
    EXPECT_TRUE(rig.action.FinalSuccess());
}

TEST_F(GrabActionTest, FailedSecondOfThreeDataTracksLeavesTheOthers)
{
    std::string cue = enginetest::MakeCueImage(map.Dir().file("three.cue"),
                                               {{"MODE1/2048", 30}, {"MODE1/2048", 40}, {"MODE1/2048", 50}});
    // Distinct bytes in each track.
    {
        std::string bin = map.Dir().file("three.bin");
        std::fstream f(bin, std::ios::in | std::ios::out | std::ios::binary);
        for (int s = 0; s < 120; ++s) {
            f.seekp(s * 2048);
            std::string sector(2048, char('a' + s % 26));
            f.write(sector.data(), 2048);
        }
    }
    map.AddImage(0, cue);
    ActionRig<TsbGrabAction> rig;
    kvtest::TempDir out;
    const std::string names[] = {out.file("t1.iso"), out.file("missing/folder/t2.iso"), out.file("t3.iso")};
    for (int i = 0; i < 3; ++i) {
        TsbGrabTrack* t = rig.action.GrabTrackList()->Add();
        t->TrackNumber = i + 1;
        t->FileName = names[i];
    }
    std::vector<int32_t> progress;
    TsbCallBackEventer saved = *sbCallBackEventer;
    sbCallBackEventer->OnWriteProgress = [&](TObject*, int32_t p) { progress.push_back(p); };
    EXPECT_NO_THROW(rig.action.RunAction(rig.item));
    *sbCallBackEventer = saved;

    EXPECT_FALSE(rig.action.FinalSuccess());
    EXPECT_EQ(Texts(rig.messages), (std::vector<std::string>{"Testing unit ready", "Grabbing Track # 1",
                                                             "Grabbing Track # 2", "Grabbing Track # 3",
                                                             "Grabbing complete"}));
    EXPECT_EQ(rig.burner.Message().rfind("Burnkit_Grabber_GrabTrack() failed, exception ", 0), 0u);
    const std::string image = kvtest::readFile(map.Dir().file("three.bin"));
    EXPECT_EQ(kvtest::readFile(names[0]), image.substr(0, 30 * 2048));
    EXPECT_EQ(kvtest::readFile(names[2]), image.substr(70 * 2048, 50 * 2048));
    EXPECT_FALSE(std::filesystem::exists(names[1]));
    EXPECT_EQ(progress.back(), 100);
    EXPECT_TRUE(GrabInProgress);
}

TEST_F(GrabActionTest, CancelBeforeTheRunCopiesNothing)
{
    map.AddScripted(0, IsoWithDisc(map));
    ActionRig<TsbGrabAction, CancelledBurner> rig;
    kvtest::TempDir out;
    TsbGrabTrack* t = rig.action.GrabTrackList()->Add();
    t->TrackNumber = 1;
    t->FileName = out.file("t1.iso");
    rig.action.RunAction(rig.item);
    EXPECT_EQ(rig.messages, (std::vector<Message>{{"Testing unit ready", litInfo},
                                                  {"Grabbing canceled!", litWarning},
                                                  {"Grabbing complete", litInfo}}));
    EXPECT_FALSE(std::filesystem::exists(t->FileName));
}

TEST_F(GrabActionTest, DriveNotReadyRaisesBeforeTheGrabStarts)
{
    map.AddScripted(0, IsoWithDisc(map, R"({"Burnkit_Grabber_TestUnitReady": {"result": 8, "text": "no disc"}})"));
    ActionRig<TsbGrabAction> rig;
    GrabInProgress = false;
    Burnkit_SetFastReadTOC(0);
    rig.action.GrabTrackList()->Add()->TrackNumber = 1;
    EXPECT_THROW(rig.action.RunAction(rig.item), platform::EOSError);
    EXPECT_FALSE(GrabInProgress);
    EXPECT_EQ(Burnkit_GetFastReadTOC(), 0);
    EXPECT_EQ(rig.burner.Message(), "Burnkit_Grabber_TestUnitReady() failed, exception 8, status 0, text \"no disc\"");
}

TEST_F(GrabActionTest, AudioTrackGoesThroughTemporaryWavIntoFlac)
{
    const int32_t sectors = 75;
    map.AddImage(0, enginetest::MakeCueImage(map.Dir().file("audio.cue"), {{"AUDIO", sectors}}));
    ActionRig<TsbGrabAction> rig;
    kvtest::TempDir out;
    TsbGrabTrack* t = rig.action.GrabTrackList()->Add();
    t->TrackNumber = 1;
    t->FileName = out.file("track1.flac");
    t->TrackType = ttAudio;
    TraceCapture trace;
    rig.action.RunAction(rig.item);
    ASSERT_TRUE(rig.action.FinalSuccess()) << rig.burner.Message();

    // The temporary WAV was the reserved name plus ".wav"; it is gone, the
    // reserving file is still there.
    std::smatch m;
    std::string compressLine;
    for (const std::string& line : trace.Messages())
        if (line.rfind("Burnkit_Wave_UncompressedFileCompress: ", 0) == 0) compressLine = line;
    ASSERT_TRUE(std::regex_match(compressLine, m, std::regex(R"(Burnkit_Wave_UncompressedFileCompress: (.*)\.wav -> (.*) with compression: 0)")))
        << compressLine;
    EXPECT_EQ(m[2].str(), t->FileName);
    EXPECT_TRUE(std::filesystem::exists(m[1].str()));
    EXPECT_FALSE(std::filesystem::exists(m[1].str() + ".wav"));

    // The FLAC holds exactly the track's samples.
    SF_INFO info{};
    SNDFILE* f = sf_open(t->FileName.c_str(), SFM_READ, &info);
    ASSERT_NE(f, nullptr) << sf_strerror(nullptr);
    EXPECT_EQ(info.channels, 2);
    EXPECT_EQ(info.samplerate, 44100);
    std::vector<int16_t> samples(size_t(info.frames) * 2);
    sf_readf_short(f, samples.data(), info.frames);
    sf_close(f);
    const std::string bin = kvtest::readFile(map.Dir().file("audio.bin"));
    ASSERT_EQ(samples.size() * 2, bin.size());
    EXPECT_EQ(std::memcmp(samples.data(), bin.data(), bin.size()), 0);
}

}  // namespace
