#pragma once

// Internal: the adapter interface behind a grabber. One implementation per
// backend: host optical drives (libcdio), image-backed drives and scripted
// drives (JSON, for tests). The grabber functions of the C API talk only to
// this interface.

#include "Disc.h"
#include "burnkit.h"

#include <cstdint>
#include <string>

namespace kvsdk {

// What a drive says about itself.
struct DriveIdentity {
    std::string Vendor = "Korvanta";
    std::string Product = "Image Drive";
    std::string Revision = "1.00";
    uint32_t BufferSize = 2 * 1024 * 1024;
    // In the answer order of Burnkit_Grabber_GetSupportedMediaFormats:
    // CD-R, CD-E, DVD-ROM, DVD-R, DVD-RAM read; test write; CD-R, CD-E,
    // DVD-R, DVD-RAM write.
    bool MediaFormats[10] = {true, true, true, true, true, false, false, false, false, false};
    // DVD+RW, DVD+R, DVD+R DL read; DVD+RW, DVD+R, DVD+R DL write.
    bool MediaFormatsEx[6] = {true, true, true, false, false, false};
    // Track-at-once, session-at-once, disc-at-once PQ, raw P-W.
    bool WriteModes[4] = {false, false, false, false};
    // Cooked, raw, raw PQ, raw raw P-W, PQ, raw P-W.
    bool ReadModes[6] = {true, true, false, false, false, false};
    // Current and maximum read, current and maximum write, in KB/s.
    uint32_t Speeds[4] = {22160, 22160, 0, 0};
    bool BupEnabled = false;
    bool BupSupported = false;
    // DVD region data: type code, vendor resets, user changes, region
    // mask, RPC scheme.
    uint8_t Rpc[5] = {0, 0, 0, 0, 0};
};

class Drive {
public:
    virtual ~Drive() = default;

    virtual const DriveIdentity& Identity() const = 0;

    // Called by every grabber function with its own name before it works;
    // a scripted drive throws the failure that its script gives for the
    // call. Other drives do nothing.
    virtual void CheckCall(const char* function) {}

    // Throws SdkError(EN_SCSI_CDB_FAILED) when no disc is ready.
    virtual void TestUnitReady() = 0;
    // DISC_TYPE_NO_MEDIA without a disc.
    virtual DISC_TYPE InsertedDiscType() = 0;
    // The disc's tracks; throws like TestUnitReady without a disc.
    virtual const DiscLayout& Layout() = 0;
    virtual SectorReader& Reader() = 0;

    // Records of the disc; the defaults derive them from Layout().
    virtual void DiscInformation(DISC_INFORMATION& info);
    virtual void TrackInformation(uint32_t number, TRACK_INFORMATION& info);
    virtual void TableOfContents(TOC_INFORMATION& toc);

    // DVD region data (type code, vendor resets, user changes, region mask,
    // RPC scheme); the default answers the identity's.
    virtual void RegionData(uint8_t rpc[5]);

    virtual void Eject() = 0;
    virtual void Load(bool load) = 0;
    // Ends the grabber's use of the drive (unlocks the tray).
    virtual void Release() {}
};

// The records of a disc made from its layout.
void FillDiscInformation(const DiscLayout& layout, DISC_INFORMATION& info);
void FillTrackInformation(const DiscLayout& layout, uint32_t number, TRACK_INFORMATION& info);
void FillTableOfContents(const DiscLayout& layout, TOC_INFORMATION& toc);

bool IsDvdType(DISC_TYPE type);

}  // namespace kvsdk
