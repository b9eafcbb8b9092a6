#include "HostDrive.h"

#include "SdkError.h"

#include <cdio/cdio.h>
#include <cdio/mmc.h>
#include <cdio/mmc_cmds.h>
#include <cdio/paranoia/cdda.h>
#include <cdio/paranoia/paranoia.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace kvsdk {

namespace {

constexpr unsigned kTimeoutMs = 30000;

std::string Field(const char* s, size_t n) {
    std::string v(s, strnlen(s, n));
    while (!v.empty() && v.back() == ' ')
        v.pop_back();
    return v;
}

DISC_TYPE FromProfile(cdio_mmc_feature_profile_t profile) {
    static const struct {
        int Profile;
        DISC_TYPE Type;
    } kTable[] = {
        {CDIO_MMC_FEATURE_PROF_CD_ROM, DISC_TYPE_CDROM},         {CDIO_MMC_FEATURE_PROF_CD_R, DISC_TYPE_CDR},
        {CDIO_MMC_FEATURE_PROF_CD_RW, DISC_TYPE_CDRW},           {CDIO_MMC_FEATURE_PROF_DVD_ROM, DISC_TYPE_DVDROM},
        {CDIO_MMC_FEATURE_PROF_DVD_R_SEQ, DISC_TYPE_DVDR},       {CDIO_MMC_FEATURE_PROF_DVD_RAM, DISC_TYPE_DVDRAM},
        {CDIO_MMC_FEATURE_PROF_DVD_RW_RO, DISC_TYPE_DVDRWRO},    {CDIO_MMC_FEATURE_PROF_DVD_RW_SEQ, DISC_TYPE_DVDRWSR},
        {CDIO_MMC_FEATURE_PROF_DVD_R_DL_SEQ, DISC_TYPE_DVDR_DL}, {CDIO_MMC_FEATURE_PROF_DVD_R_DL_JR, DISC_TYPE_DVDR_DL},
        {CDIO_MMC_FEATURE_PROF_DVD_PRW, DISC_TYPE_DVDPLUSRW},    {CDIO_MMC_FEATURE_PROF_DVD_PR, DISC_TYPE_DVDPLUSR},
        {CDIO_MMC_FEATURE_PROF_DDCD_ROM, DISC_TYPE_DDCDROM},     {CDIO_MMC_FEATURE_PROF_DDCD_R, DISC_TYPE_DDCDR},
        {CDIO_MMC_FEATURE_PROF_DDCD_RW, DISC_TYPE_DDCDRW},       {CDIO_MMC_FEATURE_PROF_DVD_PR_DL, DISC_TYPE_DVDPLUSR_DL},
        {CDIO_MMC_FEATURE_PROF_BD_ROM, DISC_TYPE_BDROM},         {CDIO_MMC_FEATURE_PROF_BD_SEQ, DISC_TYPE_BDR},
        {CDIO_MMC_FEATURE_PROF_BD_R_RANDOM, DISC_TYPE_BDR},      {CDIO_MMC_FEATURE_PROF_BD_RE, DISC_TYPE_BDRE},
        {CDIO_MMC_FEATURE_PROF_HD_DVD_ROM, DISC_TYPE_HDDVDROM},  {CDIO_MMC_FEATURE_PROF_HD_DVD_R, DISC_TYPE_HDDVDR},
        {CDIO_MMC_FEATURE_PROF_HD_DVD_RAM, DISC_TYPE_HDDVDRW},
    };
    for (const auto& row : kTable)
        if (row.Profile == profile)
            return row.Type;
    return DISC_TYPE_UNKNOWN;
}

int32_t Be32(const uint8_t* p) {
    return static_cast<int32_t>((uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3]);
}

}  // namespace

struct HostDrive::Impl {
    CdIo_t* Cdio = nullptr;
    cdrom_drive_t* Cdda = nullptr;
    cdrom_paranoia_t* Paranoia = nullptr;
    int32_t NextAudioLba = -1;
};

