#include "sbBurnThreads.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>

#include <platform/Errors.h>
#include "sbCallBackEventer.h"
#include "sbLogger.h"
#include "sbStrings.h"

namespace {

constexpr int64_t kChunkSize = 65536;
constexpr size_t kSessionNameSize = BURNKIT_SESSION_LAYOUT_TREE_OFFSET - BURNKIT_SESSION_LAYOUT_NAME_OFFSET;
constexpr int32_t kDaoMaxEntries = 100;

struct ModeRow {
    const char* Text;          // shown after "Burning mode: "
    const char* Function;      // traced before the call
    const char* FailureName;   // named in the failure text
};

// Indexed by TsbBurnMode; bmImageFile has no row of its own.
const ModeRow kModes[] = {
    {"Track-At-Once (from tree)", "Burnkit_Grabber_TrackAtOnceFromTree", "Burnkit_Grabber_TrackAtOnceFromTree"},
    {"Session-At-Once (from tree)", "Burnkit_Grabber_SessionAtOnce", "Burnkit_Grabber_SessionAtOnce"},
    {"Disc-At-Once PQ (from tree)", "Burnkit_Grabber_DiscAtOncePQFromTree", "Burnkit_Grabber_DiscAtOncePQFromTree"},
    {"Disc-At-Once raw P-W (from tree)", "Burnkit_Grabber_DiscAtOnceRawPWFromTree",
     "Burnkit_Grabber_DiscAtOncePQ[RawPW]FromTree"},
    {nullptr, nullptr, nullptr},
    {"Disc-At-Once PQ (from file)", "Burnkit_Grabber_DiscAtOncePQFromFile", "Burnkit_Grabber_DiscAtOncePQFromFile"},
    {"Disc-At-Once raw P-W (from file)", "Burnkit_Grabber_DiscAtOnceRawPWFromFile",
     "Burnkit_Grabber_DiscAtOnceRawPWFromFile"},
    {"Track-At-Once (from file)", "Burnkit_Grabber_TrackAtOnceFromFile", "Burnkit_Grabber_TrackAtOnceFromFile"},
    {"Session-At-Once (from file)", "Burnkit_Grabber_SessionAtOnce", "Burnkit_Grabber_SessionAtOnce"},
};

std::string Format(const char* format, long long a, long long b)
{
    char text[256];
    std::snprintf(text, sizeof text, format, a, b);
    return text;
}

// The SDK's error text, which it always terminates within the buffer.
std::string SdkText(const TsbPackedArray& text)
{
    return std::string(text, strnlen(text, sizeof(TsbPackedArray)));
}

// The DAO layout's entry count, refused when it is more than the layout
// holds: the SDK would read past the record.
int32_t DaoEntryCount(const DAO_DISC_LAYOUT& layout)
{
    int32_t count = layout.m__LONG__NumberOfEntries;
    if (count < 0 || count > kDaoMaxEntries)
        throw platform::EOSError("The disc-at-once layout holds 0 to " + std::to_string(kDaoMaxEntries) +
                                 " entries, not " + std::to_string(count));
    return count;
}

}  // namespace

// TsbCustomThread ------------------------------------------------------------

TsbCustomThread::TsbCustomThread(TsbBurner* ABurner) : FBurner(ABurner) {}

TsbCustomThread::~TsbCustomThread()
{
    wait();
}

void TsbCustomThread::DoAction(const std::string& AMessage, TsbLogItemType AItemType)
{
    if (OnAction) OnAction(this, AMessage, AItemType);
}

void TsbCustomThread::DoTerminate()
{
    if (OnTerminate) OnTerminate(this);
}

void TsbCustomThread::run()
{
    try {
        Execute();
    } catch (const std::exception& e) {
        FHasFatalException = true;
        FFatalException = e.what();
    } catch (...) {
        FHasFatalException = true;
        FFatalException = "Unknown exception";
    }
    try {
        DoTerminate();
    } catch (...) {
        // A failing termination handler cannot be reported anywhere else.
    }
}

// Session layouts ------------------------------------------------------------

