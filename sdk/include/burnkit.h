/*
 * burnkit.h: the disc SDK (libkvburner16.so).
 *
 * Drives, reading discs into image files, virtual DVD devices, ISO9660/Joliet
 * file trees, burning and audio compression, behind one C interface.
 *
 * Conventions
 * -----------
 * - Every function that reports an outcome returns an EXCEPTION_NUMBER:
 *   EN_SUCCESS (0) on success, one of the EN_* codes below on failure.
 * - Handles are opaque pointers. Creating functions take the address of the
 *   caller's handle variable and store the new handle there; Burnkit_Destroy
 *   takes the address of the handle variable, closes the object and sets the
 *   variable to NULL. Burnkit_UDF2_VolumeDestroy takes the handle itself.
 * - The error block. Most grabber functions take, after the handle:
 *     char*                    ExceptionText  a caller buffer (normally 1024
 *                                             bytes) that receives a
 *                                             zero-terminated error text;
 *     ULONG                    ExceptionTextSize  its size in bytes;
 *     ULONG*                   SystemError    receives the system error
 *                                             (an errno value, 0 when none);
 *     CDB_FAILURE_INFORMATION* CDBFailureInformation  details of a failed
 *                                             SCSI command (IsValid 0 when
 *                                             the failure was no SCSI command).
 *   The "short error block" is the first three of these. On success the text
 *   is emptied and the system error set to 0. On failure the text names the
 *   object and the reason, for example
 *     "Cannot open image /x/disc.iso: No such file or directory".
 *   The text is cut to fit the buffer and always zero-terminated. Any of the
 *   pointers may be NULL when the caller does not want that part.
 * - Virtual-device (VPort) functions end with the address of the system
 *   error alone.
 * - 8-bit texts are zero-terminated, in the system code page (UTF-8).
 * - Calls are synchronous; callbacks run inside the call, on the calling
 *   thread. A handle is used by one thread at a time.
 * - The calling convention marker BURNKIT_CALL is empty on this platform.
 */
