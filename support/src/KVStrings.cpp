#include "KVStrings.h"

#include <map>

QString ProductName;
QString AppName;
QString ProductWebAddress;
QString ProductPrefix;
QString SupportAddress;
QString ProductId;

QString LanguageCulture;
QString ProductVariant;
QString LanguageCode;
QString UpdateLanguage;
QString DetectedLanguageCode;

platform::TResStringRec SConfiguration = {&platform::HInstance, 64691};
platform::TResStringRec SMsgDlgOK = {&platform::HInstance, 64704};
platform::TResStringRec SMsgDlgYes = {&platform::HInstance, 64705};
platform::TResStringRec SMsgDlgNo = {&platform::HInstance, 64706};
platform::TResStringRec SMsgDlgCancel = {&platform::HInstance, 64707};
platform::TResStringRec SMsgDlgHelp = {&platform::HInstance, 64708};
platform::TResStringRec SErrorCreatingVirtualDrive = {&platform::HInstance, 64880};
platform::TResStringRec SVirtualDriveCreated = {&platform::HInstance, 64881};
platform::TResStringRec SActions = {&platform::HInstance, 64883};
platform::TResStringRec SInternet = {&platform::HInstance, 64897};
platform::TResStringRec SAddVirtualDrive = {&platform::HInstance, 64898};
platform::TResStringRec SAddVirtualDriveHint = {&platform::HInstance, 64899};
platform::TResStringRec SRemoveVirtualDrive = {&platform::HInstance, 64900};
platform::TResStringRec SRemoveVirtualDriveHint = {&platform::HInstance, 64901};
platform::TResStringRec SDVDToISO = {&platform::HInstance, 64902};
platform::TResStringRec SDVDToISOHint = {&platform::HInstance, 64903};
platform::TResStringRec SStart = {&platform::HInstance, 64904};
platform::TResStringRec SColumnID = {&platform::HInstance, 64905};
platform::TResStringRec SColumnDeviceName = {&platform::HInstance, 64906};
platform::TResStringRec SColumnDeviceType = {&platform::HInstance, 64907};
platform::TResStringRec SColumnDriveLetter = {&platform::HInstance, 64908};
platform::TResStringRec SColumnDriveLabel = {&platform::HInstance, 64909};
platform::TResStringRec SCreateDriveOnRestart = {&platform::HInstance, 64910};
platform::TResStringRec SRunAsTrayOnStartup = {&platform::HInstance, 64911};

const std::array<platform::TResStringRec*, 5> KVStringsButtonList = {
    &SMsgDlgOK, &SMsgDlgYes, &SMsgDlgNo, &SMsgDlgCancel, &SMsgDlgHelp,
};

QString ResStr(const platform::TResStringRec& rec)
{
    return QString::fromStdU16String(platform::LoadResString(&rec));
}

void AssignProductIdentity(QString& productName, QString& appName, QString& productWebAddress,
                           QString& productPrefix, QString& supportAddress, QString& productId)
{
    productName = QStringLiteral("Korvanta");
    appName = QStringLiteral("Korvanta");
    productWebAddress = QStringLiteral("https://www.korvanta.example/");
    productPrefix = QStringLiteral("KV");
    supportAddress = QStringLiteral("support@korvanta.example");
    productId = QStringLiteral("KORVANTA");
}

void KVStrings_Initialize()
{
    static const std::map<uint32_t, std::u16string> table = {
        {64691, u"Configuration"},
        {64704, u"OK"},
        {64705, u"&Yes"},
        {64706, u"&No"},
        {64707, u"&Cancel"},
        {64708, u"&Help"},
        {64880, u"Error while creating virtual drive."},
        {64881, u"Virtual drive successfully created."},
        {64883, u"Actions"},
        {64897, u"Internet"},
        {64898, u"Add Virtual Drive"},
        {64899, u"Create Virtual Drive from ISO image."},
        {64900, u"Remove Virtual Drive"},
        {64901, u"Remove created virtual drive."},
        {64902, u"DVD to ISO"},
        {64903, u"Grab DVD and save as ISO image."},
        {64904, u"&Start"},
        {64905, u"ID"},
        {64906, u"Device Name"},
        {64907, u"Device Type"},
        {64908, u"Drive Letter"},
        {64909, u"Drive Label"},
        {64910, u"Create drive on restart"},
        {64911, u"Run as &Tray on Startup"},
    };
    platform::RegisterStringTable(platform::HInstance, table);

    AssignProductIdentity(ProductName, AppName, ProductWebAddress, ProductPrefix, SupportAddress, ProductId);
}

void KVStrings_Finalize()
{
    for (QString* s : {&ProductName, &AppName, &ProductWebAddress, &ProductPrefix, &SupportAddress,
                       &ProductId, &LanguageCulture, &ProductVariant, &LanguageCode, &UpdateLanguage,
                       &DetectedLanguageCode})
        s->clear();
}

namespace {
// Module start-up: the texts are there before any code loads them.
const bool started = (KVStrings_Initialize(), true);
}  // namespace