std::unique_ptr<TsbSessionLayout> sbSessionLayoutForTree(void* Tree)
{
    auto layout = std::make_unique<TsbSessionLayout>();
    layout->fill(0);
    int32_t count = 1;
    std::memcpy(layout->data(), &count, sizeof count);
    std::memcpy(layout->data() + 4 + BURNKIT_SESSION_LAYOUT_TREE_OFFSET, &Tree, sizeof Tree);
    return layout;
}

std::unique_ptr<TsbSessionLayout> sbSessionLayoutForFiles(const std::vector<std::string>& FileNames)
{
    if (FileNames.size() > BURNKIT_SESSION_LAYOUT_MAX_ENTRIES)
        throw platform::EOSError("The session layout holds at most " +
                                 std::to_string(BURNKIT_SESSION_LAYOUT_MAX_ENTRIES) + " files, not " +
                                 std::to_string(FileNames.size()));
    auto layout = std::make_unique<TsbSessionLayout>();
    layout->fill(0);
    int32_t count = static_cast<int32_t>(FileNames.size());
    std::memcpy(layout->data(), &count, sizeof count);
    for (size_t i = 0; i < FileNames.size(); ++i) {
        const std::string& name = FileNames[i];
        if (name.size() + 1 > kSessionNameSize)
            throw platform::EOSError("The file name " + name + " is longer than the " +
                                     std::to_string(kSessionNameSize - 1) + " bytes a session layout holds");
        std::memcpy(layout->data() + 4 + i * BURNKIT_SESSION_LAYOUT_ENTRY_SIZE + BURNKIT_SESSION_LAYOUT_NAME_OFFSET,
                    name.data(), name.size());
    }
    return layout;
}

// TsbBurnThread ----------------------------------------------------------------

void TsbBurnThread::Execute()
{
    TsbBurner& B = *FBurner;
    B.Message().clear();
    struct Finally {
        TsbBurnThread* Self;
        ~Finally()
        {
            if (sbCallBackEventer) sbCallBackEventer->DoAllowCancelWrite(false);
            Self->FBurner = nullptr;
            Self->Terminate();
        }
    } finally{this};
    if (B.BurnOptions().Mode != bmImageFile && sbCallBackEventer) sbCallBackEventer->DoAllowCancelWrite(true);
    try {
        if (B.BurnOptions().Mode == bmImageFile)
            RunImageFile();
        else if (B.BurnOptions().Mode <= bmSessionAtOnceFromFile)
            RunMode();
    } catch (const std::exception& e) {
        B.Message() = e.what();
        B.Success() = false;
    }
}

void TsbBurnThread::ReportFailure(const std::string& FunctionName)
{
    TsbBurner& B = *FBurner;
    B.Message() = sbFailureMessage(FunctionName, B.sbException, B.SystemError, B.ExceptionText);
    B.Success() = false;
    sbLog(B.Message());
}

