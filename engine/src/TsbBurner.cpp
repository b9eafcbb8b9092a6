#include "TsbBurner.h"

#include <QCoreApplication>
#include <QThread>

#include <platform/CodePage.h>

#include "sbCallBack.h"
#include "sbLogger.h"

TsbBurner::TsbBurner()
{
    InitDiscSizeInfo(FDiscSizeInfo);
    InitWriteModes(FWriteModes);
    InitFileImageFormat(FFileImageFormat);
    InitFileImageProgressVars(FIPV);
    InitVPortOptions(VPortOptions);
}

TsbBurner::~TsbBurner()
{
    FBurnFileList.clear();
    WaitForBurnThread();
    WaitForEraseThread();
    ShutDownFileTree();
    ShutDownGrabber();
}

void TsbBurner::RaiseFailure(const std::string& FunctionName)
{
    FMessage = sbFailureMessage(FunctionName, sbException, SystemError, ExceptionText);
    sbRaise(FMessage);
}

void TsbBurner::PrepareGrabber()
{
    ShutDownGrabber();
    sbLog("Burnkit_Grabber_Create (before create)");
    switch (FTransportType) {
    case ttAspi:
        sbException = Burnkit_Grabber_Create(&Grabber, ExceptionText, sizeof ExceptionText, &SystemError,
                                             &CDBFailureInformation, BurnkitCallBack, nullptr,
                                             FSCSIInfo.m__UCHAR__PortID, FSCSIInfo.m__UCHAR__BusID,
                                             FSCSIInfo.m__UCHAR__TargetID, FSCSIInfo.m__UCHAR__LUN, 0);
        break;
    case ttSpti:
        sbException = Burnkit_Grabber_CreateEx(&Grabber, ExceptionText, sizeof ExceptionText, &SystemError,
                                               &CDBFailureInformation, BurnkitCallBack, nullptr,
                                               FDeviceName.c_str(), 0);
        break;
    case ttsptd: {
        std::u16string wide = platform::AnsiToWide(FDeviceName);
        sbException = Burnkit_Grabber_CreateExEx(&Grabber, ExceptionText, sizeof ExceptionText, &SystemError,
                                                 &CDBFailureInformation, BurnkitCallBack, nullptr,
                                                 reinterpret_cast<const BURNKIT_WCHAR*>(wide.c_str()), 0, 0);
        break;
    }
    }
    if (sbException != EN_SUCCESS) RaiseFailure("Burnkit_Grabber_Create");
    sbLog("Burnkit_Grabber_Create (after create): PortID:" + std::to_string(FSCSIInfo.m__UCHAR__PortID) +
          ",BusID:" + std::to_string(FSCSIInfo.m__UCHAR__BusID) +
          ",TargetID:" + std::to_string(FSCSIInfo.m__UCHAR__TargetID) +
          ",LUN:" + std::to_string(FSCSIInfo.m__UCHAR__LUN));
}

void TsbBurner::ShutDownGrabber()
{
    if (!Grabber) return;
    UnlockDrive();
    sbLog("Burnkit_Destroy: Grabber");
    Burnkit_Destroy(&Grabber);
    Grabber = nullptr;
}

void TsbBurner::ShutDownFileTree()
{
    if (ISO9660JolietFileTree) {
        sbLog("Burnkit_Destroy: FileTree");
        Burnkit_Destroy(&ISO9660JolietFileTree);
        ISO9660JolietFileTree = nullptr;
    }
    if (mp_UDFVolume) {
        Burnkit_UDF2_VolumeDestroy(mp_UDFVolume);
        mp_UDFVolume = nullptr;
    }
}

void TsbBurner::UnlockDrive()
{
    sbException = EN_SUCCESS;
    try {
        if (Grabber) {
            sbLog("Burnkit_Grabber_Release");
            sbException = Burnkit_Grabber_Release(Grabber, ExceptionText, sizeof ExceptionText, &SystemError,
                                                  &CDBFailureInformation);
        }
        if (sbException != EN_SUCCESS) {
            FMessage = sbFailureMessageN("Burnkit_Grabber_Release", sbException, SystemError, ExceptionText);
            sbLog(FMessage);
        }
    } catch (...) {
    }
}

bool TsbBurner::CheckVPortDriver()
{
    uint32_t versionMajor = 0, versionMinor = 0;
    sbException = Burnkit_VPort_GetVersion(&versionMajor, &versionMinor, &SystemError);
    if (sbException == EN_SUCCESS) return true;
    FMessage = sbVPortFailureMessage("Burnkit_VPort_GetVersion", sbException, SystemError);
    try {
        sbLog(FMessage);
    } catch (...) {
        // A trace file that cannot be written does not turn the answer
        // into an exception.
    }
    return false;
}

namespace {

// Waits for a thread in slices of 80 ms, processing pending messages,
// while `stillSet` says the thread is still known.
template <typename F>
void WaitThread(uintptr_t handle, F stillSet)
{
    while (stillSet()) {
        QThread* thread = reinterpret_cast<QThread*>(handle);
        if (handle == sbNoThreadHandle || !thread || thread->wait(80)) return;
        QCoreApplication::processEvents();
    }
}

}  // namespace

void TsbBurner::WaitForBurnThread()
{
    if (!FBurnThread) return;
    WaitThread(FBurnThreadHandle, [this] { return FBurnThread != nullptr; });
}

void TsbBurner::WaitForEraseThread()
{
    if (!FEraseThread) return;
    WaitThread(FEraseThreadHandle, [this] { return FEraseThread != nullptr; });
}

void TsbBurner::BurnThreadTerminated(TObject*)
{
    FBurnThreadHandle = sbNoThreadHandle;
    FBurnThread = nullptr;
}

void TsbBurner::EraseThreadTerminated(TObject*)
{
    FEraseThreadHandle = sbNoThreadHandle;
    FEraseThread = nullptr;
}

void TsbBurner::DoAction(TObject*, const std::string& AMessage, TsbLogItemType AItemType)
{
    if (FOnAction) FOnAction(this, AMessage, AItemType);
}
