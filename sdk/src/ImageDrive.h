#pragma once

// Internal: a drive whose disc is an image file (ISO or cue sheet). Its tray
// opens and closes in memory: an ejected image drive has no disc until it
// is loaded again through the same grabber.

#include "Drive.h"
#include "ImageDisc.h"

#include <memory>
#include <string>

namespace kvsdk {

class ImageDrive : public Drive {
public:
    // Opens the image now; throws SdkError naming the image and the reason.
    ImageDrive(const std::string& name, const std::string& imagePath, const DriveIdentity& identity = {});
    // A drive with the given disc, or without a disc (null).
    ImageDrive(const std::string& name, std::unique_ptr<ImageDisc> disc, DISC_TYPE type,
               const DriveIdentity& identity);

    const DriveIdentity& Identity() const override { return FIdentity; }
    void TestUnitReady() override;
    DISC_TYPE InsertedDiscType() override;
    const DiscLayout& Layout() override;
    SectorReader& Reader() override;
    void Eject() override { FTrayOpen = true; }
    void Load(bool load) override { FTrayOpen = !load; }

private:
    std::string FName;
    DriveIdentity FIdentity;
    std::unique_ptr<ImageDisc> FDisc;
    DiscLayout FLayout;
    bool FTrayOpen = false;
};

}  // namespace kvsdk
