#pragma once

// The engine's vocabulary: enumerations, plain records with their
// initialisers, and the event types that the engine's objects fire.
// Records are value types; a record without an initialiser starts zeroed.

#include <cstdint>
#include <functional>
#include <string>

#include "Burnkit.h"

class TObject;

enum TsbLogItemType : uint8_t { litInfo, litError, litWarning };
enum TsbTrackType : uint8_t { ttData, ttAudio };
enum TsbStage : uint8_t {
    sShowCache,
    sTestUnitReady,
    sProbeSupportedWriteModes,
    sGettingBUP,
    sSetBUP,
    sSetSpeed,
    sGetSpeed,
    sGetTrackInfo,
    sGetDiscInfo,
    sBuildISO9660JolietFileTree,
    sSendOPC,
    sVerify,
};
enum TsbBurnMode : uint8_t {
    bmTrackAtOnce,
    bmSessionAtOnce,
    bmDiscAtOncePQFromTree,
    bmDiscAtOnceRawPWFromTree,
    bmImageFile,
    bmDiscAtOncePQFromFile,
    bmDiscAtOnceRawPWFromFile,
    bmTrackAtOnceFromFile,
    bmSessionAtOnceFromFile,
};
enum TsbFileSystemType : uint8_t { fstISO9660, fstISO9660Joilet, fstUDF };
enum TsbFileImageType : uint8_t { fitIso, fitMds };
enum TsbSPAction : uint8_t { spaMount, spaUnmount, spaVirtualDVD };
enum TsbTransportType : uint8_t { ttSpti, ttAspi, ttsptd };

// A set of stages: bit n stands for the stage with ordinal n.
class TsbStages {
public:
    constexpr TsbStages() = default;
    constexpr explicit TsbStages(uint16_t mask) : mask_(mask) {}
    constexpr TsbStages(std::initializer_list<TsbStage> stages)
    {
        for (TsbStage s : stages) mask_ |= uint16_t(1u << s);
    }
    constexpr bool Contains(TsbStage s) const { return (mask_ >> s) & 1u; }
    constexpr void Include(TsbStage s) { mask_ |= uint16_t(1u << s); }
    constexpr void Exclude(TsbStage s) { mask_ &= uint16_t(~(1u << s)); }
    constexpr uint16_t Mask() const { return mask_; }
    constexpr bool operator==(const TsbStages&) const = default;

private:
    uint16_t mask_ = 0;
};

// The buffer into which every grabber call writes its error text.
using TsbPackedArray = char[1024];

struct TsbMediaFormats {
    bool IsCDRRead = false;
    bool IsCDERead = false;
    bool IsDVDROMRead = false;
    bool IsDVDRRead = false;
    bool IsDVDRAMRead = false;
    bool IsCDRWrite = false;
    bool IsCDEWrite = false;
    bool IsDVDRWrite = false;
    bool IsDVDRAMWrite = false;
    bool IsTestWrite = false;
};

struct TsbMediaFormatsEx {
    bool IsDVDPLUSRWRead = false;
    bool IsDVDPLUSRRead = false;
    bool IsDVDPLUSRDLRead = false;
    bool IsDVDPLUSRWWrite = false;
    bool IsDVDPLUSRWrite = false;
    bool IsDVDPLUSRDLWrite = false;
};

struct TsbDeviceInfo {
    std::string VendorID;
    std::string ProductID;
    std::string ProductRevisionLevel;
    int64_t BufferSize = 0;
    TsbMediaFormats SupportedMediaFormats;
    TsbMediaFormatsEx SupportedMediaFormatsEx;
};

struct TsbBurnOptions {
    TsbBurnMode Mode = bmTrackAtOnce;
    bool TestMode = false;
    bool IsMultiSession = false;
    bool IsSOPC = false;
    bool EjectAfter = false;
    bool LoadAfter = false;
    int32_t SpeedInPoint = 0;
    int32_t SpeedInSize = 0;
};

struct TsbActionOptions {
    bool BurnFromFile = false;
    std::string SourceFileImage;
    bool NeedDiscErase = false;
};

struct TsbFileSystem {
    TsbFileSystemType SystemType = fstISO9660;
    bool ISO9660Level2 = false;
    bool EnabledEIT = false;
    std::string BootImage;
};

