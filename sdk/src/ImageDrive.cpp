#include "ImageDrive.h"

#include "SdkError.h"

namespace kvsdk {

ImageDrive::ImageDrive(const std::string& name, const std::string& imagePath, const DriveIdentity& identity)
    : FName(name), FIdentity(identity), FDisc(ImageDisc::Open(imagePath)) {
    FLayout = FDisc->Layout();
}

ImageDrive::ImageDrive(const std::string& name, std::unique_ptr<ImageDisc> disc, DISC_TYPE type,
                       const DriveIdentity& identity)
    : FName(name), FIdentity(identity), FDisc(std::move(disc)) {
    if (FDisc) {
        FLayout = FDisc->Layout();
        FLayout.Type = type;
    }
}

void ImageDrive::TestUnitReady() {
    if (!FDisc || FTrayOpen)
        throw SdkError(EN_SCSI_CDB_FAILED, "No disc in drive " + FName);
}

DISC_TYPE ImageDrive::InsertedDiscType() {
    if (!FDisc || FTrayOpen)
        return DISC_TYPE_NO_MEDIA;
    return FLayout.Type;
}

const DiscLayout& ImageDrive::Layout() {
    TestUnitReady();
    return FLayout;
}

SectorReader& ImageDrive::Reader() {
    TestUnitReady();
    return *FDisc;
}

}  // namespace kvsdk
