#pragma once

// The track list reader and the engine's constant speed tables.

#include <array>
#include <cstdint>

#include "TsbBurner.h"
#include "sbClasses.h"

// Fills AList with the readable tracks of the disc in ABurner's open
// grabber, writing every table-of-contents entry to the trace log. An
// empty list without a grabber or without a table (result 8); any other
// failure of the table read raises the standard failure (ABurner.Message).
void FillTrackList(TsbTrackList* AList, TsbBurner* ABurner);

struct CDDVD_SPEED {
    uint32_t ulSpeedInKBps;
    const char* pSpeedX;
};

extern const std::array<CDDVD_SPEED, 16> CD_SPEEDS;
extern const std::array<CDDVD_SPEED, 10> DVD_SPEEDS;
extern const std::array<CDDVD_SPEED, 4> BD_SPEEDS;
