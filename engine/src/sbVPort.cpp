#include "sbVPort.h"

#include <array>
#include <utility>

#include <platform/DosDevices.h>

#include "sbUtils.h"

std::string GetVPortDeviceTypeName(VPORT_DEVICE_TYPE DeviceType)
{
    static constexpr std::array<std::pair<VPORT_DEVICE_TYPE, const char*>, 5> kNames{{
        {VPORT_DEVICE_TYPE_RAM, "RAM"},
        {VPORT_DEVICE_TYPE_HDD, "HD"},
        {VPORT_DEVICE_TYPE_DVD, "DVD"},
        {VPORT_DEVICE_TYPE_AOE, "AOE"},
        {VPORT_DEVICE_TYPE_ISCSI, "ISCSI"},
    }};
    for (const auto& [type, name] : kNames)
        if (type == DeviceType) return name;
    return "Unknown";
}

void FillVPortDeviceType(int32_t TargetID, TsbVPortDeviceType& Device)
{
    char vendor[1024] = {}, product[1024] = {}, revision[1024] = {}, letter[1024] = {};
    VPORT_DEVICE_TYPE type = VPORT_DEVICE_TYPE_UNKNOWN;
    uint32_t systemError = 0;
    if (Burnkit_VPort_GetDeviceInformation(TargetID, &type, vendor, sizeof vendor, product, sizeof product,
                                           revision, sizeof revision, &systemError) != EN_SUCCESS)
        return;
    Device.VPORT_DEVICE_TYPE = type;
    Device.VendorID = CharArrayToStr(vendor, 1023);
    Device.ProductID = CharArrayToStr(product, 1023);
    Device.Revision = CharArrayToStr(revision, 1023);
    Device.DeviceLetter.clear();
    if (Burnkit_VPort_GetDeviceLetter(TargetID, letter, &systemError) != EN_SUCCESS) return;
    std::string text = CharArrayToStr(letter, 1023);
    if (!text.empty()) Device.DeviceLetter = text + ":\\";
    if (Device.DeviceLetter.empty()) return;
    std::string label, fileSystem;
    if (!platform::GetVolumeInformation(Device.DeviceLetter, label, fileSystem)) label.clear();
    // The label buffer holds 256 bytes with its terminator.
    Device.DriveLabel = label.substr(0, 255);
}
