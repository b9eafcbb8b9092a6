#pragma once

// The engine object through which the application works with one optical
// drive or with the virtual-device driver. It owns at most one open SDK
// grabber and keeps the outcome of the last SDK call. Used on one thread.

#include <cstdint>
#include <string>
#include <vector>

#include "Burnkit.h"
#include "sbTypes2.h"

class TsbBurnThread;
class TsbEraseThread;

// The "no thread" value of a thread handle.
constexpr uintptr_t sbNoThreadHandle = ~uintptr_t(0);

class TsbBurner : public TObject {
public:
    TsbBurner();
    // Frees the burn file list, waits for the burn and erase threads, then
    // closes the file tree and the grabber (releasing the drive).
    ~TsbBurner() override;
    TsbBurner(const TsbBurner&) = delete;
    TsbBurner& operator=(const TsbBurner&) = delete;

    // Opens a new grabber for the drive (closing an open one first) by
    // TransportType; raises platform::EOSError with Message on failure.
    void PrepareGrabber();
    // Releases and closes the open grabber, if any.
    void ShutDownGrabber();
    // Closes the file tree and the UDF volume, if any.
    void ShutDownFileTree();
    // Releases the drive through the open grabber; never raises.
    void UnlockDrive();
    // True when the virtual-device driver answers; otherwise Message is set
    // and logged. Never raises.
    bool CheckVPortDriver();

    // Wait until the thread is gone, processing window messages; a thread
    // handle is the address of the thread's QThread.
    virtual void WaitForBurnThread();
    virtual void WaitForEraseThread();
    // Termination handlers: forget the thread.
    virtual void BurnThreadTerminated(TObject* Sender);
    virtual void EraseThreadTerminated(TObject* Sender);
    // Passes an action message on to OnAction, with the burner as Sender.
    virtual void DoAction(TObject* Sender, const std::string& AMessage, TsbLogItemType AItemType);

    // Properties: each reads and writes its field directly.
    std::string& Message() { return FMessage; }
    SCSI_DEVICE_ADDRESS& SCSIInfo() { return FSCSIInfo; }
    TsbFileSystem& FileSystem() { return FFileSystem; }
    TsbTransportType& TransportType() { return FTransportType; }
    TsbEraseOptions& EraseOptions() { return FEraseOptions; }
    TsbTrackOptions& TrackOptions() { return FTrackOptions; }
    TsbBurnOptions& BurnOptions() { return FBurnOptions; }
    TsbDiscSizeInfo& DiscSizeInfo() { return FDiscSizeInfo; }
    std::string& DiscLabel() { return FDiscLabel; }
    TsbWriteModes& WriteModes() { return FWriteModes; }
    DISC_TYPE& DiscType() { return FDiscType; }
    TsbFileImageFormat& FileImageFormat() { return FFileImageFormat; }
    TsbDeviceInfo& DeviceInfo() { return FDeviceInfo; }
    TsbActionEvent& OnAction() { return FOnAction; }
    BURNKIT_WAVE_COMPRESSION& CompressOptions() { return FCompressOptions; }
    std::vector<std::string>& BurnFileList() { return FBurnFileList; }
    std::string& DeviceName() { return FDeviceName; }
    bool& DoVerify() { return FDoVerify; }
    bool& LoadAfter() { return FLoadAfter; }
    bool Cancel() const { return FCancel; }
    bool& Success() { return FSuccess; }

protected:
    std::string FMessage;
    SCSI_DEVICE_ADDRESS FSCSIInfo{};
    TsbFileSystem FFileSystem;
    TsbTransportType FTransportType = ttAspi;
    TsbEraseOptions FEraseOptions;
    TsbTrackOptions FTrackOptions;
    TsbBurnOptions FBurnOptions;
    TsbDiscSizeInfo FDiscSizeInfo;
    std::string FDiscLabel = "NEW";
    TsbWriteModes FWriteModes;
    DISC_TYPE FDiscType = DISC_TYPE_UNKNOWN;
    TsbFileImageFormat FFileImageFormat;
    TsbDeviceInfo FDeviceInfo;
    TsbActionEvent FOnAction;
    BURNKIT_WAVE_COMPRESSION FCompressOptions = 0;
    std::vector<std::string> FBurnFileList;
    std::string FDeviceName;
    bool FDoVerify = false;
    bool FLoadAfter = false;

public:
    TsbBurnThread* FBurnThread = nullptr;
    uintptr_t FBurnThreadHandle = sbNoThreadHandle;
    TsbEraseThread* FEraseThread = nullptr;
    uintptr_t FEraseThreadHandle = sbNoThreadHandle;

protected:
    bool FCancel = false;
    bool FSuccess = false;

public:
    bool VerifyOk = false;
    void* Grabber = nullptr;
    void* ISO9660JolietFileTree = nullptr;
    void* mp_UDFVolume = nullptr;
    EXCEPTION_NUMBER sbException = EN_SUCCESS;
    uint32_t SystemError = 0;
    TsbPackedArray ExceptionText{};
    CDB_FAILURE_INFORMATION CDBFailureInformation{};
    int32_t sbTreeNodes = 0;
    TsbFileImageProgressVars FIPV;
    DAO_DISC_LAYOUT DAODISCLAYOUT{};
    TsbVPortOptions VPortOptions;

    // Stores the standard failure text of FunctionName for the last call in
    // Message, logs it and raises it.
    [[noreturn]] void RaiseFailure(const std::string& FunctionName);
};
