#include "SdkFixtures.h"
#include "TestDirs.h"
#include "burnkit.h"

#include <gtest/gtest.h>

#include <functional>

using namespace sdktest;

namespace {

// One grabber call with the error block of e; the result.
using GrabberCall = std::function<EXCEPTION_NUMBER(void* h, Errors& e, const std::string& dir)>;

struct ScriptedCall {
    const char* Function;
    GrabberCall Run;
    bool HasErrorBlock;
};

const ScriptedCall kCalls[] = {
    {"Burnkit_Grabber_Release", [](void* h, Errors& e, auto&) { return Burnkit_Grabber_Release(h, SDK_ERRORS(e)); },
     true},
    {"Burnkit_Grabber_GetDeviceInformation",
     [](void* h, Errors&, auto&) {
         char v[1024], p[1024], r[1024];
         uint32_t size;
         return Burnkit_Grabber_GetDeviceInformation(h, v, p, r, &size);
     },
     false},
    {"Burnkit_Grabber_GetSupportedMediaFormats",
     [](void* h, Errors&, auto&) {
         uint8_t f[10];
         return Burnkit_Grabber_GetSupportedMediaFormats(h, &f[0], &f[1], &f[2], &f[3], &f[4], &f[5], &f[6], &f[7],
                                                         &f[8], &f[9]);
     },
     false},
    {"Burnkit_Grabber_GetSupportedMediaFormatsExEx",
     [](void* h, Errors&, auto&) {
         uint8_t f[6];
         return Burnkit_Grabber_GetSupportedMediaFormatsExEx(h, &f[0], &f[1], &f[2], &f[3], &f[4], &f[5]);
     },
     false},
    {"Burnkit_Grabber_ProbeSupportedWriteModes",
     [](void* h, Errors& e, auto&) {
         uint8_t f[4];
         return Burnkit_Grabber_ProbeSupportedWriteModes(h, SDK_ERRORS(e), &f[0], &f[1], &f[2], &f[3]);
     },
     true},
    {"Burnkit_Grabber_ProbeSupportedReadModes",
     [](void* h, Errors& e, auto&) {
         uint8_t f[6];
         return Burnkit_Grabber_ProbeSupportedReadModes(h, SDK_ERRORS(e), &f[0], &f[1], &f[2], &f[3], &f[4], &f[5]);
     },
     true},
    {"Burnkit_Grabber_TestUnitReady",
     [](void* h, Errors& e, auto&) { return Burnkit_Grabber_TestUnitReady(h, SDK_ERRORS(e)); }, true},
    {"Burnkit_Grabber_GetDiscInformation",
     [](void* h, Errors& e, auto&) {
         DISC_INFORMATION d;
         return Burnkit_Grabber_GetDiscInformation(h, SDK_ERRORS(e), &d);
     },
     true},
    {"Burnkit_Grabber_GetTrackInformation",
     [](void* h, Errors& e, auto&) {
         TRACK_INFORMATION t;
         return Burnkit_Grabber_GetTrackInformation(h, SDK_ERRORS(e), 1, &t);
     },
     true},
    {"Burnkit_Grabber_GetTOCInformation",
     [](void* h, Errors& e, auto&) {
         TOC_INFORMATION t;
         return Burnkit_Grabber_GetTOCInformation(h, SDK_ERRORS(e), &t);
     },
     true},
    {"Burnkit_Grabber_GetRPC",
     [](void* h, Errors& e, auto&) {
         uint8_t a[260], b[260], c[260], d[260], f[260];
         return Burnkit_Grabber_GetRPC(h, SDK_ERRORS(e), a, b, c, d, f);
     },
     true},
    {"Burnkit_Grabber_Eject", [](void* h, Errors& e, auto&) { return Burnkit_Grabber_Eject(h, SDK_ERRORS(e)); },
     true},
    {"Burnkit_Grabber_LoadEx",
     [](void* h, Errors& e, auto&) {
         return Burnkit_Grabber_LoadEx(h, e.Text, BURNKIT_EXCEPTION_TEXT_SIZE, &e.SystemError, 0, 1);
     },
     true},
    {"Burnkit_Grabber_GetBUP",
     [](void* h, Errors& e, auto&) {
         uint8_t a, b;
         return Burnkit_Grabber_GetBUP(h, SDK_ERRORS(e), &a, &b);
     },
     true},
    {"Burnkit_Grabber_SetBUP", [](void* h, Errors& e, auto&) { return Burnkit_Grabber_SetBUP(h, SDK_ERRORS(e), 0); },
     true},
    {"Burnkit_Grabber_SetSpeeds",
     [](void* h, Errors& e, auto&) { return Burnkit_Grabber_SetSpeeds(h, SDK_ERRORS(e), 0xFFFF, 0); }, true},
    {"Burnkit_Grabber_GetSpeeds",
     [](void* h, Errors& e, auto&) {
         uint32_t s[4];
         return Burnkit_Grabber_GetSpeeds(h, SDK_ERRORS(e), &s[0], &s[1], &s[2], &s[3]);
     },
     true},
    {"Burnkit_Grabber_SendOPC", [](void* h, Errors& e, auto&) { return Burnkit_Grabber_SendOPC(h, SDK_ERRORS(e)); },
     true},
    {"Burnkit_Grabber_GrabTrack",
     [](void* h, Errors& e, const std::string& dir) {
         return Burnkit_Grabber_GrabTrack(h, SDK_ERRORS(e), 1, (dir + "/grab.iso").c_str(), 1, 1, 0, 1);
     },
     true},
};

class ScriptedDrive : public ::testing::Test {
protected:
    void SetUp() override {
        kvtest::writeFile(Dir.file("d.iso"), Pattern(8 * 2048, 3));
        WriteDriveMap("CdRom4=scripted:" + Dir.file("drive.json") + "\n");
    }
    void Script(const std::string& json) { kvtest::writeFile(Dir.file("drive.json"), json); }
    void* Open() {
        Errors e;
        void* h = nullptr;
        EXPECT_EQ(Burnkit_Grabber_CreateEx(&h, SDK_ERRORS(e), nullptr, nullptr, "CdRom4", 0),
                  static_cast<EXCEPTION_NUMBER>(EN_SUCCESS))
            << e.Text;
        return h;
    }
    kvtest::TempDir Dir;
};

}  // namespace

