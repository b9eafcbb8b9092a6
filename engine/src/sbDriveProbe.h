#pragma once

// The drive probe of a search (reason 10 of the SDK callback) and its two
// helpers.

#include <string>

#include "Burnkit.h"

// The drive letter and colon ("E:") of a drive, empty when none: with a
// Name, the last of the letters A to Y whose DOS device is "\Device\"
// + Name (case ignored); without one, asked from the SDK by Address.
void GetDeviceDriveLetter(const SCSI_DEVICE_ADDRESS* Address, const char* Name, std::string& Letter);

// Display text of a disc type; empty for types without one.
void GetDiscTypeName(DISC_TYPE DiscType, std::string& Text);
