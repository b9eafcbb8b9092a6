#include "sbCallBack.h"

#include <QLocale>
#include <QRegularExpression>
#include <cstring>
#include <exception>
#include <string>

#include "sbCallBackEventer.h"
#include "sbLogger.h"
#include "sbUtils.h"

namespace {

int64_t gLastPercent = 0;
int32_t gRenameCounter = 1;
thread_local std::exception_ptr gPendingException;

// Offsets in the name-collision record.
constexpr size_t kKindOffset = 0;
constexpr size_t kNameOffset = 1;
constexpr size_t kPathObjectOffset = 521;
constexpr size_t kFirstAttrOffset = 525;
constexpr size_t kSecondAttrOffset = 533;
constexpr size_t kActionOffset = 537;
constexpr uint32_t kFolderAttr = 0x10;

template <typename T>
T ReadAt(const void* base, size_t offset)
{
    T v;
    std::memcpy(&v, static_cast<const unsigned char*>(base) + offset, sizeof v);
    return v;
}

template <typename T>
void WriteAt(void* base, size_t offset, T v)
{
    std::memcpy(static_cast<unsigned char*>(base) + offset, &v, sizeof v);
}

// Steps shared by both renamers, on a name of any character type: pads a
// name shorter than two characters with "0", then finds where the base ends
// (before a dot at most four places before the end of the name or of its
// ";n" version suffix).
template <typename S>
size_t FindBaseEnd(S& name)
{
    using C = typename S::value_type;
    while (name.size() < 2) name.push_back(C('0'));
    size_t len = name.size();
    size_t cut = len;
    if (name[len - 2] == C(';')) cut = len - 2;
    for (size_t back = 0; back <= 4 && back <= cut; ++back) {
        size_t pos = cut - back;
        if (pos < len && name[pos] == C('.')) {
            cut = pos;
            break;
        }
    }
    return cut;
}

// Base + middle + extension, within maxChars characters: the base gives
// way first, then the end of the whole name.
template <typename S>
S JoinWithin(const S& base, const S& middle, const S& ext, size_t maxChars)
{
    S b = base;
    if (b.size() + middle.size() + ext.size() > maxChars) {
        size_t room = maxChars > middle.size() + ext.size() ? maxChars - middle.size() - ext.size() : 0;
        b.resize(std::min(b.size(), room));
    }
    S result = b + middle + ext;
    if (result.size() > maxChars) result.resize(maxChars);
    return result;
}

std::u16string ReadWide(const void* name, size_t maxChars)
{
    std::u16string s;
    for (size_t i = 0; i < maxChars; ++i) {
        char16_t c = ReadAt<char16_t>(name, i * 2);
        if (c == 0) break;
        s.push_back(c);
    }
    return s;
}

void KeepException()
{
    if (!gPendingException) gPendingException = std::current_exception();
}

void ProgressReport(uint32_t reason, void* p1, void* p2)
{
    if (reason == BURNKIT_CALLBACK_REASON_GRAB_PROGRESS && !GrabInProgress) return;
    int64_t total = ReadAt<int64_t>(p1, 0);
    int64_t done = ReadAt<int64_t>(p2, 0);
    if (total == 0) return;
    int64_t percent = done * 100 / total;
    if (percent == gLastPercent) return;
    gLastPercent = percent;
    if (sbCallBackEventer) sbCallBackEventer->DoWriteProgress(int32_t(percent));
}

void BufferReport(void* p1, void* p2)
{
    uint32_t size = ReadAt<uint32_t>(p1, 0);
    uint32_t freeAmount = ReadAt<uint32_t>(p2, 0);
    if (size == 0) return;
    // 64-bit product: exact also when free * 100 would not fit in 32 bits.
    int64_t fill = 100 - int64_t(uint64_t(freeAmount) * 100 / size);
    if (sbCallBackEventer) sbCallBackEventer->DoBufferStatus(int32_t(fill));
}

void NameCollision(void* record)
{
    unsigned char kind = ReadAt<unsigned char>(record, kKindOffset);
    uint32_t attr1 = ReadAt<uint32_t>(record, kFirstAttrOffset);
    uint32_t attr2 = ReadAt<uint32_t>(record, kSecondAttrOffset);
    if ((attr1 & kFolderAttr) && (attr2 & kFolderAttr) && kind != 0) {
        WriteAt<uint32_t>(record, kActionOffset, 3);
        return;
    }
    unsigned char* name = static_cast<unsigned char*>(record) + kNameOffset;
    if (kind != 0)
        MakeUniqueJolietName(name);
    else
        MakeUniqueISO9660Name(reinterpret_cast<char*>(name));

    // The first entry's path: 8-bit text from offset 1 of the object whose
    // address the record holds (a 32-bit field).
    std::string path;
    auto address = uintptr_t(ReadAt<uint32_t>(record, kPathObjectOffset));
    if (address != 0) path = reinterpret_cast<const char*>(address) + 1;
    std::string element = ReplaceAllText(path, "/", "\\");
    size_t slash = element.find_last_of('\\');
    if (slash != std::string::npos) element = element.substr(slash + 1);
    WriteAt<uint32_t>(record, kActionOffset, AnsiTextEquals(element, "boot.img") ? 1 : 2);
}

}  // namespace