TEST_F(ScriptedDrive, EveryGrabberCallFailsAsScripted) {
    EXCEPTION_NUMBER result = EN_SCSI_TRANSPORT_FAILED;
    for (const ScriptedCall& call : kCalls) {
        SCOPED_TRACE(call.Function);
        const std::string text = std::string("scripted failure of ") + call.Function;
        Script(std::string(R"({"disc": {"image": "d.iso"}, "failures": {")") + call.Function +
               R"(": {"result": )" + std::to_string(result) + R"(, "systemError": 71, "text": ")" + text + "\"}}}");
        void* h = Open();
        ASSERT_NE(h, nullptr);
        Errors e;
        EXPECT_EQ(call.Run(h, e, Dir.path()), result);
        if (call.HasErrorBlock) {
            EXPECT_EQ(std::string(e.Text), text);
            EXPECT_EQ(e.SystemError, 71u);
        }
        // The other calls of the same drive still work.
        for (const ScriptedCall& other : kCalls) {
            if (&other == &call || std::string(other.Function) == "Burnkit_Grabber_Eject")
                continue;
            Errors ok;
            EXPECT_EQ(other.Run(h, ok, Dir.path()), static_cast<EXCEPTION_NUMBER>(EN_SUCCESS))
                << other.Function << ": " << ok.Text;
        }
        Burnkit_Destroy(&h);
        result = result % 36 + 1;
    }
}

TEST_F(ScriptedDrive, OpeningFailsAsScripted) {
    for (const char* function : {"Burnkit_Grabber_Create", "Burnkit_Grabber_CreateEx", "Burnkit_Grabber_CreateExEx"}) {
        SCOPED_TRACE(function);
        Script(std::string(R"({"failures": {")") + function + R"(": {"result": 6, "systemError": 19, "text": "bus reset"}}})");
        Errors e;
        void* h = nullptr;
        EXCEPTION_NUMBER r;
        if (std::string(function) == "Burnkit_Grabber_Create")
            r = Burnkit_Grabber_Create(&h, SDK_ERRORS(e), nullptr, nullptr, 1, 0, 4, 0, 0);
        else if (std::string(function) == "Burnkit_Grabber_CreateEx")
            r = Burnkit_Grabber_CreateEx(&h, SDK_ERRORS(e), nullptr, nullptr, "CdRom4", 0);
        else
            r = Burnkit_Grabber_CreateExEx(&h, SDK_ERRORS(e), nullptr, nullptr, u"CdRom4", 0, 0);
        EXPECT_EQ(r, static_cast<EXCEPTION_NUMBER>(EN_SCSI_TRANSPORT_FAILED));
        EXPECT_EQ(h, nullptr);
        EXPECT_STREQ(e.Text, "bus reset");
        EXPECT_EQ(e.SystemError, 19u);
    }
}

TEST_F(ScriptedDrive, AnswersWithItsIdentityAndHasNoDiscWhenScriptedSo) {
    Script(R"({"vendor": "TESTCO", "product": "Writer 9", "revision": "2.10", "bufferSize": 4096,
               "mediaFormats": {"IsCDRWrite": true, "IsTestWrite": true},
               "writeModes": {"IsTrackAtOnce": true, "IsDiscAtOncePQ": true},
               "rpc": {"typeCode": 1, "vendorResets": 4, "userChanges": 5, "regionMask": 254, "rpcScheme": 1},
               "disc": null})");
    void* h = Open();
    ASSERT_NE(h, nullptr);
    char vendor[1024], product[1024], revision[1024];
    uint32_t size = 0;
    EXPECT_EQ(Burnkit_Grabber_GetDeviceInformation(h, vendor, product, revision, &size),
              static_cast<EXCEPTION_NUMBER>(EN_SUCCESS));
    EXPECT_STREQ(vendor, "TESTCO");
    EXPECT_STREQ(product, "Writer 9");
    EXPECT_STREQ(revision, "2.10");
    EXPECT_EQ(size, 4096u);

    uint8_t f[10];
    Burnkit_Grabber_GetSupportedMediaFormats(h, &f[0], &f[1], &f[2], &f[3], &f[4], &f[5], &f[6], &f[7], &f[8], &f[9]);
    EXPECT_EQ(f[5], 1);  // test write
    EXPECT_EQ(f[6], 1);  // CD-R write
    EXPECT_EQ(f[8], 0);  // DVD-R write
    Errors e;
    uint8_t w[4];
    ASSERT_EQ(Burnkit_Grabber_ProbeSupportedWriteModes(h, SDK_ERRORS(e), &w[0], &w[1], &w[2], &w[3]),
              static_cast<EXCEPTION_NUMBER>(EN_SUCCESS));
    EXPECT_EQ(w[0], 1);
    EXPECT_EQ(w[1], 0);
    EXPECT_EQ(w[2], 1);
    uint8_t rpc[5][260];
    ASSERT_EQ(Burnkit_Grabber_GetRPC(h, SDK_ERRORS(e), rpc[0], rpc[1], rpc[2], rpc[3], rpc[4]),
              static_cast<EXCEPTION_NUMBER>(EN_SUCCESS));
    EXPECT_EQ(rpc[3][0], 254);
    EXPECT_EQ(rpc[1][0], 4);

    EXPECT_EQ(Burnkit_Grabber_TestUnitReady(h, SDK_ERRORS(e)), static_cast<EXCEPTION_NUMBER>(EN_SCSI_CDB_FAILED));
    EXPECT_STREQ(e.Text, "No disc in drive CdRom4");
    EXPECT_EQ(Burnkit_Grabber_GetInsertedDiscType(h), static_cast<DISC_TYPE>(DISC_TYPE_NO_MEDIA));
    EXPECT_EQ(Burnkit_Grabber_GrabTrack(h, SDK_ERRORS(e), 1, Dir.file("x.iso").c_str(), 1, 1, 0, 1),
              static_cast<EXCEPTION_NUMBER>(EN_SCSI_CDB_FAILED));
    Burnkit_Destroy(&h);
}
