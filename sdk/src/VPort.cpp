// Virtual-device driver: placeholder until the loop-device driver lands.
// Every call answers that the driver is not available.

#include "Drives.h"
#include "burnkit.h"

#include <cerrno>

namespace kvsdk {

std::vector<VirtualDrive> ListVirtualDrives() { return {}; }
void VPortStartUp() {}

}  // namespace kvsdk

namespace {

EXCEPTION_NUMBER NotAvailable(uint32_t* systemError) {
    if (systemError != nullptr)
        *systemError = ENOSYS;
    return EN_NOT_IMPLEMENTED;
}

}  // namespace

extern "C" {

EXCEPTION_NUMBER Burnkit_VPort_GetVersion(uint32_t*, uint32_t*, uint32_t* SystemError) {
    return NotAvailable(SystemError);
}

EXCEPTION_NUMBER Burnkit_VPort_DeviceListQueryLocal(void*, uint32_t, int32_t* Count, uint32_t* SystemError) {
    if (Count != nullptr)
        *Count = 0;
    return NotAvailable(SystemError);
}

EXCEPTION_NUMBER Burnkit_VPort_DeviceAddLocalEx(VPORT_DEVICE_TYPE, const char*, int32_t*, uint8_t,
                                                uint32_t* SystemError) {
    return NotAvailable(SystemError);
}

EXCEPTION_NUMBER Burnkit_VPort_DeviceRemove(int32_t, uint32_t* SystemError) { return NotAvailable(SystemError); }

EXCEPTION_NUMBER Burnkit_VPort_GetDeviceInformation(int32_t, VPORT_DEVICE_TYPE*, char*, uint32_t, char*, uint32_t,
                                                    char*, uint32_t, uint32_t* SystemError) {
    return NotAvailable(SystemError);
}

EXCEPTION_NUMBER Burnkit_VPort_GetDeviceLetter(int32_t, char*, uint32_t* SystemError) {
    return NotAvailable(SystemError);
}

}  // extern "C"
