#include "sbActions.h"

#include <QString>
#include <filesystem>
#include <mutex>
#include <typeinfo>
#include <vector>

#include <platform/Errors.h>
#include <platform/Paths.h>

#include "sbCallBack.h"
#include "sbCallBackEventer.h"
#include "sbLogger.h"
#include "sbStrings.h"
#include "sbUtils.h"

namespace {

std::mutex gReservedLock;
std::vector<std::string> gReservedTempFiles;

std::string YesNo(bool v)
{
    return BoolToYesNo(v, true);
}

std::string Hex2(unsigned v)
{
    return QString::asprintf("%02X", v).toStdString();
}

// Formats an engine text with %d / %s placeholders (UTF-16 formatting,
// 8-bit result).
std::string Fmt(const std::string& format, std::initializer_list<std::string> args)
{
    std::string out;
    auto it = args.begin();
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size() && (format[i + 1] == 'd' || format[i + 1] == 's') &&
            it != args.end()) {
            out += *it++;
            ++i;
        } else {
            out += format[i];
        }
    }
    return out;
}

}  // namespace

TsbActionList* TsbActionItem::ActionList() const
{
    auto* list = dynamic_cast<TsbActionList*>(Collection);
    if (!list) throw std::bad_cast();
    return list;
}

void TsbActionItem::Assign(const TsbActionItem& Source)
{
    FAction = Source.FAction;
    FPageOwner = Source.FPageOwner;
}

TsbActionList::TsbActionList()
{
    InitActionOptions(ActionOptions);
}

void TsbActionList::UpdateActionsEvent()
{
    for (int i = 0; i < Count(); ++i) {
        TsbActionItem* item = GetItems(i);
        if (item->Action()) item->Action()->OnAction() = FOnAction;
    }
}

void TsbAction::RunAction(TsbActionItem* ASender)
{
    if (!ASender) throw platform::EOSError("Invalid action");
    FAL = ASender->ActionList();
    if (sbCallBackEventer) sbCallBackEventer->DoWriteProgress(0);
}

void TsbAction::DoActionEvent(const std::string& AMessage, TsbLogItemType AItemType)
{
    if (FOnAction) FOnAction(this, AMessage, AItemType);
}

void TsbAction::ActionEventBurnerHandler(TObject*, const std::string& AMessage, TsbLogItemType AItemType)
{
    DoActionEvent(AMessage, AItemType);
}

void TsbAction::EjectDisc()
{
    TsbBurner* b = FAL->Burner();
    b->UnlockDrive();
    sbLog("Burnkit_Grabber_Eject");
    b->sbException = Burnkit_Grabber_Eject(b->Grabber, b->ExceptionText, sizeof b->ExceptionText, &b->SystemError,
                                           &b->CDBFailureInformation);
    if (b->sbException != EN_SUCCESS) {
        b->Message() = sbFailureMessage("Burnkit_Grabber_Eject", b->sbException, b->SystemError, b->ExceptionText);
        sbLog(b->Message());
        DoActionEvent(b->Message(), litError);
    } else {
        b->Message() = sbLoadStr(sbStr::EjectDisc);
        DoActionEvent(b->Message(), litInfo);
    }
    if (b->LoadAfter()) {
        try {
            Burnkit_Grabber_LoadEx(b->Grabber, b->ExceptionText, sizeof b->ExceptionText, &b->SystemError, 0, 1);
        } catch (...) {
        }
    }
}

std::string sbImageSizeText(uint64_t Bytes)
{
    return "Need to save " + std::to_string(Bytes / 1024 / 1024) + " MB";
}

