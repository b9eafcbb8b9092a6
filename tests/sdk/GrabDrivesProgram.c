/* A C program that uses the SDK the way any program would: it includes only
 * burnkit.h and links libkvburner16.so. With a drive map of an ISO and a
 * cue sheet (one data and two audio tracks) that it makes itself, it finds
 * the drives by name and through Burnkit_FindDevice, describes them, reads
 * their tables of contents and track information and grabs every track,
 * checking that the files hold the bytes of the source tracks.
 * Exit code 0 when everything holds, 1 otherwise. */
#define _POSIX_C_SOURCE 200809L
#include "burnkit.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

static int failures = 0;

#define CHECK(cond, ...)                                     \
    do {                                                     \
        if (!(cond)) {                                       \
            fprintf(stderr, "%s:%d: ", __FILE__, __LINE__); \
            fprintf(stderr, __VA_ARGS__);                    \
            fputc('\n', stderr);                             \
            ++failures;                                      \
        }                                                    \
    } while (0)

static char folder[256];

static void path_of(char* out, size_t size, const char* name) { snprintf(out, size, "%s/%s", folder, name); }

static unsigned char* pattern(size_t size, unsigned seed) {
    unsigned char* p = malloc(size);
    unsigned x = 2463534242u ^ (seed * 2654435761u);
    size_t i;
    for (i = 0; i < size; ++i) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        p[i] = (unsigned char)(x & 0xFF);
    }
    return p;
}

static void write_file(const char* name, const void* a, size_t na, const void* b, size_t nb) {
    char path[512];
    FILE* f;
    path_of(path, sizeof(path), name);
    f = fopen(path, "wb");
    if (f == NULL || fwrite(a, 1, na, f) != na || (nb > 0 && fwrite(b, 1, nb, f) != nb)) {
        fprintf(stderr, "cannot write %s\n", path);
        exit(1);
    }
    fclose(f);
}

static unsigned char* read_file(const char* path, size_t* size) {
    FILE* f = fopen(path, "rb");
    unsigned char* data;
    long n;
    if (f == NULL)
        return NULL;
    fseek(f, 0, SEEK_END);
    n = ftell(f);
    fseek(f, 0, SEEK_SET);
    data = malloc(n > 0 ? (size_t)n : 1);
    *size = fread(data, 1, (size_t)n, f);
    fclose(f);
    return data;
}

struct found_drives {
    int count;
    char names[16][32];
    SCSI_DEVICE_ADDRESS addresses[16];
};

static void BURNKIT_CALL on_found(uint32_t reason, void* context, void* param1, void* param2) {
    struct found_drives* found = context;
    if (reason != BURNKIT_CALLBACK_REASON_DEVICE_FOUND || found->count == 16)
        return;
    strncpy(found->names[found->count], param2, 31);
    found->names[found->count][31] = '\0';
    found->addresses[found->count] = *(SCSI_DEVICE_ADDRESS*)param1;
    ++found->count;
}

struct source_track {
    const unsigned char* bytes;
    size_t size;
    int audio;
};

