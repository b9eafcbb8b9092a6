#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>
#include <algorithm>

#include <platform/DosDevices.h>

#include "EngineTestSupport.h"
#include "sbCallBack.h"
#include "sbCallBackEventer.h"
#include "sbDeviceList.h"
#include "sbDriveProbe.h"
#include "ufrmOperationProgress.h"

namespace {

using enginetest::DriveMap;
using enginetest::TraceCapture;

// Skips a search test on a host that has optical drives of its own.
#define SKIP_WITH_HOST_DRIVES()                                                  \
    if (enginetest::HostHasOpticalDrive()) GTEST_SKIP() << "the host has optical drives"

std::vector<std::string> Names(const TsbDeviceList& list)
{
    std::vector<std::string> names;
    for (int i = 0; i < list.Count(); ++i) names.push_back(list.GetItems(i)->DeviceName);
    return names;
}

bool Contains(const std::vector<std::string>& lines, const std::string& line)
{
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// Calls the probe the way the search thread does.
void Probe(TsbDeviceList& list, const char* name)
{
    BurnkitCallBack(BURNKIT_CALLBACK_REASON_DEVICE_FOUND, &list, nullptr, const_cast<char*>(name));
    sbRaisePendingCallbackException();
}

const char* kDvdReader = R"({"vendor": "KORV", "product": "DVD Reader", "revision": "1.02", "bufferSize": 2048,
  "mediaFormats": {"IsCDRRead": true, "IsCDERead": false, "IsDVDROMRead": true, "IsDVDRRead": false,
    "IsDVDRAMRead": true, "IsTestWrite": true, "IsCDRWrite": false, "IsCDEWrite": true, "IsDVDRWrite": false,
    "IsDVDRAMWrite": true},
  "rpc": {"typeCode": 1, "vendorResets": 4, "userChanges": 5, "regionMask": 254, "rpcScheme": 1}})";

TEST(DeviceSearchTest, NoDriveGivesEmptyList)
{
    SKIP_WITH_HOST_DRIVES();
    TsbDeviceFinder finder;
    EXPECT_TRUE(finder.FindDevices(false));
    EXPECT_EQ(finder.DeviceList()->Count(), 0);
    EXPECT_EQ(finder.DeviceList()->ErrorMessage, "");
}

class TransportSearchTest : public ::testing::TestWithParam<TsbTransportType> {};

TEST_P(TransportSearchTest, FindsEveryMappedDriveWithItsDescription)
{
    SKIP_WITH_HOST_DRIVES();
    DriveMap map;
    map.AddImage(0, enginetest::MakeIsoImage(map.Dir().file("disc.iso"), 300));
    map.AddScripted(9, kDvdReader);

    TsbDeviceFinder finder;
    finder.TransportType() = GetParam();
    finder.FindDevices(false);
    TsbDeviceList& list = *finder.DeviceList();
    ASSERT_EQ(list.Count(), 2) << list.ErrorMessage;

    const TsbDeviceItem& image = *list.GetItems(0);
    const TsbDeviceItem& dvd = *list.GetItems(1);
    if (GetParam() == ttAspi) {
        EXPECT_EQ(image.TransportType, ttAspi);
        EXPECT_EQ(dvd.SCSIInfo.m__UCHAR__TargetID, 9);
        EXPECT_NE(dvd.SCSIInfo.m__BOOLEAN__IsValid, 0);
    } else {
        // Opened by the 8-bit name, reported as the pass-through transport.
        EXPECT_EQ(Names(list), (std::vector<std::string>{"CdRom0", "CdRom9"}));
        EXPECT_EQ(image.TransportType, ttSpti);
    }
    EXPECT_EQ(image.DiscType, DISC_TYPE_CDROM);
    EXPECT_EQ(image.DISC_INFORMATION.m__BOOLEAN__IsValid, 1);
    EXPECT_EQ(image.TOC_INFORMATION.m__UCHAR__NumberOfTracks, 1);
    EXPECT_EQ(image.DVDRPC.Valid, image.MediaFormats.IsDVDROMRead);

    EXPECT_EQ(dvd.Vendor, "KORV");
    EXPECT_EQ(dvd.Product, "DVD Reader");
    EXPECT_EQ(dvd.ProductRevisionLevel, "1.02");
    EXPECT_EQ(dvd.BufferSize, 2048u);
    const TsbMediaFormats& f = dvd.MediaFormats;
    const bool answered[] = {f.IsCDRRead, f.IsCDERead, f.IsDVDROMRead, f.IsDVDRRead, f.IsDVDRAMRead,
                             f.IsTestWrite, f.IsCDRWrite, f.IsCDEWrite, f.IsDVDRWrite, f.IsDVDRAMWrite};
    const bool expected[] = {true, false, true, false, true, true, false, true, false, true};
    EXPECT_TRUE(std::equal(std::begin(answered), std::end(answered), std::begin(expected)));
    EXPECT_TRUE(dvd.DVDRPC.Valid);

    // Each drive's letter is the one the DOS-device table gives it.
    for (const TsbDeviceItem* item : {&image, &dvd}) {
        ASSERT_EQ(item->DriveLetter.size(), 2u) << item->DeviceName;
        std::string device;
        ASSERT_TRUE(platform::QueryDosDevice(item->DriveLetter, device));
        EXPECT_EQ(device.substr(0, 13), "\\Device\\CdRom");
    }
}

