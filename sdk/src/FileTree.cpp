// File trees, image building and burning: placeholder until the libisofs
// and libburn layer lands. Every call fails with "not available in this
// build".

#include "SdkError.h"
#include "burnkit.h"

#include <cerrno>

namespace {

EXCEPTION_NUMBER NotAvailable(const char* function, char* text, uint32_t textSize, uint32_t* systemError,
                              CDB_FAILURE_INFORMATION* cdb = nullptr) {
    kvsdk::ErrorBlock eb{text, textSize, systemError, cdb};
    return eb.Fail(EN_NOT_IMPLEMENTED, ENOSYS, std::string(function) + ": not available in this build");
}

}  // namespace

extern "C" {

EXCEPTION_NUMBER Burnkit_Grabber_TrackAtOnceFromTree(void*, char* t, uint32_t s, uint32_t* e,
                                                     CDB_FAILURE_INFORMATION* c, void*, uint8_t, uint8_t, uint8_t,
                                                     uint8_t, uint32_t) {
    return NotAvailable(__func__, t, s, e, c);
}

EXCEPTION_NUMBER Burnkit_Grabber_TrackAtOnceFromFile(void*, char* t, uint32_t s, uint32_t* e,
                                                     CDB_FAILURE_INFORMATION* c, const char*, uint8_t, uint8_t,
                                                     uint8_t, uint8_t, uint32_t) {
    return NotAvailable(__func__, t, s, e, c);
}

EXCEPTION_NUMBER Burnkit_Grabber_SessionAtOnce(void*, char* t, uint32_t s, uint32_t* e, CDB_FAILURE_INFORMATION* c,
                                               const void*, uint8_t, uint8_t, uint8_t, uint8_t, uint32_t) {
    return NotAvailable(__func__, t, s, e, c);
}

EXCEPTION_NUMBER Burnkit_Grabber_DiscAtOncePQFromTree(void*, char* t, uint32_t s, uint32_t* e,
                                                      CDB_FAILURE_INFORMATION* c, void*, uint8_t, uint8_t, uint8_t,
                                                      uint8_t, uint32_t) {
    return NotAvailable(__func__, t, s, e, c);
}

EXCEPTION_NUMBER Burnkit_Grabber_DiscAtOnceRawPWFromTree(void*, char* t, uint32_t s, uint32_t* e,
                                                         CDB_FAILURE_INFORMATION* c, void*, uint8_t, uint8_t, uint8_t,
                                                         uint8_t, uint32_t) {
    return NotAvailable(__func__, t, s, e, c);
}

EXCEPTION_NUMBER Burnkit_Grabber_DiscAtOncePQFromFile(void*, char* t, uint32_t s, uint32_t* e,
                                                      CDB_FAILURE_INFORMATION* c, const DAO_DISC_LAYOUT*, uint8_t,
                                                      uint8_t, uint8_t, uint8_t, uint8_t, uint32_t) {
    return NotAvailable(__func__, t, s, e, c);
}

EXCEPTION_NUMBER Burnkit_Grabber_DiscAtOnceRawPWFromFile(void*, char* t, uint32_t s, uint32_t* e,
                                                         CDB_FAILURE_INFORMATION* c, const DAO_DISC_LAYOUT*, uint8_t,
                                                         uint8_t, uint8_t, uint8_t, uint8_t, uint32_t) {
    return NotAvailable(__func__, t, s, e, c);
}

EXCEPTION_NUMBER Burnkit_Grabber_Blank(void*, char* t, uint32_t s, uint32_t* e, CDB_FAILURE_INFORMATION* c,
                                       uint32_t) {
    return NotAvailable(__func__, t, s, e, c);
}

EXCEPTION_NUMBER Burnkit_ISO9660JolietFileTree_Create(void** FileTree, char* t, uint32_t s, uint32_t* e,
                                                      BURNKIT_CALLBACK, void*) {
    if (FileTree != nullptr)
        *FileTree = nullptr;
    return NotAvailable(__func__, t, s, e);
}

EXCEPTION_NUMBER Burnkit_ISO9660JolietFileTree_AddFromDisk(void*, char* t, uint32_t s, uint32_t* e, const char*,
                                                           const char*) {
    return NotAvailable(__func__, t, s, e);
}

EXCEPTION_NUMBER Burnkit_ISO9660JolietFileTree_SetBootImage(void*, const char*, uint32_t, uint32_t, uint32_t,
                                                            uint32_t, char* t, uint32_t s, uint32_t* e) {
    return NotAvailable(__func__, t, s, e);
}

EXCEPTION_NUMBER Burnkit_ISO9660JolietFileTree_BuildImage(void*, char* t, uint32_t s, uint32_t* e, int32_t, uint32_t,
                                                          uint8_t, const char*, const BURNKIT_WCHAR*,
                                                          const BURNKIT_WCHAR*) {
    return NotAvailable(__func__, t, s, e);
}

uint32_t Burnkit_ISO9660JolietFileTree_GetSizeInUCHARs(void*, uint32_t* SizeHigh) {
    if (SizeHigh != nullptr)
        *SizeHigh = 0;
    return 0;
}

EXCEPTION_NUMBER Burnkit_ISO9660JolietFileTree_Read(void*, char* t, uint32_t s, uint32_t* e, uint32_t, void*) {
    return NotAvailable(__func__, t, s, e);
}

EXCEPTION_NUMBER Burnkit_UDF2_VolumeDestroy(void* UDFVolume) {
    return UDFVolume == nullptr ? EN_INVALID_INPUT_PARAMETER : EN_NOT_IMPLEMENTED;
}

}  // extern "C"