/* Describes one drive and grabs every track; the tracks must match. */
static void check_drive(void* grabber, const char* name, const struct source_track* tracks, int count) {
    char text[BURNKIT_EXCEPTION_TEXT_SIZE];
    uint32_t status;
    CDB_FAILURE_INFORMATION cdb;
    char vendor[1024], product[1024], revision[1024];
    uint32_t buffer_size = 0;
    uint8_t f[10];
    DISC_INFORMATION disc;
    static TOC_INFORMATION toc;
    EXCEPTION_NUMBER r;
    int i;

    r = Burnkit_Grabber_GetDeviceInformation(grabber, vendor, product, revision, &buffer_size);
    CHECK(r == EN_SUCCESS && vendor[0] != '\0' && product[0] != '\0', "%s: device information %u", name, r);
    r = Burnkit_Grabber_GetSupportedMediaFormats(grabber, &f[0], &f[1], &f[2], &f[3], &f[4], &f[5], &f[6], &f[7],
                                                 &f[8], &f[9]);
    CHECK(r == EN_SUCCESS && f[0] == 1, "%s: media formats %u", name, r);
    r = Burnkit_Grabber_TestUnitReady(grabber, text, sizeof(text), &status, &cdb);
    CHECK(r == EN_SUCCESS, "%s: not ready: %s", name, text);
    CHECK(Burnkit_Grabber_GetInsertedDiscType(grabber) == DISC_TYPE_CDROM, "%s: disc type", name);
    r = Burnkit_Grabber_GetDiscInformation(grabber, text, sizeof(text), &status, &cdb, &disc);
    CHECK(r == EN_SUCCESS && disc.m__BOOLEAN__IsValid && disc.m__UCHAR__LastSessionLastTrack == count,
          "%s: disc information: %s", name, text);
    r = Burnkit_Grabber_GetTOCInformation(grabber, text, sizeof(text), &status, &cdb, &toc);
    CHECK(r == EN_SUCCESS && toc.m__UCHAR__NumberOfTracks == count, "%s: TOC: %s", name, text);

    for (i = 0; i < count && i < toc.m__UCHAR__NumberOfTracks; ++i) {
        const TOC_ENTRY* e = &toc.m__TOC_ENTRY[i];
        TRACK_INFORMATION info;
        char out[512];
        size_t size = 0, header = tracks[i].audio ? 44 : 0;
        unsigned char* bytes;
        long long blocks = (long long)e->m__LONG__EndingLBA - e->m__LONG__StartingLBA;

        CHECK(e->m__BOOLEAN__IsValid && e->m__UCHAR__TrackNumber == i + 1, "%s: TOC entry %d", name, i);
        CHECK(e->m__BOOLEAN__IsAudio == tracks[i].audio, "%s: track %d audio flag", name, i + 1);
        CHECK(blocks * (long long)e->m__ULONG__LBSizeInUCHARs == (long long)tracks[i].size,
              "%s: track %d size %lld blocks of %u", name, i + 1, blocks, e->m__ULONG__LBSizeInUCHARs);
        r = Burnkit_Grabber_GetTrackInformation(grabber, text, sizeof(text), &status, &cdb, (uint32_t)(i + 1), &info);
        CHECK(r == EN_SUCCESS && info.m__BOOLEAN__IsValid && info.m__UCHAR__TrackNumber == i + 1 &&
                  info.m__LONG__TrackStartAddress == e->m__LONG__StartingLBA,
              "%s: track information %d: %s", name, i + 1, text);

        snprintf(out, sizeof(out), "%s/%s-track%d.%s", folder, name, i + 1, tracks[i].audio ? "wav" : "iso");
        r = Burnkit_Grabber_GrabTrack(grabber, text, sizeof(text), &status, &cdb, (uint8_t)(i + 1), out, 1, 1, 0, 1);
        CHECK(r == EN_SUCCESS, "%s: grab of track %d: %u %s", name, i + 1, r, text);
        bytes = read_file(out, &size);
        CHECK(bytes != NULL && size == header + tracks[i].size &&
                  memcmp(bytes + header, tracks[i].bytes, tracks[i].size) == 0,
              "%s: track %d file differs from the source (%lu bytes)", name, i + 1, (unsigned long)size);
        if (tracks[i].audio)
            CHECK(bytes != NULL && size > 44 && memcmp(bytes, "RIFF", 4) == 0 && memcmp(bytes + 8, "WAVE", 4) == 0,
                  "%s: track %d is no WAV file", name, i + 1);
        free(bytes);
        unlink(out);
    }
}

