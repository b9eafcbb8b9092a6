#include "ScriptedDrive.h"
#include "SdkError.h"

#include <gtest/gtest.h>

using namespace kvsdk;

TEST(DriveScript, ReadsIdentityCapabilitiesDiscAndFailures) {
    DriveScript s = ParseDriveScript(R"({
        "vendor": "TESTCO", "product": "Writer 9", "revision": "2.10", "bufferSize": 4096,
        "mediaFormats": {"IsCDRWrite": true, "IsDVDROMRead": false},
        "writeModes": {"IsTrackAtOnce": true},
        "speeds": {"maximumRead": 7040},
        "bup": {"supported": true},
        "rpc": {"regionMask": 254, "rpcScheme": 1},
        "disc": {"type": 2, "image": "d.iso"},
        "failures": {"Burnkit_Grabber_GrabTrack": {"result": 28, "systemError": 5, "text": "Read error"}}
    })",
                                     "/scripts/");
    EXPECT_EQ(s.Identity.Vendor, "TESTCO");
    EXPECT_EQ(s.Identity.Product, "Writer 9");
    EXPECT_EQ(s.Identity.BufferSize, 4096u);
    EXPECT_TRUE(s.Identity.MediaFormats[6]);
    EXPECT_FALSE(s.Identity.MediaFormats[2]);
    EXPECT_TRUE(s.Identity.MediaFormats[0]);  // not named: keeps the default
    EXPECT_TRUE(s.Identity.WriteModes[0]);
    EXPECT_EQ(s.Identity.Speeds[1], 7040u);
    EXPECT_TRUE(s.Identity.BupSupported);
    EXPECT_EQ(s.Identity.Rpc[3], 254);
    EXPECT_TRUE(s.HasDisc);
    EXPECT_EQ(s.Image, "/scripts/d.iso");
    EXPECT_EQ(s.DiscType, static_cast<DISC_TYPE>(DISC_TYPE_CDR));
    ASSERT_EQ(s.Failures.count("Burnkit_Grabber_GrabTrack"), 1u);
    EXPECT_EQ(s.Failures["Burnkit_Grabber_GrabTrack"].Result, static_cast<EXCEPTION_NUMBER>(EN_GENERAL_READ_ERROR));
    EXPECT_EQ(s.Failures["Burnkit_Grabber_GrabTrack"].SystemError, 5);
    EXPECT_EQ(s.Failures["Burnkit_Grabber_GrabTrack"].Text, "Read error");
}

TEST(DriveScript, MalformedScriptsAreRefusedWithTheReason) {
    struct Case {
        const char* Json;
        const char* Error;  // part of the text
    } cases[] = {
        {"{\"vendor\": ", "not valid JSON"},
        {"[]", "the script must be an object"},
        {R"({"vendr": "x"})", "unknown key 'vendr' in the script"},
        {R"({"vendor": 5})", "vendor must be a string"},
        {R"({"bufferSize": -1})", "bufferSize must be a whole number from 0 to 4294967295"},
        {R"({"mediaFormats": {"IsCDRRead": 1}})", "mediaFormats.IsCDRRead must be true or false"},
        {R"({"mediaFormats": {"IsFloppy": true}})", "unknown key 'IsFloppy' in mediaFormats"},
        {R"({"rpc": {"regionMask": 256}})", "rpc.regionMask must be a whole number from 0 to 255"},
        {R"({"disc": {"type": 1}})", "disc needs an image"},
        {R"({"disc": {"image": "a.iso", "type": 23}})", "disc.type must be a whole number from 0 to 22"},
        {R"({"failures": {"Burnkit_Grabber_Fly": {"result": 1}}})", "unknown call 'Burnkit_Grabber_Fly' in failures"},
        {R"({"failures": {"Burnkit_Grabber_Eject": {}}})", "failures.Burnkit_Grabber_Eject needs a result"},
        {R"({"failures": {"Burnkit_Grabber_Eject": {"result": 0}}})",
         "failures.Burnkit_Grabber_Eject.result must not be 0"},
        {R"({"failures": {"Burnkit_Grabber_Eject": {"result": 37}}})",
         "failures.Burnkit_Grabber_Eject.result must be a whole number from 0 to 36"},
    };
    for (const Case& c : cases) {
        try {
            ParseDriveScript(c.Json, "/");
            ADD_FAILURE() << "accepted: " << c.Json;
        } catch (const SdkError& e) {
            EXPECT_EQ(e.Code, static_cast<EXCEPTION_NUMBER>(EN_INVALID_INPUT_PARAMETER)) << c.Json;
            EXPECT_NE(std::string(e.what()).find(c.Error), std::string::npos) << c.Json << " -> " << e.what();
        }
    }
}