std::vector<std::string> HostDriveDevices() {
    std::vector<std::string> devices;
    char** list = cdio_get_devices(DRIVER_LINUX);
    if (list == nullptr)
        return devices;
    for (char** d = list; *d != nullptr; ++d) {
        char resolved[4096];
        std::string path = ::realpath(*d, resolved) != nullptr ? resolved : *d;
        if (std::find(devices.begin(), devices.end(), path) == devices.end())
            devices.push_back(path);
    }
    cdio_free_device_list(list);
    std::sort(devices.begin(), devices.end());
    return devices;
}

HostDrive::HostDrive(const std::string& name, const std::string& device)
    : P(std::make_unique<Impl>()), FName(name), FDevice(device) {
    // libcdio does not say why an open failed; ask the system first.
    int fd = ::open(device.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        int err = errno;
        ThrowSystemError("Cannot open drive " + device, err, err == ENOENT ? EN_NOT_FOUND : EN_SYSTEM_CALL_FAILED);
    }
    ::close(fd);
    P->Cdio = cdio_open(device.c_str(), DRIVER_LINUX);
    if (P->Cdio == nullptr)
        throw SdkError(EN_SYSTEM_CALL_FAILED, "Cannot open drive " + device + " as an optical drive");
    cdio_hwinfo_t hw{};
    if (mmc_get_hwinfo(P->Cdio, &hw)) {
        FIdentity.Vendor = Field(hw.psz_vendor, sizeof(hw.psz_vendor));
        FIdentity.Product = Field(hw.psz_model, sizeof(hw.psz_model));
        FIdentity.Revision = Field(hw.psz_revision, sizeof(hw.psz_revision));
    }
    cdio_drive_read_cap_t r = 0;
    cdio_drive_write_cap_t w = 0;
    cdio_drive_misc_cap_t m = 0;
    cdio_get_drive_cap(P->Cdio, &r, &w, &m);
    const bool formats[10] = {(r & CDIO_DRIVE_CAP_READ_CD_R) != 0,    (r & CDIO_DRIVE_CAP_READ_CD_RW) != 0,
                              (r & CDIO_DRIVE_CAP_READ_DVD_ROM) != 0, (r & CDIO_DRIVE_CAP_READ_DVD_R) != 0,
                              (r & CDIO_DRIVE_CAP_READ_DVD_RAM) != 0, (w & CDIO_DRIVE_CAP_WRITE) != 0,
                              (w & CDIO_DRIVE_CAP_WRITE_CD_R) != 0,   (w & CDIO_DRIVE_CAP_WRITE_CD_RW) != 0,
                              (w & CDIO_DRIVE_CAP_WRITE_DVD_R) != 0,  (w & CDIO_DRIVE_CAP_WRITE_DVD_RAM) != 0};
    std::copy(std::begin(formats), std::end(formats), FIdentity.MediaFormats);
    const bool ex[6] = {(r & CDIO_DRIVE_CAP_READ_DVD_RPW) != 0,  (r & CDIO_DRIVE_CAP_READ_DVD_PR) != 0,
                        (r & CDIO_DRIVE_CAP_READ_DVD_PR) != 0,   (w & CDIO_DRIVE_CAP_WRITE_DVD_RPW) != 0,
                        (w & CDIO_DRIVE_CAP_WRITE_DVD_PR) != 0, false};
    std::copy(std::begin(ex), std::end(ex), FIdentity.MediaFormatsEx);
    const bool writes = (w & CDIO_DRIVE_CAP_WRITE) != 0;
    for (bool& mode : FIdentity.WriteModes)
        mode = writes;
    FIdentity.ReadModes[0] = true;
    FIdentity.ReadModes[1] = true;
    FIdentity.BupSupported = (w & CDIO_DRIVE_CAP_WRITE_BURN_PROOF) != 0;
    FIdentity.Speeds[0] = FIdentity.Speeds[1] = 0;
}

HostDrive::~HostDrive() {
    CloseParanoia();
    if (P->Cdio != nullptr)
        cdio_destroy(P->Cdio);
}

