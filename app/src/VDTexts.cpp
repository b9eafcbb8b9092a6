#include "VDTexts.h"

#include "KVBStrings.h"
#include "KVStrings.h"

namespace {

struct TTextRow {
    TVDText id;
    const platform::TResStringRec* rec;
};

const TTextRow kTexts[] = {
    {TVDText::VirtualDrive, &SVirtualDrive},
    {TVDText::Help, &SHelp},
    {TVDText::Options, &SOptions},
    {TVDText::Internet, &SInternet},
    {TVDText::Actions, &SActions},
    {TVDText::AddVirtualDrive, &SAddVirtualDrive},
    {TVDText::AddVirtualDriveDesc, &SAddVirtualDriveHint},
    {TVDText::RemoveVirtualDrive, &SRemoveVirtualDrive},
    {TVDText::RemoveVirtualDriveDesc, &SRemoveVirtualDriveHint},
    {TVDText::DvdToIso, &SDVDToISO},
    {TVDText::DvdToIsoDesc, &SDVDToISOHint},
    {TVDText::Configuration, &SConfiguration},
};

}  // namespace

QString VDText(TVDText id)
{
    for (const auto& row : kTexts)
        if (row.id == id)
            return ResStr(*row.rec);
    return QString();
}