namespace sbCallBackState {
int32_t RenameCounter() { return gRenameCounter; }
void SetRenameCounter(int32_t Value) { gRenameCounter = Value; }
int64_t LastPercent() { return gLastPercent; }
}  // namespace sbCallBackState

void BURNKIT_CALL BurnkitCallBack(uint32_t Reason, void* Context, void* Param1, void* Param2)
{
    try {
        switch (Reason) {
        case BURNKIT_CALLBACK_REASON_NODE_ADDED:
        case BURNKIT_CALLBACK_REASON_NODE_REMOVED: {
            std::string name = Param1 ? static_cast<const char*>(Param1) : "";
            if (sbCallBackEventer) {
                if (Reason == BURNKIT_CALLBACK_REASON_NODE_ADDED)
                    sbCallBackEventer->DoFileTreeAdd(name, Param2);
                else
                    sbCallBackEventer->DoFileTreeRemove(name, Param2);
            }
            if (Context) {
                int32_t count = ReadAt<int32_t>(Context, 0);
                count += Reason == BURNKIT_CALLBACK_REASON_NODE_ADDED ? 1 : -1;
                WriteAt<int32_t>(Context, 0, count);
            }
            break;
        }
        case BURNKIT_CALLBACK_REASON_NAME_COLLISION:
            if (Param1) NameCollision(Param1);
            break;
        case BURNKIT_CALLBACK_REASON_DEVICE_FOUND:
            sbProbeFoundDevice(Context, Param1, Param2);
            break;
        case BURNKIT_CALLBACK_REASON_GRAB_PROGRESS:
        case BURNKIT_CALLBACK_REASON_WRITE_PROGRESS:
            ProgressReport(Reason, Param1, Param2);
            break;
        case BURNKIT_CALLBACK_REASON_BUFFER_STATE:
            BufferReport(Param1, Param2);
            break;
        default:
            break;
        }
    } catch (...) {
        KeepException();
    }
}

int32_t BURNKIT_CALL WaveCallBack(uint32_t Reason, int32_t Value, void* Third)
{
    try {
        if (Reason == BURNKIT_WAVE_CALLBACK_REASON_PROGRESS && sbCallBackEventer)
            sbCallBackEventer->DoBufferStatus(Value);
    } catch (...) {
        KeepException();
    }
    return 0;
}

void sbRaisePendingCallbackException()
{
    std::exception_ptr e = std::exchange(gPendingException, nullptr);
    if (e) std::rethrow_exception(e);
}

void MakeUniqueISO9660Name(char* Name, size_t CapacityBytes)
{
    if (CapacityBytes < 3) return;
    const size_t maxChars = CapacityBytes - 1;
    std::string name(Name, strnlen(Name, maxChars));
    size_t cut = FindBaseEnd(name);
    std::string ext = name.substr(cut);
    if (cut > 8) cut = 7;
    std::string result = JoinWithin(name.substr(0, cut), std::to_string(gRenameCounter), ext, maxChars);
    ++gRenameCounter;
    std::memcpy(Name, result.data(), result.size());
    Name[result.size()] = 0;
}

QString sbDateTimeToStr(const QDateTime& At)
{
    QLocale locale = QLocale::system();
    QString text = locale.toString(At.date(), locale.dateFormat(QLocale::ShortFormat));
    if (At.time() != QTime(0, 0)) {
        // The long time format without the time-zone part.
        QString format = locale.timeFormat(QLocale::LongFormat);
        format.remove(QRegularExpression(QStringLiteral("\\s*t+")));
        text += QLatin1Char(' ') + locale.toString(At.time(), format.trimmed());
    }
    return text;
}

void MakeUniqueJolietNameAt(void* Name, const QDateTime& At, size_t CapacityBytes)
{
    if (CapacityBytes < 6) return;
    const size_t maxChars = CapacityBytes / 2 - 1;
    std::u16string name = ReadWide(Name, maxChars);
    size_t cut = FindBaseEnd(name);
    std::u16string middle = u"_" + sbDateTimeToStr(At).toStdU16String();
    std::u16string result = JoinWithin(name.substr(0, cut), middle, name.substr(cut), maxChars);
    for (char16_t& c : result)
        if (c <= 32 || c == u':' || c == u'.') c = u'_';
    for (size_t i = 0; i < result.size(); ++i) WriteAt<char16_t>(Name, i * 2, result[i]);
    WriteAt<char16_t>(Name, result.size() * 2, 0);
}

void MakeUniqueJolietName(void* Name, size_t CapacityBytes)
{
    MakeUniqueJolietNameAt(Name, QDateTime::currentDateTime(), CapacityBytes);
}

double AudioSizeToTime(uint32_t Bytes)
{
    return double(Bytes) / 176400.0 * 1000.0 / 86400000.0;
}
