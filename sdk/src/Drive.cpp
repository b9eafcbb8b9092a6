#include "Drive.h"

#include "SdkError.h"

#include <cstring>

namespace kvsdk {

bool IsDvdType(DISC_TYPE type) {
    switch (type) {
    case DISC_TYPE_DVDROM:
    case DISC_TYPE_DVDR:
    case DISC_TYPE_DVDRAM:
    case DISC_TYPE_DVDRWRO:
    case DISC_TYPE_DVDRWSR:
    case DISC_TYPE_DVDPLUSRW:
    case DISC_TYPE_DVDPLUSR:
    case DISC_TYPE_DVDPLUSR_DL:
    case DISC_TYPE_DVDR_DL:
        return true;
    default:
        return false;
    }
}

void Drive::DiscInformation(DISC_INFORMATION& info) { FillDiscInformation(Layout(), info); }

void Drive::TrackInformation(uint32_t number, TRACK_INFORMATION& info) {
    FillTrackInformation(Layout(), number, info);
}

void Drive::TableOfContents(TOC_INFORMATION& toc) { FillTableOfContents(Layout(), toc); }

void Drive::RegionData(uint8_t rpc[5]) { std::memcpy(rpc, Identity().Rpc, 5); }

void FillDiscInformation(const DiscLayout& layout, DISC_INFORMATION& info) {
    std::memset(&info, 0, sizeof(info));
    info.m__BOOLEAN__IsValid = 1;
    info.m__UCHAR__DiscStatus = 2;         // complete
    info.m__UCHAR__LastSessionStatus = 3;  // complete session
    info.m__UCHAR__FirstTrackNumber = layout.Tracks.empty() ? 1 : static_cast<uint8_t>(layout.Tracks.front().Number);
    info.m__UCHAR__NumberOfSessions = 1;
    info.m__UCHAR__LastSessionFirstTrack = info.m__UCHAR__FirstTrackNumber;
    info.m__UCHAR__LastSessionLastTrack =
        layout.Tracks.empty() ? 1 : static_cast<uint8_t>(layout.Tracks.back().Number);
    bool xa = false;
    for (const TrackLayout& t : layout.Tracks)
        xa = xa || t.Mode == TrackMode::Mode2_2352;
    info.m__UCHAR__DiscType = xa ? 0x20 : 0x00;
    std::memset(info.m__UCHAR__LastSessionLeadIn, 0xFF, 4);
    std::memset(info.m__UCHAR__LastPossibleStartTime, 0xFF, 4);
}

void FillTrackInformation(const DiscLayout& layout, uint32_t number, TRACK_INFORMATION& info) {
    std::memset(&info, 0, sizeof(info));
    if (number == TRACK_NUMBER_INVISIBLE)
        throw SdkError(EN_SCSI_CDB_FAILED, "The disc is closed: it has no writable track");
    const TrackLayout* t = number <= 99 ? layout.FindTrack(static_cast<int>(number)) : nullptr;
    if (t == nullptr) {
        std::string range = layout.Tracks.empty()
                                ? std::string("none")
                                : std::to_string(layout.Tracks.front().Number) + " to " +
                                      std::to_string(layout.Tracks.back().Number);
        throw SdkError(EN_NOT_FOUND, "Track " + std::to_string(number) + " is not on the disc (tracks " + range + ")");
    }
    info.m__BOOLEAN__IsValid = 1;
    info.m__UCHAR__TrackNumber = static_cast<uint8_t>(t->Number);
    info.m__UCHAR__SessionNumber = 1;
    info.m__UCHAR__TrackMode = IsAudio(t->Mode) ? 0 : 4;
    info.m__UCHAR__DataMode = IsAudio(t->Mode) ? 0x0F : (t->Mode == TrackMode::Mode2_2352 ? 2 : 1);
    info.m__LONG__TrackStartAddress = t->Start;
}

void FillTableOfContents(const DiscLayout& layout, TOC_INFORMATION& toc) {
    std::memset(&toc, 0, sizeof(toc));
    toc.m__BOOLEAN__IsValid = 1;
    toc.m__BOOLEAN__IsDVD = IsDvdType(layout.Type) ? 1 : 0;
    toc.m__UCHAR__NumberOfSessions = 1;
    size_t n = layout.Tracks.size() < 99 ? layout.Tracks.size() : 99;
    toc.m__UCHAR__NumberOfTracks = static_cast<uint8_t>(n);
    toc.m__UCHAR__NumberOfUnsortedEntries = static_cast<uint8_t>(n);
    for (size_t i = 0; i < n; ++i) {
        const TrackLayout& t = layout.Tracks[i];
        TOC_ENTRY& e = toc.m__TOC_ENTRY[i];
        e.m__BOOLEAN__IsValid = 1;
        e.m__UCHAR__TrackNumber = static_cast<uint8_t>(t.Number);
        e.m__UCHAR__SessionNumber = 1;
        e.m__LONG__StartingLBA = t.Start;
        LbaToMsf(t.Start, e.m__UCHAR__StartingMSF);
        e.m__LONG__EndingLBA = t.End;
        LbaToMsf(t.End, e.m__UCHAR__EndingMSF);
        e.m__BOOLEAN__IsData = IsAudio(t.Mode) ? 0 : 1;
        e.m__BOOLEAN__IsAudio = IsAudio(t.Mode) ? 1 : 0;
        e.m__UCHAR__TrackMode = IsAudio(t.Mode) ? 0 : (t.Mode == TrackMode::Mode2_2352 ? 2 : 1);
        e.m__UCHAR__MODE2Form = t.Mode == TrackMode::Mode2_2352 ? 1 : 0;
        e.m__ULONG__LBSizeInUCHARs = GrabbedSectorSize(t.Mode);
        e.m__LONG__Index00 = t.Index00;
    }
    // The raw full table: a four-byte header, then 11-byte descriptors
    // (session, ADR/control, TNO, POINT, MIN, SEC, FRAME, ZERO, PMIN, PSEC,
    // PFRAME) for the points A0 (first track), A1 (last track), A2 (lead-out)
    // and every track.
    if (n == 0)
        return;
    uint8_t* raw = toc.m__FULL_TOC_ENTRY_RAW;
    size_t count = 0;
    auto add = [&](uint8_t control, uint8_t point, const uint8_t pmsf[3]) {
        uint8_t* d = raw + 4 + 11 * count++;
        d[0] = 1;
        d[1] = static_cast<uint8_t>(0x10 | control);
        d[3] = point;
        d[8] = pmsf[0];
        d[9] = pmsf[1];
        d[10] = pmsf[2];
    };
    auto control = [](const TrackLayout& t) -> uint8_t { return IsAudio(t.Mode) ? 0 : 4; };
    const uint8_t first[3] = {static_cast<uint8_t>(layout.Tracks.front().Number), 0, 0};
    const uint8_t last[3] = {static_cast<uint8_t>(layout.Tracks[n - 1].Number), 0, 0};
    uint8_t leadOut[3];
    LbaToMsf(layout.Tracks[n - 1].End, leadOut);
    add(control(layout.Tracks.front()), 0xA0, first);
    add(control(layout.Tracks[n - 1]), 0xA1, last);
    add(control(layout.Tracks[n - 1]), 0xA2, leadOut);
    for (size_t i = 0; i < n; ++i) {
        uint8_t msf[3];
        LbaToMsf(layout.Tracks[i].Start, msf);
        add(control(layout.Tracks[i]), static_cast<uint8_t>(layout.Tracks[i].Number), msf);
    }
    size_t length = 2 + 11 * count;
    raw[0] = static_cast<uint8_t>(length >> 8);
    raw[1] = static_cast<uint8_t>(length & 0xFF);
    raw[2] = 1;
    raw[3] = 1;
    std::memcpy(toc.m__FULL_TOC_ENTRY_RAW__Unsorted, raw, sizeof(toc.m__FULL_TOC_ENTRY_RAW));
}

}  // namespace kvsdk
