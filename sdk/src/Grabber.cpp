// The grabber functions of the C API: open a drive, describe it and its
// disc. Copying tracks is in GrabTrack.cpp.

#include "Grabber.h"

#include "burnkit.h"

#include <platform/CodePage.h>

#include <cerrno>
#include <cstring>

namespace kvsdk {

Grabber& GrabberOf(void* handle) {
    auto* g = FindObjectAs<Grabber>(handle);
    if (g == nullptr)
        throw SdkError(EN_INVALID_INPUT_PARAMETER, "Invalid grabber handle", EINVAL);
    return *g;
}

}  // namespace kvsdk

using namespace kvsdk;

namespace {

EXCEPTION_NUMBER CreateGrabber(void** handle, const ErrorBlock& eb, BURNKIT_CALLBACK callback, void* context,
                               const char* function, DriveEntry (*find)(const void*), const void* key) {
    if (handle == nullptr)
        return eb.Fail(EN_INVALID_INPUT_PARAMETER, EINVAL, std::string(function) + ": no handle variable");
    *handle = nullptr;
    return Guard(eb, [&] {
        DriveEntry entry = find(key);
        std::unique_ptr<Drive> drive = OpenDrive(entry);
        drive->CheckCall(function);
        *handle = new Grabber(entry, std::move(drive), callback, context);
    });
}

// Runs a grabber call: finds the grabber, lets a scripted drive fail it,
// then runs body(grabber).
template <class F>
EXCEPTION_NUMBER Call(void* handle, const ErrorBlock& eb, const char* function, F&& body) {
    return Guard(eb, [&] {
        Grabber& g = GrabberOf(handle);
        g.TheDrive->CheckCall(function);
        body(g);
    });
}

void SetFlag(uint8_t* out, bool value) {
    if (out != nullptr)
        *out = value ? 1 : 0;
}

void Need(const void* p, const char* what) {
    if (p == nullptr)
        throw SdkError(EN_INVALID_INPUT_PARAMETER, std::string("No ") + what + " given", EINVAL);
}

}  // namespace

