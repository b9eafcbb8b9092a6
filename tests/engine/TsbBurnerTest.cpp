#include <gtest/gtest.h>

#include <QProcess>

#include <platform/Errors.h>

#include "EngineTestSupport.h"
#include "TsbBurner.h"
#include "sbVPort.h"

namespace {

TEST(BurnerDefaultsTest, NewBurnerHoldsTheRecordDefaults)
{
    TsbBurner b;
    EXPECT_EQ(b.TransportType(), ttAspi);
    EXPECT_EQ(b.DiscLabel(), "NEW");
    EXPECT_EQ(b.DiscType(), DISC_TYPE_UNKNOWN);
    EXPECT_EQ(b.CompressOptions(), 0);
    EXPECT_EQ(b.Grabber, nullptr);
    EXPECT_EQ(b.ISO9660JolietFileTree, nullptr);
    EXPECT_EQ(b.mp_UDFVolume, nullptr);
    EXPECT_EQ(b.sbException, EN_SUCCESS);
    EXPECT_EQ(b.SystemError, 0u);
    EXPECT_TRUE(std::all_of(std::begin(b.ExceptionText), std::end(b.ExceptionText), [](char c) { return c == 0; }));
    EXPECT_EQ(b.FBurnThreadHandle, ~uintptr_t(0));
    EXPECT_EQ(b.FEraseThreadHandle, ~uintptr_t(0));
    EXPECT_EQ(b.FIPV.FileHandle, ~uintptr_t(0));
    EXPECT_EQ(b.FIPV.TotalUCHARs, 0);
    EXPECT_FALSE(b.DoVerify());
    EXPECT_FALSE(b.Cancel());
    EXPECT_TRUE(b.BurnFileList().empty());
    EXPECT_FALSE(b.OnAction());

    const TsbWriteModes& w = b.WriteModes();
    EXPECT_TRUE(w.IsTrackAtOnce && w.IsSessionAtOnce && w.IsDiscAtOncePQ && w.IsDiscAtOnceRawPW);
    EXPECT_FALSE(w.IsTestMode);
    EXPECT_EQ(b.FileImageFormat().FileImageType, fitIso);
    EXPECT_EQ(b.DiscSizeInfo().TotalDiscSize, 0);

    const TsbVPortOptions& v = b.VPortOptions;
    EXPECT_EQ(v.Action, spaMount);
    EXPECT_EQ(v.IPAddress, "127.0.0.1");
    EXPECT_EQ(v.IPPort, 3260);
    EXPECT_FALSE(v.Persistent);
    EXPECT_EQ(v.TargetName, "");
    EXPECT_EQ(v.ShowTargetName, "");
    EXPECT_EQ(v.DVDImageFile, "");
    EXPECT_EQ(v.VPortDeviceType.TargetID, -1);
    EXPECT_EQ(v.VPortDeviceType.VPORT_DEVICE_TYPE, VPORT_DEVICE_TYPE_UNKNOWN);
}

TEST(BurnerDefaultsTest, InitialisersSetOnlyTheirFields)
{
    TsbWriteModes w{};
    w.IsTestMode = true;
    InitWriteModes(w);
    EXPECT_TRUE(w.IsTestMode);  // left alone

    TsbVPortOptions o;
    o.Persistent = true;
    o.DVDImageFile = "/x.iso";
    o.ShowTargetName = "x";
    o.TargetName = "t";
    o.VPortDeviceType.TargetID = 4;
    InitVPortOptions(o);
    EXPECT_TRUE(o.Persistent);
    EXPECT_EQ(o.DVDImageFile, "/x.iso");
    EXPECT_EQ(o.ShowTargetName, "x");
    EXPECT_EQ(o.TargetName, "");
    EXPECT_EQ(o.VPortDeviceType.TargetID, -1);

    TsbStages stages(0x05FF);
    for (int s = sShowCache; s <= sVerify; ++s)
        EXPECT_EQ(stages.Contains(TsbStage(s)), s != sBuildISO9660JolietFileTree && s != sVerify) << s;
    EXPECT_EQ((TsbStages{sShowCache, sSetBUP}).Mask(), 0x11);
}

TEST(BurnerTest, ActionMessagesPassOnWithTheBurnerAsSender)
{
    TsbBurner b;
    TObject other;
    EXPECT_NO_THROW(b.DoAction(&other, "unassigned", litInfo));
    std::vector<std::string> got;
    b.OnAction() = [&](TObject* sender, const std::string& m, TsbLogItemType t) {
        EXPECT_EQ(sender, &b);
        got.push_back(m + "/" + std::to_string(t));
    };
    b.DoAction(&other, "step", litWarning);
    EXPECT_EQ(got, std::vector<std::string>{"step/2"});
}

TEST(BurnerTest, NothingOpenMeansNoSdkCallAndNoTrace)
{
    enginetest::TraceCapture trace;
    {
        TsbBurner b;
        b.sbException = EN_FAILURE;
        b.UnlockDrive();
        EXPECT_EQ(b.sbException, EN_SUCCESS);
        b.ShutDownGrabber();
        b.ShutDownFileTree();
        b.WaitForBurnThread();
        b.WaitForEraseThread();
    }
    EXPECT_TRUE(trace.Messages().empty());
}

TEST(BurnerTest, TerminationHandlersForgetTheThread)
{
    TsbBurner b;
    b.FBurnThreadHandle = 42;
    b.FEraseThreadHandle = 43;
    b.BurnThreadTerminated(nullptr);
    b.EraseThreadTerminated(nullptr);
    EXPECT_EQ(b.FBurnThreadHandle, sbNoThreadHandle);
    EXPECT_EQ(b.FEraseThreadHandle, sbNoThreadHandle);
    EXPECT_EQ(b.FBurnThread, nullptr);
}

TEST(VPortDriverTest, MissingDriverGivesFalseWithMessageAndNoException)
{
    enginetest::TraceCapture trace;
    TsbBurner b;
    bool answered = true;
    EXPECT_NO_THROW(answered = b.CheckVPortDriver());
    ASSERT_FALSE(answered);
    EXPECT_NE(b.sbException, EN_SUCCESS);
    std::string expected = "Burnkit_VPort_GetVersion() failed, exception " + std::to_string(b.sbException) +
                           ", status " + std::to_string(int32_t(b.SystemError)) + "\"\\n";
    EXPECT_EQ(b.Message(), expected);
    EXPECT_EQ(trace.Messages(), std::vector<std::string>{expected});
}

// Runs the driver installer of the runtime folder in the test's folders.
int RunDriverInstaller(const QStringList& args)
{
    QProcess p;
    p.start(QString::fromStdString(kvtest::runtimeDir() + "/drvinst.exe"), args);
    if (!p.waitForFinished(60000)) {
        ADD_FAILURE() << p.program().toStdString() << ": " << p.errorString().toStdString();
        return -1;
    }
    return p.exitCode();
}

TEST(VPortDriverTest, InstalledDriverAnswers)
{
    if (!kvtest::isRoot()) GTEST_SKIP() << "the driver needs loop devices, which need root";
    const QString inf = QString::fromStdString(kvtest::runtimeDir() + "/vportlite.inf");
    ASSERT_EQ(RunDriverInstaller({"-install", "ROOT\\VPortLite", inf}), 0);
    TsbBurner b;
    EXPECT_TRUE(b.CheckVPortDriver()) << b.Message();
    EXPECT_EQ(b.sbException, EN_SUCCESS);
    EXPECT_EQ(RunDriverInstaller({"-uninstall", "ROOT\\VPortLite", "done"}), 0);
    EXPECT_FALSE(b.CheckVPortDriver());
}

TEST(VPortHelpersTest, TypeNamesAndUnknownTarget)
{
    struct {
        VPORT_DEVICE_TYPE type;
        const char* name;
    } cases[] = {{0, "Unknown"}, {1, "RAM"}, {2, "HD"}, {3, "DVD"}, {4, "AOE"}, {5, "ISCSI"}, {6, "Unknown"}};
    for (const auto& c : cases) EXPECT_EQ(GetVPortDeviceTypeName(c.type), c.name) << c.type;

    TsbVPortDeviceType d;
    InitVPortDeviceType(d);
    d.TargetID = 77;
    d.VendorID = "keep";
    d.DriveLabel = "label";
    FillVPortDeviceType(12345, d);
    EXPECT_EQ(d.TargetID, 77);
    EXPECT_EQ(d.VendorID, "keep");
    EXPECT_EQ(d.DriveLabel, "label");
    EXPECT_EQ(d.VPORT_DEVICE_TYPE, VPORT_DEVICE_TYPE_UNKNOWN);
}

}  // namespace