void TsbBurnThread::RunMode()
{
    TsbBurner& B = *FBurner;
    const TsbBurnMode mode = B.BurnOptions().Mode;
    const ModeRow& row = kModes[mode];
    const uint8_t test = B.BurnOptions().TestMode ? 1 : 0;
    const uint8_t multi = B.BurnOptions().IsMultiSession ? 1 : 0;
    void* H = B.Grabber;
    void* T = B.ISO9660JolietFileTree;
    char* text = B.ExceptionText;
    uint32_t* status = &B.SystemError;
    CDB_FAILURE_INFORMATION* cdb = &B.CDBFailureInformation;

    B.Success() = true;
    DoAction(sbLoadStr(sbStr::BurningMode) + ": " + row.Text, litInfo);
    DoAction(sbLoadStr(sbStr::BurningStarted), litInfo);
    sbLog(row.Function);

    switch (mode) {
    case bmTrackAtOnce:
        B.sbException = Burnkit_Grabber_TrackAtOnceFromTree(H, text, 1024, status, cdb, T, 1, test, multi, 1, 5);
        break;
    case bmSessionAtOnce: {
        auto layout = sbSessionLayoutForTree(T);
        B.sbException = Burnkit_Grabber_SessionAtOnce(H, text, 1024, status, cdb, layout->data(), 1, test, 1, 1, 5);
        break;
    }
    case bmDiscAtOncePQFromTree:
        B.sbException = Burnkit_Grabber_DiscAtOncePQFromTree(H, text, 1024, status, cdb, T, 0, test, 0, 1, 5);
        break;
    case bmDiscAtOnceRawPWFromTree:
        B.sbException = Burnkit_Grabber_DiscAtOnceRawPWFromTree(H, text, 1024, status, cdb, T, 0, test, 0, 1, 5);
        break;
    case bmDiscAtOncePQFromFile:
        DaoEntryCount(B.DAODISCLAYOUT);
        B.sbException =
            Burnkit_Grabber_DiscAtOncePQFromFile(H, text, 1024, status, cdb, &B.DAODISCLAYOUT, 0, test, 0, 0, 1, 5);
        break;
    case bmDiscAtOnceRawPWFromFile:
        DaoEntryCount(B.DAODISCLAYOUT);
        B.sbException = Burnkit_Grabber_DiscAtOnceRawPWFromFile(H, text, 1024, status, cdb, &B.DAODISCLAYOUT, 0,
                                                                test, 0, 0, 1, 5);
        break;
    case bmTrackAtOnceFromFile: {
        int32_t count = DaoEntryCount(B.DAODISCLAYOUT);
        for (int32_t i = 0; i < count; ++i) {
            const DAO_DISC_LAYOUT_ENTRY& entry = B.DAODISCLAYOUT.m__DAO_DISC_LAYOUT_ENTRY[i];
            if (strnlen(entry.m__CHAR__FileName, sizeof entry.m__CHAR__FileName) == sizeof entry.m__CHAR__FileName)
                throw platform::EOSError("The file name of disc-at-once entry " + std::to_string(i) +
                                         " does not end within its " +
                                         std::to_string(sizeof entry.m__CHAR__FileName) + " bytes");
            B.sbException = Burnkit_Grabber_TrackAtOnceFromFile(H, text, 1024, status, cdb, entry.m__CHAR__FileName,
                                                                1, test, multi, 1, 5);
            if (B.sbException != EN_SUCCESS) break;
        }
        if (count == 0) return;
        break;
    }
    case bmSessionAtOnceFromFile: {
        auto layout = sbSessionLayoutForFiles(B.BurnFileList());
        B.sbException = Burnkit_Grabber_SessionAtOnce(H, text, 1024, status, cdb, layout->data(), 0, test, 1, 1, 5);
        break;
    }
    default:
        return;
    }
    if (B.sbException != EN_SUCCESS) ReportFailure(row.FailureName);
}

void TsbBurnThread::RunImageFile()
{
    TsbBurner& B = *FBurner;
    TsbFileImageProgressVars& v = B.FIPV;
    if (sbCallBackEventer) sbCallBackEventer->DoBufferDisable();
    FBuffer.assign(kChunkSize, 0);
    v.LastPrintedPercent = 0;
    if (sbCallBackEventer) sbCallBackEventer->DoAllowCancelWrite(true);
    B.Success() = true;
    for (;;) {
        v.ProcessedUCHARs = v.TotalSizeInUCHARs - v.CurrentUnstoredSizeInUCHARs;
        // An image of no bytes has no percentage; nothing is reported.
        v.CurrentPercent = v.TotalSizeInUCHARs != 0 ? v.ProcessedUCHARs * 100 / v.TotalSizeInUCHARs : 0;
        if (v.CurrentPercent != v.LastPrintedPercent && v.CurrentPercent != 100) {
            v.LastPrintedPercent = v.CurrentPercent;
            if (sbCallBackEventer) sbCallBackEventer->DoWriteProgress(static_cast<int32_t>(v.CurrentPercent));
        }
        if (v.CurrentUnstoredSizeInUCHARs <= 0 || B.Cancel()) break;
        v.IoTransferSizeInUCHARs = v.CurrentUnstoredSizeInUCHARs < kChunkSize ? v.CurrentUnstoredSizeInUCHARs
                                                                                : kChunkSize;
        sbLog("Burnkit_ISO9660JolietFileTree_Read");
        B.sbException = Burnkit_ISO9660JolietFileTree_Read(B.ISO9660JolietFileTree, B.ExceptionText, 1024,
                                                           &B.SystemError,
                                                           static_cast<uint32_t>(v.IoTransferSizeInUCHARs),
                                                           FBuffer.data());
        if (B.sbException != EN_SUCCESS) {
            B.Message() = Format("Burnkit_ISO9660FileTree_Read(loop) failed, exception %lld, status %lld, text ",
                                 B.sbException, B.SystemError) +
                          "\"" + SdkText(B.ExceptionText) + "\"";
            sbLog(B.Message());
            throw platform::EOSError(B.Message(), static_cast<int>(B.SystemError));
        }
        // A short write is continued, so no byte of the image is lost.
        int64_t written = 0;
        while (written < v.IoTransferSizeInUCHARs) {
            ssize_t n = ::write(static_cast<int>(v.FileHandle), FBuffer.data() + written,
                                static_cast<size_t>(v.IoTransferSizeInUCHARs - written));
            if (n <= 0) {
                if (n < 0 && errno == EINTR) continue;
                B.SystemError = n < 0 ? static_cast<uint32_t>(errno) : static_cast<uint32_t>(EIO);
                B.Message() = Format("WriteFile( %lld ) failed, status %lld", v.IoTransferSizeInUCHARs,
                                     B.SystemError);
                throw platform::EOSError(B.Message(), static_cast<int>(B.SystemError));
            }
            written += n;
        }
        v.CurrentUnstoredSizeInUCHARs -= v.IoTransferSizeInUCHARs;
    }
}

