#include "sbDriveProbe.h"

#include <array>
#include <cstring>

#include <platform/DosDevices.h>

#include "sbCallBack.h"
#include "sbClasses.h"
#include "sbLogger.h"
#include "sbUtils.h"

void GetDeviceDriveLetter(const SCSI_DEVICE_ADDRESS* Address, const char* Name, std::string& Letter)
{
    Letter.clear();
    if (Name) {
        const std::string target = std::string("\\Device\\") + Name;
        for (char c = 'A'; c <= 'Y'; ++c) {
            std::string device;
            if (platform::QueryDosDevice(std::string(1, c) + ":", device) && AnsiTextEquals(target, device))
                Letter = std::string(1, c) + ":";
        }
        return;
    }
    sbLog("Burnkit_GetDeviceNameByDeviceAddress");
    SCSI_DEVICE_ADDRESS a{};
    if (Address) a = *Address;
    char buffer[1024] = {};
    if (Burnkit_GetDeviceNameByDeviceAddress(a.m__UCHAR__PortID, a.m__UCHAR__BusID, a.m__UCHAR__TargetID,
                                             a.m__UCHAR__LUN, buffer) == EN_SUCCESS) {
        std::string name = CharArrayToStr(buffer, 1023);
        Letter = name.size() > 4 ? name.substr(4) : std::string();
    }
}

void GetDiscTypeName(DISC_TYPE DiscType, std::string& Text)
{
    static constexpr std::array<const char*, 18> kNames{
        "Unknown",
        "CD-ROM",
        "CD-R",
        "CD-RW",
        "DVD-ROM",
        "DVD-R",
        "DVD-RAM",
        "DVD-RW RO (Restricted Overwrite)",
        "DVD-RW SR (Sequential Recording)",
        "DVD+RW",
        "DD (Double Density) CD-ROM",
        "DD (Double Density) CD-R",
        "DD (Double Density) CD-RW",
        "DVD+R",
        "Empty",
        "DVD+R DL (Double Layer)",
        "",
        "DVD-R DL (Dual Layer)",
    };
    Text.clear();
    if (DiscType < kNames.size()) Text = kNames[DiscType];
}

namespace {

// The probe's shared error block.
struct ErrorBlock {
    char text[1024] = {};
    uint32_t status = 31;
    CDB_FAILURE_INFORMATION cdb{};
};

std::string RpcText(const uint8_t* area)
{
    return std::to_string(unsigned(area[0]));
}

}  // namespace