void HostDrive::CloseParanoia() {
    if (P->Paranoia != nullptr)
        cdio_paranoia_free(P->Paranoia);
    if (P->Cdda != nullptr)
        cdio_cddap_close_no_free_cdio(P->Cdda);
    P->Paranoia = nullptr;
    P->Cdda = nullptr;
    P->NextAudioLba = -1;
}

void HostDrive::Mmc(const uint8_t* cdb, unsigned cdbSize, bool read, void* buffer, unsigned size, const char* what) {
    mmc_cdb_t c{};
    std::memcpy(c.field, cdb, cdbSize);
    driver_return_code_t rc =
        mmc_run_cmd_len(P->Cdio, kTimeoutMs, &c, cdbSize, read ? SCSI_MMC_DATA_READ : SCSI_MMC_DATA_WRITE, size, buffer);
    if (rc == DRIVER_OP_SUCCESS)
        return;
    std::string text = std::string(what) + " failed on drive " + FDevice;
    cdio_mmc_request_sense_t* sense = nullptr;
    int n = mmc_last_cmd_sense(P->Cdio, &sense);
    if (n > 0 && sense != nullptr) {
        char codes[64];
        std::snprintf(codes, sizeof(codes), " (sense key %X, ASC %02X, ASCQ %02X)", sense->sense_key, sense->asc,
                      sense->ascq);
        text += codes;
    }
    cdio_free(sense);
    throw SdkError(EN_SCSI_CDB_FAILED, text);
}

void HostDrive::TestUnitReady() {
    if (mmc_test_unit_ready(P->Cdio, kTimeoutMs) != DRIVER_OP_SUCCESS)
        throw SdkError(EN_SCSI_CDB_FAILED, "No disc ready in drive " + FName + " (" + FDevice + ")");
}

DISC_TYPE HostDrive::InsertedDiscType() {
    if (mmc_test_unit_ready(P->Cdio, kTimeoutMs) != DRIVER_OP_SUCCESS)
        return DISC_TYPE_NO_MEDIA;
    cdio_mmc_feature_profile_t profile{};
    if (mmc_get_disctype(P->Cdio, kTimeoutMs, &profile) != DRIVER_OP_SUCCESS)
        return DISC_TYPE_UNKNOWN;
    return FromProfile(profile);
}

const DiscLayout& HostDrive::Layout() {
    TestUnitReady();
    if (cdio_get_media_changed(P->Cdio) == 1) {
        FLayoutRead = false;
        CloseParanoia();
    }
    if (FLayoutRead)
        return FLayout;
    track_t first = cdio_get_first_track_num(P->Cdio);
    track_t count = cdio_get_num_tracks(P->Cdio);
    if (first == CDIO_INVALID_TRACK || count == CDIO_INVALID_TRACK || count == 0)
        throw SdkError(EN_SCSI_CDB_FAILED, "The disc in drive " + FName + " has no table of contents");
    DiscLayout layout;
    layout.Type = InsertedDiscType();
    for (track_t t = first; t < first + count; ++t) {
        TrackLayout tl;
        tl.Number = t;
        switch (cdio_get_track_format(P->Cdio, t)) {
        case TRACK_FORMAT_AUDIO:
            tl.Mode = TrackMode::Audio;
            break;
        case TRACK_FORMAT_XA:
            tl.Mode = TrackMode::Mode2_2352;
            break;
        default:
            tl.Mode = TrackMode::Mode1_2048;
            break;
        }
        tl.Start = cdio_get_track_lba(P->Cdio, t) - CDIO_PREGAP_SECTORS;
        lba_t pregap = cdio_get_track_pregap_lba(P->Cdio, t);
        tl.Index00 = pregap != CDIO_INVALID_LBA ? pregap - CDIO_PREGAP_SECTORS : tl.Start;
        track_t next = t + 1 < first + count ? static_cast<track_t>(t + 1) : static_cast<track_t>(CDIO_CDROM_LEADOUT_TRACK);
        lba_t end = cdio_get_track_lba(P->Cdio, next);
        if (next != CDIO_CDROM_LEADOUT_TRACK) {
            lba_t nextPregap = cdio_get_track_pregap_lba(P->Cdio, next);
            if (nextPregap != CDIO_INVALID_LBA && nextPregap < end)
                end = nextPregap;
        }
        tl.End = end - CDIO_PREGAP_SECTORS;
        if (tl.End <= tl.Start)
            throw SdkError(EN_INVALID_RESPONSE, "Drive " + FName + " reports track " + std::to_string(t) +
                                                    " without sectors");
        layout.Tracks.push_back(tl);
    }
    FLayout = layout;
    FLayoutRead = true;
    return FLayout;
}

