#include "sbTrackList.h"

#include <QString>
#include <cstring>
#include <memory>

#include "sbCallBack.h"
#include "sbLogger.h"
#include "sbUtils.h"

const std::array<CDDVD_SPEED, 16> CD_SPEEDS{{{176, "1.0x"},
                                             {353, "2.0x"},
                                             {387, "2.2x"},
                                             {528, "3.0x"},
                                             {706, "4.0x"},
                                             {1400, "8.0x"},
                                             {1760, "10.0x"},
                                             {2112, "12.0x"},
                                             {2800, "16.0x"},
                                             {3250, "20.0x"},
                                             {4224, "24.0x"},
                                             {5632, "32.0x"},
                                             {7040, "40.0x"},
                                             {7744, "44.0x"},
                                             {8448, "48.0x"},
                                             {9152, "52.0x"}}};
const std::array<CDDVD_SPEED, 10> DVD_SPEEDS{{{1385, "1.0x"},
                                              {2770, "2.0x"},
                                              {3324, "2.4x"},
                                              {4155, "3.0x"},
                                              {5540, "4.0x"},
                                              {6925, "5.0x"},
                                              {8310, "6.0x"},
                                              {11080, "8.0x"},
                                              {16620, "12.0x"},
                                              {22160, "16.0x"}}};
const std::array<CDDVD_SPEED, 4> BD_SPEEDS{{{4495, "1.0x"}, {8991, "2.0x"}, {17980, "4.0x"}, {26970, "6.0x"}}};

namespace {

std::string YesNo(uint8_t v)
{
    return BoolToYesNo(v != 0, true);
}

std::string Hex2(unsigned v)
{
    return QString::asprintf("%02X", v).toStdString();
}

// Stores a line in the burner's Message and writes it to the trace log.
void Line(TsbBurner* b, const std::string& text)
{
    b->Message() = text;
    sbLog(text);
}

void EntryLines(TsbBurner* b, int p, const TOC_ENTRY& e)
{
    Line(b, "TOC Index " + std::to_string(p) + ", Track Number: 0x" + Hex2(e.m__UCHAR__TrackNumber) +
                ", Entry Valid: " + YesNo(e.m__BOOLEAN__IsValid));
    Line(b, "Starting LBA " + std::to_string(e.m__LONG__StartingLBA) + ", Starting MSF " +
                std::to_string(e.m__UCHAR__StartingMSF[0]) + ":" + std::to_string(e.m__UCHAR__StartingMSF[1]) +
                ":" + std::to_string(e.m__UCHAR__StartingMSF[2]) + ", Ending LBA " +
                std::to_string(e.m__LONG__EndingLBA) + ", Ending MSF " + std::to_string(e.m__UCHAR__EndingMSF[0]) +
                ":" + std::to_string(e.m__UCHAR__EndingMSF[1]) + ":" + std::to_string(e.m__UCHAR__EndingMSF[2]));
    Line(b, "MCN Available: " + YesNo(e.m__BOOLEAN__IsMCNAvailable) +
                ", ISRC Available: " + YesNo(e.m__BOOLEAN__IsISRCAvailable) +
                ", Four Channels Audio: " + YesNo(e.m__BOOLEAN__IsFourChannelsAudio) +
                ", Pre-Emphasis Audio: " + YesNo(e.m__BOOLEAN__IsPreEmphasisAudio));
    Line(b, "Data: " + YesNo(e.m__BOOLEAN__IsData) + ", Audio: " + YesNo(e.m__BOOLEAN__IsAudio) +
                ", Digital Copy Prohibited: " + YesNo(e.m__BOOLEAN__IsDigitalCopyProhibited));
    uint32_t lbSize = e.m__ULONG__LBSizeInUCHARs;
    Line(b, "Track Mode: 0x" + Hex2(e.m__UCHAR__TrackMode) + ", MODE2 Form: 0x" + Hex2(e.m__UCHAR__MODE2Form) +
                " (if Track Mode = 0x02), LB (logical block) Size In UCHARs: " + std::to_string(int32_t(lbSize)));
}

}  // namespace

void FillTrackList(TsbTrackList* AList, TsbBurner* ABurner)
{
    AList->Clear();
    if (!ABurner->Grabber) return;
    Burnkit_SetFastReadTOC(1);
    auto toc = std::make_unique<TOC_INFORMATION>();
    std::memset(toc.get(), 0, sizeof(TOC_INFORMATION));
    sbLog("Burnkit_Grabber_GetTOCInformation");
    ABurner->sbException = Burnkit_Grabber_GetTOCInformation(ABurner->Grabber, ABurner->ExceptionText,
                                                             sizeof ABurner->ExceptionText, &ABurner->SystemError,
                                                             &ABurner->CDBFailureInformation, toc.get());
    if (ABurner->sbException == EN_SCSI_CDB_FAILED) return;
    if (ABurner->sbException != EN_SUCCESS) ABurner->RaiseFailure("Burnkit_Grabber_GetTOCInformation");

    const int n = toc->m__UCHAR__NumberOfTracks;
    const DISC_TYPE discType = ABurner->DiscType();
    for (int p = 1; p <= n && p <= 100; ++p) {
        if (p == n - 1 && (discType == DISC_TYPE_DVDPLUSR || discType == DISC_TYPE_DVDR)) break;
        TRACK_INFORMATION ti{};
        sbLog("Burnkit_Grabber_GetTrackInformation");
        ABurner->sbException = Burnkit_Grabber_GetTrackInformation(
            ABurner->Grabber, ABurner->ExceptionText, sizeof ABurner->ExceptionText, &ABurner->SystemError,
            &ABurner->CDBFailureInformation, uint32_t(p), &ti);
        if (ABurner->sbException != EN_SUCCESS) continue;
        const TOC_ENTRY& entry = toc->m__TOC_ENTRY[p - 1];
        if (ti.m__BOOLEAN__IsValid) {
            TsbTrack* track = AList->Add();
            track->TRACK_INFORMATION = ti;
            track->TOC_ENTRY = entry;
            ABurner->Message() = "Track Blank: " + YesNo(ti.m__BOOLEAN__IsBlank) +
                                 ", NWA valid: " + YesNo(ti.m__BOOLEAN__IsNextWritableAddressValid) +
                                 ", free LBs " + std::to_string(ti.m__LONG__FreeLBs) + ", NWA " +
                                 std::to_string(ti.m__LONG__NextWritableAddress) + ", track number " +
                                 std::to_string(ti.m__UCHAR__TrackNumber);
            const int32_t startLBA = entry.m__LONG__StartingLBA;
            const int32_t endLBA = entry.m__LONG__EndingLBA;
            track->TrackSizeInLB = int64_t(int32_t(uint32_t(endLBA) - uint32_t(startLBA)));
            track->TrackSizeInBytes = track->TrackSizeInLB * int64_t(entry.m__ULONG__LBSizeInUCHARs);
            if (entry.m__BOOLEAN__IsAudio) track->TrackSizeInTime = AudioSizeToTime(uint32_t(track->TrackSizeInBytes));
            const std::string size = BytesToSizeText(false, track->TrackSizeInBytes);
            track->ShortStrInfo = "Size: " + size + ", Track Blank: " + YesNo(ti.m__BOOLEAN__IsBlank) +
                                  ", free LBs " + std::to_string(ti.m__LONG__FreeLBs) + ", track number " +
                                  std::to_string(ti.m__UCHAR__TrackNumber);
            track->StrInfo = "Size: " + size + ", " + ABurner->Message();
        }
        EntryLines(ABurner, p, entry);
    }
}
