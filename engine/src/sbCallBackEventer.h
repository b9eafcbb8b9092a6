#pragma once

// The engine's one progress fan-out: the SDK callback and the engine's
// actions fire its events; the application assigns the handlers. Events run
// synchronously on the thread that fires them.

#include <string>

#include "sbTypes2.h"

class TsbCallBackEventer : public TObject {
public:
    TsbCallBackEventer() = default;
    ~TsbCallBackEventer() override = default;

    TsbFileTreeNodeActionEvent OnFileTreeAdd;
    TsbFileTreeNodeActionEvent OnFileTreeRemove;
    TsbWriteProgressEvent OnWriteProgress;
    TsbBufferStatusEvent OnBufferStatus;
    TsbAllowCancelWriteEvent OnAllowCancelWrite;
    TNotifyEvent OnBufferDisable;
    TsbFoundDeviceEvent OnFoundDevice;  // never fired; cleared when a search ends

    // Each fires its event when assigned and does nothing otherwise.
    void DoFileTreeAdd(const std::string& AName, void* ANode);
    void DoFileTreeRemove(const std::string& AName, void* ANode);
    void DoWriteProgress(int32_t APercent);
    void DoBufferStatus(int32_t ABufferStatusPercent);
    void DoAllowCancelWrite(bool Allow);
    void DoBufferDisable();
};

// The program's one fan-out; exists between sbEngineInitialize and
// sbEngineFinalize (see sbEngineUnits.h).
extern TsbCallBackEventer* sbCallBackEventer;
// Whether a grab is running (set by the grab action, read by the callback).
extern bool GrabInProgress;