SectorReader& HostDrive::Reader() {
    Layout();
    return *this;
}

void HostDrive::DiscInformation(DISC_INFORMATION& info) {
    std::memset(&info, 0, sizeof(info));
    uint8_t cdb[10] = {0x51, 0, 0, 0, 0, 0, 0, 0, 34, 0};
    uint8_t d[34] = {};
    Mmc(cdb, sizeof(cdb), true, d, sizeof(d), "READ DISC INFORMATION");
    info.m__BOOLEAN__IsValid = 1;
    info.m__BOOLEAN__IsErasable = (d[2] >> 4) & 1;
    info.m__UCHAR__LastSessionStatus = (d[2] >> 2) & 3;
    info.m__UCHAR__DiscStatus = d[2] & 3;
    info.m__UCHAR__FirstTrackNumber = d[3];
    info.m__UCHAR__NumberOfSessions = d[4];
    info.m__UCHAR__LastSessionFirstTrack = d[5];
    info.m__UCHAR__LastSessionLastTrack = d[6];
    info.m__BOOLEAN__IsDIDValid = (d[7] >> 7) & 1;
    info.m__BOOLEAN__IsDBCValid = (d[7] >> 6) & 1;
    info.m__UCHAR__DiscType = d[8];
    std::memcpy(info.m__UCHAR__DiscIdentification, d + 12, 4);
    std::memcpy(info.m__UCHAR__LastSessionLeadIn, d + 16, 4);
    std::memcpy(info.m__UCHAR__LastPossibleStartTime, d + 20, 4);
    std::memcpy(info.m__UCHAR__DiscBarCode, d + 24, 8);
    info.m__UCHAR__NumberOfOPCEntries = d[33];
}

void HostDrive::TrackInformation(uint32_t number, TRACK_INFORMATION& info) {
    std::memset(&info, 0, sizeof(info));
    uint8_t cdb[10] = {0x52, 1, 0, 0, 0, static_cast<uint8_t>(number & 0xFF), 0, 0, 36, 0};
    uint8_t d[36] = {};
    Mmc(cdb, sizeof(cdb), true, d, sizeof(d), "READ TRACK INFORMATION");
    info.m__BOOLEAN__IsValid = 1;
    info.m__UCHAR__TrackNumber = d[2];
    info.m__UCHAR__SessionNumber = d[3];
    info.m__BOOLEAN__IsDamage = (d[5] >> 5) & 1;
    info.m__BOOLEAN__IsCopy = (d[5] >> 4) & 1;
    info.m__UCHAR__TrackMode = d[5] & 0x0F;
    info.m__BOOLEAN__IsReserved = (d[6] >> 7) & 1;
    info.m__BOOLEAN__IsBlank = (d[6] >> 6) & 1;
    info.m__BOOLEAN__IsPacket = (d[6] >> 5) & 1;
    info.m__BOOLEAN__IsFixedPacket = (d[6] >> 4) & 1;
    info.m__UCHAR__DataMode = d[6] & 0x0F;
    info.m__BOOLEAN__IsNextWritableAddressValid = d[7] & 1;
    info.m__LONG__TrackStartAddress = Be32(d + 8);
    info.m__LONG__NextWritableAddress = Be32(d + 12);
    info.m__LONG__FreeLBs = Be32(d + 16);
    info.m__LONG__FixedPacketSizeInUCHARs = Be32(d + 20);
}

