#include "sbCallBack.h"

// Reason 10 of the SDK callback: the drive probe of a search. It fills the
// search's device list; until the device list exists it only ignores the
// report.
void sbProbeFoundDevice(void* Context, void* Param1, void* Param2)
{
    (void)Context;
    (void)Param1;
    (void)Param2;
}
