#include "KVBStrings.h"

#include <map>

#include "KVStrings.h"

namespace KVBStrings {
QString ProductName;
QString AppName;
QString ProductWebAddress;
QString ProductPrefix;
QString SupportAddress;
QString ProductId;
}  // namespace KVBStrings

QString LanguageSetting;
QString HelpLanguage;
QString HelpSetupLanguage;

platform::TResStringRec SImageIso = {&platform::HInstance, 64912};
platform::TResStringRec SFileSystem = {&platform::HInstance, 64913};
platform::TResStringRec SISOJolietANSI = {&platform::HInstance, 64914};
platform::TResStringRec SUDFUnicode = {&platform::HInstance, 64915};
platform::TResStringRec SOptions = {&platform::HInstance, 64916};
platform::TResStringRec SGeneral = {&platform::HInstance, 64917};
platform::TResStringRec SBurningSupportVia = {&platform::HInstance, 64918};
platform::TResStringRec SDefaultFileSystem = {&platform::HInstance, 64919};
platform::TResStringRec SSectorsToLoad = {&platform::HInstance, 64920};
platform::TResStringRec SBootImageType = {&platform::HInstance, 64921};
platform::TResStringRec SDisc = {&platform::HInstance, 64922};
platform::TResStringRec SFloppy120M = {&platform::HInstance, 64923};
platform::TResStringRec SFloppy144M = {&platform::HInstance, 64924};
platform::TResStringRec SFloppy288M = {&platform::HInstance, 64925};
platform::TResStringRec SHardDisk = {&platform::HInstance, 64926};
platform::TResStringRec SCustom = {&platform::HInstance, 64927};
platform::TResStringRec SSelectSourceAndDestinationDriveFor = {&platform::HInstance, 64928};
platform::TResStringRec SCopy = {&platform::HInstance, 64929};
platform::TResStringRec SDiscCopyStarted = {&platform::HInstance, 64930};
platform::TResStringRec SVirtualDriveDriversNotInstalled = {&platform::HInstance, 64931};
platform::TResStringRec SCurrentCompilationWillBeLostContinue = {&platform::HInstance, 64932};
platform::TResStringRec SBurnFilesToDisc = {&platform::HInstance, 64933};
platform::TResStringRec SBurnImageIso = {&platform::HInstance, 64934};
platform::TResStringRec SCopyDiscTo = {&platform::HInstance, 64935};
platform::TResStringRec SEraseDisc = {&platform::HInstance, 64936};
platform::TResStringRec SNewDiscImageIso = {&platform::HInstance, 64937};
platform::TResStringRec SVirtualDrive = {&platform::HInstance, 64938};
platform::TResStringRec SPleaseSelectBootImageFilename = {&platform::HInstance, 64939};
platform::TResStringRec SInvalidBootImageFile = {&platform::HInstance, 64940};
platform::TResStringRec SPleaseInsertDestinationMedia = {&platform::HInstance, 64941};
platform::TResStringRec SDrivesScanning = {&platform::HInstance, 64942};
platform::TResStringRec SWaitPlease = {&platform::HInstance, 64943};
platform::TResStringRec SEraseProgress = {&platform::HInstance, 64944};
platform::TResStringRec SPleaseSelectSomeFilesFoldersBefore = {&platform::HInstance, 64945};
platform::TResStringRec SBuilding = {&platform::HInstance, 64946};
platform::TResStringRec SCreatingISOImageFile = {&platform::HInstance, 64947};
platform::TResStringRec SVerifyFilesAfterBurning = {&platform::HInstance, 64948};
platform::TResStringRec SVerifyProgress = {&platform::HInstance, 64949};
platform::TResStringRec SAnErrorWhileVerifyingDataWas = {&platform::HInstance, 64950};
platform::TResStringRec SBurningSelectedFiles = {&platform::HInstance, 64951};
platform::TResStringRec SGrabbingToISOImage = {&platform::HInstance, 64952};
platform::TResStringRec SFilenameTooLongPleaseShortenYour = {&platform::HInstance, 64953};
platform::TResStringRec SBurningSelectedImage = {&platform::HInstance, 64954};
platform::TResStringRec SGrabbingSelectedTrackS = {&platform::HInstance, 64955};
platform::TResStringRec SAPPNAMECDDVDBDTools = {&platform::HInstance, 64956};
platform::TResStringRec SPleaseSelectToolYouWantTo = {&platform::HInstance, 64957};
platform::TResStringRec SLoadDiskBackOnFinishIf = {&platform::HInstance, 64958};
platform::TResStringRec SAPPNAMECopyDiscToDisc = {&platform::HInstance, 64959};
platform::TResStringRec SSpeed = {&platform::HInstance, 64960};
platform::TResStringRec SFullDiscErase = {&platform::HInstance, 64961};
platform::TResStringRec SAllFiles = {&platform::HInstance, 64962};
platform::TResStringRec SImageFilesImgImgAllFiles = {&platform::HInstance, 64963};
platform::TResStringRec SISOImagesIso = {&platform::HInstance, 64964};
platform::TResStringRec SAddFolders = {&platform::HInstance, 64965};
platform::TResStringRec SAddFiles = {&platform::HInstance, 64966};
platform::TResStringRec SNewFolder = {&platform::HInstance, 64967};
platform::TResStringRec SRename = {&platform::HInstance, 64968};
platform::TResStringRec SRemove = {&platform::HInstance, 64969};
platform::TResStringRec SRemoveAll = {&platform::HInstance, 64970};
platform::TResStringRec SGrab = {&platform::HInstance, 64971};
platform::TResStringRec SCreateBootableDisc = {&platform::HInstance, 64976};
platform::TResStringRec SAddFiles2 = {&platform::HInstance, 64977};
platform::TResStringRec SAddFolders2 = {&platform::HInstance, 64978};
platform::TResStringRec SRemove2 = {&platform::HInstance, 64979};
platform::TResStringRec SImageFile = {&platform::HInstance, 64980};
platform::TResStringRec SDiscLabel = {&platform::HInstance, 64981};
platform::TResStringRec SRemoveAll2 = {&platform::HInstance, 64982};
platform::TResStringRec SBufferStatus = {&platform::HInstance, 64983};
platform::TResStringRec SWriteProgress = {&platform::HInstance, 64984};
platform::TResStringRec SInformation = {&platform::HInstance, 64985};
platform::TResStringRec STime = {&platform::HInstance, 64986};
platform::TResStringRec SDrives = {&platform::HInstance, 64987};
platform::TResStringRec SDestinationFolder = {&platform::HInstance, 64988};
platform::TResStringRec SSelectTrack = {&platform::HInstance, 64989};
platform::TResStringRec SDestinationFileName = {&platform::HInstance, 64990};
platform::TResStringRec SImageFilename = {&platform::HInstance, 64991};
platform::TResStringRec SSize = {&platform::HInstance, 64992};
platform::TResStringRec SFiles = {&platform::HInstance, 64993};
platform::TResStringRec SFolders = {&platform::HInstance, 64994};
platform::TResStringRec SFree = {&platform::HInstance, 64995};
platform::TResStringRec SSelectFilesAndOrFolders = {&platform::HInstance, 64996};
platform::TResStringRec SBurningOptions = {&platform::HInstance, 64997};
platform::TResStringRec SDrive = {&platform::HInstance, 64998};
platform::TResStringRec SSpeed2 = {&platform::HInstance, 64999};
platform::TResStringRec SDiscLabel2 = {&platform::HInstance, 65000};
platform::TResStringRec SRefresh = {&platform::HInstance, 65001};
platform::TResStringRec SNEW = {&platform::HInstance, 65002};
platform::TResStringRec SUseLastSession = {&platform::HInstance, 65003};
platform::TResStringRec SCreateMultiSessionDisc = {&platform::HInstance, 65004};
platform::TResStringRec SEraseDiscBeforeWriting = {&platform::HInstance, 65005};
platform::TResStringRec SBootOptions = {&platform::HInstance, 65006};
platform::TResStringRec SBootImage = {&platform::HInstance, 65007};
platform::TResStringRec SImageBuildingStarted = {&platform::HInstance, 65008};
platform::TResStringRec SCDDVDBDErasingFinished = {&platform::HInstance, 65009};
platform::TResStringRec SCDDVDBDBurningFinished = {&platform::HInstance, 65010};
platform::TResStringRec SImageBuildingFinished = {&platform::HInstance, 65011};
platform::TResStringRec SCDDVDBDBurningSuccessfullyFinished = {&platform::HInstance, 65012};
platform::TResStringRec SImageBuildingSuccessfullyFinished = {&platform::HInstance, 65013};
platform::TResStringRec SCompleted = {&platform::HInstance, 65014};
platform::TResStringRec SDoYouWantToCancelCurrent = {&platform::HInstance, 65015};
platform::TResStringRec SAllTracks = {&platform::HInstance, 65016};
platform::TResStringRec SSelectImageFilename = {&platform::HInstance, 65017};
platform::TResStringRec SISOImagesIso2 = {&platform::HInstance, 65018};
platform::TResStringRec SAPPNAMECDDVDBDDataBurner = {&platform::HInstance, 65019};
platform::TResStringRec SBack = {&platform::HInstance, 65020};
platform::TResStringRec SBurn = {&platform::HInstance, 65021};
platform::TResStringRec SCancel = {&platform::HInstance, 65022};
platform::TResStringRec SHelp = {&platform::HInstance, 65023};
platform::TResStringRec SText0Completed = {&platform::HInstance, 65024};
platform::TResStringRec SImageGrabbingStarted = {&platform::HInstance, 65025};
platform::TResStringRec SGrabbing = {&platform::HInstance, 65026};
platform::TResStringRec SDiscErasingStarted = {&platform::HInstance, 65027};
platform::TResStringRec SImageBurningStarted = {&platform::HInstance, 65028};
platform::TResStringRec SThereWasAnErrorWhileWriting = {&platform::HInstance, 65029};
platform::TResStringRec SText100Completed = {&platform::HInstance, 65030};
platform::TResStringRec SImageGrabbingFinished = {&platform::HInstance, 65031};
platform::TResStringRec SDiscErasingFinished = {&platform::HInstance, 65032};
platform::TResStringRec SImageBurningFinished = {&platform::HInstance, 65033};
platform::TResStringRec SGrabbingSuccessfullyFinished = {&platform::HInstance, 65034};
platform::TResStringRec SErasingSuccessfullyFinished = {&platform::HInstance, 65035};
platform::TResStringRec SImageBurningSuccessfullyFinished = {&platform::HInstance, 65036};
platform::TResStringRec SCannotWriteWithSelectedDriveOr = {&platform::HInstance, 65037};
platform::TResStringRec SCDDVDBDErasingStarted = {&platform::HInstance, 65038};
platform::TResStringRec SCDDVDBDBurningStarted = {&platform::HInstance, 65039};
platform::TResStringRec SClose = {&platform::HInstance, 65040};
platform::TResStringRec SAPPNAMEIsSearchingForCDDVD = {&platform::HInstance, 65041};
platform::TResStringRec SNoBurnerOrMedia = {&platform::HInstance, 65042};
platform::TResStringRec SDriveWasRefreshedButSessionIs = {&platform::HInstance, 65043};
platform::TResStringRec SAdding = {&platform::HInstance, 65044};
platform::TResStringRec SRemoving = {&platform::HInstance, 65045};
platform::TResStringRec SFile = {&platform::HInstance, 65046};
platform::TResStringRec SAlreadyExistsInBurningList = {&platform::HInstance, 65047};
platform::TResStringRec SFolder = {&platform::HInstance, 65048};
platform::TResStringRec SDoYouWantToDeleteSelected = {&platform::HInstance, 65049};
platform::TResStringRec SDoYouWantToRemoveAll = {&platform::HInstance, 65050};
platform::TResStringRec SPreparingFilesToAdd = {&platform::HInstance, 65051};
platform::TResStringRec SNoMediaInserted = {&platform::HInstance, 65052};
platform::TResStringRec SNoRewritableMediaInserted = {&platform::HInstance, 65053};
platform::TResStringRec SMediaNotWriteable = {&platform::HInstance, 65054};
platform::TResStringRec SCancel2 = {&platform::HInstance, 65055};
platform::TResStringRec SAPPNAMEImages = {&platform::HInstance, 65056};
platform::TResStringRec SAPPNAMEImageGrabber = {&platform::HInstance, 65057};
platform::TResStringRec SSelectTracksToBeCopiedTo = {&platform::HInstance, 65058};
platform::TResStringRec SBuild = {&platform::HInstance, 65059};
platform::TResStringRec SImageOptions = {&platform::HInstance, 65060};
platform::TResStringRec SAPPNAMEImageBuilder = {&platform::HInstance, 65061};
platform::TResStringRec SSelectFilesFoldersForBuildingISO = {&platform::HInstance, 65062};
platform::TResStringRec SProgress = {&platform::HInstance, 65063};
platform::TResStringRec SEraseDisc2 = {&platform::HInstance, 65064};
platform::TResStringRec SAPPNAMEDiscEraser = {&platform::HInstance, 65065};
platform::TResStringRec SSelectMediaForErasing = {&platform::HInstance, 65066};
platform::TResStringRec SBurn2 = {&platform::HInstance, 65067};
platform::TResStringRec SAPPNAMEImageBurner = {&platform::HInstance, 65068};
platform::TResStringRec SSelectImageAndDestinationMediaFor = {&platform::HInstance, 65069};
platform::TResStringRec SAPPNAMECDDVDBDBurner = {&platform::HInstance, 65070};
platform::TResStringRec SSelectFilesFoldersForBurningAnd = {&platform::HInstance, 65071};