void TsbStagedAction::RunAction(TsbActionItem* ASender)
{
    TsbAction::RunAction(ASender);
    TsbBurner* b = FAL->Burner();
    const bool enhanced = FAL->EnhancedLog();
    b->OnAction() = [this](TObject* s, const std::string& m, TsbLogItemType t) { ActionEventBurnerHandler(s, m, t); };

    bool bupEnabled = false, bupSupported = false;
    TRACK_INFORMATION trackInfo{};
    void*& h = b->Grabber;

    auto stepText = [&](const std::string& text) {
        b->Message() = text;
        if (enhanced) DoActionEvent(b->Message(), litInfo);
    };
    auto resultText = [&](const std::string& text) {
        b->Message() = text;
        sbLog(text);
        if (enhanced) DoActionEvent(b->Message(), litInfo);
    };
    auto failIf = [&](const std::string& function) {
        if (b->sbException != EN_SUCCESS) b->RaiseFailure(function);
    };
    auto warnIf = [&](const std::string& function) {
        if (b->sbException == EN_SUCCESS) return;
        b->Message() = sbFailureMessage(function, b->sbException, b->SystemError, b->ExceptionText);
        sbLog(b->Message());
        DoActionEvent(b->Message(), litWarning);
    };
    auto run = [&](TsbStage s) { return FStages.Contains(s); };
#define SB_ERROR_BLOCK b->ExceptionText, sizeof b->ExceptionText, &b->SystemError, &b->CDBFailureInformation

    if (run(sShowCache)) stepText(Fmt(sbLoadStr(sbStr::CacheUsed), {"160"}));
    if (run(sTestUnitReady)) {
        stepText(sbLoadStr(sbStr::TestingUnitReady));
        sbLog("Burnkit_Grabber_TestUnitReady");
        b->sbException = Burnkit_Grabber_TestUnitReady(h, SB_ERROR_BLOCK);
        failIf("Burnkit_Grabber_TestUnitReady");
    }
    if (run(sProbeSupportedWriteModes)) {
        uint8_t tao = 0, sao = 0, daoPQ = 0, daoRaw = 0;
        sbLog("Burnkit_Grabber_ProbeSupportedWriteModes");
        b->sbException = Burnkit_Grabber_ProbeSupportedWriteModes(h, SB_ERROR_BLOCK, &tao, &sao, &daoPQ, &daoRaw);
        failIf("Burnkit_Grabber_ProbeSupportedWriteModes");
        resultText("Track-At-Once: " + YesNo(tao) + ", Session-At-Once: " + YesNo(sao) +
                   ", Disc-At-Once PQ: " + YesNo(daoPQ) + ", Disc-At-Once raw P-W: " + YesNo(daoRaw));
    }
    if (run(sGettingBUP)) {
        stepText(sbLoadStr(sbStr::GettingBUP));
        sbLog("Burnkit_Grabber_GetBUP");
        uint8_t enabled = 0, supported = 0;
        b->sbException = Burnkit_Grabber_GetBUP(h, SB_ERROR_BLOCK, &enabled, &supported);
        failIf("Burnkit_Grabber_GetBUP");
        bupEnabled = enabled;
        bupSupported = supported;
        resultText("BUP (Buffer Underrun Protection) Enabled: " + YesNo(bupEnabled) +
                   ", Supported: " + YesNo(bupSupported));
    }
    if (run(sSetBUP) && bupSupported) {
        stepText(sbLoadStr(sbStr::EnablingBUP));
        sbLog("Burnkit_Grabber_SetBUP");
        b->sbException = Burnkit_Grabber_SetBUP(h, SB_ERROR_BLOCK, 1);
        failIf("Burnkit_Grabber_SetBUP");
    }
    if (run(sSetSpeed)) {
        stepText(sbLoadStr(sbStr::SettingSpeeds));
        sbLog("Burnkit_Grabber_SetSpeeds");
        b->sbException = Burnkit_Grabber_SetSpeeds(h, SB_ERROR_BLOCK, 0xFFFF, uint32_t(b->BurnOptions().SpeedInSize));
        warnIf("Burnkit_Grabber_SetSpeeds");
    }
    if (run(sGetSpeed)) {
        stepText(sbLoadStr(sbStr::GettingSpeeds));
        sbLog("Burnkit_Grabber_GetSpeeds");
        uint32_t curRead = 0, maxRead = 0, curWrite = 0, maxWrite = 0;
        b->sbException = Burnkit_Grabber_GetSpeeds(h, SB_ERROR_BLOCK, &curRead, &maxRead, &curWrite, &maxWrite);
        failIf("Burnkit_Grabber_GetSpeeds");
        sbLog("Burnkit_Grabber_GetSpeeds: CurrentReadSpeed: " + std::to_string(curRead) +
              ",MaximumReadSpeed: " + std::to_string(maxRead) + ",CurrentWriteSpeed: " + std::to_string(curWrite) +
              ",MaximumWriteSpeed: " + std::to_string(maxWrite));
        stepText(Fmt(sbLoadStr(sbStr::CurrentReadSpeed), {std::to_string(int32_t(curRead)), std::to_string(int32_t(maxRead))}));
        stepText(Fmt(sbLoadStr(sbStr::CurrentWriteSpeed), {std::to_string(int32_t(curWrite)), std::to_string(int32_t(maxWrite))}));
    }
    if (run(sGetTrackInfo)) {
        stepText(sbLoadStr(sbStr::GettingTrackInformation));
        sbLog("Burnkit_Grabber_GetTrackInformation: (for TRACK_NUMBER_INVISIBLE)");
        b->sbException = Burnkit_Grabber_GetTrackInformation(h, SB_ERROR_BLOCK, 255, &trackInfo);
        warnIf("Burnkit_Grabber_GetTrackInformation");
        resultText("Track Blank: " + YesNo(trackInfo.m__BOOLEAN__IsBlank) +
                   ", NWA valid: " + YesNo(trackInfo.m__BOOLEAN__IsNextWritableAddressValid) + ", free LBs " +
                   std::to_string(trackInfo.m__LONG__FreeLBs) + ", track \xc4\x85 " +
                   std::to_string(trackInfo.m__UCHAR__TrackNumber));
    }
    if (run(sGetDiscInfo)) {
        stepText(sbLoadStr(sbStr::GettingDiscInformation));
        sbLog("Burnkit_Grabber_GetDiscInformation");
        DISC_INFORMATION di{};
        b->sbException = Burnkit_Grabber_GetDiscInformation(h, SB_ERROR_BLOCK, &di);
        failIf("Burnkit_Grabber_GetDiscInformation");
        resultText("Disc erasable: " + YesNo(di.m__BOOLEAN__IsErasable) + ", Disc status: 0x" +
                   Hex2(di.m__UCHAR__DiscStatus) + ", Last session status: 0x" + Hex2(di.m__UCHAR__LastSessionStatus) +
                   ", Disc type: " + std::to_string(int32_t(b->DiscType())));
    }
    if (run(sBuildISO9660JolietFileTree) && b->ISO9660JolietFileTree) {
        void* t = b->ISO9660JolietFileTree;
        stepText(sbLoadStr(sbStr::BuildingISOImage));
        const TsbFileSystem& fs = b->FileSystem();
        if (fs.EnabledEIT && !fs.BootImage.empty()) {
            sbLog("Burnkit_ISO9660JolietFileTree_SetBootImage: BootImage: " + fs.BootImage);
            b->sbException = Burnkit_ISO9660JolietFileTree_SetBootImage(
                t, fs.BootImage.c_str(), 6, 2, 1, 0, b->ExceptionText, sizeof b->ExceptionText, &b->SystemError);
            if (b->sbException != EN_SUCCESS) {
                b->Message() = sbFailureMessageN("Burnkit_ISO9660JolietFileTree_SetBootImage", b->sbException,
                                                 b->SystemError, b->ExceptionText);
                sbRaise(b->Message());
            }
        }
        sbLog("Burnkit_ISO9660JolietFileTree_BuildImage");
        std::u16string exe = QString::fromStdString(platform::ExecutablePath()).toStdU16String();
        const auto* exeW = reinterpret_cast<const BURNKIT_WCHAR*>(exe.c_str());
        b->sbException = Burnkit_ISO9660JolietFileTree_BuildImage(
            t, b->ExceptionText, sizeof b->ExceptionText, &b->SystemError, trackInfo.m__LONG__NextWritableAddress, 0,
            1, b->DiscLabel().c_str(), exeW, exeW);
        failIf("Burnkit_ISO9660FileTree_BuildImage");
        uint32_t high = 0;
        uint32_t low = Burnkit_ISO9660JolietFileTree_GetSizeInUCHARs(t, &high);
        b->Message() = sbImageSizeText((uint64_t(high) << 32) | low);
        sbLog(b->Message());
        DoActionEvent(b->Message(), litInfo);
    }
    if (run(sSendOPC) && b->BurnOptions().IsSOPC) {
        stepText(sbLoadStr(sbStr::SendingOPC));
        sbLog("Burnkit_Grabber_SendOPC");
        b->sbException = Burnkit_Grabber_SendOPC(h, SB_ERROR_BLOCK);
    }
#undef SB_ERROR_BLOCK
}