INSTANTIATE_TEST_SUITE_P(Transports, TransportSearchTest, ::testing::Values(ttSpti, ttsptd, ttAspi));

TEST(DeviceProbeTest, DvdDriveWithoutDiscStillGetsRegionData)
{
    DriveMap map;
    map.AddScripted(0, kDvdReader);
    TsbDeviceList list;
    Probe(list, "CdRom0");
    ASSERT_EQ(list.Count(), 1);
    const TsbDeviceItem& item = *list.GetItems(0);
    EXPECT_EQ(item.DiscType, DISC_TYPE_NO_MEDIA);
    EXPECT_EQ(item.DiscLabel, "");
    EXPECT_EQ(item.DISC_INFORMATION.m__BOOLEAN__IsValid, 0);
    ASSERT_TRUE(item.DVDRPC.Valid);
    EXPECT_EQ(item.DVDRPC.TypeCode, "1");
    EXPECT_EQ(item.DVDRPC.NumberOfVendorResetsAvailable, "4");
    EXPECT_EQ(item.DVDRPC.NumberOfUserControlledChangesAvailable, "5");
    EXPECT_EQ(item.DVDRPC.RegionMask, "254");
    EXPECT_EQ(item.DVDRPC.RPCScheme, "1");
}

TEST(DeviceProbeTest, FailedWriteModeProbeKeepsTheFourDefaults)
{
    DriveMap map;
    const char* modes = R"("writeModes": {"IsTrackAtOnce": false, "IsSessionAtOnce": true,
        "IsDiscAtOncePQ": false, "IsDiscAtOnceRawPW": false}, "mediaFormats": {"IsTestWrite": true})";
    map.AddScripted(0, std::string("{") + modes + "}");
    map.AddScripted(1, std::string("{") + modes +
                           R"(, "failures": {"Burnkit_Grabber_ProbeSupportedWriteModes": {"result": 8}}})");
    TsbDeviceList list;
    Probe(list, "CdRom0");
    Probe(list, "CdRom1");
    ASSERT_EQ(list.Count(), 2);
    const TsbWriteModes& answered = list.GetItems(0)->WriteModes;
    EXPECT_FALSE(answered.IsTrackAtOnce);
    EXPECT_TRUE(answered.IsSessionAtOnce);
    EXPECT_TRUE(answered.IsTestMode);  // from the media formats' test-write answer
    const TsbWriteModes& kept = list.GetItems(1)->WriteModes;
    EXPECT_TRUE(kept.IsTrackAtOnce && kept.IsSessionAtOnce && kept.IsDiscAtOncePQ && kept.IsDiscAtOnceRawPW);
    EXPECT_FALSE(kept.IsTestMode);
}