const std::array<platform::TResStringRec*, 156> KVBStringsResetList = {
    &SImageIso,
    &SFileSystem,
    &SISOJolietANSI,
    &SUDFUnicode,
    &SOptions,
    &SGeneral,
    &SBurningSupportVia,
    &SDefaultFileSystem,
    &SSectorsToLoad,
    &SBootImageType,
    &SDisc,
    &SFloppy120M,
    &SFloppy144M,
    &SFloppy288M,
    &SHardDisk,
    &SCustom,
    &SSelectSourceAndDestinationDriveFor,
    &SCopy,
    &SDiscCopyStarted,
    &SVirtualDriveDriversNotInstalled,
    &SCurrentCompilationWillBeLostContinue,
    &SBurnFilesToDisc,
    &SBurnImageIso,
    &SCopyDiscTo,
    &SEraseDisc,
    &SNewDiscImageIso,
    &SVirtualDrive,
    &SPleaseSelectBootImageFilename,
    &SInvalidBootImageFile,
    &SPleaseInsertDestinationMedia,
    &SDrivesScanning,
    &SWaitPlease,
    &SEraseProgress,
    &SPleaseSelectSomeFilesFoldersBefore,
    &SBuilding,
    &SCreatingISOImageFile,
    &SVerifyFilesAfterBurning,
    &SVerifyProgress,
    &SAnErrorWhileVerifyingDataWas,
    &SBurningSelectedFiles,
    &SGrabbingToISOImage,
    &SFilenameTooLongPleaseShortenYour,
    &SBurningSelectedImage,
    &SGrabbingSelectedTrackS,
    &SAPPNAMECDDVDBDTools,
    &SPleaseSelectToolYouWantTo,
    &SLoadDiskBackOnFinishIf,
    &SAPPNAMECopyDiscToDisc,
    &SSpeed,
    &SFullDiscErase,
    &SAllFiles,
    &SImageFilesImgImgAllFiles,
    &SISOImagesIso,
    &SAddFolders,
    &SAddFiles,
    &SNewFolder,
    &SRename,
    &SRemove,
    &SRemoveAll,
    &SGrab,
    &SCreateBootableDisc,
    &SAddFiles2,
    &SAddFolders2,
    &SRemove2,
    &SImageFile,
    &SDiscLabel,
    &SRemoveAll2,
    &SBufferStatus,
    &SWriteProgress,
    &SInformation,
    &STime,
    &SDrives,
    &SDestinationFolder,
    &SSelectTrack,
    &SDestinationFileName,
    &SImageFilename,
    &SSize,
    &SFiles,
    &SFolders,
    &SFree,
    &SSelectFilesAndOrFolders,
    &SBurningOptions,
    &SDrive,
    &SSpeed2,
    &SDiscLabel2,
    &SRefresh,
    &SNEW,
    &SUseLastSession,
    &SCreateMultiSessionDisc,
    &SEraseDiscBeforeWriting,
    &SBootOptions,
    &SBootImage,
    &SImageBuildingStarted,
    &SCDDVDBDErasingFinished,
    &SCDDVDBDBurningFinished,
    &SImageBuildingFinished,
    &SCDDVDBDBurningSuccessfullyFinished,
    &SImageBuildingSuccessfullyFinished,
    &SCompleted,
    &SDoYouWantToCancelCurrent,
    &SAllTracks,
    &SSelectImageFilename,
    &SISOImagesIso2,
    &SAPPNAMECDDVDBDDataBurner,
    &SBack,
    &SBurn,
    &SCancel,
    &SHelp,
    &SText0Completed,
    &SImageGrabbingStarted,
    &SGrabbing,
    &SDiscErasingStarted,
    &SImageBurningStarted,
    &SThereWasAnErrorWhileWriting,
    &SText100Completed,
    &SImageGrabbingFinished,
    &SDiscErasingFinished,
    &SImageBurningFinished,
    &SGrabbingSuccessfullyFinished,
    &SErasingSuccessfullyFinished,
    &SImageBurningSuccessfullyFinished,
    &SCannotWriteWithSelectedDriveOr,
    &SCDDVDBDErasingStarted,
    &SCDDVDBDBurningStarted,
    &SClose,
    &SAPPNAMEIsSearchingForCDDVD,
    &SNoBurnerOrMedia,
    &SDriveWasRefreshedButSessionIs,
    &SAdding,
    &SRemoving,
    &SFile,
    &SAlreadyExistsInBurningList,
    &SFolder,
    &SDoYouWantToDeleteSelected,
    &SDoYouWantToRemoveAll,
    &SPreparingFilesToAdd,
    &SNoMediaInserted,
    &SNoRewritableMediaInserted,
    &SMediaNotWriteable,
    &SCancel2,
    &SAPPNAMEImages,
    &SAPPNAMEImageGrabber,
    &SSelectTracksToBeCopiedTo,
    &SBuild,
    &SImageOptions,
    &SAPPNAMEImageBuilder,
    &SSelectFilesFoldersForBuildingISO,
    &SProgress,
    &SEraseDisc2,
    &SAPPNAMEDiscEraser,
    &SSelectMediaForErasing,
    &SBurn2,
    &SAPPNAMEImageBurner,
    &SSelectImageAndDestinationMediaFor,
    &SAPPNAMECDDVDBDBurner,
    &SSelectFilesFoldersForBurningAnd,
};

