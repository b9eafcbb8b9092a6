// The exported burn and blank functions of burnkit.h.

#include "BurnWriter.h"
#include "FileTree.h"
#include "SdkError.h"
#include "burnkit.h"

#include <cstring>
#include <string>

using namespace kvsdk;

namespace {

constexpr size_t kSessionNameSize = BURNKIT_SESSION_LAYOUT_TREE_OFFSET - BURNKIT_SESSION_LAYOUT_NAME_OFFSET;

// The zero-terminated text of a fixed field, refused when it fills the
// whole field without its zero.
std::string FieldText(const char* field, size_t size, const std::string& what) {
    size_t n = strnlen(field, size);
    if (n == size)
        throw SdkError(EN_PATH_TOO_LONG, what + " does not end within its " + std::to_string(size) + " bytes");
    return std::string(field, n);
}

BurnTrack TreeTrack(void* tree) {
    BurnTrack track;
    track.Source = FileTreeFromHandle(tree).NewImageSource();
    return track;
}

BurnTrack FileTrack(const std::string& path) {
    if (path.empty())
        throw SdkError(EN_INVALID_INPUT_PARAMETER, "No source file given");
    BurnTrack track;
    track.Source = FileSource(path, &track.Audio);
    return track;
}

BurnJob Job(BurnJob::Mode mode, uint8_t test, uint8_t multi, uint8_t bup) {
    BurnJob job;
    job.WriteMode = mode;
    job.Simulate = test != 0;
    job.MultiSession = multi != 0;
    job.Bup = bup != 0;
    return job;
}

void FromTree(void* grabber, const char* function, void* tree, BurnJob::Mode mode, uint8_t test, uint8_t multi,
              uint8_t bup) {
    BurnTarget target = GrabberBurnTarget(grabber, function);
    BurnJob job = Job(mode, test, multi, bup);
    job.Tracks.push_back(TreeTrack(tree));
    WriteDisc(target, job);
    RefreshGrabberDisc(grabber);
}

void FromLayout(void* grabber, const char* function, const DAO_DISC_LAYOUT* layout, BurnJob::Mode mode,
                uint8_t test, uint8_t multi, uint8_t bup) {
    BurnTarget target = GrabberBurnTarget(grabber, function);
    if (layout == nullptr)
        throw SdkError(EN_INVALID_INPUT_PARAMETER, "No disc layout given");
    int32_t count = layout->m__LONG__NumberOfEntries;
    if (count < 1 || count > 100)
        throw SdkError(EN_INVALID_INPUT_PARAMETER,
                       "A disc layout holds 1 to 100 entries, not " + std::to_string(count));
    BurnJob job = Job(mode, test, multi, bup);
    for (int32_t i = 0; i < count; ++i) {
        const DAO_DISC_LAYOUT_ENTRY& entry = layout->m__DAO_DISC_LAYOUT_ENTRY[i];
        job.Tracks.push_back(FileTrack(FieldText(entry.m__CHAR__FileName, sizeof(entry.m__CHAR__FileName),
                                                 "The file name of layout entry " + std::to_string(i))));
    }
    WriteDisc(target, job);
    RefreshGrabberDisc(grabber);
}

}  // namespace

