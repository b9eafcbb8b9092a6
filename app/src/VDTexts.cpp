#include "VDTexts.h"

namespace {

struct TTextRow {
    TVDText id;
    const char16_t* english;
};

constexpr TTextRow kTexts[] = {
    {TVDText::VirtualDrive, u"&Virtual Drive"},
    {TVDText::Help, u"&Help"},
    {TVDText::Options, u"Options"},
    {TVDText::Internet, u"Internet"},
    {TVDText::Actions, u"Actions"},
    {TVDText::AddVirtualDrive, u"Add Virtual Drive"},
    {TVDText::AddVirtualDriveDesc, u"Create Virtual Drive from ISO image."},
    {TVDText::RemoveVirtualDrive, u"Remove Virtual Drive"},
    {TVDText::RemoveVirtualDriveDesc, u"Remove created virtual drive."},
    {TVDText::DvdToIso, u"DVD to ISO"},
    {TVDText::DvdToIsoDesc, u"Grab DVD and save as ISO image."},
    {TVDText::Configuration, u"Configuration"},
};

}  // namespace

QString VDText(TVDText id)
{
    for (const auto& row : kTexts)
        if (row.id == id)
            return QString::fromUtf16(row.english);
    return QString();
}
