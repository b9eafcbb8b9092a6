// The VPort calls of the SDK: thin wrappers over the virtual-device driver
// (VPortDriver.h) that turn its failures into a result code and the
// caller's system error.

#include <cerrno>
#include <cstring>
#include <new>

#include "VPortDriver.h"
#include "VPortHost.h"
#include "burnkit.h"
#include "platform/Errors.h"

namespace {

template <class F>
EXCEPTION_NUMBER Guard(uint32_t* systemError, F&& body) noexcept
{
    uint32_t ignored = 0;
    uint32_t& error = systemError ? *systemError : ignored;
    try {
        body();
        error = 0;
        return EN_SUCCESS;
    } catch (const vport::TVPortError& e) {
        error = static_cast<uint32_t>(e.SystemError);
        return e.Exception;
    } catch (const platform::EOSError& e) {
        error = static_cast<uint32_t>(e.ErrorCode);
        return EN_SYSTEM_CALL_FAILED;
    } catch (const std::bad_alloc&) {
        error = ENOMEM;
        return EN_MEMORY_ALLOCATION_FAILED;
    } catch (...) {
        error = 0;
        return EN_FAILURE;
    }
}

void BadInput(const char* what)
{
    throw vport::TVPortError(EN_INVALID_INPUT_PARAMETER, EINVAL, what);
}

// Copies text into a caller buffer, cut to fit, zero-terminated.
void CopyText(char* buffer, uint32_t size, const std::string& text)
{
    if (!buffer || size == 0)
        return;
    size_t n = std::min<size_t>(text.size(), size - 1);
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
}

}  // namespace

extern "C" {

EXCEPTION_NUMBER Burnkit_VPort_GetVersion(uint32_t* VersionMajor, uint32_t* VersionMinor, uint32_t* SystemError)
{
    return Guard(SystemError, [&] {
        vport::TVPortVersion v = vport::VPortCheckDriver();
        if (VersionMajor)
            *VersionMajor = v.Major;
        if (VersionMinor)
            *VersionMinor = v.Minor;
    });
}

EXCEPTION_NUMBER Burnkit_VPort_DeviceListQueryLocal(void* Buffer, uint32_t BufferSize, int32_t* Count,
                                                    uint32_t* SystemError)
{
    return Guard(SystemError, [&] {
        if (!Buffer)
            BadInput("No device-list buffer");
        if (BufferSize < sizeof(int32_t))
            throw vport::TVPortError(EN_BUFFER_TOO_SMALL, EINVAL, "The device-list buffer is too small");
        std::vector<vport::TVPortDevice> devices = vport::VPortListDevices();
        const size_t fits = (BufferSize - sizeof(int32_t)) / sizeof(VPORT_DEVICE_LIST_ENTRY);
        const int32_t written = static_cast<int32_t>(std::min(fits, devices.size()));
        auto* bytes = static_cast<unsigned char*>(Buffer);
        std::memcpy(bytes, &written, sizeof written);
        for (int32_t i = 0; i < written; ++i) {
            VPORT_DEVICE_LIST_ENTRY entry;
            std::memset(&entry, 0, sizeof entry);
            entry.m__LONG__Index = i + 1;
            entry.m__LONG__TargetId = devices[i].TargetId;
            CopyText(entry.m__CHAR__Name, sizeof entry.m__CHAR__Name, devices[i].Name);
            std::memcpy(bytes + sizeof(int32_t) + i * sizeof entry, &entry, sizeof entry);
        }
        if (Count)
            *Count = written;
    });
}

EXCEPTION_NUMBER Burnkit_VPort_DeviceAddLocalEx(VPORT_DEVICE_TYPE DeviceType, const char* ImageFile,
                                                int32_t* TargetId, uint8_t IsPersistent, uint32_t* SystemError)
{
    return Guard(SystemError, [&] {
        if (!ImageFile || !TargetId)
            BadInput("No image file or target id");
        *TargetId = vport::VPortAddDevice(DeviceType, ImageFile, IsPersistent != 0).TargetId;
    });
}

EXCEPTION_NUMBER Burnkit_VPort_DeviceRemove(int32_t TargetId, uint32_t* SystemError)
{
    return Guard(SystemError, [&] { vport::VPortRemoveDevice(TargetId); });
}

EXCEPTION_NUMBER Burnkit_VPort_GetDeviceInformation(int32_t TargetId, VPORT_DEVICE_TYPE* DeviceType,
                                                    char* VendorID, uint32_t VendorIDSize, char* ProductID,
                                                    uint32_t ProductIDSize, char* Revision, uint32_t RevisionSize,
                                                    uint32_t* SystemError)
{
    return Guard(SystemError, [&] {
        vport::TVPortDevice d = vport::VPortFindDevice(TargetId);
        vport::TVPortInquiry inquiry = vport::VPortInquiry(d.Type);
        if (DeviceType)
            *DeviceType = d.Type;
        CopyText(VendorID, VendorIDSize, inquiry.Vendor);
        CopyText(ProductID, ProductIDSize, inquiry.Product);
        CopyText(Revision, RevisionSize, inquiry.Revision);
    });
}

EXCEPTION_NUMBER Burnkit_VPort_GetDeviceLetter(int32_t TargetId, char* DeviceLetter, uint32_t* SystemError)
{
    return Guard(SystemError, [&] {
        if (!DeviceLetter)
            BadInput("No letter buffer");
        vport::TVPortDevice d = vport::VPortFindDevice(TargetId);
        DeviceLetter[0] = d.Letter;
        DeviceLetter[1] = '\0';
    });
}

}  // extern "C"