void HostDrive::RegionData(uint8_t rpc[5]) {
    // REPORT KEY, key format 8: the drive's region playback state.
    uint8_t cdb[12] = {0xA4, 0, 0, 0, 0, 0, 0, 0, 0, 8, 0, 0x08};
    uint8_t d[8] = {};
    Mmc(cdb, sizeof(cdb), true, d, sizeof(d), "REPORT KEY (RPC state)");
    rpc[0] = d[4] >> 6;
    rpc[1] = (d[4] >> 3) & 7;
    rpc[2] = d[4] & 7;
    rpc[3] = d[5];
    rpc[4] = d[6];
}

void HostDrive::Eject() {
    CloseParanoia();
    FLayoutRead = false;
    if (mmc_eject_media(P->Cdio) != DRIVER_OP_SUCCESS)
        throw SdkError(EN_SCSI_CDB_FAILED, "Cannot eject the disc of drive " + FName + " (" + FDevice + ")");
}

void HostDrive::Load(bool load) {
    FLayoutRead = false;
    uint8_t cdb[6] = {0x1B, 0, 0, 0, static_cast<uint8_t>(load ? 0x03 : 0x02), 0};
    Mmc(cdb, sizeof(cdb), false, nullptr, 0, load ? "LOAD" : "EJECT");
}

void HostDrive::ReadSectors(const TrackLayout& track, int32_t first, uint32_t count, bool raw, uint8_t* buffer) {
    if (first < 0 || static_cast<int64_t>(first) + count > track.Length())
        throw SdkError(EN_RANGE, "Sectors outside track " + std::to_string(track.Number));
    const lsn_t lsn = track.Start + first;
    auto failed = [&](const char* how) {
        throw SdkError(EN_GENERAL_READ_ERROR, std::string("Cannot read ") + how + " sectors " + std::to_string(lsn) +
                                                  " to " + std::to_string(lsn + count - 1) + " of drive " + FName +
                                                  " (" + FDevice + ")");
    };
    if (IsAudio(track.Mode) && !raw) {
        ReadAudio(lsn, count, buffer);
        return;
    }
    if (raw) {
        if (mmc_read_cd(P->Cdio, buffer, lsn, 0, false, true, 3, true, true, 0, 0, kRawSectorSize, count) !=
            DRIVER_OP_SUCCESS)
            failed("raw");
        return;
    }
    driver_return_code_t rc = track.Mode == TrackMode::Mode2_2352
                                  ? cdio_read_mode2_sectors(P->Cdio, buffer, lsn, false, count)
                                  : cdio_read_data_sectors(P->Cdio, buffer, lsn, kDataSectorSize, count);
    if (rc != DRIVER_OP_SUCCESS)
        failed("data");
}

void HostDrive::ReadAudio(int32_t lba, uint32_t count, uint8_t* buffer) {
    if (P->Paranoia == nullptr) {
        char* messages = nullptr;
        P->Cdda = cdio_cddap_identify_cdio(P->Cdio, CDDA_MESSAGE_FORGETIT, &messages);
        cdio_free(messages);
        if (P->Cdda == nullptr || cdio_cddap_open(P->Cdda) != 0) {
            CloseParanoia();
            throw SdkError(EN_UNSUPPORTED_READ_MODE, "Drive " + FName + " cannot read audio");
        }
        P->Paranoia = cdio_paranoia_init(P->Cdda);
        cdio_paranoia_modeset(P->Paranoia, PARANOIA_MODE_FULL ^ PARANOIA_MODE_NEVERSKIP);
    }
    if (P->NextAudioLba != lba) {
        cdio_paranoia_seek(P->Paranoia, lba, SEEK_SET);
        P->NextAudioLba = lba;
    }
    for (uint32_t i = 0; i < count; ++i) {
        int16_t* samples = cdio_paranoia_read(P->Paranoia, nullptr);
        if (samples == nullptr) {
            P->NextAudioLba = -1;
            throw SdkError(EN_GENERAL_READ_ERROR, "Cannot read audio sector " + std::to_string(lba + i) +
                                                      " of drive " + FName + " (" + FDevice + ")");
        }
        std::memcpy(buffer + static_cast<size_t>(i) * kRawSectorSize, samples, kRawSectorSize);
        ++P->NextAudioLba;
    }
}

}  // namespace kvsdk