extern "C" {

EXCEPTION_NUMBER Burnkit_Grabber_TrackAtOnceFromTree(void* Grabber, char* ExceptionText, uint32_t ExceptionTextSize,
                                                     uint32_t* SystemError,
                                                     CDB_FAILURE_INFORMATION* CDBFailureInformation, void* FileTree,
                                                     uint8_t IsCloseTrack, uint8_t IsTestWrite,
                                                     uint8_t IsMultiSession, uint8_t IsBUP, uint32_t RetryCount) {
    ErrorBlock eb{ExceptionText, ExceptionTextSize, SystemError, CDBFailureInformation};
    (void)IsCloseTrack;
    (void)RetryCount;
    return Guard(eb, [&] {
        FromTree(Grabber, __func__, FileTree, BurnJob::Mode::TrackAtOnce, IsTestWrite, IsMultiSession, IsBUP);
    });
}

EXCEPTION_NUMBER Burnkit_Grabber_TrackAtOnceFromFile(void* Grabber, char* ExceptionText, uint32_t ExceptionTextSize,
                                                     uint32_t* SystemError,
                                                     CDB_FAILURE_INFORMATION* CDBFailureInformation,
                                                     const char* SourceFile, uint8_t IsCloseTrack,
                                                     uint8_t IsTestWrite, uint8_t IsMultiSession, uint8_t IsBUP,
                                                     uint32_t RetryCount) {
    ErrorBlock eb{ExceptionText, ExceptionTextSize, SystemError, CDBFailureInformation};
    (void)IsCloseTrack;
    (void)RetryCount;
    return Guard(eb, [&] {
        BurnTarget target = GrabberBurnTarget(Grabber, __func__);
        BurnJob job = Job(BurnJob::Mode::TrackAtOnce, IsTestWrite, IsMultiSession, IsBUP);
        job.Tracks.push_back(FileTrack(SourceFile != nullptr ? SourceFile : ""));
        WriteDisc(target, job);
        RefreshGrabberDisc(Grabber);
    });
}

EXCEPTION_NUMBER Burnkit_Grabber_SessionAtOnce(void* Grabber, char* ExceptionText, uint32_t ExceptionTextSize,
                                               uint32_t* SystemError, CDB_FAILURE_INFORMATION* CDBFailureInformation,
                                               const void* SessionLayout, uint8_t IsFromTree, uint8_t IsTestWrite,
                                               uint8_t IsCloseSession, uint8_t IsBUP, uint32_t RetryCount) {
    ErrorBlock eb{ExceptionText, ExceptionTextSize, SystemError, CDBFailureInformation};
    (void)RetryCount;
    return Guard(eb, [&] {
        BurnTarget target = GrabberBurnTarget(Grabber, __func__);
        if (SessionLayout == nullptr)
            throw SdkError(EN_INVALID_INPUT_PARAMETER, "No session layout given");
        const auto* bytes = static_cast<const unsigned char*>(SessionLayout);
        int32_t count = 0;
        std::memcpy(&count, bytes, sizeof(count));
        if (count < 1 || count > BURNKIT_SESSION_LAYOUT_MAX_ENTRIES)
            throw SdkError(EN_INVALID_INPUT_PARAMETER, "A session layout holds 1 to " +
                                                           std::to_string(BURNKIT_SESSION_LAYOUT_MAX_ENTRIES) +
                                                           " entries, not " + std::to_string(count));
        // A closed session is a disc that takes no later session.
        BurnJob job = Job(BurnJob::Mode::SessionAtOnce, IsTestWrite, IsCloseSession == 0, IsBUP);
        for (int32_t i = 0; i < count; ++i) {
            const unsigned char* entry = bytes + 4 + static_cast<size_t>(i) * BURNKIT_SESSION_LAYOUT_ENTRY_SIZE;
            if (IsFromTree != 0) {
                void* tree = nullptr;
                std::memcpy(&tree, entry + BURNKIT_SESSION_LAYOUT_TREE_OFFSET, sizeof(tree));
                job.Tracks.push_back(TreeTrack(tree));
            } else {
                job.Tracks.push_back(FileTrack(FieldText(
                    reinterpret_cast<const char*>(entry + BURNKIT_SESSION_LAYOUT_NAME_OFFSET), kSessionNameSize,
                    "The file name of session entry " + std::to_string(i))));
            }
        }
        WriteDisc(target, job);
        RefreshGrabberDisc(Grabber);
    });
}

EXCEPTION_NUMBER Burnkit_Grabber_DiscAtOncePQFromTree(void* Grabber, char* ExceptionText, uint32_t ExceptionTextSize,
                                                      uint32_t* SystemError,
                                                      CDB_FAILURE_INFORMATION* CDBFailureInformation, void* FileTree,
                                                      uint8_t IsCloseTrack, uint8_t IsTestWrite,
                                                      uint8_t IsMultiSession, uint8_t IsBUP, uint32_t RetryCount) {
    ErrorBlock eb{ExceptionText, ExceptionTextSize, SystemError, CDBFailureInformation};
    (void)IsCloseTrack;
    (void)RetryCount;
    return Guard(eb, [&] {
        FromTree(Grabber, __func__, FileTree, BurnJob::Mode::DiscAtOnce, IsTestWrite, IsMultiSession, IsBUP);
    });
}

EXCEPTION_NUMBER Burnkit_Grabber_DiscAtOnceRawPWFromTree(void* Grabber, char* ExceptionText,
                                                         uint32_t ExceptionTextSize, uint32_t* SystemError,
                                                         CDB_FAILURE_INFORMATION* CDBFailureInformation,
                                                         void* FileTree, uint8_t IsCloseTrack, uint8_t IsTestWrite,
                                                         uint8_t IsMultiSession, uint8_t IsBUP, uint32_t RetryCount) {
    ErrorBlock eb{ExceptionText, ExceptionTextSize, SystemError, CDBFailureInformation};
    (void)IsCloseTrack;
    (void)RetryCount;
    return Guard(eb, [&] {
        FromTree(Grabber, __func__, FileTree, BurnJob::Mode::DiscAtOnceRaw, IsTestWrite, IsMultiSession, IsBUP);
    });
}

EXCEPTION_NUMBER Burnkit_Grabber_DiscAtOncePQFromFile(void* Grabber, char* ExceptionText, uint32_t ExceptionTextSize,
                                                      uint32_t* SystemError,
                                                      CDB_FAILURE_INFORMATION* CDBFailureInformation,
                                                      const DAO_DISC_LAYOUT* Layout, uint8_t IsCloseTrack,
                                                      uint8_t IsTestWrite, uint8_t IsMultiSession,
                                                      uint8_t IsRawSubchannel, uint8_t IsBUP, uint32_t RetryCount) {
    ErrorBlock eb{ExceptionText, ExceptionTextSize, SystemError, CDBFailureInformation};
    (void)IsCloseTrack;
    (void)RetryCount;
    return Guard(eb, [&] {
        FromLayout(Grabber, __func__, Layout,
                   IsRawSubchannel != 0 ? BurnJob::Mode::DiscAtOnceRaw : BurnJob::Mode::DiscAtOnce, IsTestWrite,
                   IsMultiSession, IsBUP);
    });
}

EXCEPTION_NUMBER Burnkit_Grabber_DiscAtOnceRawPWFromFile(void* Grabber, char* ExceptionText,
                                                         uint32_t ExceptionTextSize, uint32_t* SystemError,
                                                         CDB_FAILURE_INFORMATION* CDBFailureInformation,
                                                         const DAO_DISC_LAYOUT* Layout, uint8_t IsCloseTrack,
                                                         uint8_t IsTestWrite, uint8_t IsMultiSession,
                                                         uint8_t IsRawSubchannel, uint8_t IsBUP, uint32_t RetryCount) {
    ErrorBlock eb{ExceptionText, ExceptionTextSize, SystemError, CDBFailureInformation};
    (void)IsCloseTrack;
    (void)IsRawSubchannel;
    (void)RetryCount;
    return Guard(eb, [&] {
        FromLayout(Grabber, __func__, Layout, BurnJob::Mode::DiscAtOnceRaw, IsTestWrite, IsMultiSession, IsBUP);
    });
}

EXCEPTION_NUMBER Burnkit_Grabber_Blank(void* Grabber, char* ExceptionText, uint32_t ExceptionTextSize,
                                       uint32_t* SystemError, CDB_FAILURE_INFORMATION* CDBFailureInformation,
                                       uint32_t EraseType) {
    ErrorBlock eb{ExceptionText, ExceptionTextSize, SystemError, CDBFailureInformation};
    return Guard(eb, [&] {
        BurnTarget target = GrabberBurnTarget(Grabber, __func__);
        if (EraseType != ERASE_TYPE_BLANK_DISC_FULL && EraseType != ERASE_TYPE_BLANK_DISC_FAST)
            throw SdkError(EN_INVALID_INPUT_PARAMETER, "Unknown erase type " + std::to_string(EraseType));
        BlankDisc(target, EraseType == ERASE_TYPE_BLANK_DISC_FULL);
        RefreshGrabberDisc(Grabber);
    });
}

}  // extern "C"