struct TsbEraseOptions {
    bool IsFull = false;
    int32_t SpeedInPoint = 0;
    int32_t SpeedInSize = 0;
    bool EjectAfter = false;
    bool ShowProgress = false;
};

struct TsbTrackOptions {
    bool IsNewSession = false;
    int32_t TrackNum = 0;
};

struct TsbDiscSizeInfo {
    int64_t FreeOnDisc = 0;
    int64_t TotalDiscSize = 0;
    int64_t OccupDiscSize = 0;
    int64_t TotalFreeSectors = 0;
};

struct TsbReadModes {
    bool IsCooked = false;
    bool IsRaw = false;
    bool IsRawPQ = false;
    bool IsRawRawPW = false;
    bool IsPQ = false;
    bool IsRawPW = false;
};

struct TsbWriteModes {
    bool IsTrackAtOnce = false;
    bool IsSessionAtOnce = false;
    bool IsDiscAtOncePQ = false;
    bool IsDiscAtOnceRawPW = false;
    bool IsTestMode = false;
};

struct TsbFileImageFormat {
    TsbFileImageType FileImageType = fitIso;
    int64_t VolumeSize = 0;
};

struct TsbFileImageProgressVars {
    uintptr_t FileHandle = 0;
    int64_t FreeUCHARs = 0;
    int64_t TotalUCHARs = 0;
    int64_t CurrentUnstoredSizeInUCHARs = 0;
    int64_t FreeTotalUCHARs = 0;
    int64_t TotalSizeInUCHARs = 0;
    int64_t IoTransferSizeInUCHARs = 0;
    int64_t LastPrintedPercent = 0;
    int64_t ProcessedUCHARs = 0;
    int64_t CurrentPercent = 0;
};

struct TsbDVDRPC {
    bool Valid = false;
    std::string TypeCode;
    std::string NumberOfVendorResetsAvailable;
    std::string NumberOfUserControlledChangesAvailable;
    std::string RegionMask;
    std::string RPCScheme;
};

struct TsbVPortDeviceType {
    int32_t TargetID = 0;
    ::VPORT_DEVICE_TYPE VPORT_DEVICE_TYPE = VPORT_DEVICE_TYPE_UNKNOWN;
    std::string VendorID;
    std::string ProductID;
    std::string Revision;
    std::string DeviceLetter;  // "E:\" or empty
    std::string DriveLabel;
};

struct TsbVPortOptions {
    TsbSPAction Action = spaMount;
    std::string IPAddress;
    bool Persistent = false;
    int32_t IPPort = 0;
    std::string TargetName;
    std::string ShowTargetName;
    ::VPORT_DEVICE_LIST_ENTRY VPORT_DEVICE_LIST_ENTRY{};
    TsbVPortDeviceType VPortDeviceType;
    std::string DVDImageFile;
};

// Initialisers: each sets exactly the fields that carry a default.
void InitActionOptions(TsbActionOptions& r);
void InitDiscSizeInfo(TsbDiscSizeInfo& r);
void InitReadModes(TsbReadModes& r);
void InitWriteModes(TsbWriteModes& r);  // IsTestMode is left alone
void InitFileImageFormat(TsbFileImageFormat& r);
void InitFileImageProgressVars(TsbFileImageProgressVars& r);
void InitDVDRPC(TsbDVDRPC& r);
void InitVPortDeviceType(TsbVPortDeviceType& r);
// Persistent, ShowTargetName, the list entry and DVDImageFile are left alone.
void InitVPortOptions(TsbVPortOptions& r);

// Base of the engine's objects: what an event's Sender points at.
class TObject {
public:
    virtual ~TObject() = default;
};

// Event types: empty while unassigned; the owner passes itself as Sender.
using TNotifyEvent = std::function<void(TObject* Sender)>;
using TsbActionEvent =
    std::function<void(TObject* Sender, const std::string& AMessage, TsbLogItemType AItemType)>;
using TsbFileTreeNodeActionEvent =
    std::function<void(TObject* Sender, const std::string& AName, void* ANode)>;
using TsbWriteProgressEvent = std::function<void(TObject* Sender, int32_t APercent)>;
using TsbBufferStatusEvent = std::function<void(TObject* Sender, int32_t ABufferStatusPercent)>;
using TsbAllowCancelWriteEvent = std::function<void(TObject* Sender, bool Allow)>;
using TsbFoundDeviceEvent = std::function<void(TObject* Sender, const std::string& AProduct)>;
