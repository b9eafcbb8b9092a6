#pragma once

// The engine's SDK callbacks and the helpers they use.

#include <QDateTime>
#include <cstddef>
#include <cstdint>

#include "Burnkit.h"

// The general SDK callback: file-tree nodes (reasons 0, 1), name collisions
// (3), drives found by a search (10), grab and write progress (11, 12) and
// the buffer state (13) go to sbCallBackEventer. An exception thrown by an
// event handler never crosses the SDK: it is kept for this thread and
// raised again by sbRaisePendingCallbackException.
void BURNKIT_CALL BurnkitCallBack(uint32_t Reason, void* Context, void* Param1, void* Param2);
// The audio compressor's callback: reason 1 reports Value as the buffer
// status. Always returns 0.
int32_t BURNKIT_CALL WaveCallBack(uint32_t Reason, int32_t Value, void* Third);

// Raises, on the calling thread, the exception that an event handler threw
// inside one of the callbacks since the last call, if any.
void sbRaisePendingCallbackException();

// Size of the name area of a name-collision record, in bytes.
constexpr size_t sbCollisionNameAreaSize = 520;

// Give a colliding name a new unique name in place. Name addresses a
// zero-terminated name (8-bit characters, or UTF-16 that may be unaligned)
// in an area of CapacityBytes bytes; the new name with its terminator is
// kept within that area (the base, then the whole name, is shortened when
// it would not fit).
void MakeUniqueISO9660Name(char* Name, size_t CapacityBytes = sbCollisionNameAreaSize);
void MakeUniqueJolietName(void* Name, size_t CapacityBytes = sbCollisionNameAreaSize);
// The same Joliet rename with a given time instead of the current one.
void MakeUniqueJolietNameAt(void* Name, const QDateTime& At, size_t CapacityBytes = sbCollisionNameAreaSize);

// The platform's standard date-time text: the user's short date, a blank
// and the long time (the time is left out at exactly midnight).
QString sbDateTimeToStr(const QDateTime& At);

// Playing time in days of Bytes bytes of CD audio (176400 bytes a second).
double AudioSizeToTime(uint32_t Bytes);

// Reason 10: a drive found by a drive search; Context is the search's
// TsbDeviceList, Param1 the drive's address or null, Param2 its name.
void sbProbeFoundDevice(void* Context, void* Param1, void* Param2);

// Process-wide state of the callback: the next number that the ISO9660
// renamer uses (1 at start) and the last progress percentage passed on
// (0 at start). Neither is ever reset by the engine.
namespace sbCallBackState {
int32_t RenameCounter();
void SetRenameCounter(int32_t Value);
int64_t LastPercent();
}  // namespace sbCallBackState
