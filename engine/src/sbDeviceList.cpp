#include "sbDeviceList.h"

#include <QApplication>
#include <QCoreApplication>
#include <QLabel>
#include <chrono>

#include <platform/CodePage.h>

#include "sbCallBack.h"
#include "sbCallBackEventer.h"
#include "sbLogger.h"
#include "sbStrings.h"
#include "ufrmOperationProgress.h"

namespace {

void ProcessMessages()
{
    if (QCoreApplication::instance()) QCoreApplication::processEvents();
}

bool ApplicationTerminated()
{
    return QCoreApplication::instance() && QCoreApplication::closingDown();
}

}  // namespace

void BURNKIT_CALL ProbeCallBack(uint32_t, void*, void*, void*) {}

TsbDeviceFinderThread::TsbDeviceFinderThread(std::shared_ptr<TsbDeviceList> ADeviceList)
    : FDeviceList(std::move(ADeviceList)), FTransportType(FDeviceList->TransportType)
{
}

TsbDeviceFinderThread::~TsbDeviceFinderThread()
{
    if (FThread.joinable()) {
        if (FThread.get_id() == std::this_thread::get_id())
            FThread.detach();
        else
            FThread.join();
    }
}

void TsbDeviceFinderThread::Start(const std::shared_ptr<TsbDeviceFinderThread>& Thread)
{
    Thread->threadfinished = false;
    Thread->FSelf = Thread;
    Thread->FThread = std::thread([t = Thread.get()] {
        t->Execute();
        // The last thing the thread does: let go of its own object. When the
        // owner already let go too, this frees it (the destructor detaches).
        std::shared_ptr<TsbDeviceFinderThread> self = std::move(t->FSelf);
    });
}

void TsbDeviceFinderThread::Execute()
{
    try {
        TsbDeviceList* list = FDeviceList.get();
        if (FTransportType == ttAspi) {
            sbLog("Burnkit_FindDevice");
            Burnkit_FindDevice(5, 0, BurnkitCallBack, list);
            sbRaisePendingCallbackException();
        } else if (FTransportType == ttSpti || FTransportType == ttsptd) {
            void* handle = nullptr;
            char text[1024] = {};
            uint32_t systemError = 0;
            CDB_FAILURE_INFORMATION cdb{};
            for (int n = 0; n <= 20 && !FTerminated; ++n) {
                const std::string name = "CdRom" + std::to_string(n);
                EXCEPTION_NUMBER result;
                if (FTransportType == ttsptd) {
                    std::u16string wide = platform::AnsiToWide(name);
                    result = Burnkit_Grabber_CreateExEx(&handle, text, sizeof text, &systemError, &cdb, ProbeCallBack,
                                                        nullptr, reinterpret_cast<const BURNKIT_WCHAR*>(wide.c_str()),
                                                        0, 0);
                } else {
                    result = Burnkit_Grabber_CreateEx(&handle, text, sizeof text, &systemError, &cdb, ProbeCallBack,
                                                      nullptr, name.c_str(), 0);
                }
                if (result != EN_SUCCESS) continue;
                if (handle) {
                    Burnkit_Destroy(&handle);
                    handle = nullptr;
                }
                BurnkitCallBack(BURNKIT_CALLBACK_REASON_DEVICE_FOUND, list, nullptr, const_cast<char*>(name.c_str()));
                sbRaisePendingCallbackException();
            }
        }
    } catch (...) {
    }
    threadfinished = true;
    FTerminated = true;
    try {
        if (OnTerminate) OnTerminate(&FSender);
    } catch (...) {
    }
}

bool TsbDeviceFinderThread::WaitFor(unsigned Ms)
{
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(Ms);
    while (!threadfinished) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(std::min(Ms, 5u)));
    }
    return true;
}

void TsbDeviceFinderThread::Detach()
{
    if (FThread.joinable()) FThread.detach();
}

TsbDeviceFinder::TsbDeviceFinder() : FDeviceList(std::make_shared<TsbDeviceList>()) {}

TsbDeviceFinder::~TsbDeviceFinder()
{
    WaitForFinderThread();
}

void TsbDeviceFinder::CancelSearch(TObject*)
{
    FDeviceList->CancelAddDevices = true;
}

bool TsbDeviceFinder::WaitThread(unsigned MaxMs)
{
    if (!FFinderThread) return true;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(MaxMs);
    while (FFinderThread && !FFinderThread->WaitFor(80)) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        ProcessMessages();
    }
    return true;
}

void TsbDeviceFinder::WaitForFinderThread()
{
    if (!FFinderThread) return;
    FFinderThread->Terminate();
    if (!WaitThread(sbFinderFinalWaitMs)) {
        // Still inside an SDK call: it finishes on its own with the old list.
        FFinderThread->Detach();
        FDeviceList = std::make_shared<TsbDeviceList>();
    }
    FinderThreadTerminated(nullptr);
}

void TsbDeviceFinder::FinderThreadTerminated(TObject*)
{
    FFinderThreadHandle = ~uintptr_t(0);
    FFinderThread.reset();
}

bool TsbDeviceFinder::FindDevices(bool AWithProgress)
{
    if (FSearching) return false;
    FSearching = true;
    std::unique_ptr<TfrmOperationProgress> dialog;
    try {
        // The previous search's thread, if any, has finished its list.
        WaitForFinderThread();
        if (AWithProgress) {
            dialog = std::make_unique<TfrmOperationProgress>();
            frmFindProgress = dialog.get();
        }
        if (dialog) {
            FDeviceList->CancelAddDevices = false;
            dialog->setWindowTitle(QString::fromStdString(sbLoadStr(sbStr::ScanningDevices)));
            dialog->SetAllowCancel(true);
            dialog->lblInfo->setText(QString::fromStdString(FProgressCaption));
            dialog->show();
            dialog->OnCancel() = [this](TObject* sender) { CancelSearch(sender); };
            ProcessMessages();
        }
        FDeviceList->Clear();
        FDeviceList->TransportType = FTransportType;

        FFinderThread = std::make_shared<TsbDeviceFinderThread>(FDeviceList);
        FFinderThreadHandle = reinterpret_cast<uintptr_t>(FFinderThread.get());
        TsbDeviceFinderThread::Start(FFinderThread);

        for (int counter = 0; counter < 60 && !FFinderThread->threadfinished && !ApplicationTerminated(); ++counter) {
            ProcessMessages();
            FFinderThread->WaitFor(100);
        }
        WaitForFinderThread();
        if (dialog) dialog->hide();
    } catch (...) {
        if (sbCallBackEventer) sbCallBackEventer->OnFoundDevice = nullptr;
        frmFindProgress = nullptr;
        FSearching = false;
        throw;
    }
    if (sbCallBackEventer) sbCallBackEventer->OnFoundDevice = nullptr;
    frmFindProgress = nullptr;
    FSearching = false;
    return true;
}
