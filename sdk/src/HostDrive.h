#pragma once

// Internal: one of the host's optical drives (/dev/sr0 ...), reached through
// libcdio: MMC commands for the disc, track, table-of-contents and region
// information, data sectors through the drive, audio through the paranoia
// reader.

#include "Drive.h"

#include <memory>
#include <string>
#include <vector>

namespace kvsdk {

// The device nodes of the host's optical drives, in a stable order.
std::vector<std::string> HostDriveDevices();

class HostDrive : public Drive, private SectorReader {
public:
    // Opens the device; throws SdkError naming the device and the reason.
    HostDrive(const std::string& name, const std::string& device);
    ~HostDrive() override;

    const DriveIdentity& Identity() const override { return FIdentity; }
    void TestUnitReady() override;
    DISC_TYPE InsertedDiscType() override;
    const DiscLayout& Layout() override;
    SectorReader& Reader() override;
    void DiscInformation(DISC_INFORMATION& info) override;
    void TrackInformation(uint32_t number, TRACK_INFORMATION& info) override;
    void RegionData(uint8_t rpc[5]) override;
    void Eject() override;
    void Load(bool load) override;

private:
    void ReadSectors(const TrackLayout& track, int32_t first, uint32_t count, bool raw, uint8_t* buffer) override;
    void ReadAudio(int32_t lba, uint32_t count, uint8_t* buffer);
    // Runs one MMC command; throws SdkError(EN_SCSI_CDB_FAILED) with the
    // sense data on failure.
    void Mmc(const uint8_t* cdb, unsigned cdbSize, bool read, void* buffer, unsigned size, const char* what);
    void CloseParanoia();

    struct Impl;
    std::unique_ptr<Impl> P;
    std::string FName;
    std::string FDevice;
    DriveIdentity FIdentity;
    DiscLayout FLayout;
    bool FLayoutRead = false;
};

}  // namespace kvsdk