extern "C" {

BURNKIT_API EXCEPTION_NUMBER Burnkit_Grabber_Create(void** Grabber, char* ExceptionText, uint32_t ExceptionTextSize,
                                                    uint32_t* SystemError,
                                                    CDB_FAILURE_INFORMATION* CDBFailureInformation,
                                                    BURNKIT_CALLBACK Callback, void* Context, uint8_t PortID,
                                                    uint8_t BusID, uint8_t TargetID, uint8_t LUN, uint8_t) {
    const uint8_t address[4] = {PortID, BusID, TargetID, LUN};
    return CreateGrabber(
        Grabber, ErrorBlock{ExceptionText, ExceptionTextSize, SystemError, CDBFailureInformation}, Callback, Context,
        "Burnkit_Grabber_Create",
        [](const void* key) {
            auto* a = static_cast<const uint8_t*>(key);
            return FindDriveByAddress(a[0], a[1], a[2], a[3]);
        },
        address);
}

BURNKIT_API EXCEPTION_NUMBER Burnkit_Grabber_CreateEx(void** Grabber, char* ExceptionText, uint32_t ExceptionTextSize,
                                                      uint32_t* SystemError,
                                                      CDB_FAILURE_INFORMATION* CDBFailureInformation,
                                                      BURNKIT_CALLBACK Callback, void* Context, const char* DeviceName,
                                                      uint8_t) {
    ErrorBlock eb{ExceptionText, ExceptionTextSize, SystemError, CDBFailureInformation};
    if (DeviceName == nullptr) {
        if (Grabber != nullptr)
            *Grabber = nullptr;
        return eb.Fail(EN_INVALID_INPUT_PARAMETER, EINVAL, "No device name given");
    }
    return CreateGrabber(
        Grabber, eb, Callback, Context, "Burnkit_Grabber_CreateEx",
        [](const void* key) { return FindDriveByName(static_cast<const char*>(key)); }, DeviceName);
}

BURNKIT_API EXCEPTION_NUMBER Burnkit_Grabber_CreateExEx(void** Grabber, char* ExceptionText,
                                                        uint32_t ExceptionTextSize, uint32_t* SystemError,
                                                        CDB_FAILURE_INFORMATION* CDBFailureInformation,
                                                        BURNKIT_CALLBACK Callback, void* Context,
                                                        const BURNKIT_WCHAR* DeviceName, uint8_t, uint8_t) {
    ErrorBlock eb{ExceptionText, ExceptionTextSize, SystemError, CDBFailureInformation};
    if (DeviceName == nullptr) {
        if (Grabber != nullptr)
            *Grabber = nullptr;
        return eb.Fail(EN_INVALID_INPUT_PARAMETER, EINVAL, "No device name given");
    }
    std::string name = platform::Utf16ToUtf8(std::u16string(DeviceName));
    return CreateGrabber(
        Grabber, eb, Callback, Context, "Burnkit_Grabber_CreateExEx",
        [](const void* key) { return FindDriveByName(*static_cast<const std::string*>(key)); }, &name);
}

BURNKIT_API EXCEPTION_NUMBER Burnkit_Grabber_Release(void* Grabber, char* ExceptionText, uint32_t ExceptionTextSize,
                                                     uint32_t* SystemError,
                                                     CDB_FAILURE_INFORMATION* CDBFailureInformation) {
    return Call(Grabber, ErrorBlock{ExceptionText, ExceptionTextSize, SystemError, CDBFailureInformation},
                "Burnkit_Grabber_Release", [](kvsdk::Grabber& g) { g.TheDrive->Release(); });
}

BURNKIT_API EXCEPTION_NUMBER Burnkit_Grabber_GetDeviceInformation(void* Grabber, char* VendorID, char* ProductID,
                                                                  char* ProductRevisionLevel, uint32_t* BufferSize) {
    return Call(Grabber, ErrorBlock{}, "Burnkit_Grabber_GetDeviceInformation", [&](kvsdk::Grabber& g) {
        const DriveIdentity& id = g.TheDrive->Identity();
        CopyText(VendorID, BURNKIT_EXCEPTION_TEXT_SIZE, id.Vendor);
        CopyText(ProductID, BURNKIT_EXCEPTION_TEXT_SIZE, id.Product);
        CopyText(ProductRevisionLevel, BURNKIT_EXCEPTION_TEXT_SIZE, id.Revision);
        if (BufferSize != nullptr)
            *BufferSize = id.BufferSize;
    });
}

BURNKIT_API EXCEPTION_NUMBER Burnkit_Grabber_GetSupportedMediaFormats(
    void* Grabber, uint8_t* IsCDRRead, uint8_t* IsCDERead, uint8_t* IsDVDROMRead, uint8_t* IsDVDRRead,
    uint8_t* IsDVDRAMRead, uint8_t* IsTestWrite, uint8_t* IsCDRWrite, uint8_t* IsCDEWrite, uint8_t* IsDVDRWrite,
    uint8_t* IsDVDRAMWrite) {
    uint8_t* out[10] = {IsCDRRead,   IsCDERead,  IsDVDROMRead, IsDVDRRead,  IsDVDRAMRead,
                        IsTestWrite, IsCDRWrite, IsCDEWrite,   IsDVDRWrite, IsDVDRAMWrite};
    return Call(Grabber, ErrorBlock{}, "Burnkit_Grabber_GetSupportedMediaFormats", [&](kvsdk::Grabber& g) {
        for (int i = 0; i < 10; ++i)
            SetFlag(out[i], g.TheDrive->Identity().MediaFormats[i]);
    });
}

BURNKIT_API EXCEPTION_NUMBER Burnkit_Grabber_GetSupportedMediaFormatsExEx(void* Grabber, uint8_t* IsDVDPLUSRWRead,
                                                                          uint8_t* IsDVDPLUSRRead,
                                                                          uint8_t* IsDVDPLUSRDLRead,
                                                                          uint8_t* IsDVDPLUSRWWrite,
                                                                          uint8_t* IsDVDPLUSRWrite,
                                                                          uint8_t* IsDVDPLUSRDLWrite) {
    uint8_t* out[6] = {IsDVDPLUSRWRead,  IsDVDPLUSRRead,  IsDVDPLUSRDLRead,
                       IsDVDPLUSRWWrite, IsDVDPLUSRWrite, IsDVDPLUSRDLWrite};
    return Call(Grabber, ErrorBlock{}, "Burnkit_Grabber_GetSupportedMediaFormatsExEx", [&](kvsdk::Grabber& g) {
        for (int i = 0; i < 6; ++i)
            SetFlag(out[i], g.TheDrive->Identity().MediaFormatsEx[i]);
    });
}

BURNKIT_API EXCEPTION_NUMBER Burnkit_Grabber_ProbeSupportedWriteModes(
    void* Grabber, char* ExceptionText, uint32_t ExceptionTextSize, uint32_t* SystemError,
    CDB_FAILURE_INFORMATION* CDBFailureInformation, uint8_t* IsTrackAtOnce, uint8_t* IsSessionAtOnce,
    uint8_t* IsDiscAtOncePQ, uint8_t* IsDiscAtOnceRawPW) {
    uint8_t* out[4] = {IsTrackAtOnce, IsSessionAtOnce, IsDiscAtOncePQ, IsDiscAtOnceRawPW};
    return Call(Grabber, ErrorBlock{ExceptionText, ExceptionTextSize, SystemError, CDBFailureInformation},
                "Burnkit_Grabber_ProbeSupportedWriteModes", [&](kvsdk::Grabber& g) {
                    for (int i = 0; i < 4; ++i)
                        SetFlag(out[i], g.TheDrive->Identity().WriteModes[i]);
                });
}

BURNKIT_API EXCEPTION_NUMBER Burnkit_Grabber_ProbeSupportedReadModes(
    void* Grabber, char* ExceptionText, uint32_t ExceptionTextSize, uint32_t* SystemError,
    CDB_FAILURE_INFORMATION* CDBFailureInformation, uint8_t* IsCooked, uint8_t* IsRaw, uint8_t* IsRawPQ,
    uint8_t* IsRawRawPW, uint8_t* IsPQ, uint8_t* IsRawPW) {
    uint8_t* out[6] = {IsCooked, IsRaw, IsRawPQ, IsRawRawPW, IsPQ, IsRawPW};
    return Call(Grabber, ErrorBlock{ExceptionText, ExceptionTextSize, SystemError, CDBFailureInformation},
                "Burnkit_Grabber_ProbeSupportedReadModes", [&](kvsdk::Grabber& g) {
                    for (int i = 0; i < 6; ++i)
                        SetFlag(out[i], g.TheDrive->Identity().ReadModes[i]);
                });
}

BURNKIT_API EXCEPTION_NUMBER Burnkit_Grabber_TestUnitReady(void* Grabber, char* ExceptionText,
                                                           uint32_t ExceptionTextSize, uint32_t* SystemError,
                                                           CDB_FAILURE_INFORMATION* CDBFailureInformation) {
    return Call(Grabber, ErrorBlock{ExceptionText, ExceptionTextSize, SystemError, CDBFailureInformation},
                "Burnkit_Grabber_TestUnitReady", [](kvsdk::Grabber& g) { g.TheDrive->TestUnitReady(); });
}

BURNKIT_API DISC_TYPE Burnkit_Grabber_GetInsertedDiscType(void* Grabber) {
    DISC_TYPE type = DISC_TYPE_UNKNOWN;
    Call(Grabber, ErrorBlock{}, "Burnkit_Grabber_GetInsertedDiscType",
         [&](kvsdk::Grabber& g) { type = g.TheDrive->InsertedDiscType(); });
    return type;
}

BURNKIT_API EXCEPTION_NUMBER Burnkit_Grabber_GetDiscInformation(void* Grabber, char* ExceptionText,
                                                                uint32_t ExceptionTextSize, uint32_t* SystemError,
                                                                CDB_FAILURE_INFORMATION* CDBFailureInformation,
                                                                DISC_INFORMATION* DiscInformation) {
    return Call(Grabber, ErrorBlock{ExceptionText, ExceptionTextSize, SystemError, CDBFailureInformation},
                "Burnkit_Grabber_GetDiscInformation", [&](kvsdk::Grabber& g) {
                    Need(DiscInformation, "disc information record");
                    std::memset(DiscInformation, 0, sizeof(*DiscInformation));
                    g.TheDrive->DiscInformation(*DiscInformation);
                });
}

BURNKIT_API EXCEPTION_NUMBER Burnkit_Grabber_GetTrackInformation(void* Grabber, char* ExceptionText,
                                                                 uint32_t ExceptionTextSize, uint32_t* SystemError,
                                                                 CDB_FAILURE_INFORMATION* CDBFailureInformation,
                                                                 uint32_t TrackNumber,
                                                                 TRACK_INFORMATION* TrackInformation) {
    return Call(Grabber, ErrorBlock{ExceptionText, ExceptionTextSize, SystemError, CDBFailureInformation},
                "Burnkit_Grabber_GetTrackInformation", [&](kvsdk::Grabber& g) {
                    Need(TrackInformation, "track information record");
                    std::memset(TrackInformation, 0, sizeof(*TrackInformation));
                    g.TheDrive->TrackInformation(TrackNumber, *TrackInformation);
                });
}

BURNKIT_API EXCEPTION_NUMBER Burnkit_Grabber_GetTOCInformation(void* Grabber, char* ExceptionText,
                                                               uint32_t ExceptionTextSize, uint32_t* SystemError,
                                                               CDB_FAILURE_INFORMATION* CDBFailureInformation,
                                                               TOC_INFORMATION* TOCInformation) {
    return Call(Grabber, ErrorBlock{ExceptionText, ExceptionTextSize, SystemError, CDBFailureInformation},
                "Burnkit_Grabber_GetTOCInformation", [&](kvsdk::Grabber& g) {
                    Need(TOCInformation, "table of contents record");
                    std::memset(TOCInformation, 0, sizeof(*TOCInformation));
                    g.TheDrive->TableOfContents(*TOCInformation);
                });
}

BURNKIT_API EXCEPTION_NUMBER Burnkit_Grabber_GetRPC(void* Grabber, char* ExceptionText, uint32_t ExceptionTextSize,
                                                    uint32_t* SystemError,
                                                    CDB_FAILURE_INFORMATION* CDBFailureInformation, uint8_t* TypeCode,
                                                    uint8_t* NumberOfVendorResetsAvailable,
                                                    uint8_t* NumberOfUserControlledChangesAvailable,
                                                    uint8_t* RegionMask, uint8_t* RPCScheme) {
    uint8_t* out[5] = {TypeCode, NumberOfVendorResetsAvailable, NumberOfUserControlledChangesAvailable, RegionMask,
                       RPCScheme};
    return Call(Grabber, ErrorBlock{ExceptionText, ExceptionTextSize, SystemError, CDBFailureInformation},
                "Burnkit_Grabber_GetRPC", [&](kvsdk::Grabber& g) {
                    uint8_t rpc[5] = {};
                    g.TheDrive->RegionData(rpc);
                    for (int i = 0; i < 5; ++i)
                        if (out[i] != nullptr)
                            *out[i] = rpc[i];
                });
}

BURNKIT_API EXCEPTION_NUMBER Burnkit_Grabber_Eject(void* Grabber, char* ExceptionText, uint32_t ExceptionTextSize,
                                                   uint32_t* SystemError,
                                                   CDB_FAILURE_INFORMATION* CDBFailureInformation) {
    return Call(Grabber, ErrorBlock{ExceptionText, ExceptionTextSize, SystemError, CDBFailureInformation},
                "Burnkit_Grabber_Eject", [](kvsdk::Grabber& g) { g.TheDrive->Eject(); });
}

BURNKIT_API EXCEPTION_NUMBER Burnkit_Grabber_LoadEx(void* Grabber, char* ExceptionText, uint32_t ExceptionTextSize,
                                                    uint32_t* SystemError, uint8_t, uint8_t IsLoad) {
    return Call(Grabber, ErrorBlock{ExceptionText, ExceptionTextSize, SystemError, nullptr}, "Burnkit_Grabber_LoadEx",
                [&](kvsdk::Grabber& g) { g.TheDrive->Load(IsLoad != 0); });
}

BURNKIT_API EXCEPTION_NUMBER Burnkit_Grabber_GetBUP(void* Grabber, char* ExceptionText, uint32_t ExceptionTextSize,
                                                    uint32_t* SystemError,
                                                    CDB_FAILURE_INFORMATION* CDBFailureInformation, uint8_t* IsEnabled,
                                                    uint8_t* IsSupported) {
    return Call(Grabber, ErrorBlock{ExceptionText, ExceptionTextSize, SystemError, CDBFailureInformation},
                "Burnkit_Grabber_GetBUP", [&](kvsdk::Grabber& g) {
                    SetFlag(IsEnabled, g.TheDrive->Identity().BupEnabled);
                    SetFlag(IsSupported, g.TheDrive->Identity().BupSupported);
                });
}

BURNKIT_API EXCEPTION_NUMBER Burnkit_Grabber_SetBUP(void* Grabber, char* ExceptionText, uint32_t ExceptionTextSize,
                                                    uint32_t* SystemError,
                                                    CDB_FAILURE_INFORMATION* CDBFailureInformation, uint8_t IsEnabled) {
    return Call(Grabber, ErrorBlock{ExceptionText, ExceptionTextSize, SystemError, CDBFailureInformation},
                "Burnkit_Grabber_SetBUP", [&](kvsdk::Grabber& g) {
                    if (IsEnabled != 0 && !g.TheDrive->Identity().BupSupported)
                        throw SdkError(EN_ACCESS_TO_FEATURE_DENIED, "Drive " + g.Entry.Name +
                                                                        " has no buffer-underrun protection");
                });
}

BURNKIT_API EXCEPTION_NUMBER Burnkit_Grabber_SetSpeeds(void* Grabber, char* ExceptionText, uint32_t ExceptionTextSize,
                                                       uint32_t* SystemError,
                                                       CDB_FAILURE_INFORMATION* CDBFailureInformation, uint32_t,
                                                       uint32_t) {
    // Image-backed drives read at the speed of their files; speeds are
    // accepted and change nothing.
    return Call(Grabber, ErrorBlock{ExceptionText, ExceptionTextSize, SystemError, CDBFailureInformation},
                "Burnkit_Grabber_SetSpeeds", [](kvsdk::Grabber&) {});
}

BURNKIT_API EXCEPTION_NUMBER Burnkit_Grabber_GetSpeeds(void* Grabber, char* ExceptionText, uint32_t ExceptionTextSize,
                                                       uint32_t* SystemError,
                                                       CDB_FAILURE_INFORMATION* CDBFailureInformation,
                                                       uint32_t* CurrentReadSpeedInKBps,
                                                       uint32_t* MaximumReadSpeedInKBps,
                                                       uint32_t* CurrentWriteSpeedInKBps,
                                                       uint32_t* MaximumWriteSpeedInKBps) {
    uint32_t* out[4] = {CurrentReadSpeedInKBps, MaximumReadSpeedInKBps, CurrentWriteSpeedInKBps,
                        MaximumWriteSpeedInKBps};
    return Call(Grabber, ErrorBlock{ExceptionText, ExceptionTextSize, SystemError, CDBFailureInformation},
                "Burnkit_Grabber_GetSpeeds", [&](kvsdk::Grabber& g) {
                    for (int i = 0; i < 4; ++i)
                        if (out[i] != nullptr)
                            *out[i] = g.TheDrive->Identity().Speeds[i];
                });
}

BURNKIT_API EXCEPTION_NUMBER Burnkit_Grabber_SendOPC(void* Grabber, char* ExceptionText, uint32_t ExceptionTextSize,
                                                     uint32_t* SystemError,
                                                     CDB_FAILURE_INFORMATION* CDBFailureInformation) {
    // Power calibration is the writer's own business before a burn; there is
    // nothing to calibrate ahead of time.
    return Call(Grabber, ErrorBlock{ExceptionText, ExceptionTextSize, SystemError, CDBFailureInformation},
                "Burnkit_Grabber_SendOPC", [](kvsdk::Grabber&) {});
}

}  // extern "C"
