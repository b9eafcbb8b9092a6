#pragma once

// Start-up and shut-down of the engine's globals.
//
// sbEngineInitialize creates, in this order, the trace logger (sbLogger,
// which reads its registry switch) and the callback fan-out
// (sbCallBackEventer, with GrabInProgress false). sbEngineFinalize frees
// them in reverse order. The program calls the first before its own
// start-up and the second after its message loop has ended; TsbEngineUnits
// does both for a scope. Both are idempotent. Engine code works without
// them: it then writes no trace and fires no events. sbEngineFinalize
// also removes the empty files that reserved the temporary WAV names of
// audio grabs (kept while the program runs).

void sbEngineInitialize();
void sbEngineFinalize();

class TsbEngineUnits {
public:
    TsbEngineUnits() { sbEngineInitialize(); }
    ~TsbEngineUnits() { sbEngineFinalize(); }
    TsbEngineUnits(const TsbEngineUnits&) = delete;
    TsbEngineUnits& operator=(const TsbEngineUnits&) = delete;
};