void sbProbeFoundDevice(void* Context, void* Param1, void* Param2)
{
    auto* list = static_cast<TsbDeviceList*>(Context);
    if (!list || list->CancelAddDevices) return;
    const auto* address = static_cast<const SCSI_DEVICE_ADDRESS*>(Param1);
    const char* name = static_cast<const char*>(Param2);

    void* grabber = nullptr;
    TsbDeviceItem* item = nullptr;
    ErrorBlock eb;

    // Closing part: runs however the probe ends.
    auto close = [&] {
        if (!grabber) return;
        sbLog("Burnkit_Destroy: Grabber");
        Burnkit_Destroy(&grabber);
        grabber = nullptr;
        if (list->CancelAddDevices && list->Count() > 0) list->Delete(list->Count() - 1);
    };

    try {
        EXCEPTION_NUMBER result;
        std::string function;
        if (list->TransportType == ttAspi) {
            SCSI_DEVICE_ADDRESS a{};
            if (address) a = *address;
            if (a.m__BOOLEAN__IsValid != 0) {
                item = list->Add();
                item->SCSIInfo = a;
            }
            sbLog("Burnkit_Grabber_Create (before create)");
            function = "Burnkit_Grabber_Create";
            result = Burnkit_Grabber_Create(&grabber, eb.text, sizeof eb.text, &eb.status, &eb.cdb, nullptr, nullptr,
                                            a.m__UCHAR__PortID, a.m__UCHAR__BusID, a.m__UCHAR__TargetID,
                                            a.m__UCHAR__LUN, 1);
            if (result == EN_SUCCESS) {
                sbLog("Burnkit_Grabber_Create (after create): PortID:" + std::to_string(a.m__UCHAR__PortID) +
                      ",BusID:" + std::to_string(a.m__UCHAR__BusID) + ",TargetID:" +
                      std::to_string(a.m__UCHAR__TargetID) + ",LUN:" + std::to_string(a.m__UCHAR__LUN));
                if (!item) item = list->Add();
                item->TransportType = ttAspi;
            }
        } else {
            function = "Burnkit_Grabber_CreateEx";
            result = Burnkit_Grabber_CreateEx(&grabber, eb.text, sizeof eb.text, &eb.status, &eb.cdb, nullptr,
                                              nullptr, name ? name : "", 1);
            if (result == EN_SUCCESS) {
                item = list->Add();
                item->DeviceName = name ? name : "";
                item->TransportType = ttSpti;
            }
        }
        if (result != EN_SUCCESS) {
            grabber = nullptr;
            list->ErrorMessage = sbFailureMessage(function, result, eb.status, eb.text);
            sbLog(list->ErrorMessage);
            return;
        }
        list->ErrorMessage.clear();

        char vendor[1024] = {}, product[1024] = {}, revision[1024] = {};
        uint32_t bufferSize = 0;
        std::string letter;
        GetDeviceDriveLetter(list->TransportType == ttAspi ? address : nullptr, name, letter);

        sbLog("Burnkit_Grabber_GetDeviceInformation");
        Burnkit_Grabber_GetDeviceInformation(grabber, vendor, product, revision, &bufferSize);
        if (!item) item = list->Add();
        item->Vendor = CharArrayToStr(vendor, 1023);
        item->Product = CharArrayToStr(product, 1023);
        item->ProductRevisionLevel = CharArrayToStr(revision, 1023);
        item->BufferSize = bufferSize;
        item->DriveLetter = letter;

        uint8_t mf[10] = {};
        sbLog("Burnkit_Grabber_GetSupportedMediaFormats");
        Burnkit_Grabber_GetSupportedMediaFormats(grabber, &mf[0], &mf[1], &mf[2], &mf[3], &mf[4], &mf[5], &mf[6],
                                                 &mf[7], &mf[8], &mf[9]);
        TsbMediaFormats& f = item->MediaFormats;
        f.IsCDRRead = mf[0];
        f.IsCDERead = mf[1];
        f.IsDVDROMRead = mf[2];
        f.IsDVDRRead = mf[3];
        f.IsDVDRAMRead = mf[4];
        f.IsTestWrite = mf[5];
        f.IsCDRWrite = mf[6];
        f.IsCDEWrite = mf[7];
        f.IsDVDRWrite = mf[8];
        f.IsDVDRAMWrite = mf[9];

        uint8_t mx[6] = {};
        sbLog("Burnkit_Grabber_GetSupportedMediaFormatsExEx");
        Burnkit_Grabber_GetSupportedMediaFormatsExEx(grabber, &mx[0], &mx[1], &mx[2], &mx[3], &mx[4], &mx[5]);
        item->MediaFormatsEx = {bool(mx[0]), bool(mx[1]), bool(mx[2]), bool(mx[3]), bool(mx[4]), bool(mx[5])};

        uint8_t wm[4] = {};
        sbLog("Burnkit_Grabber_ProbeSupportedWriteModes");
        if (Burnkit_Grabber_ProbeSupportedWriteModes(grabber, eb.text, sizeof eb.text, &eb.status, &eb.cdb, &wm[0],
                                                     &wm[1], &wm[2], &wm[3]) == EN_SUCCESS)
            item->WriteModes = {bool(wm[0]), bool(wm[1]), bool(wm[2]), bool(wm[3]), bool(mf[5])};

        uint8_t rm[6] = {};
        sbLog("Burnkit_Grabber_ProbeSupportedReadModes");
        try {
            if (Burnkit_Grabber_ProbeSupportedReadModes(grabber, eb.text, sizeof eb.text, &eb.status, &eb.cdb,
                                                        &rm[0], &rm[1], &rm[2], &rm[3], &rm[4],
                                                        &rm[5]) == EN_SUCCESS)
                item->ReadModes = {bool(rm[0]), bool(rm[1]), bool(rm[2]), bool(rm[3]), bool(rm[4]), bool(rm[5])};
        } catch (...) {
        }

        sbLog("Burnkit_Grabber_TestUnitReady");
        EXCEPTION_NUMBER ready = Burnkit_Grabber_TestUnitReady(grabber, eb.text, sizeof eb.text, &eb.status, &eb.cdb);
        item->DiscType = DISC_TYPE_NO_MEDIA;
        if (ready == EN_SUCCESS && !list->CancelAddDevices) {
            sbLog("Burnkit_Grabber_GetInsertedDiscType");
            item->DiscType = Burnkit_Grabber_GetInsertedDiscType(grabber);

            std::string label, fileSystem;
            platform::GetVolumeInformation(item->DriveLetter + "\\", label, fileSystem);
            item->DiscLabel = label.substr(0, 256);

            sbLog("Burnkit_Grabber_GetDiscInformation");
            ::DISC_INFORMATION di{};
            if (Burnkit_Grabber_GetDiscInformation(grabber, eb.text, sizeof eb.text, &eb.status, &eb.cdb, &di) ==
                EN_SUCCESS) {
                item->DISC_INFORMATION = di;
                sbLog("Burnkit_Grabber_GetTrackInformation");
                ::TRACK_INFORMATION ti{};
                Burnkit_Grabber_GetTrackInformation(grabber, eb.text, sizeof eb.text, &eb.status, &eb.cdb, 255, &ti);
                item->TRACK_INFORMATION = ti;
                Burnkit_SetFastReadTOC(1);
                sbLog("Burnkit_Grabber_GetTOCInformation");
                auto toc = std::make_unique<::TOC_INFORMATION>();
                std::memset(toc.get(), 0, sizeof(::TOC_INFORMATION));
                Burnkit_Grabber_GetTOCInformation(grabber, eb.text, sizeof eb.text, &eb.status, &eb.cdb, toc.get());
                item->TOC_INFORMATION = *toc;
            }
        }

        if (item->MediaFormats.IsDVDROMRead) {
            sbLog("Burnkit_Grabber_GetRPC");
            uint8_t rpc[5][260] = {};
            Burnkit_Grabber_GetRPC(grabber, eb.text, sizeof eb.text, &eb.status, &eb.cdb, rpc[0], rpc[1], rpc[2],
                                   rpc[3], rpc[4]);
            item->DVDRPC.Valid = true;
            item->DVDRPC.TypeCode = RpcText(rpc[0]);
            item->DVDRPC.NumberOfVendorResetsAvailable = RpcText(rpc[1]);
            item->DVDRPC.NumberOfUserControlledChangesAvailable = RpcText(rpc[2]);
            item->DVDRPC.RegionMask = RpcText(rpc[3]);
            item->DVDRPC.RPCScheme = RpcText(rpc[4]);
        }
    } catch (...) {
        close();
        throw;
    }
    close();
}