TEST(DeviceProbeTest, FailedOpenNamesTheFunctionAndNextSuccessClearsIt)
{
    DriveMap map;
    map.AddScripted(0, R"({"failures": {"Burnkit_Grabber_CreateEx":
        {"result": 17, "systemError": 2, "text": "drive gone"}}})");
    map.AddImage(1, enginetest::MakeIsoImage(map.Dir().file("disc.iso"), 16));
    TraceCapture trace;
    TsbDeviceList list;
    Probe(list, "CdRom0");
    const std::string expected = "Burnkit_Grabber_CreateEx() failed, exception 17, status 2, text \"drive gone\"";
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.ErrorMessage, expected);
    EXPECT_EQ(trace.Messages(), std::vector<std::string>{expected});

    Probe(list, "CdRom1");
    EXPECT_EQ(list.Count(), 1);
    EXPECT_EQ(list.ErrorMessage, "");
    std::vector<std::string> lines = trace.Messages();
    EXPECT_TRUE(Contains(lines, "Burnkit_Grabber_GetTOCInformation"));
    EXPECT_EQ(lines.back(), "Burnkit_Destroy: Grabber");
}

TEST(DeviceProbeTest, CancelBeforeTheProbeTouchesNothing)
{
    DriveMap map;
    map.AddImage(0, enginetest::MakeIsoImage(map.Dir().file("disc.iso"), 16));
    TraceCapture trace;
    TsbDeviceList list;
    list.CancelAddDevices = true;
    Probe(list, "CdRom0");
    EXPECT_EQ(list.Count(), 0);
    EXPECT_TRUE(trace.Messages().empty());
}

// A logger that cancels the search when it sees a given step.
class CancellingLogger : public TsbLogger {
public:
    CancellingLogger(TsbDeviceList& list, std::string step) : list_(list), step_(std::move(step))
    {
        FEnabled = true;
        FLogFileName = dir_.file("trace.log");
    }
    void Log(const std::string& message, int32_t level) override
    {
        lines.push_back(message);
        if (message == step_) list_.CancelAddDevices = true;
    }
    std::vector<std::string> lines;

private:
    kvtest::TempDir dir_;
    TsbDeviceList& list_;
    std::string step_;
};

TEST(DeviceProbeTest, CancelDuringTheProbeRemovesItsItemAndSkipsTheDisc)
{
    DriveMap map;
    map.AddImage(0, enginetest::MakeIsoImage(map.Dir().file("disc.iso"), 16));
    TsbDeviceList list;
    list.Add()->DeviceName = "earlier";
    CancellingLogger logger(list, "Burnkit_Grabber_GetDeviceInformation");
    TsbLogger* saved = sbLogger;
    sbLogger = &logger;
    Probe(list, "CdRom0");
    sbLogger = saved;
    EXPECT_EQ(Names(list), std::vector<std::string>{"earlier"});
    EXPECT_TRUE(Contains(logger.lines, "Burnkit_Grabber_TestUnitReady"));
    EXPECT_FALSE(Contains(logger.lines, "Burnkit_Grabber_GetInsertedDiscType"));
    EXPECT_EQ(logger.lines.back(), "Burnkit_Destroy: Grabber");
}

TEST(DriveLetterTest, LastOfTwoLettersWinsAndCaseIsIgnored)
{
    struct Case {
        std::vector<std::pair<char, std::string>> letters;
        std::string letter;
    } cases[] = {
        {{{'E', "\\Device\\CdRom7"}, {'K', "\\Device\\CdRom7"}, {'F', "\\Device\\CdRom1"}}, "K:"},
        {{{'G', "\\device\\cdrom7"}}, "G:"},
        {{{'Z', "\\Device\\CdRom7"}}, ""},
        {{{'D', "\\Device\\CdRom70"}}, ""},
    };
    for (const Case& c : cases) {
        for (const auto& [letter, device] : c.letters) platform::DefineDosDevice({letter, device, "/x.iso", ""});
        std::string found = "stale";
        GetDeviceDriveLetter(nullptr, "CdRom7", found);
        EXPECT_EQ(found, c.letter);
        for (const auto& [letter, device] : c.letters) platform::RemoveDosDevice(letter);
    }
}

TEST(DiscTypeNameTest, TableTexts)
{
    struct {
        DISC_TYPE type;
        const char* text;
    } cases[] = {{0, "Unknown"}, {1, "CD-ROM"}, {5, "DVD-R"}, {14, "Empty"},
                 {15, "DVD+R DL (Double Layer)"}, {16, ""}, {17, "DVD-R DL (Dual Layer)"},
                 {18, ""}, {22, ""}, {99, ""}};
    for (const auto& c : cases) {
        std::string text = "stale";
        GetDiscTypeName(c.type, text);
        EXPECT_EQ(text, c.text) << c.type;
    }
}

