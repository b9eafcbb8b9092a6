#pragma once
// Product strings: the product identity, the language globals and the
// resource strings of the virtual-drive windows and message-box buttons.
//
// A resource string is a platform::TResStringRec naming an English text in
// the program's string table (module platform::HInstance). Load it with
// ResStr() (or platform::LoadResString) every time the text is shown: once
// the language binding is started, each load is translated and filtered.

#include <QString>
#include <array>

#include <platform/ResourceStrings.h>

// Product identity, assigned by KVStrings_Initialize.
extern QString ProductName;        // "Korvanta"
extern QString AppName;            // "Korvanta"; "%APPNAME%" becomes AppName + " 2021"
extern QString ProductWebAddress;
extern QString ProductPrefix;      // "KV"
extern QString SupportAddress;
extern QString ProductId;          // "KORVANTA"

// Language globals, empty until SetupLanguage fills them.
extern QString LanguageCulture;      // culture name ("de-de"), the registry code, or "-"
extern QString ProductVariant;       // "Int"
extern QString LanguageCode;         // chosen language code ("G"), empty for none
extern QString UpdateLanguage;       // [General] KVLanguage of UPDATE.INI
extern QString DetectedLanguageCode; // code found from the user locale

extern platform::TResStringRec SConfiguration;  // 64691 "Configuration"
extern platform::TResStringRec SMsgDlgOK;  // 64704 "OK"
extern platform::TResStringRec SMsgDlgYes;  // 64705 "&Yes"
extern platform::TResStringRec SMsgDlgNo;  // 64706 "&No"
extern platform::TResStringRec SMsgDlgCancel;  // 64707 "&Cancel"
extern platform::TResStringRec SMsgDlgHelp;  // 64708 "&Help"
extern platform::TResStringRec SErrorCreatingVirtualDrive;  // 64880 "Error while creating virtual drive."
extern platform::TResStringRec SVirtualDriveCreated;  // 64881 "Virtual drive successfully created."
extern platform::TResStringRec SActions;  // 64883 "Actions"
extern platform::TResStringRec SInternet;  // 64897 "Internet"
extern platform::TResStringRec SAddVirtualDrive;  // 64898 "Add Virtual Drive"
extern platform::TResStringRec SAddVirtualDriveHint;  // 64899 "Create Virtual Drive from ISO image."
extern platform::TResStringRec SRemoveVirtualDrive;  // 64900 "Remove Virtual Drive"
extern platform::TResStringRec SRemoveVirtualDriveHint;  // 64901 "Remove created virtual drive."
extern platform::TResStringRec SDVDToISO;  // 64902 "DVD to ISO"
extern platform::TResStringRec SDVDToISOHint;  // 64903 "Grab DVD and save as ISO image."
extern platform::TResStringRec SStart;  // 64904 "&Start"
extern platform::TResStringRec SColumnID;  // 64905 "ID"
extern platform::TResStringRec SColumnDeviceName;  // 64906 "Device Name"
extern platform::TResStringRec SColumnDeviceType;  // 64907 "Device Type"
extern platform::TResStringRec SColumnDriveLetter;  // 64908 "Drive Letter"
extern platform::TResStringRec SColumnDriveLabel;  // 64909 "Drive Label"
extern platform::TResStringRec SCreateDriveOnRestart;  // 64910 "Create drive on restart"
extern platform::TResStringRec SRunAsTrayOnStartup;  // 64911 "Run as &Tray on Startup"

// The five message-box button texts, in the order of the program's language
// file entries: OK, Yes, No, Cancel, Help.
extern const std::array<platform::TResStringRec*, 5> KVStringsButtonList;

// Loads a resource string through the current loader (translated once the
// language binding has started) as a QString.
QString ResStr(const platform::TResStringRec& rec);

// Writes the product identity into one set of identity strings: the globals
// above, or the copy KVBStrings keeps.
void AssignProductIdentity(QString& productName, QString& appName, QString& productWebAddress,
                           QString& productPrefix, QString& supportAddress, QString& productId);

// Registers the string table and assigns the identity globals. Runs from
// static start-up code already; calling it again does no harm.
void KVStrings_Initialize();
// Clears the identity and language globals.
void KVStrings_Finalize();