// TsbEraseThread ---------------------------------------------------------------

void TsbEraseThread::Execute()
{
    TsbBurner& B = *FBurner;
    struct Finally {
        TsbEraseThread* Self;
        ~Finally()
        {
            Self->FBurner = nullptr;
            Self->Terminate();
        }
    } finally{this};
    B.Message().clear();
    const bool full = B.EraseOptions().IsFull;
    const uint32_t type = full ? ERASE_TYPE_BLANK_DISC_FULL : ERASE_TYPE_BLANK_DISC_FAST;
    sbLog(std::string("Burnkit_Grabber_Blank: EraseType: ") +
          (full ? "ERASE_TYPE_BLANK_DISC_FULL" : "ERASE_TYPE_BLANK_DISC_FAST"));
    B.sbException = Burnkit_Grabber_Blank(B.Grabber, B.ExceptionText, 1024, &B.SystemError,
                                          &B.CDBFailureInformation, type);
    if (B.sbException != EN_SUCCESS) {
        B.Message() = Format("Burnkit_Grabber_Blank failed, exception %lld, status %lld, text ", B.sbException,
                             B.SystemError) +
                      "\"" + SdkText(B.ExceptionText) + "\"";
        sbLog(B.Message());
        throw platform::EOSError(B.Message(), static_cast<int>(B.SystemError));
    }
}

// Starting ---------------------------------------------------------------------

std::unique_ptr<TsbBurnThread> sbStartBurnThread(TsbBurner& ABurner)
{
    auto thread = std::make_unique<TsbBurnThread>(&ABurner);
    thread->OnAction = [&ABurner](TObject* Sender, const std::string& AMessage, TsbLogItemType AItemType) {
        ABurner.DoAction(Sender, AMessage, AItemType);
    };
    thread->OnTerminate = [&ABurner](TObject* Sender) { ABurner.BurnThreadTerminated(Sender); };
    ABurner.FBurnThread = thread.get();
    ABurner.FBurnThreadHandle = reinterpret_cast<uintptr_t>(static_cast<QThread*>(thread.get()));
    thread->start();
    return thread;
}

std::unique_ptr<TsbEraseThread> sbStartEraseThread(TsbBurner& ABurner)
{
    auto thread = std::make_unique<TsbEraseThread>(&ABurner);
    thread->OnAction = [&ABurner](TObject* Sender, const std::string& AMessage, TsbLogItemType AItemType) {
        ABurner.DoAction(Sender, AMessage, AItemType);
    };
    thread->OnTerminate = [&ABurner](TObject* Sender) { ABurner.EraseThreadTerminated(Sender); };
    ABurner.FEraseThread = thread.get();
    ABurner.FEraseThreadHandle = reinterpret_cast<uintptr_t>(static_cast<QThread*>(thread.get()));
    thread->start();
    return thread;
}