#ifndef BURNKIT_H
#define BURNKIT_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
#define BURNKIT_STATIC_ASSERT(cond, msg) static_assert(cond, msg)
extern "C" {
#else
#define BURNKIT_STATIC_ASSERT(cond, msg) _Static_assert(cond, msg)
#endif

#define BURNKIT_CALL
#define BURNKIT_API __attribute__((visibility("default")))

/* A UTF-16 code unit: char16_t in C++, a 16-bit number in C. */
#ifdef __cplusplus
typedef char16_t BURNKIT_WCHAR;
#else
typedef uint16_t BURNKIT_WCHAR;
#endif

/* Size of the error-text buffer that callers pass. */
#define BURNKIT_EXCEPTION_TEXT_SIZE 1024

/* ------------------------------------------------------------------------ */
/* Enumerations (stored in 32 bits, unsigned)                               */
/* ------------------------------------------------------------------------ */

/* Result of the SDK functions. */
typedef uint32_t EXCEPTION_NUMBER;
enum {
    EN_SUCCESS = 0,
    EN_FAILURE = 1,                     /* general failure */
    EN_INVALID_INPUT_PARAMETER = 2,     /* NULL handle, bad argument, unknown track */
    EN_INVALID_STATE = 3,               /* call not possible in this state */
    EN_MEMORY_ALLOCATION_FAILED = 4,
    EN_SYSTEM_CALL_FAILED = 5,          /* a system call failed; SystemError holds errno */
    EN_SCSI_TRANSPORT_FAILED = 6,
    EN_SCSI_DEVICE_BUSY = 7,
    EN_SCSI_CDB_FAILED = 8,             /* the drive refused the command (no disc, no TOC) */
    EN_SCSI_DEVICE_INVALID_TYPE = 9,
    EN_INVALID_RESPONSE = 10,
    EN_BUFFER_UNDERRUN = 11,
    EN_INVALID_EXCEPTION = 12,
    EN_ACCESS_TO_FEATURE_DENIED = 13,
    EN_USER_EXCEPTION = 14,
    EN_PATH_TOO_LONG = 15,
    EN_UNDER_CONSTRUCTION = 16,
    EN_NOT_FOUND = 17,                  /* no such drive, file, device or track */
    EN_FILE_TOO_BIG = 18,
    EN_NOT_IMPLEMENTED = 19,            /* not available in this build or for this drive */
    EN_RANGE = 20,
    EN_REGISTRATION_FAILED = 21,
    EN_UNSUPPORTED_AUDIO = 22,
    EN_BUFFER_TOO_SMALL = 23,
    EN_SYSTEM_CALL_FAILED_EX = 24,
    EN_ERROR_RECOVERY_FAILED = 25,
    EN_UNRECOGNIZED_MEDIA = 26,         /* an image or disc that cannot be understood */
    EN_GENERAL_SEEK_ERROR = 27,
    EN_GENERAL_READ_ERROR = 28,         /* a sector could not be read (short read, I/O error) */
    EN_ILLEGAL_OPERATION_FOR_TRACK = 29,
    EN_UNSUPPORTED_READ_MODE = 30,
    EN_REQUEST_TOO_LARGE = 31,
    EN_FULL_ERASE_REQUIRED = 32,
    EN_VERIFY_FAILED = 33,
    EN_DPM_FAILED = 34,
    EN_DEVICE_SHARING_VIOLATION = 35,
    EN_CALL_IS_OBSOLETE = 36
};

/* Kind of the inserted disc. */
typedef uint32_t DISC_TYPE;
enum {
    DISC_TYPE_UNKNOWN = 0,
    DISC_TYPE_CDROM = 1,
    DISC_TYPE_CDR = 2,
    DISC_TYPE_CDRW = 3,
    DISC_TYPE_DVDROM = 4,
    DISC_TYPE_DVDR = 5,
    DISC_TYPE_DVDRAM = 6,
    DISC_TYPE_DVDRWRO = 7,
    DISC_TYPE_DVDRWSR = 8,
    DISC_TYPE_DVDPLUSRW = 9,
    DISC_TYPE_DDCDROM = 10,
    DISC_TYPE_DDCDR = 11,
    DISC_TYPE_DDCDRW = 12,
    DISC_TYPE_DVDPLUSR = 13,
    DISC_TYPE_NO_MEDIA = 14,
    DISC_TYPE_DVDPLUSR_DL = 15,
    DISC_TYPE_BDROM = 16,
    DISC_TYPE_DVDR_DL = 17,
    DISC_TYPE_BDR = 18,
    DISC_TYPE_BDRE = 19,
    DISC_TYPE_HDDVDROM = 20,
    DISC_TYPE_HDDVDR = 21,
    DISC_TYPE_HDDVDRW = 22
};

/* Kind of a virtual device. Image drives are DVD devices. */
typedef uint32_t VPORT_DEVICE_TYPE;
enum {
    VPORT_DEVICE_TYPE_UNKNOWN = 0,
    VPORT_DEVICE_TYPE_RAM = 1,
    VPORT_DEVICE_TYPE_HDD = 2,
    VPORT_DEVICE_TYPE_DVD = 3,
    VPORT_DEVICE_TYPE_AOE = 4,
    VPORT_DEVICE_TYPE_ISCSI = 5
};

/* Audio compression setting of Burnkit_Wave_UncompressedFileCompress. */
typedef int32_t BURNKIT_WAVE_COMPRESSION;
enum {
    BURNKIT_WAVE_COMPRESSION_FLAC = 0,  /* lossless FLAC */
    BURNKIT_WAVE_COMPRESSION_OGG = 1    /* Ogg Vorbis */
};

/* Erase types of Burnkit_Grabber_Blank. */
enum {
    ERASE_TYPE_BLANK_DISC_FULL = 0,
    ERASE_TYPE_BLANK_DISC_FAST = 1
};

/* Track number that stands for the invisible (next writable) track. */
#define TRACK_NUMBER_INVISIBLE 255

/* ------------------------------------------------------------------------ */
/* Records: byte-packed, little-endian                                      */
/* ------------------------------------------------------------------------ */

#pragma pack(push, 1)

/* Address of a drive on a host adapter. Every drive of the SDK has one:
 * PortID 1, BusID 0, TargetID = the drive number N of "CdRomN", LUN 0. */
typedef struct SCSI_DEVICE_ADDRESS {
    uint8_t m__BOOLEAN__IsValid;
    uint8_t m__UCHAR__PortID;
    uint8_t m__UCHAR__BusID;
    uint8_t m__UCHAR__TargetID;
    uint8_t m__UCHAR__LUN;
} SCSI_DEVICE_ADDRESS;

/* Disc information. DiscStatus: 0 empty, 1 incomplete (appendable),
 * 2 complete (closed); LastSessionStatus likewise. */
typedef struct DISC_INFORMATION {
    uint8_t m__BOOLEAN__IsValid;
    uint8_t m__UCHAR__DiscStatus;
    uint8_t m__UCHAR__LastSessionStatus;
    uint8_t m__BOOLEAN__IsErasable;
    uint8_t m__UCHAR__FirstTrackNumber;
    uint8_t m__UCHAR__NumberOfSessions;
    uint8_t m__UCHAR__LastSessionFirstTrack;
    uint8_t m__UCHAR__LastSessionLastTrack;
    uint8_t m__BOOLEAN__IsGEN;
    uint8_t m__BOOLEAN__IsDBCValid;
    uint8_t m__BOOLEAN__IsDIDValid;
    uint8_t m__UCHAR__DiscType;             /* 0x00 CD-DA/CD-ROM, 0x10 CD-I, 0x20 CD-ROM XA */
    uint8_t m__UCHAR__DiscIdentification[4];
    uint8_t m__UCHAR__LastSessionLeadIn[4];
    uint8_t m__UCHAR__LastPossibleStartTime[4];
    uint8_t m__UCHAR__DiscBarCode[8];
    uint8_t m__UCHAR__NumberOfOPCEntries;
} DISC_INFORMATION;

/* Information on one track. TrackMode: 4 data, 0 audio (the control
 * nibble of the table of contents); DataMode: 1 MODE1, 2 MODE2, 0x0F
 * unknown. Addresses are logical block addresses (LBA). */
typedef struct TRACK_INFORMATION {
    uint8_t m__BOOLEAN__IsValid;
    uint8_t m__UCHAR__TrackNumber;
    uint8_t m__UCHAR__SessionNumber;
    uint8_t m__UCHAR__TrackMode;
    uint8_t m__BOOLEAN__IsCopy;
    uint8_t m__BOOLEAN__IsDamage;
    uint8_t m__UCHAR__DataMode;
    uint8_t m__BOOLEAN__IsFixedPacket;
    uint8_t m__BOOLEAN__IsPacket;
    uint8_t m__BOOLEAN__IsBlank;
    uint8_t m__BOOLEAN__IsReserved;
    uint8_t m__BOOLEAN__IsNextWritableAddressValid;
    int32_t m__LONG__TrackStartAddress;
    int32_t m__LONG__NextWritableAddress;
    int32_t m__LONG__FreeLBs;
    int32_t m__LONG__FixedPacketSizeInUCHARs;
} TRACK_INFORMATION;

/* One track of the table of contents. EndingLBA is the first block after
 * the track (so EndingLBA - StartingLBA is the track's length in blocks;
 * a following track's pregap is not part of it). MSF values are absolute
 * (LBA + 150 frames). TrackMode: 0 audio, 1 MODE1, 2 MODE2; MODE2Form:
 * 0 formless, 1 form 1, 2 form 2. LBSizeInUCHARs: bytes of one block as
 * grabbed: 2048 for MODE1 and MODE2 form 1 data, 2336 for formless MODE2,
 * 2352 for audio. Index00: LBA of the track's pregap (INDEX 00), or the
 * StartingLBA when it has none. */
typedef struct TOC_ENTRY {
    uint8_t m__BOOLEAN__IsValid;
    uint8_t m__UCHAR__TrackNumber;
    uint8_t m__UCHAR__SessionNumber;
    int32_t m__LONG__StartingLBA;
    uint8_t m__UCHAR__StartingMSF[3];
    int32_t m__LONG__EndingLBA;
    uint8_t m__UCHAR__EndingMSF[3];
    uint8_t m__BOOLEAN__IsMCNAvailable;
    uint8_t m__BOOLEAN__IsISRCAvailable;
    uint8_t m__BOOLEAN__IsFourChannelsAudio;
    uint8_t m__BOOLEAN__IsPreEmphasisAudio;
    uint8_t m__BOOLEAN__IsData;
    uint8_t m__BOOLEAN__IsAudio;
    uint8_t m__BOOLEAN__IsDigitalCopyProhibited;
    uint8_t m__UCHAR__TrackMode;
    uint8_t m__UCHAR__MODE2Form;
    uint32_t m__ULONG__LBSizeInUCHARs;
    int32_t m__LONG__Index00;
} TOC_ENTRY;

/* The table of contents. Entry i (0-based) describes track position i + 1;
 * m__TOC_ENTRY[NumberOfTracks] and later entries are zero. The raw areas
 * hold the READ TOC format 2 answer (four header bytes, then 11-byte
 * descriptors) when the drive gives one, zeros otherwise. */
typedef struct TOC_INFORMATION {
    uint8_t m__BOOLEAN__IsValid;
    uint8_t m__BOOLEAN__IsDVD;
    uint16_t m__USHORT__ProtectedDVDRegions;
    uint8_t m__UCHAR__BusKeyForDiscKey[5];
    uint8_t m__UCHAR__NumberOfSessions;
    uint8_t m__UCHAR__NumberOfTracks;
    uint8_t m__UCHAR__NumberOfUnsortedEntries;
    TOC_ENTRY m__TOC_ENTRY[100];
    uint8_t m__FULL_TOC_ENTRY_RAW[5213];
    uint8_t m__FULL_TOC_ENTRY_RAW__Unsorted[5213];
} TOC_INFORMATION;

/* Details of a failed SCSI command. */
typedef struct CDB_FAILURE_INFORMATION {
    uint8_t m__BOOLEAN__IsValid;
    uint8_t m__UCHAR__CDBSizeInUCHARs;
    uint8_t m__UCHAR__CDB[16];
    uint8_t m__UCHAR__SenseSizeInUCHARs;
    uint8_t m__UCHAR__Sense[32];
    uint8_t m__UCHAR__TransportStatus;
    uint8_t m__UCHAR__TargetStatus;
    uint8_t m__UCHAR__HostAdapterStatus;
} CDB_FAILURE_INFORMATION;

/* One device of the virtual-device driver's list. */
typedef struct VPORT_DEVICE_LIST_ENTRY {
    int32_t m__LONG__Index;       /* 1-based position in the list */
    int32_t m__LONG__TargetId;    /* the device's handle for every VPort call */
    char m__CHAR__Name[1024];     /* the device's name, zero-terminated */
} VPORT_DEVICE_LIST_ENTRY;

/* Size of the device-list buffer of Burnkit_VPort_DeviceListQueryLocal:
 * a 32-bit count, then VPORT_DEVICE_LIST_ENTRY records (at most 15). */
#define BURNKIT_VPORT_DEVICE_LIST_SIZE 16384

/* One track of a disc-at-once layout: nine bytes of settings, then the
 * zero-terminated path of the track's source file. */
typedef struct DAO_DISC_LAYOUT_ENTRY {
    uint8_t m__UCHAR__Settings[9];
    char m__CHAR__FileName[787];
} DAO_DISC_LAYOUT_ENTRY;

typedef struct DAO_DISC_LAYOUT {
    int32_t m__LONG__NumberOfEntries;
    DAO_DISC_LAYOUT_ENTRY m__DAO_DISC_LAYOUT_ENTRY[100];
} DAO_DISC_LAYOUT;

#pragma pack(pop)

BURNKIT_STATIC_ASSERT(sizeof(SCSI_DEVICE_ADDRESS) == 5, "SCSI_DEVICE_ADDRESS is 5 bytes");
BURNKIT_STATIC_ASSERT(sizeof(DISC_INFORMATION) == 33, "DISC_INFORMATION is 33 bytes");
BURNKIT_STATIC_ASSERT(sizeof(TRACK_INFORMATION) == 28, "TRACK_INFORMATION is 28 bytes");
BURNKIT_STATIC_ASSERT(sizeof(TOC_ENTRY) == 34, "TOC_ENTRY is 34 bytes");
BURNKIT_STATIC_ASSERT(sizeof(TOC_INFORMATION) == 13838, "TOC_INFORMATION is 13838 bytes");
BURNKIT_STATIC_ASSERT(sizeof(CDB_FAILURE_INFORMATION) == 54, "CDB_FAILURE_INFORMATION is 54 bytes");
BURNKIT_STATIC_ASSERT(sizeof(VPORT_DEVICE_LIST_ENTRY) == 1032, "VPORT_DEVICE_LIST_ENTRY is 1032 bytes");
BURNKIT_STATIC_ASSERT(sizeof(DAO_DISC_LAYOUT_ENTRY) == 796, "DAO_DISC_LAYOUT_ENTRY is 796 bytes");
BURNKIT_STATIC_ASSERT(sizeof(DAO_DISC_LAYOUT) == 79604, "DAO_DISC_LAYOUT is 79604 bytes");
BURNKIT_STATIC_ASSERT(offsetof(TOC_ENTRY, m__LONG__StartingLBA) == 3, "TOC_ENTRY layout");
BURNKIT_STATIC_ASSERT(offsetof(TOC_ENTRY, m__LONG__Index00) == 30, "TOC_ENTRY layout");
BURNKIT_STATIC_ASSERT(offsetof(TOC_INFORMATION, m__FULL_TOC_ENTRY_RAW) == 3412, "TOC_INFORMATION layout");
BURNKIT_STATIC_ASSERT(offsetof(TOC_INFORMATION, m__FULL_TOC_ENTRY_RAW__Unsorted) == 8625, "TOC_INFORMATION layout");

/* Session layout of Burnkit_Grabber_SessionAtOnce: a 32-bit entry count,
 * then entries of 287 bytes from offset 4; entry i holds a zero-terminated
 * file name at entry offset 15 (at most 264 bytes with its zero) and a
 * file-tree handle (pointer-sized) at entry offset 279. */
#define BURNKIT_SESSION_LAYOUT_SIZE 29108
#define BURNKIT_SESSION_LAYOUT_ENTRY_SIZE 287
#define BURNKIT_SESSION_LAYOUT_NAME_OFFSET 15
#define BURNKIT_SESSION_LAYOUT_TREE_OFFSET 279
#define BURNKIT_SESSION_LAYOUT_MAX_ENTRIES 101

/* ------------------------------------------------------------------------ */
/* Callbacks                                                                */
/* ------------------------------------------------------------------------ */

/*
 * The general callback: reason, the context given when the object was
 * created, and two pointer-sized parameters. Reasons:
 *    0  file-tree node added:   Param1 name (char*), Param2 node;
 *                               Context the file tree's context
 *    1  file-tree node removed: as 0
 *    2  name ignored by the tree: as 0
 *    3  name collision:         Param1 the collision record (below)
 *   10  drive found by Burnkit_FindDevice: Param1 SCSI_DEVICE_ADDRESS*,
 *       Param2 the device name ("CdRom0", char*); Context as given
 *   11  progress of a grab:     Param1 int64_t* total, Param2 int64_t* done
 *                               (bytes); reported at least at every whole
 *                               percent, first with done 0, last with
 *                               done == total
 *   12  progress of a write:    as 11
 *   13  buffer state:           Param1 uint32_t* buffer size, Param2
 *                               uint32_t* free amount (bytes)
 * The parameters point at values that live only during the call.
 *
 * The name-collision record of reason 3 is NAME_COLLISION_INFORMATION,
 * described with the file-tree functions.
 */
typedef void(BURNKIT_CALL* BURNKIT_CALLBACK)(uint32_t Reason, void* Context, void* Param1, void* Param2);

enum {
    BURNKIT_CALLBACK_REASON_NODE_ADDED = 0,
    BURNKIT_CALLBACK_REASON_NODE_REMOVED = 1,
    BURNKIT_CALLBACK_REASON_NAME_IGNORED = 2,
    BURNKIT_CALLBACK_REASON_NAME_COLLISION = 3,
    BURNKIT_CALLBACK_REASON_DEVICE_FOUND = 10,
    BURNKIT_CALLBACK_REASON_GRAB_PROGRESS = 11,
    BURNKIT_CALLBACK_REASON_WRITE_PROGRESS = 12,
    BURNKIT_CALLBACK_REASON_BUFFER_STATE = 13
};

/*
 * The audio-compression callback: reason, a value, and the context given
 * to Burnkit_Wave_UncompressedFileCompress. Reason 1: Value is the share of
 * the source already compressed, in percent (0..100), reported at every
 * whole percent. The result is ignored (return 0).
 */
typedef int32_t(BURNKIT_CALL* BURNKIT_WAVE_CALLBACK)(uint32_t Reason, int32_t Value, void* Context);

enum { BURNKIT_WAVE_CALLBACK_REASON_PROGRESS = 1 };

/* ------------------------------------------------------------------------ */
/* SDK start-up and common functions                                        */
/* ------------------------------------------------------------------------ */

/* Starts the SDK: sets up logging, re-attaches persistent virtual devices.
 * StartupText is the caller's licence text (any text is accepted);
 * Options is a reserved number (4). May be called more than once. */
BURNKIT_API EXCEPTION_NUMBER BURNKIT_CALL Burnkit_UpStartEx(const char* StartupText, uint32_t Options);

/* Closes any SDK object (grabber or file tree) and sets *Handle to NULL.
 * A NULL Handle or *Handle gives EN_INVALID_INPUT_PARAMETER. */
BURNKIT_API EXCEPTION_NUMBER BURNKIT_CALL Burnkit_Destroy(void** Handle);

/* Enumerates the drives: for each one calls Callback with reason 10, the
 * drive's SCSI_DEVICE_ADDRESS and its device name ("CdRom0"). DeviceTypes
 * is a mask (1 CD, 4 DVD; 5 all optical drives; 0 is taken as 5), Flags is
 * reserved (0). Drives come from the host's optical drives, from the drive
 * map drives.conf in the system folder and from the virtual devices. */
BURNKIT_API EXCEPTION_NUMBER BURNKIT_CALL Burnkit_FindDevice(uint32_t DeviceTypes, uint32_t Flags,
                                                             BURNKIT_CALLBACK Callback, void* Context);

/* The drive at the address as a path of its drive letter, "\\.\E:", in a
 * caller buffer of at least 1024 bytes. EN_NOT_FOUND when no drive has this
 * address or the drive has no letter (the buffer is then emptied). */
BURNKIT_API EXCEPTION_NUMBER BURNKIT_CALL Burnkit_GetDeviceNameByDeviceAddress(uint8_t PortID, uint8_t BusID,
                                                                               uint8_t TargetID, uint8_t LUN,
                                                                               char* DeviceName);

/* Process-wide: when set (nonzero) the table of contents is read from the
 * drive's TOC alone; when clear the SDK also reads each track's
 * information. Both give the same answer on well-formed discs. */
BURNKIT_API void BURNKIT_CALL Burnkit_SetFastReadTOC(uint8_t IsFast);
BURNKIT_API uint8_t BURNKIT_CALL Burnkit_GetFastReadTOC(void);

/* Compresses the WAV file SourceFile (44.1 kHz, 16-bit, stereo PCM) into
 * TargetFile: Compression 0 writes FLAC, 1 writes Ogg Vorbis.
 * BytesPerSecond is the source rate (176400). Progress through Callback,
 * reason 1. On failure the partial target is removed. Results:
 * EN_NOT_FOUND (no source), EN_UNSUPPORTED_AUDIO (not such a WAV),
 * EN_INVALID_INPUT_PARAMETER (unknown compression), EN_SYSTEM_CALL_FAILED
 * (cannot write the target). */
BURNKIT_API EXCEPTION_NUMBER BURNKIT_CALL Burnkit_Wave_UncompressedFileCompress(const char* SourceFile,
                                                                               const char* TargetFile,
                                                                               uint32_t BytesPerSecond,
                                                                               BURNKIT_WAVE_CALLBACK Callback,
                                                                               void* Context,
                                                                               BURNKIT_WAVE_COMPRESSION Compression);

/* ------------------------------------------------------------------------ */
/* Grabber: one open drive                                                  */
/* ------------------------------------------------------------------------ */

/* Opens a drive by address (Burnkit_Grabber_Create), by device name
 * ("CdRom0", Burnkit_Grabber_CreateEx) or by UTF-16 device name
 * (Burnkit_Grabber_CreateExEx). Callback and Context (both may be NULL)
 * receive the progress reports of the grabber's operations. IsProbe
 * (and Reserved) are settings the SDK accepts and ignores. Results:
 * EN_NOT_FOUND when no drive has this name or address, EN_UNRECOGNIZED_MEDIA
 * or EN_SYSTEM_CALL_FAILED when the drive's backing cannot be opened. The
 * grabber is closed with Burnkit_Destroy. */
BURNKIT_API EXCEPTION_NUMBER BURNKIT_CALL Burnkit_Grabber_Create(void** Grabber, char* ExceptionText,
                                                                 uint32_t ExceptionTextSize, uint32_t* SystemError,
                                                                 CDB_FAILURE_INFORMATION* CDBFailureInformation,
                                                                 BURNKIT_CALLBACK Callback, void* Context,
                                                                 uint8_t PortID, uint8_t BusID, uint8_t TargetID,
                                                                 uint8_t LUN, uint8_t IsProbe);
BURNKIT_API EXCEPTION_NUMBER BURNKIT_CALL Burnkit_Grabber_CreateEx(void** Grabber, char* ExceptionText,
                                                                   uint32_t ExceptionTextSize, uint32_t* SystemError,
                                                                   CDB_FAILURE_INFORMATION* CDBFailureInformation,
                                                                   BURNKIT_CALLBACK Callback, void* Context,
                                                                   const char* DeviceName, uint8_t IsProbe);
BURNKIT_API EXCEPTION_NUMBER BURNKIT_CALL Burnkit_Grabber_CreateExEx(void** Grabber, char* ExceptionText,
                                                                     uint32_t ExceptionTextSize, uint32_t* SystemError,
                                                                     CDB_FAILURE_INFORMATION* CDBFailureInformation,
                                                                     BURNKIT_CALLBACK Callback, void* Context,
                                                                     const BURNKIT_WCHAR* DeviceName, uint8_t IsProbe,
                                                                     uint8_t Reserved);

/* Ends the grabber's use of the drive (unlocks the tray). The grabber
 * stays open. */
BURNKIT_API EXCEPTION_NUMBER BURNKIT_CALL Burnkit_Grabber_Release(void* Grabber, char* ExceptionText,
                                                                  uint32_t ExceptionTextSize, uint32_t* SystemError,
                                                                  CDB_FAILURE_INFORMATION* CDBFailureInformation);

/* Vendor, product and revision (buffers of at least 1024 bytes each) and
 * the drive's buffer size in bytes. */
BURNKIT_API EXCEPTION_NUMBER BURNKIT_CALL Burnkit_Grabber_GetDeviceInformation(void* Grabber, char* VendorID,
                                                                               char* ProductID,
                                                                               char* ProductRevisionLevel,
                                                                               uint32_t* BufferSize);

/* Media the drive reads and writes: one BOOLEAN each. */
BURNKIT_API EXCEPTION_NUMBER BURNKIT_CALL Burnkit_Grabber_GetSupportedMediaFormats(
    void* Grabber, uint8_t* IsCDRRead, uint8_t* IsCDERead, uint8_t* IsDVDROMRead, uint8_t* IsDVDRRead,
    uint8_t* IsDVDRAMRead, uint8_t* IsTestWrite, uint8_t* IsCDRWrite, uint8_t* IsCDEWrite, uint8_t* IsDVDRWrite,
    uint8_t* IsDVDRAMWrite);
BURNKIT_API EXCEPTION_NUMBER BURNKIT_CALL Burnkit_Grabber_GetSupportedMediaFormatsExEx(
    void* Grabber, uint8_t* IsDVDPLUSRWRead, uint8_t* IsDVDPLUSRRead, uint8_t* IsDVDPLUSRDLRead,
    uint8_t* IsDVDPLUSRWWrite, uint8_t* IsDVDPLUSRWrite, uint8_t* IsDVDPLUSRDLWrite);

/* Write modes and read modes the drive supports. */
BURNKIT_API EXCEPTION_NUMBER BURNKIT_CALL Burnkit_Grabber_ProbeSupportedWriteModes(
    void* Grabber, char* ExceptionText, uint32_t ExceptionTextSize, uint32_t* SystemError,
    CDB_FAILURE_INFORMATION* CDBFailureInformation, uint8_t* IsTrackAtOnce, uint8_t* IsSessionAtOnce,
    uint8_t* IsDiscAtOncePQ, uint8_t* IsDiscAtOnceRawPW);
BURNKIT_API EXCEPTION_NUMBER BURNKIT_CALL Burnkit_Grabber_ProbeSupportedReadModes(
    void* Grabber, char* ExceptionText, uint32_t ExceptionTextSize, uint32_t* SystemError,
    CDB_FAILURE_INFORMATION* CDBFailureInformation, uint8_t* IsCooked, uint8_t* IsRaw, uint8_t* IsRawPQ,
    uint8_t* IsRawRawPW, uint8_t* IsPQ, uint8_t* IsRawPW);

/* EN_SUCCESS when a disc is present and ready; EN_SCSI_CDB_FAILED when
 * there is no disc. */
BURNKIT_API EXCEPTION_NUMBER BURNKIT_CALL Burnkit_Grabber_TestUnitReady(void* Grabber, char* ExceptionText,
                                                                        uint32_t ExceptionTextSize,
                                                                        uint32_t* SystemError,
                                                                        CDB_FAILURE_INFORMATION* CDBFailureInformation);

/* The kind of the inserted disc (DISC_TYPE_NO_MEDIA without one); not an
 * EXCEPTION_NUMBER. DISC_TYPE_UNKNOWN for a NULL grabber. */
BURNKIT_API DISC_TYPE BURNKIT_CALL Burnkit_Grabber_GetInsertedDiscType(void* Grabber);

BURNKIT_API EXCEPTION_NUMBER BURNKIT_CALL Burnkit_Grabber_GetDiscInformation(
    void* Grabber, char* ExceptionText, uint32_t ExceptionTextSize, uint32_t* SystemError,
    CDB_FAILURE_INFORMATION* CDBFailureInformation, DISC_INFORMATION* DiscInformation);

/* Track information of TrackNumber (1..99, or TRACK_NUMBER_INVISIBLE).
 * EN_NOT_FOUND for a track that the disc does not have; on a closed disc
 * the invisible track does not exist either (EN_SCSI_CDB_FAILED). */
BURNKIT_API EXCEPTION_NUMBER BURNKIT_CALL Burnkit_Grabber_GetTrackInformation(
    void* Grabber, char* ExceptionText, uint32_t ExceptionTextSize, uint32_t* SystemError,
    CDB_FAILURE_INFORMATION* CDBFailureInformation, uint32_t TrackNumber, TRACK_INFORMATION* TrackInformation);

/* The table of contents. EN_SCSI_CDB_FAILED when there is no disc or the
 * disc has no table (blank). */
BURNKIT_API EXCEPTION_NUMBER BURNKIT_CALL Burnkit_Grabber_GetTOCInformation(
    void* Grabber, char* ExceptionText, uint32_t ExceptionTextSize, uint32_t* SystemError,
    CDB_FAILURE_INFORMATION* CDBFailureInformation, TOC_INFORMATION* TOCInformation);

/* DVD region data: each answer area (at least 260 bytes) receives its value
 * in its first byte. Drives without region data answer zeros. */
BURNKIT_API EXCEPTION_NUMBER BURNKIT_CALL Burnkit_Grabber_GetRPC(void* Grabber, char* ExceptionText,
                                                                 uint32_t ExceptionTextSize, uint32_t* SystemError,
                                                                 CDB_FAILURE_INFORMATION* CDBFailureInformation,
                                                                 uint8_t* TypeCode,
                                                                 uint8_t* NumberOfVendorResetsAvailable,
                                                                 uint8_t* NumberOfUserControlledChangesAvailable,
                                                                 uint8_t* RegionMask, uint8_t* RPCScheme);

/* Opens the tray. */
BURNKIT_API EXCEPTION_NUMBER BURNKIT_CALL Burnkit_Grabber_Eject(void* Grabber, char* ExceptionText,
                                                                uint32_t ExceptionTextSize, uint32_t* SystemError,
                                                                CDB_FAILURE_INFORMATION* CDBFailureInformation);
/* Closes the tray (IsLoad nonzero) or opens it; IsImmediate returns before
 * the drive has finished. Takes the short error block. */
BURNKIT_API EXCEPTION_NUMBER BURNKIT_CALL Burnkit_Grabber_LoadEx(void* Grabber, char* ExceptionText,
                                                                 uint32_t ExceptionTextSize, uint32_t* SystemError,
                                                                 uint8_t IsImmediate, uint8_t IsLoad);

/* Buffer-underrun protection of a writer. */
BURNKIT_API EXCEPTION_NUMBER BURNKIT_CALL Burnkit_Grabber_GetBUP(void* Grabber, char* ExceptionText,
                                                                 uint32_t ExceptionTextSize, uint32_t* SystemError,
                                                                 CDB_FAILURE_INFORMATION* CDBFailureInformation,
                                                                 uint8_t* IsEnabled, uint8_t* IsSupported);
BURNKIT_API EXCEPTION_NUMBER BURNKIT_CALL Burnkit_Grabber_SetBUP(void* Grabber, char* ExceptionText,
                                                                 uint32_t ExceptionTextSize, uint32_t* SystemError,
                                                                 CDB_FAILURE_INFORMATION* CDBFailureInformation,
                                                                 uint8_t IsEnabled);

/* Speeds in kilobytes per second; 0xFFFF asks for the highest speed. */
BURNKIT_API EXCEPTION_NUMBER BURNKIT_CALL Burnkit_Grabber_SetSpeeds(void* Grabber, char* ExceptionText,
                                                                    uint32_t ExceptionTextSize, uint32_t* SystemError,
                                                                    CDB_FAILURE_INFORMATION* CDBFailureInformation,
                                                                    uint32_t ReadSpeedInKBps,
                                                                    uint32_t WriteSpeedInKBps);
BURNKIT_API EXCEPTION_NUMBER BURNKIT_CALL Burnkit_Grabber_GetSpeeds(void* Grabber, char* ExceptionText,
                                                                    uint32_t ExceptionTextSize, uint32_t* SystemError,
                                                                    CDB_FAILURE_INFORMATION* CDBFailureInformation,
                                                                    uint32_t* CurrentReadSpeedInKBps,
                                                                    uint32_t* MaximumReadSpeedInKBps,
                                                                    uint32_t* CurrentWriteSpeedInKBps,
                                                                    uint32_t* MaximumWriteSpeedInKBps);

/* Optimum power calibration of a writer. */
BURNKIT_API EXCEPTION_NUMBER BURNKIT_CALL Burnkit_Grabber_SendOPC(void* Grabber, char* ExceptionText,
                                                                  uint32_t ExceptionTextSize, uint32_t* SystemError,
                                                                  CDB_FAILURE_INFORMATION* CDBFailureInformation);

/*
 * Copies track TrackNumber (1..99) into OutputFile:
 * - a data track becomes a file of its 2048-byte user-data blocks (an ISO
 *   image of the track); with IsRawSectors set, a track stored with
 *   2352-byte sectors is copied raw (EN_UNSUPPORTED_READ_MODE otherwise);
 * - an audio track becomes a WAV file (44.1 kHz, 16-bit, stereo PCM); with
 *   IsWaveHeader clear, the bare PCM samples.
 * RetryCount is the number of tries per sector read (0 is taken as 1).
 * With IsReportProgress set the grabber's callback gets reason 11 (total
 * and done in bytes) at least at every whole percent, and reason 13.
 * The engine passes 1, 1, 0, 1.
 * Failures: EN_NOT_FOUND (no such track), EN_SCSI_CDB_FAILED (no disc),
 * EN_SYSTEM_CALL_FAILED (the output cannot be created or written, folder
 * missing, disk full), EN_GENERAL_READ_ERROR (a sector cannot be read, a
 * truncated image). A failed grab removes its partial output file.
 */
BURNKIT_API EXCEPTION_NUMBER BURNKIT_CALL Burnkit_Grabber_GrabTrack(void* Grabber, char* ExceptionText,
                                                                    uint32_t ExceptionTextSize, uint32_t* SystemError,
                                                                    CDB_FAILURE_INFORMATION* CDBFailureInformation,
                                                                    uint8_t TrackNumber, const char* OutputFile,
                                                                    uint32_t RetryCount, uint8_t IsWaveHeader,
                                                                    uint8_t IsRawSectors, uint8_t IsReportProgress);

/* ------------------------------------------------------------------------ */
/* Burning (writers; an image-backed drive writes its image file)           */
/* ------------------------------------------------------------------------ */

/*
 * Common arguments of the burn calls:
 *   IsCloseTrack      close the track after writing (track-at-once: 1)
 *   IsTestWrite       simulate the write; nothing is written
 *   IsMultiSession    leave the disc open for a later session
 *   IsBUP             use buffer-underrun protection
 *   RetryCount        tries per failed write command
 * IsCloseTrack and RetryCount are accepted; the writer closes every track
 * and leaves retries to the drive. Progress goes to the grabber's callback:
 * reason 12 in bytes, first with done 0 and, after a good write, last with
 * done == total; reason 13 with the fill of the write buffer.
 * A tree is written as its image with the settings of its last
 * Burnkit_ISO9660JolietFileTree_BuildImage (a Joliet image at address 0
 * when it was never built); the built image is read by the writer, so
 * _Read needs a new build afterwards.
 * An image-backed drive writes its image file: the file then holds exactly
 * the one data track written (IsMultiSession has no effect there); audio
 * tracks, more than one track, and images other than ISO (cue sheets and
 * the like) give EN_NOT_IMPLEMENTED and leave the file as it was. Blanking
 * empties the image file (a full blank overwrites it with zeros first).
 * Scripted drives and virtual DVD devices do not write: EN_NOT_IMPLEMENTED
 * (a scripted drive first gives the failure its script names). Other
 * failures: EN_SCSI_CDB_FAILED without a disc, EN_INVALID_STATE for a disc
 * that cannot be written or blanked, EN_FAILURE with the writer's reason.
 */
BURNKIT_API EXCEPTION_NUMBER BURNKIT_CALL Burnkit_Grabber_TrackAtOnceFromTree(
    void* Grabber, char* ExceptionText, uint32_t ExceptionTextSize, uint32_t* SystemError,
    CDB_FAILURE_INFORMATION* CDBFailureInformation, void* FileTree, uint8_t IsCloseTrack, uint8_t IsTestWrite,
    uint8_t IsMultiSession, uint8_t IsBUP, uint32_t RetryCount);

/* Writes a track from a file (an ISO image). */
BURNKIT_API EXCEPTION_NUMBER BURNKIT_CALL Burnkit_Grabber_TrackAtOnceFromFile(
    void* Grabber, char* ExceptionText, uint32_t ExceptionTextSize, uint32_t* SystemError,
    CDB_FAILURE_INFORMATION* CDBFailureInformation, const char* SourceFile, uint8_t IsCloseTrack,
    uint8_t IsTestWrite, uint8_t IsMultiSession, uint8_t IsBUP, uint32_t RetryCount);

/* Writes a session from a session layout (BURNKIT_SESSION_LAYOUT_SIZE
 * bytes): from the entries' file trees (IsFromTree set) or from the entries'
 * files. */
BURNKIT_API EXCEPTION_NUMBER BURNKIT_CALL Burnkit_Grabber_SessionAtOnce(
    void* Grabber, char* ExceptionText, uint32_t ExceptionTextSize, uint32_t* SystemError,
    CDB_FAILURE_INFORMATION* CDBFailureInformation, const void* SessionLayout, uint8_t IsFromTree,
    uint8_t IsTestWrite, uint8_t IsCloseSession, uint8_t IsBUP, uint32_t RetryCount);

BURNKIT_API EXCEPTION_NUMBER BURNKIT_CALL Burnkit_Grabber_DiscAtOncePQFromTree(
    void* Grabber, char* ExceptionText, uint32_t ExceptionTextSize, uint32_t* SystemError,
    CDB_FAILURE_INFORMATION* CDBFailureInformation, void* FileTree, uint8_t IsCloseTrack, uint8_t IsTestWrite,
    uint8_t IsMultiSession, uint8_t IsBUP, uint32_t RetryCount);
BURNKIT_API EXCEPTION_NUMBER BURNKIT_CALL Burnkit_Grabber_DiscAtOnceRawPWFromTree(
    void* Grabber, char* ExceptionText, uint32_t ExceptionTextSize, uint32_t* SystemError,
    CDB_FAILURE_INFORMATION* CDBFailureInformation, void* FileTree, uint8_t IsCloseTrack, uint8_t IsTestWrite,
    uint8_t IsMultiSession, uint8_t IsBUP, uint32_t RetryCount);

/* Disc-at-once from the files of a DAO_DISC_LAYOUT; IsRawSubchannel: the
 * files carry subchannel data. */
BURNKIT_API EXCEPTION_NUMBER BURNKIT_CALL Burnkit_Grabber_DiscAtOncePQFromFile(
    void* Grabber, char* ExceptionText, uint32_t ExceptionTextSize, uint32_t* SystemError,
    CDB_FAILURE_INFORMATION* CDBFailureInformation, const DAO_DISC_LAYOUT* Layout, uint8_t IsCloseTrack,
    uint8_t IsTestWrite, uint8_t IsMultiSession, uint8_t IsRawSubchannel, uint8_t IsBUP, uint32_t RetryCount);
BURNKIT_API EXCEPTION_NUMBER BURNKIT_CALL Burnkit_Grabber_DiscAtOnceRawPWFromFile(
    void* Grabber, char* ExceptionText, uint32_t ExceptionTextSize, uint32_t* SystemError,
    CDB_FAILURE_INFORMATION* CDBFailureInformation, const DAO_DISC_LAYOUT* Layout, uint8_t IsCloseTrack,
    uint8_t IsTestWrite, uint8_t IsMultiSession, uint8_t IsRawSubchannel, uint8_t IsBUP, uint32_t RetryCount);

/* Blanks a rewritable disc: ERASE_TYPE_BLANK_DISC_FULL or _FAST. */
BURNKIT_API EXCEPTION_NUMBER BURNKIT_CALL Burnkit_Grabber_Blank(void* Grabber, char* ExceptionText,
                                                                uint32_t ExceptionTextSize, uint32_t* SystemError,
                                                                CDB_FAILURE_INFORMATION* CDBFailureInformation,
                                                                uint32_t EraseType);

/* ------------------------------------------------------------------------ */
/* ISO9660/Joliet file tree and image build                                 */
/* ------------------------------------------------------------------------ */

/* Sets an El Torito boot image: the file BootImage is added to the root
 * folder under its own name (a collision goes to the callback as with the
 * other additions) and a hidden boot catalog is added. EmulationType: 0 or
 * 6 no emulation, 1/2/3 a 1.2/1.44/2.88 MB floppy (the file must have that
 * size), 4 hard disk; PlatformId: the platform byte of the boot catalog;
 * LoadSectorCount: 512-byte sectors loaded without emulation (0 keeps the
 * default of 4); IsBootInfoTable: patch a boot information table into the
 * image. A second call replaces the boot image. The error block comes last. */
BURNKIT_API EXCEPTION_NUMBER BURNKIT_CALL Burnkit_ISO9660JolietFileTree_SetBootImage(
    void* FileTree, const char* BootImage, uint32_t EmulationType, uint32_t PlatformId, uint32_t LoadSectorCount,
    uint32_t IsBootInfoTable, char* ExceptionText, uint32_t ExceptionTextSize, uint32_t* SystemError);

/* Builds the image of the tree for a track starting at StartAddress (LBA):
 * Flags reserved (0), IsJoliet adds the Joliet names; the volume label,
 * the preparer and the application identifiers (UTF-16). After the build
 * the image is read with _Read and its size given by _GetSizeInUCHARs. */
BURNKIT_API EXCEPTION_NUMBER BURNKIT_CALL Burnkit_ISO9660JolietFileTree_BuildImage(
    void* FileTree, char* ExceptionText, uint32_t ExceptionTextSize, uint32_t* SystemError, int32_t StartAddress,
    uint32_t Flags, uint8_t IsJoliet, const char* VolumeLabel, const BURNKIT_WCHAR* PreparerID,
    const BURNKIT_WCHAR* ApplicationID);

/* Size of the built image in bytes: the low 32 bits are the result, the
 * high 32 bits go to *SizeHigh (may be NULL). 0 before a build. */
BURNKIT_API uint32_t BURNKIT_CALL Burnkit_ISO9660JolietFileTree_GetSizeInUCHARs(void* FileTree, uint32_t* SizeHigh);

/* Reads the next Size bytes of the built image into Buffer. A read past
 * the image's end is EN_RANGE. */
BURNKIT_API EXCEPTION_NUMBER BURNKIT_CALL Burnkit_ISO9660JolietFileTree_Read(void* FileTree, char* ExceptionText,
                                                                             uint32_t ExceptionTextSize,
                                                                             uint32_t* SystemError, uint32_t Size,
                                                                             void* Buffer);

/* Closes a UDF volume (the handle itself, not its address). */
BURNKIT_API EXCEPTION_NUMBER BURNKIT_CALL Burnkit_UDF2_VolumeDestroy(void* UDFVolume);

/* ------------------------------------------------------------------------ */
/* File trees: creating a tree, adding files and folders                    */
/* ------------------------------------------------------------------------ */

/*
 * A file tree holds the folders and files of an image to build. Paths in
 * the tree use "/" or "\" between folders; "", "/" and "\" are the root.
 *
 * FileSystemType 0 (ISO9660): the tree keeps ISO9660 names: upper case,
 * A-Z, 0-9 and "_" (every other character becomes "_"), a file keeps an
 * extension of at most 3 characters; the base is cut to 8 characters, or
 * with IsISO9660Level2 so that a file name has at most 30 characters and a
 * folder name 31. A base that is cut keeps its trailing digits. So
 * "readme.txt" and "README.TXT" collide. FileSystemType 1 (Joliet): names
 * are kept as given (Unicode, compared exactly); "/" and "\" inside a name
 * become "_". Path components given to the tree functions are looked up in
 * the tree's own form of the name.
 *
 * Reports to Callback, with Context as given here:
 *   0  a node was added (Param1 its name in the tree, Param2 the node),
 *   1  a node was removed (children before their folder),
 *   2  a name was left out of the tree (a special file met while adding a
 *      folder, or a collision answered with no action below),
 *   3  a name collision, before anything is added (Param1 the record).
 * Destroying the tree reports nothing.
 *
 * Name collision (reason 3). The first entry is the one being added, the
 * second the one already in the tree. The record:
 */
#pragma pack(push, 1)
typedef struct NAME_COLLISION_INFORMATION {
    uint8_t m__UCHAR__NameKind;          /*   0: 0 ISO9660 (8-bit name), 1 Joliet (UTF-16) */
    uint8_t m__UCHAR__Name[520];         /*   1: the colliding name, zero-terminated; an ISO9660
                                                  file name carries its version ";1". The callback
                                                  may write a new name here. */
    uint32_t m__ULONG__FirstEntry;       /* 521: address of the first entry's object: byte 0
                                                  1 folder, 0 file; from byte 1 its path, zero-
                                                  terminated (the local source path; the tree path
                                                  of a folder added without a source) */
    uint32_t m__ULONG__FirstAttributes;  /* 525: 0x10 folder, 0x80 file */
    uint32_t m__ULONG__SecondEntry;      /* 529: the second entry's object, its path in the tree */
    uint32_t m__ULONG__SecondAttributes; /* 533: 0x10 folder, 0x80 file */
    uint32_t m__ULONG__Action;           /* 537: written by the callback, 0 on entry */
} NAME_COLLISION_INFORMATION;
#pragma pack(pop)
BURNKIT_STATIC_ASSERT(sizeof(NAME_COLLISION_INFORMATION) == 541, "NAME_COLLISION_INFORMATION is 541 bytes");
BURNKIT_STATIC_ASSERT(offsetof(NAME_COLLISION_INFORMATION, m__ULONG__Action) == 537, "collision record layout");

/*
 * The two entry objects lie below 4 GiB, so their 4-byte addresses are
 * whole; they live only during the callback. The action:
 *   1  keep both: the entry already in the tree takes the new name, the
 *      added entry keeps the name it asked for (a boot image keeps
 *      "boot.img");
 *   2  keep both: the added entry takes the new name;
 *   3  merge two folders: the added folder's contents go into the folder
 *      already in the tree (for a file, as any other value);
 *   any other value: the added entry is left out (reported with reason 2)
 *      and the call still succeeds.
 * A new name is first made a valid name of the tree as above (an ISO9660
 * name loses its version suffix). When it still collides the callback is
 * asked again, at most 64 times; then the call fails with EN_FAILURE.
 * Without a callback a collision fails the call with
 * EN_INVALID_INPUT_PARAMETER.
 */
#define BURNKIT_COLLISION_ACTION_RENAME_EXISTING 1
#define BURNKIT_COLLISION_ACTION_RENAME_ADDED 2
#define BURNKIT_COLLISION_ACTION_MERGE_FOLDERS 3

/* Creates an empty file tree. FileSystemType: 0 ISO9660, 1 Joliet. */
BURNKIT_API EXCEPTION_NUMBER BURNKIT_CALL Burnkit_ISO9660JolietFileTree_Create(void** FileTree, char* ExceptionText,
                                                                               uint32_t ExceptionTextSize,
                                                                               uint32_t* SystemError,
                                                                               BURNKIT_CALLBACK Callback,
                                                                               void* Context,
                                                                               uint32_t FileSystemType,
                                                                               uint8_t IsISO9660Level2);

/* Adds the local file SourceFile to the tree folder TreeFolder under Name
 * (NULL or "": the source's own file name). EN_NOT_FOUND: no such source
 * file or tree folder. */
BURNKIT_API EXCEPTION_NUMBER BURNKIT_CALL Burnkit_ISO9660JolietFileTree_AddFile(void* FileTree, char* ExceptionText,
                                                                                uint32_t ExceptionTextSize,
                                                                                uint32_t* SystemError,
                                                                                const char* SourceFile,
                                                                                const char* TreeFolder,
                                                                                const char* Name);

/* Adds a folder Name to the tree folder TreeFolder. With a SourceFolder
 * (NULL or "": an empty folder) its files and folders follow, in name
 * order; Name NULL or "" takes the source's own name. */
BURNKIT_API EXCEPTION_NUMBER BURNKIT_CALL Burnkit_ISO9660JolietFileTree_AddFolder(void* FileTree,
                                                                                  char* ExceptionText,
                                                                                  uint32_t ExceptionTextSize,
                                                                                  uint32_t* SystemError,
                                                                                  const char* SourceFolder,
                                                                                  const char* TreeFolder,
                                                                                  const char* Name);

/* Removes the node at TreePath and everything below it (not the root). */
BURNKIT_API EXCEPTION_NUMBER BURNKIT_CALL Burnkit_ISO9660JolietFileTree_RemoveNode(void* FileTree,
                                                                                   char* ExceptionText,
                                                                                   uint32_t ExceptionTextSize,
                                                                                   uint32_t* SystemError,
                                                                                   const char* TreePath);

/* ------------------------------------------------------------------------ */
/* VPort: the virtual-device driver                                         */
/* ------------------------------------------------------------------------ */

/*
 * Virtual DVD devices: read-only block devices over an image file, each
 * with a target id (its handle for these calls), a name, a type, a drive
 * letter and a persistence flag (persistent devices come back when the SDK
 * starts after a reboot). Every call ends with the address of the system
 * error. Results: EN_NOT_IMPLEMENTED when the driver is not installed or
 * cannot work here, EN_NOT_FOUND for an unknown target id.
 */

/* EN_SUCCESS when the driver answers; its version numbers. */
BURNKIT_API EXCEPTION_NUMBER BURNKIT_CALL Burnkit_VPort_GetVersion(uint32_t* VersionMajor, uint32_t* VersionMinor,
                                                                   uint32_t* SystemError);

/* Fills Buffer (BufferSize bytes, normally BURNKIT_VPORT_DEVICE_LIST_SIZE)
 * with a 32-bit count and that many VPORT_DEVICE_LIST_ENTRY records; the
 * count also goes to *Count. Lists only as many devices as fit. */
BURNKIT_API EXCEPTION_NUMBER BURNKIT_CALL Burnkit_VPort_DeviceListQueryLocal(void* Buffer, uint32_t BufferSize,
                                                                             int32_t* Count, uint32_t* SystemError);

/* Adds a device of DeviceType over ImageFile; its target id goes to
 * *TargetId. */
BURNKIT_API EXCEPTION_NUMBER BURNKIT_CALL Burnkit_VPort_DeviceAddLocalEx(VPORT_DEVICE_TYPE DeviceType,
                                                                         const char* ImageFile, int32_t* TargetId,
                                                                         uint8_t IsPersistent,
                                                                         uint32_t* SystemError);

/* Removes a device and its drive letter. */
BURNKIT_API EXCEPTION_NUMBER BURNKIT_CALL Burnkit_VPort_DeviceRemove(int32_t TargetId, uint32_t* SystemError);

/* Type, vendor, product and revision of a device (buffers with sizes). */
BURNKIT_API EXCEPTION_NUMBER BURNKIT_CALL Burnkit_VPort_GetDeviceInformation(int32_t TargetId,
                                                                             VPORT_DEVICE_TYPE* DeviceType,
                                                                             char* VendorID, uint32_t VendorIDSize,
                                                                             char* ProductID, uint32_t ProductIDSize,
                                                                             char* Revision, uint32_t RevisionSize,
                                                                             uint32_t* SystemError);

/* The device's drive letter without colon ("E"), zero-terminated, in a
 * buffer of at least 1024 bytes; empty when the device has no letter. */
BURNKIT_API EXCEPTION_NUMBER BURNKIT_CALL Burnkit_VPort_GetDeviceLetter(int32_t TargetId, char* DeviceLetter,
                                                                        uint32_t* SystemError);

#ifdef __cplusplus
}
#endif

#endif