int main(void) {
    const size_t iso_size = 50 * 2048, data_size = 30 * 2048, audio2_size = 75 * 2352, gap_size = 15 * 2352,
                 audio3_size = 45 * 2352;
    unsigned char *iso = pattern(iso_size, 1), *data = pattern(data_size, 2), *audio2 = pattern(audio2_size, 3),
                  *gap = pattern(gap_size, 4), *audio3 = pattern(audio3_size, 5);
    unsigned char* audio = malloc(audio2_size + gap_size);
    const char* cue =
        "FILE \"data.bin\" BINARY\n  TRACK 01 MODE1/2048\n    INDEX 01 00:00:00\n"
        "FILE \"audio.bin\" BINARY\n  TRACK 02 AUDIO\n    INDEX 01 00:00:00\n"
        "  TRACK 03 AUDIO\n    INDEX 00 00:01:00\n    INDEX 01 00:01:15\n";
    char map[1024], path[512];
    struct found_drives found;
    struct source_track iso_tracks[1], cue_tracks[3];
    char text[BURNKIT_EXCEPTION_TEXT_SIZE];
    uint32_t status;
    CDB_FAILURE_INFORMATION cdb;
    int i, d;

    strcpy(folder, "/tmp/kvsdk-c-XXXXXX");
    if (mkdtemp(folder) == NULL)
        return 1;
    setenv("KORVANTA_SYSTEM_DIR", folder, 1);
    setenv("KORVANTA_USER_DIR", folder, 1);

    memcpy(audio, audio2, audio2_size);
    memcpy(audio + audio2_size, gap, gap_size);
    write_file("disc.iso", iso, iso_size, NULL, 0);
    write_file("data.bin", data, data_size, NULL, 0);
    write_file("audio.bin", audio, audio2_size + gap_size, audio3, audio3_size);
    write_file("mixed.cue", cue, strlen(cue), NULL, 0);
    snprintf(map, sizeof(map), "# made by the test\nCdRom0=%s/disc.iso\nCdRom1=%s/mixed.cue\n", folder, folder);
    write_file("drives.conf", map, strlen(map), NULL, 0);

    iso_tracks[0].bytes = iso;
    iso_tracks[0].size = iso_size;
    iso_tracks[0].audio = 0;
    cue_tracks[0].bytes = data;
    cue_tracks[0].size = data_size;
    cue_tracks[0].audio = 0;
    cue_tracks[1].bytes = audio2;
    cue_tracks[1].size = audio2_size;
    cue_tracks[1].audio = 1;
    cue_tracks[2].bytes = audio3;
    cue_tracks[2].size = audio3_size;
    cue_tracks[2].audio = 1;

    CHECK(Burnkit_UpStartEx("test", 4) == EN_SUCCESS, "start-up");
    memset(&found, 0, sizeof(found));
    CHECK(Burnkit_FindDevice(5, 0, on_found, &found) == EN_SUCCESS, "FindDevice");
    for (d = 0; d < 2; ++d) {
        char name[16];
        int index = -1;
        void* grabber = NULL;
        snprintf(name, sizeof(name), "CdRom%d", d);
        for (i = 0; i < found.count; ++i)
            if (strcmp(found.names[i], name) == 0)
                index = i;
        CHECK(index >= 0, "%s not found by Burnkit_FindDevice", name);
        if (index < 0)
            continue;

        /* By name. */
        CHECK(Burnkit_Grabber_CreateEx(&grabber, text, sizeof(text), &status, &cdb, NULL, NULL, name, 1) == EN_SUCCESS,
              "%s: open by name: %s", name, text);
        if (grabber != NULL) {
            check_drive(grabber, name, d == 0 ? iso_tracks : cue_tracks, d == 0 ? 1 : 3);
            CHECK(Burnkit_Destroy(&grabber) == EN_SUCCESS && grabber == NULL, "%s: destroy", name);
        }

        /* By the address that the search reported. */
        {
            const SCSI_DEVICE_ADDRESS* a = &found.addresses[index];
            CHECK(a->m__BOOLEAN__IsValid, "%s: address not valid", name);
            CHECK(Burnkit_Grabber_Create(&grabber, text, sizeof(text), &status, &cdb, NULL, NULL, a->m__UCHAR__PortID,
                                         a->m__UCHAR__BusID, a->m__UCHAR__TargetID, a->m__UCHAR__LUN,
                                         1) == EN_SUCCESS,
                  "%s: open by address: %s", name, text);
            if (grabber != NULL) {
                check_drive(grabber, name, d == 0 ? iso_tracks : cue_tracks, d == 0 ? 1 : 3);
                Burnkit_Destroy(&grabber);
            }
        }
    }

    for (i = 0; i < 5; ++i) {
        static const char* const names[] = {"disc.iso", "data.bin", "audio.bin", "mixed.cue", "drives.conf"};
        path_of(path, sizeof(path), names[i]);
        unlink(path);
    }
    path_of(path, sizeof(path), "dosdevices.conf");
    unlink(path);
    {
        char command[600];
        snprintf(command, sizeof(command), "rm -rf '%s'", folder);
        if (system(command) != 0)
            fprintf(stderr, "cannot remove %s\n", folder);
    }
    free(iso);
    free(data);
    free(audio2);
    free(gap);
    free(audio3);
    free(audio);
    if (failures == 0)
        printf("all drives found, described and grabbed\n");
    return failures == 0 ? 0 : 1;
}