void KVBStrings_Initialize()
{
    static const std::map<uint32_t, std::u16string> table = {
        {64912, u"... Image (.iso)"},
        {64913, u"File system:"},
        {64914, u"ISO/Joliet (ANSI)"},
        {64915, u"UDF (Unicode)"},
        {64916, u"Options"},
        {64917, u"General"},
        {64918, u"Burning support via:"},
        {64919, u"Default file system:"},
        {64920, u"Sectors to load"},
        {64921, u"Boot image type"},
        {64922, u"... Disc"},
        {64923, u"Floppy 1.20M"},
        {64924, u"Floppy 1.44M"},
        {64925, u"Floppy 2.88M"},
        {64926, u"Hard disk"},
        {64927, u"Custom"},
        {64928, u"Select source and destination drive for copying"},
        {64929, u"&Copy"},
        {64930, u"Disc Copy started."},
        {64931, u"%APPNAME% Virtual Drive drivers are not installed. Do you want to download and install them?\r\n\r\n%APPNAME% Virtual Drive lets you mount and use your ISO images directly from the Virtual Drive, without need to burn them to a disc."},
        {64932, u"Current compilation will be lost. Continue?"},
        {64933, u"B&urn files to Disc"},
        {64934, u"Burn I&mage (.iso)"},
        {64935, u"Copy &Disc to..."},
        {64936, u"&Erase Disc"},
        {64937, u"New Disc &Image (.iso)"},
        {64938, u"&Virtual Drive"},
        {64939, u"Please select boot image filename."},
        {64940, u"Invalid boot image file."},
        {64941, u"Please insert destination media."},
        {64942, u"Drives scanning..."},
        {64943, u"Wait please"},
        {64944, u"Erase progress"},
        {64945, u"Please select some files/folders before continuing."},
        {64946, u"Building:"},
        {64947, u"Creating ISO image file"},
        {64948, u"&Verify files after burning"},
        {64949, u"Verify progress"},
        {64950, u"An error while verifying data was detected. Please check you CD/DVD/BD."},
        {64951, u"Burning selected files."},
        {64952, u"Grabbing to ISO image."},
        {64953, u"Filename too long. Please shorten your filename."},
        {64954, u"Burning selected image."},
        {64955, u"Grabbing selected track(s)."},
        {64956, u"%APPNAME% : CD/DVD/BD Tools"},
        {64957, u"Please select tool you want to use..."},
        {64958, u"Load disk back on finish if possible"},
        {64959, u"%APPNAME% : Copy Disc to Disc"},
        {64960, u"&Speed:"},
        {64961, u"&Full disc erase"},
        {64962, u"All files (*.*)|*.*"},
        {64963, u"Image files (*.img)|*.img|All files (*.*)|*.*"},
        {64964, u"ISO images|*.iso"},
        {64965, u"A&dd Folders..."},
        {64966, u"&Add Files..."},
        {64967, u"&New Folder..."},
        {64968, u"R&ename "},
        {64969, u"&Remove"},
        {64970, u"Remove &All"},
        {64971, u"&Grab"},
        {64976, u"Create boot&able disc"},
        {64977, u"Add &Files..."},
        {64978, u"Add F&olders..."},
        {64979, u"Rem&ove"},
        {64980, u"&Image File:"},
        {64981, u"Disc &label:"},
        {64982, u"Remove &All"},
        {64983, u"Buffer status:"},
        {64984, u"Write progress"},
        {64985, u"Information"},
        {64986, u"Time"},
        {64987, u"&Drives:"},
        {64988, u"Destination &Folder:"},
        {64989, u"Select &Track:"},
        {64990, u"Destination File &name:"},
        {64991, u"&Image Filename:"},
        {64992, u"Size:"},
        {64993, u"Files:"},
        {64994, u"Folders:"},
        {64995, u"Free:"},
        {64996, u"Select files and/or folders:"},
        {64997, u" Burning Options "},
        {64998, u"&Drive:"},
        {64999, u"S&peed:"},
        {65000, u"Disc &label:"},
        {65001, u"&Refresh"},
        {65002, u"NEW"},
        {65003, u"Use last &session"},
        {65004, u"Create &Multi Session disc"},
        {65005, u"&Erase disc before writing"},
        {65006, u"Boot Options"},
        {65007, u"Boot ima&ge:"},
        {65008, u"Image building started."},
        {65009, u"CD/DVD/BD erasing finished."},
        {65010, u"CD/DVD/BD burning finished."},
        {65011, u"Image building finished."},
        {65012, u"CD/DVD/BD burning successfully finished."},
        {65013, u"Image building successfully finished."},
        {65014, u"% completed"},
        {65015, u"Do you want to cancel current operation?"},
        {65016, u"All tracks"},
        {65017, u"Select image filename"},
        {65018, u"ISO images|*.iso"},
        {65019, u"%APPNAME% : CD/DVD/BD Data Burner"},
        {65020, u"< &Back"},
        {65021, u"&Burn"},
        {65022, u"&Cancel"},
        {65023, u"&Help"},
        {65024, u"0% completed"},
        {65025, u"Image grabbing started."},
        {65026, u"Grabbing: "},
        {65027, u"Disc erasing started."},
        {65028, u"Image burning started."},
        {65029, u"There was an error while writing to selected drive/media."},
        {65030, u"100% completed"},
        {65031, u"Image grabbing finished."},
        {65032, u"Disc erasing finished."},
        {65033, u"Image burning finished."},
        {65034, u"Grabbing successfully finished."},
        {65035, u"Erasing successfully finished."},
        {65036, u"Image burning successfully finished."},
        {65037, u"Cannot write with selected drive or media."},
        {65038, u"CD/DVD/BD erasing started."},
        {65039, u"CD/DVD/BD burning started."},
        {65040, u"&Close"},
        {65041, u"%APPNAME%  is searching for CD/DVD/BD burning drives."},
        {65042, u"No burner or media available"},
        {65043, u"Drive was refreshed, but session is already imported.\r\nDo you want to clear the list of files/folders to be burned and import new last session again?"},
        {65044, u"Adding "},
        {65045, u"Removing "},
        {65046, u"File "},
        {65047, u" already exists in burning list."},
        {65048, u"Folder "},
        {65049, u"Do you want to delete selected items?"},
        {65050, u"Do you want to remove all items?"},
        {65051, u"Preparing files to add..."},
        {65052, u"No media inserted."},
        {65053, u"No rewritable media inserted."},
        {65054, u"Media not writeable."},
        {65055, u"Cancel"},
        {65056, u"%APPNAME% Images"},
        {65057, u"%APPNAME% : Image Grabber"},
        {65058, u"Select tracks to be copied to ISO image"},
        {65059, u"&Build"},
        {65060, u" Image Options "},
        {65061, u"%APPNAME% : Image Builder"},
        {65062, u"Select files/folders for building ISO image"},
        {65063, u"Progress:"},
        {65064, u"&Erase Disc"},
        {65065, u"%APPNAME% : Disc Eraser"},
        {65066, u"Select media for erasing"},
        {65067, u"&Burn"},
        {65068, u"%APPNAME% : Image Burner"},
        {65069, u"Select image and destination media for burning"},
        {65070, u"%APPNAME% : CD/DVD/BD Burner"},
        {65071, u"Select files/folders for burning and destination CD/DVD/BD media"},
    };
    platform::RegisterStringTable(platform::HInstance, table);

    AssignProductIdentity(KVBStrings::ProductName, KVBStrings::AppName, KVBStrings::ProductWebAddress,
                          KVBStrings::ProductPrefix, KVBStrings::SupportAddress, KVBStrings::ProductId);
}

void KVBStrings_Finalize()
{
    for (QString* s : {&KVBStrings::ProductName, &KVBStrings::AppName, &KVBStrings::ProductWebAddress,
                       &KVBStrings::ProductPrefix, &KVBStrings::SupportAddress, &KVBStrings::ProductId,
                       &LanguageSetting, &HelpLanguage, &HelpSetupLanguage})
        s->clear();
}

namespace {
const bool started = (KVBStrings_Initialize(), true);
}  // namespace
