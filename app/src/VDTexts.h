#pragma once

#include <QString>

// The window captions and messages the main window and the tile page show,
// as resource strings of the product strings units (translated when loaded).
enum class TVDText {
    VirtualDrive,        // "&Virtual Drive"
    Help,                // "&Help"
    Options,             // "Options"
    Internet,            // "Internet"
    Actions,             // "Actions"
    AddVirtualDrive,     // "Add Virtual Drive"
    AddVirtualDriveDesc, // "Create Virtual Drive from ISO image."
    RemoveVirtualDrive,  // "Remove Virtual Drive"
    RemoveVirtualDriveDesc, // "Remove created virtual drive."
    DvdToIso,            // "DVD to ISO"
    DvdToIsoDesc,        // "Grab DVD and save as ISO image."
    Configuration,       // "Configuration"
};

// The text as loaded now (in the chosen language), from the resource
// strings of KVStrings and KVBStrings.
QString VDText(TVDText id);