TsbGrabAction::TsbGrabAction() : FGrabTrackList(std::make_unique<TsbGrabTrackList>())
{
    Stages() = TsbStages{sTestUnitReady};
}

TsbGrabAction::~TsbGrabAction() = default;

void TsbGrabAction::RunAction(TsbActionItem* ASender)
{
    TsbStagedAction::RunAction(ASender);
    TsbBurner* b = FAL->Burner();
    FFinalSuccess = true;
    GrabInProgress = true;
    Burnkit_SetFastReadTOC(1);

    for (int i = 0; i < FGrabTrackList->Count(); ++i) {
        const TsbGrabTrack* track = FGrabTrackList->GetItems(i);
        std::string target;
        if (track->TrackType == ttAudio) {
            std::string reserved = MakeTempFileName("sb").toStdString();
            if (!reserved.empty()) {
                std::lock_guard<std::mutex> lock(gReservedLock);
                gReservedTempFiles.push_back(reserved);
            }
            target = reserved + ".wav";
        } else {
            target = track->FileName;
        }
        if (b->Cancel()) {
            DoActionEvent("Grabbing canceled!", litWarning);
            break;
        }
        const std::string number = std::to_string(track->TrackNumber);
        sbLog("Burnkit_Grabber_GrabTrack: Track #" + number + ", Output file: " + track->FileName);
        DoActionEvent("Grabbing Track # " + number, litInfo);
        b->sbException = Burnkit_Grabber_GrabTrack(b->Grabber, b->ExceptionText, sizeof b->ExceptionText,
                                                   &b->SystemError, &b->CDBFailureInformation,
                                                   uint8_t(track->TrackNumber), target.c_str(), 1, 1, 0, 1);
        sbRaisePendingCallbackException();
        if (b->sbException == EN_SUCCESS) {
            if (sbCallBackEventer) sbCallBackEventer->DoWriteProgress(100);
        } else {
            b->Message() = sbFailureMessage("Burnkit_Grabber_GrabTrack", b->sbException, b->SystemError,
                                            b->ExceptionText);
            sbLog(b->Message());
            FFinalSuccess = false;
        }
        if (track->TrackType == ttAudio) {
            if (sbCallBackEventer) sbCallBackEventer->DoBufferStatus(0);
            sbLog("Burnkit_Wave_UncompressedFileCompress: " + target + " -> " + track->FileName +
                  " with compression: " + std::to_string(b->CompressOptions()));
            b->sbException = Burnkit_Wave_UncompressedFileCompress(target.c_str(), track->FileName.c_str(), 176400,
                                                                   WaveCallBack, this, b->CompressOptions());
            std::error_code ec;
            std::filesystem::remove(target, ec);
            sbRaisePendingCallbackException();
            if (b->sbException != EN_SUCCESS) {
                b->Message() = sbShortFailureMessage("Burnkit_Wave_UncompressedFileCompress", b->sbException);
                FFinalSuccess = false;
                sbRaise(b->Message());
            }
        }
    }
    DoActionEvent(sbLoadStr(sbStr::GrabbingComplete), litInfo);
    if (Eject) EjectDisc();
}

void sbRemoveReservedTempFiles()
{
    std::lock_guard<std::mutex> lock(gReservedLock);
    for (const std::string& f : gReservedTempFiles) {
        std::error_code ec;
        std::filesystem::remove(f, ec);
    }
    gReservedTempFiles.clear();
}
