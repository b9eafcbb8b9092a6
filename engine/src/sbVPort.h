#pragma once

// Descriptions of the virtual-device driver's devices.

#include <string>

#include "Burnkit.h"
#include "sbTypes2.h"

// "RAM", "HD", "DVD", "AOE", "ISCSI"; "Unknown" for any other value.
std::string GetVPortDeviceTypeName(VPORT_DEVICE_TYPE DeviceType);

// Asks the driver about the device with TargetID and fills Device: type,
// vendor, product, revision, the letter as "E:\" (empty when none) and the
// volume label behind the letter. TargetID is never written; an SDK failure
// ends the function quietly with what was filled so far.
void FillVPortDeviceType(int32_t TargetID, TsbVPortDeviceType& Device);