TEST(CollectionsTest, DefaultsOrderAndRangeErrors)
{
    TsbGrabTrackList grabs;
    TsbGrabTrack* g = grabs.Add();
    EXPECT_EQ(g->TrackNumber, 0);
    EXPECT_EQ(g->FileName, "");
    EXPECT_EQ(g->TrackType, ttData);
    EXPECT_EQ(g->Collection, &grabs);

    TsbDeviceList devices;
    devices.Add()->DeviceName = "a";
    devices.Add()->DeviceName = "b";
    EXPECT_EQ(Names(devices), (std::vector<std::string>{"a", "b"}));
    const TsbDeviceItem& item = *devices.GetItems(0);
    EXPECT_TRUE(item.WriteModes.IsTrackAtOnce && item.WriteModes.IsDiscAtOnceRawPW);
    EXPECT_FALSE(item.WriteModes.IsTestMode);
    EXPECT_EQ(item.TransportType, ttSpti);
    EXPECT_FALSE(item.DVDRPC.Valid);
    EXPECT_THROW(devices.GetItems(2), EListError);
    EXPECT_THROW(devices.GetItems(-1), EListError);
    devices.Delete(0);
    EXPECT_EQ(Names(devices), std::vector<std::string>{"b"});
    devices.Clear();
    EXPECT_EQ(devices.Count(), 0);
}

TEST(ProgressDialogTest, CancelAndEscapeShowCancellingAndCallTheHandler)
{
    TfrmOperationProgress dialog;
    dialog.show();
    EXPECT_TRUE(dialog.InProgress());
    EXPECT_TRUE(dialog.Animate->Playing());

    QTest::keyClick(&dialog, Qt::Key_Escape);  // no handler: nothing happens
    EXPECT_TRUE(dialog.lblCancelling->isHidden());
    EXPECT_TRUE(dialog.btnCancel->isEnabled());
    EXPECT_TRUE(dialog.isVisible());

    int calls = 0;
    dialog.OnCancel() = [&](TObject*) { ++calls; };
    QTest::mouseClick(dialog.btnCancel, Qt::LeftButton);
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(dialog.lblCancelling->isHidden());
    EXPECT_EQ(dialog.lblCancelling->text(), "Cancelling...");
    EXPECT_FALSE(dialog.btnCancel->isEnabled());
    QTest::mouseClick(dialog.btnCancel, Qt::LeftButton);  // disabled: no second call
    EXPECT_EQ(calls, 1);
    QTest::keyClick(&dialog, Qt::Key_Escape);  // Escape repeats the steps
    EXPECT_EQ(calls, 2);

    dialog.hide();
    EXPECT_FALSE(dialog.InProgress());
    EXPECT_FALSE(dialog.Animate->Playing());
}

TEST(DeviceSearchTest, SearchWithDialogResetsCancelAndRefusesASecondSearch)
{
    SKIP_WITH_HOST_DRIVES();
    DriveMap map;
    map.AddImage(2, enginetest::MakeIsoImage(map.Dir().file("disc.iso"), 16));
    TsbDeviceFinder finder;
    finder.DeviceList()->CancelAddDevices = true;
    sbCallBackEventer->OnFoundDevice = [](TObject*, const std::string&) {};

    int nested = -1;
    QString caption;
    QTimer::singleShot(0, [&] {
        nested = finder.FindDevices(false) ? 1 : 0;
        if (finder.frmFindProgress) caption = finder.frmFindProgress->windowTitle();
    });
    EXPECT_TRUE(finder.FindDevices(true));
    EXPECT_EQ(nested, 0);
    EXPECT_EQ(caption, "Scanning devices");
    EXPECT_EQ(Names(*finder.DeviceList()), std::vector<std::string>{"CdRom2"});
    EXPECT_EQ(finder.frmFindProgress, nullptr);
    EXPECT_FALSE(sbCallBackEventer->OnFoundDevice);
}

TEST(DeviceSearchTest, CancelLeftFromAnEarlierSearchStaysWithoutDialog)
{
    SKIP_WITH_HOST_DRIVES();
    DriveMap map;
    map.AddImage(0, enginetest::MakeIsoImage(map.Dir().file("disc.iso"), 16));
    TsbDeviceFinder finder;
    finder.CancelSearch(nullptr);
    finder.FindDevices(false);
    EXPECT_EQ(finder.DeviceList()->Count(), 0);
}

}  // namespace
