#pragma once

// The drive search: TsbDeviceFinder runs one search at a time on a worker
// thread (TsbDeviceFinderThread) and owns the resulting TsbDeviceList.
//
// While a search runs, only the search thread touches the list. FindDevices
// returns only after the search thread has finished with the list: it polls
// for at most 60 passes of 100 ms, then asks the thread to stop (it tries no
// further names) and waits for it up to sbFinderFinalWaitMs more. A thread
// that is still inside an SDK call after that is left to finish on its own:
// it keeps the old list alive and writes only to it, and the finder takes a
// new empty list, so the caller never sees a list that is still written.

#include <atomic>
#include <memory>
#include <string>
#include <thread>

#include "Burnkit.h"
#include "sbClasses.h"
#include "sbTypes2.h"

class TfrmOperationProgress;

constexpr int sbFinderFinalWaitMs = 10000;

// The SDK callback used when a name is opened only to learn that it exists.
void BURNKIT_CALL ProbeCallBack(uint32_t Reason, void* Context, void* Param1, void* Param2);

class TsbDeviceFinderThread {
public:
    // A thread for one search over ADeviceList; it starts with Start.
    explicit TsbDeviceFinderThread(std::shared_ptr<TsbDeviceList> ADeviceList);
    ~TsbDeviceFinderThread();
    TsbDeviceFinderThread(const TsbDeviceFinderThread&) = delete;
    TsbDeviceFinderThread& operator=(const TsbDeviceFinderThread&) = delete;

    // Starts the search; the thread object stays alive until the search has
    // ended, even when its owner lets go of it (Detach).
    static void Start(const std::shared_ptr<TsbDeviceFinderThread>& Thread);
    // The search itself.
    void Execute();
    // Asks the search to stop before the next name.
    void Terminate() { FTerminated = true; }
    bool Terminated() const { return FTerminated; }
    // Waits up to Ms milliseconds; true when the thread has ended.
    bool WaitFor(unsigned Ms);
    // Lets the search finish on its own.
    void Detach();

    // Called on the search thread when the search has ended.
    TNotifyEvent OnTerminate;
    std::atomic<bool> threadfinished{false};

private:
    std::shared_ptr<TsbDeviceList> FDeviceList;
    TsbTransportType FTransportType;
    std::atomic<bool> FTerminated{false};
    std::thread FThread;
    std::shared_ptr<TsbDeviceFinderThread> FSelf;  // keeps a detached thread's object alive
    TObject FSender;
};

class TsbDeviceFinder : public TObject {
public:
    TsbDeviceFinder();
    ~TsbDeviceFinder() override;
    TsbDeviceFinder(const TsbDeviceFinder&) = delete;
    TsbDeviceFinder& operator=(const TsbDeviceFinder&) = delete;

    // Runs one search, with the progress dialog when AWithProgress is set.
    // A call made while a search of this finder runs is refused: it returns
    // false at once and leaves the list alone.
    bool FindDevices(bool AWithProgress);
    // Stops the probe from adding drives (the dialog's cancel).
    void CancelSearch(TObject* Sender);
    // Waits for the last search thread to end, processing messages.
    virtual void WaitForFinderThread();
    virtual void FinderThreadTerminated(TObject* Sender);

    TsbTransportType& TransportType() { return FTransportType; }
    void SetProgressCaption(const std::string& Value) { FProgressCaption = Value; }
    // Valid until the next FindDevices.
    TsbDeviceList* DeviceList() const { return FDeviceList.get(); }

    TfrmOperationProgress* frmFindProgress = nullptr;

private:
    std::shared_ptr<TsbDeviceFinderThread> FFinderThread;
    uintptr_t FFinderThreadHandle = ~uintptr_t(0);
    std::shared_ptr<TsbDeviceList> FDeviceList;
    TsbTransportType FTransportType = ttSpti;
    std::string FProgressCaption;
    bool FSearching = false;

    // Waits until the thread has ended or MaxMs have passed; true when ended.
    bool WaitThread(unsigned MaxMs);
};
