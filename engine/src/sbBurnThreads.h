#pragma once

// Worker threads for the long disc-writing operations of a TsbBurner: the
// burn thread writes a disc or an image file in one of nine modes, the
// erase thread blanks a rewritable disc. Messages (OnAction), termination
// notices (OnTerminate), the fan-out events and the trace all run on the
// worker thread itself; handlers that touch windows hand over themselves.
// While a thread runs, the burner and its grabber belong to it.

#include <QThread>

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "TsbBurner.h"
#include "sbTypes2.h"

class TsbCustomThread : public QThread, public TObject {
public:
    // The thread works on ABurner (not owned) until its work ends. It is
    // created without running; start() runs it.
    explicit TsbCustomThread(TsbBurner* ABurner);
    // Waits for the thread to end.
    ~TsbCustomThread() override;

    TsbActionEvent OnAction;
    TNotifyEvent OnTerminate;

    // Set by the thread when its work has ended.
    bool Terminated() const { return FTerminated.load(); }
    // The text of the exception that left Execute, when one did.
    bool HasFatalException() const { return FHasFatalException; }
    const std::string& FatalException() const { return FFatalException; }
    TsbBurner* Burner() const { return FBurner; }

    // Calls OnAction (this thread, AMessage, AItemType) on the calling
    // thread, when it is set.
    virtual void DoAction(const std::string& AMessage, TsbLogItemType AItemType);

protected:
    virtual void Execute() = 0;
    // Calls OnTerminate with this thread directly on the worker thread.
    virtual void DoTerminate();
    void Terminate() { FTerminated.store(true); }

    TsbBurner* FBurner;

private:
    void run() final;

    std::atomic<bool> FTerminated{false};
    bool FHasFatalException = false;
    std::string FFatalException;
};

class TsbBurnThread : public TsbCustomThread {
public:
    using TsbCustomThread::TsbCustomThread;

protected:
    void Execute() override;

private:
    void RunMode();
    void RunImageFile();
    void ReportFailure(const std::string& FunctionName);

    // The chunk buffer of the image-file mode, reused for every chunk.
    std::vector<uint8_t> FBuffer;
};

class TsbEraseThread : public TsbCustomThread {
public:
    using TsbCustomThread::TsbCustomThread;

protected:
    void Execute() override;
};

// The session layout of Burnkit_Grabber_SessionAtOnce: a 32-bit count,
// then 287-byte entries with a file name at entry offset 15 and a file-tree
// handle at entry offset 279; at most 101 entries, a name of at most 263
// bytes (264 with its zero).
using TsbSessionLayout = std::array<uint8_t, BURNKIT_SESSION_LAYOUT_SIZE>;

// A layout of one entry holding the file tree Tree.
std::unique_ptr<TsbSessionLayout> sbSessionLayoutForTree(void* Tree);
// A layout with one entry per file name, as 8-bit text. Raises
// platform::EOSError for more entries than fit or a name that does not fit.
std::unique_ptr<TsbSessionLayout> sbSessionLayoutForFiles(const std::vector<std::string>& FileNames);

// Starting threads for a burner: the thread's OnAction goes to the
// burner's DoAction, its OnTerminate to the burner's termination handler,
// and the burner keeps the thread and its handle (the QThread's address)
// until the thread ends. The caller owns the returned thread; destroying it
// waits for it.
std::unique_ptr<TsbBurnThread> sbStartBurnThread(TsbBurner& ABurner);
std::unique_ptr<TsbEraseThread> sbStartEraseThread(TsbBurner& ABurner);
