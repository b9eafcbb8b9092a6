// Temporary bodies of the grabber functions.
#include "burnkit.h"
#include <cerrno>
#include <cstring>

extern "C" {
EXCEPTION_NUMBER Burnkit_UpStartEx(const char* StartupText, uint32_t Options) {
    return EN_NOT_IMPLEMENTED;
}

EXCEPTION_NUMBER Burnkit_Destroy(void** Handle) {
    return EN_NOT_IMPLEMENTED;
}

EXCEPTION_NUMBER Burnkit_FindDevice(uint32_t DeviceTypes, uint32_t Flags, BURNKIT_CALLBACK Callback, void* Context) {
    return EN_NOT_IMPLEMENTED;
}

EXCEPTION_NUMBER Burnkit_GetDeviceNameByDeviceAddress(uint8_t PortID, uint8_t BusID, uint8_t TargetID, uint8_t LUN, char* DeviceName) {
    return EN_NOT_IMPLEMENTED;
}

void Burnkit_SetFastReadTOC(uint8_t IsFast) {
}

uint8_t Burnkit_GetFastReadTOC(void) {
    return 0;
}

EXCEPTION_NUMBER Burnkit_Wave_UncompressedFileCompress(const char* SourceFile, const char* TargetFile, uint32_t BytesPerSecond, BURNKIT_WAVE_CALLBACK Callback, void* Context, BURNKIT_WAVE_COMPRESSION Compression) {
    return EN_NOT_IMPLEMENTED;
}

EXCEPTION_NUMBER Burnkit_Grabber_Create(void** Grabber, char* ExceptionText, uint32_t ExceptionTextSize, uint32_t* SystemError, CDB_FAILURE_INFORMATION* CDBFailureInformation, BURNKIT_CALLBACK Callback, void* Context, uint8_t PortID, uint8_t BusID, uint8_t TargetID, uint8_t LUN, uint8_t IsProbe) {
    if (ExceptionText && ExceptionTextSize) { std::strncpy(ExceptionText, "not available in this build", ExceptionTextSize - 1); ExceptionText[ExceptionTextSize-1]=0; }
    if (SystemError) *SystemError = ENOSYS;
    return EN_NOT_IMPLEMENTED;
}

EXCEPTION_NUMBER Burnkit_Grabber_CreateEx(void** Grabber, char* ExceptionText, uint32_t ExceptionTextSize, uint32_t* SystemError, CDB_FAILURE_INFORMATION* CDBFailureInformation, BURNKIT_CALLBACK Callback, void* Context, const char* DeviceName, uint8_t IsProbe) {
    if (ExceptionText && ExceptionTextSize) { std::strncpy(ExceptionText, "not available in this build", ExceptionTextSize - 1); ExceptionText[ExceptionTextSize-1]=0; }
    if (SystemError) *SystemError = ENOSYS;
    return EN_NOT_IMPLEMENTED;
}

EXCEPTION_NUMBER Burnkit_Grabber_CreateExEx(void** Grabber, char* ExceptionText, uint32_t ExceptionTextSize, uint32_t* SystemError, CDB_FAILURE_INFORMATION* CDBFailureInformation, BURNKIT_CALLBACK Callback, void* Context, const BURNKIT_WCHAR* DeviceName, uint8_t IsProbe, uint8_t Reserved) {
    if (ExceptionText && ExceptionTextSize) { std::strncpy(ExceptionText, "not available in this build", ExceptionTextSize - 1); ExceptionText[ExceptionTextSize-1]=0; }
    if (SystemError) *SystemError = ENOSYS;
    return EN_NOT_IMPLEMENTED;
}

EXCEPTION_NUMBER Burnkit_Grabber_Release(void* Grabber, char* ExceptionText, uint32_t ExceptionTextSize, uint32_t* SystemError, CDB_FAILURE_INFORMATION* CDBFailureInformation) {
    if (ExceptionText && ExceptionTextSize) { std::strncpy(ExceptionText, "not available in this build", ExceptionTextSize - 1); ExceptionText[ExceptionTextSize-1]=0; }
    if (SystemError) *SystemError = ENOSYS;
    return EN_NOT_IMPLEMENTED;
}

EXCEPTION_NUMBER Burnkit_Grabber_GetDeviceInformation(void* Grabber, char* VendorID, char* ProductID, char* ProductRevisionLevel, uint32_t* BufferSize) {
    return EN_NOT_IMPLEMENTED;
}

EXCEPTION_NUMBER Burnkit_Grabber_GetSupportedMediaFormats(void* Grabber, uint8_t* IsCDRRead, uint8_t* IsCDERead, uint8_t* IsDVDROMRead, uint8_t* IsDVDRRead, uint8_t* IsDVDRAMRead, uint8_t* IsTestWrite, uint8_t* IsCDRWrite, uint8_t* IsCDEWrite, uint8_t* IsDVDRWrite, uint8_t* IsDVDRAMWrite) {
    return EN_NOT_IMPLEMENTED;
}

EXCEPTION_NUMBER Burnkit_Grabber_GetSupportedMediaFormatsExEx(void* Grabber, uint8_t* IsDVDPLUSRWRead, uint8_t* IsDVDPLUSRRead, uint8_t* IsDVDPLUSRDLRead, uint8_t* IsDVDPLUSRWWrite, uint8_t* IsDVDPLUSRWrite, uint8_t* IsDVDPLUSRDLWrite) {
    return EN_NOT_IMPLEMENTED;
}

EXCEPTION_NUMBER Burnkit_Grabber_ProbeSupportedWriteModes(void* Grabber, char* ExceptionText, uint32_t ExceptionTextSize, uint32_t* SystemError, CDB_FAILURE_INFORMATION* CDBFailureInformation, uint8_t* IsTrackAtOnce, uint8_t* IsSessionAtOnce, uint8_t* IsDiscAtOncePQ, uint8_t* IsDiscAtOnceRawPW) {
    if (ExceptionText && ExceptionTextSize) { std::strncpy(ExceptionText, "not available in this build", ExceptionTextSize - 1); ExceptionText[ExceptionTextSize-1]=0; }
    if (SystemError) *SystemError = ENOSYS;
    return EN_NOT_IMPLEMENTED;
}

EXCEPTION_NUMBER Burnkit_Grabber_ProbeSupportedReadModes(void* Grabber, char* ExceptionText, uint32_t ExceptionTextSize, uint32_t* SystemError, CDB_FAILURE_INFORMATION* CDBFailureInformation, uint8_t* IsCooked, uint8_t* IsRaw, uint8_t* IsRawPQ, uint8_t* IsRawRawPW, uint8_t* IsPQ, uint8_t* IsRawPW) {
    if (ExceptionText && ExceptionTextSize) { std::strncpy(ExceptionText, "not available in this build", ExceptionTextSize - 1); ExceptionText[ExceptionTextSize-1]=0; }
    if (SystemError) *SystemError = ENOSYS;
    return EN_NOT_IMPLEMENTED;
}

EXCEPTION_NUMBER Burnkit_Grabber_TestUnitReady(void* Grabber, char* ExceptionText, uint32_t ExceptionTextSize, uint32_t* SystemError, CDB_FAILURE_INFORMATION* CDBFailureInformation) {
    if (ExceptionText && ExceptionTextSize) { std::strncpy(ExceptionText, "not available in this build", ExceptionTextSize - 1); ExceptionText[ExceptionTextSize-1]=0; }
    if (SystemError) *SystemError = ENOSYS;
    return EN_NOT_IMPLEMENTED;
}

DISC_TYPE Burnkit_Grabber_GetInsertedDiscType(void* Grabber) {
    return 0;
}

EXCEPTION_NUMBER Burnkit_Grabber_GetDiscInformation(void* Grabber, char* ExceptionText, uint32_t ExceptionTextSize, uint32_t* SystemError, CDB_FAILURE_INFORMATION* CDBFailureInformation, DISC_INFORMATION* DiscInformation) {
    if (ExceptionText && ExceptionTextSize) { std::strncpy(ExceptionText, "not available in this build", ExceptionTextSize - 1); ExceptionText[ExceptionTextSize-1]=0; }
    if (SystemError) *SystemError = ENOSYS;
    return EN_NOT_IMPLEMENTED;
}

EXCEPTION_NUMBER Burnkit_Grabber_GetTrackInformation(void* Grabber, char* ExceptionText, uint32_t ExceptionTextSize, uint32_t* SystemError, CDB_FAILURE_INFORMATION* CDBFailureInformation, uint32_t TrackNumber, TRACK_INFORMATION* TrackInformation) {
    if (ExceptionText && ExceptionTextSize) { std::strncpy(ExceptionText, "not available in this build", ExceptionTextSize - 1); ExceptionText[ExceptionTextSize-1]=0; }
    if (SystemError) *SystemError = ENOSYS;
    return EN_NOT_IMPLEMENTED;
}

EXCEPTION_NUMBER Burnkit_Grabber_GetTOCInformation(void* Grabber, char* ExceptionText, uint32_t ExceptionTextSize, uint32_t* SystemError, CDB_FAILURE_INFORMATION* CDBFailureInformation, TOC_INFORMATION* TOCInformation) {
    if (ExceptionText && ExceptionTextSize) { std::strncpy(ExceptionText, "not available in this build", ExceptionTextSize - 1); ExceptionText[ExceptionTextSize-1]=0; }
    if (SystemError) *SystemError = ENOSYS;
    return EN_NOT_IMPLEMENTED;
}

EXCEPTION_NUMBER Burnkit_Grabber_GetRPC(void* Grabber, char* ExceptionText, uint32_t ExceptionTextSize, uint32_t* SystemError, CDB_FAILURE_INFORMATION* CDBFailureInformation, uint8_t* TypeCode, uint8_t* NumberOfVendorResetsAvailable, uint8_t* NumberOfUserControlledChangesAvailable, uint8_t* RegionMask, uint8_t* RPCScheme) {
    if (ExceptionText && ExceptionTextSize) { std::strncpy(ExceptionText, "not available in this build", ExceptionTextSize - 1); ExceptionText[ExceptionTextSize-1]=0; }
    if (SystemError) *SystemError = ENOSYS;
    return EN_NOT_IMPLEMENTED;
}

EXCEPTION_NUMBER Burnkit_Grabber_Eject(void* Grabber, char* ExceptionText, uint32_t ExceptionTextSize, uint32_t* SystemError, CDB_FAILURE_INFORMATION* CDBFailureInformation) {
    if (ExceptionText && ExceptionTextSize) { std::strncpy(ExceptionText, "not available in this build", ExceptionTextSize - 1); ExceptionText[ExceptionTextSize-1]=0; }
    if (SystemError) *SystemError = ENOSYS;
    return EN_NOT_IMPLEMENTED;
}

EXCEPTION_NUMBER Burnkit_Grabber_LoadEx(void* Grabber, char* ExceptionText, uint32_t ExceptionTextSize, uint32_t* SystemError, uint8_t IsImmediate, uint8_t IsLoad) {
    if (ExceptionText && ExceptionTextSize) { std::strncpy(ExceptionText, "not available in this build", ExceptionTextSize - 1); ExceptionText[ExceptionTextSize-1]=0; }
    if (SystemError) *SystemError = ENOSYS;
    return EN_NOT_IMPLEMENTED;
}

EXCEPTION_NUMBER Burnkit_Grabber_GetBUP(void* Grabber, char* ExceptionText, uint32_t ExceptionTextSize, uint32_t* SystemError, CDB_FAILURE_INFORMATION* CDBFailureInformation, uint8_t* IsEnabled, uint8_t* IsSupported) {
    if (ExceptionText && ExceptionTextSize) { std::strncpy(ExceptionText, "not available in this build", ExceptionTextSize - 1); ExceptionText[ExceptionTextSize-1]=0; }
    if (SystemError) *SystemError = ENOSYS;
    return EN_NOT_IMPLEMENTED;
}

EXCEPTION_NUMBER Burnkit_Grabber_SetBUP(void* Grabber, char* ExceptionText, uint32_t ExceptionTextSize, uint32_t* SystemError, CDB_FAILURE_INFORMATION* CDBFailureInformation, uint8_t IsEnabled) {
    if (ExceptionText && ExceptionTextSize) { std::strncpy(ExceptionText, "not available in this build", ExceptionTextSize - 1); ExceptionText[ExceptionTextSize-1]=0; }
    if (SystemError) *SystemError = ENOSYS;
    return EN_NOT_IMPLEMENTED;
}

EXCEPTION_NUMBER Burnkit_Grabber_SetSpeeds(void* Grabber, char* ExceptionText, uint32_t ExceptionTextSize, uint32_t* SystemError, CDB_FAILURE_INFORMATION* CDBFailureInformation, uint32_t ReadSpeedInKBps, uint32_t WriteSpeedInKBps) {
    if (ExceptionText && ExceptionTextSize) { std::strncpy(ExceptionText, "not available in this build", ExceptionTextSize - 1); ExceptionText[ExceptionTextSize-1]=0; }
    if (SystemError) *SystemError = ENOSYS;
    return EN_NOT_IMPLEMENTED;
}

EXCEPTION_NUMBER Burnkit_Grabber_GetSpeeds(void* Grabber, char* ExceptionText, uint32_t ExceptionTextSize, uint32_t* SystemError, CDB_FAILURE_INFORMATION* CDBFailureInformation, uint32_t* CurrentReadSpeedInKBps, uint32_t* MaximumReadSpeedInKBps, uint32_t* CurrentWriteSpeedInKBps, uint32_t* MaximumWriteSpeedInKBps) {
    if (ExceptionText && ExceptionTextSize) { std::strncpy(ExceptionText, "not available in this build", ExceptionTextSize - 1); ExceptionText[ExceptionTextSize-1]=0; }
    if (SystemError) *SystemError = ENOSYS;
    return EN_NOT_IMPLEMENTED;
}

EXCEPTION_NUMBER Burnkit_Grabber_SendOPC(void* Grabber, char* ExceptionText, uint32_t ExceptionTextSize, uint32_t* SystemError, CDB_FAILURE_INFORMATION* CDBFailureInformation) {
    if (ExceptionText && ExceptionTextSize) { std::strncpy(ExceptionText, "not available in this build", ExceptionTextSize - 1); ExceptionText[ExceptionTextSize-1]=0; }
    if (SystemError) *SystemError = ENOSYS;
    return EN_NOT_IMPLEMENTED;
}

EXCEPTION_NUMBER Burnkit_Grabber_GrabTrack(void* Grabber, char* ExceptionText, uint32_t ExceptionTextSize, uint32_t* SystemError, CDB_FAILURE_INFORMATION* CDBFailureInformation, uint8_t TrackNumber, const char* OutputFile, uint32_t RetryCount, uint8_t IsWaveHeader, uint8_t IsRawSectors, uint8_t IsReportProgress) {
    if (ExceptionText && ExceptionTextSize) { std::strncpy(ExceptionText, "not available in this build", ExceptionTextSize - 1); ExceptionText[ExceptionTextSize-1]=0; }
    if (SystemError) *SystemError = ENOSYS;
    return EN_NOT_IMPLEMENTED;
}

}
