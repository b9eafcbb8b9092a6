// SDK start-up, closing handles, finding drives and the process-wide
// table-of-contents setting.

#include "DriveList.h"
#include "Drives.h"
#include "Handle.h"
#include "SdkError.h"
#include "burnkit.h"

#include <platform/DosDevices.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <cstring>

using namespace kvsdk;

namespace {

std::atomic<uint8_t> gFastReadTOC{0};

}  // namespace

extern "C" {

BURNKIT_API EXCEPTION_NUMBER Burnkit_UpStartEx(const char*, uint32_t) {
    return Guard(ErrorBlock{}, [] {
        QuietLibcdio();
        VPortStartUp();
        ListDrives();
    });
}

BURNKIT_API EXCEPTION_NUMBER Burnkit_Destroy(void** Handle) {
    if (Handle == nullptr || *Handle == nullptr)
        return EN_INVALID_INPUT_PARAMETER;
    SdkObject* object = FindObject(*Handle);
    if (object == nullptr)
        return EN_INVALID_INPUT_PARAMETER;
    delete object;
    *Handle = nullptr;
    return EN_SUCCESS;
}

BURNKIT_API EXCEPTION_NUMBER Burnkit_FindDevice(uint32_t DeviceTypes, uint32_t, BURNKIT_CALLBACK Callback,
                                                void* Context) {
    if (Callback == nullptr)
        return EN_INVALID_INPUT_PARAMETER;
    EXCEPTION_NUMBER result = EN_SUCCESS;
    EXCEPTION_NUMBER guarded = Guard(ErrorBlock{}, [&] {
        const uint32_t types = DeviceTypes == 0 ? 5 : DeviceTypes;
        DriveListing listing = ListDrives();
        if ((types & 5) != 0) {
            for (const DriveEntry& d : listing.Drives) {
                SCSI_DEVICE_ADDRESS address = d.Address;
                char name[32];
                CopyText(name, sizeof(name), d.Name);
                Callback(BURNKIT_CALLBACK_REASON_DEVICE_FOUND, Context, &address, name);
            }
        }
        // The drives that could be listed were; bad lines of the drive map
        // still make the search a failure.
        if (!listing.Errors.empty())
            result = EN_INVALID_INPUT_PARAMETER;
    });
    return guarded != EN_SUCCESS ? guarded : result;
}

BURNKIT_API EXCEPTION_NUMBER Burnkit_GetDeviceNameByDeviceAddress(uint8_t PortID, uint8_t BusID, uint8_t TargetID,
                                                                  uint8_t LUN, char* DeviceName) {
    if (DeviceName == nullptr)
        return EN_INVALID_INPUT_PARAMETER;
    DeviceName[0] = '\0';
    return Guard(ErrorBlock{}, [&] {
        DriveEntry d = FindDriveByAddress(PortID, BusID, TargetID, LUN);
        const std::string target = "\\Device\\" + d.Name;
        for (const platform::TDosDevice& t : platform::ReadDosDevices()) {
            if (t.DeviceName.size() == target.size() &&
                std::equal(t.DeviceName.begin(), t.DeviceName.end(), target.begin(), [](char a, char b) {
                    return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
                })) {
                CopyText(DeviceName, BURNKIT_EXCEPTION_TEXT_SIZE, std::string("\\\\.\\") + t.Letter + ":");
                return;
            }
        }
        throw SdkError(EN_NOT_FOUND, "Drive " + d.Name + " has no drive letter", ENOENT);
    });
}

BURNKIT_API void Burnkit_SetFastReadTOC(uint8_t IsFast) { gFastReadTOC = IsFast != 0 ? 1 : 0; }

BURNKIT_API uint8_t Burnkit_GetFastReadTOC(void) { return gFastReadTOC; }

}  // extern "C"
