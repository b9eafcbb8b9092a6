#include "sbUtils.h"

#include <platform/CodePage.h>
#include <platform/Errors.h>
#include <platform/Paths.h>

#include "sbStrings.h"

std::string GetKeyValue(const std::string& Text, const std::string& Key, const std::string& Separator)
{
    if (Text.find(Key) == std::string::npos) return {};
    size_t pos = Text.find(Separator);
    if (pos == std::string::npos) return Text;
    return Text.substr(pos + Separator.size());
}

bool AnsiTextEquals(const std::string& A, const std::string& B)
{
    QString a = QString::fromStdU16String(platform::AnsiToWide(A)).toUpper();
    QString b = QString::fromStdU16String(platform::AnsiToWide(B)).toUpper();
    return a == b;
}

std::string BoolToYesNo(bool Value, bool FromTable)
{
    if (FromTable) return sbLoadStr(Value ? sbStr::Yes : sbStr::No);
    return Value ? "Yes" : "No";
}

std::string BytesToSizeText(bool NoSuffix, int64_t Size)
{
    // The magnitude as unsigned, so that the smallest Int64 does not overflow.
    uint64_t magnitude = Size < 0 ? uint64_t(0) - uint64_t(Size) : uint64_t(Size);
    uint64_t k = magnitude / 1024;
    if (k > 1024) return std::to_string(k / 1024) + (NoSuffix ? "" : " MB");
    return std::to_string(k) + (NoSuffix ? "" : " KB");
}

std::string LeftChars(const std::string& Text, int32_t Count)
{
    if (Count <= 0) return {};
    return Text.substr(0, size_t(Count));
}

std::string ReplaceAllText(const std::string& Text, const std::string& OldPart, const std::string& NewPart)
{
    if (OldPart.empty()) return Text;
    std::string result;
    size_t from = 0;
    for (;;) {
        size_t pos = Text.find(OldPart, from);
        if (pos == std::string::npos) break;
        result.append(Text, from, pos - from);
        result += NewPart;
        from = pos + OldPart.size();
    }
    result.append(Text, from, std::string::npos);
    return result;
}

std::string CharArrayToStr(const char* Buffer, int32_t LastIndex)
{
    std::string s;
    for (int32_t i = 0; i <= LastIndex && Buffer[i] != 0; ++i) s += Buffer[i];
    return s;
}

std::string CharArrayToStr(const unsigned char* Buffer, int32_t LastIndex)
{
    return CharArrayToStr(reinterpret_cast<const char*>(Buffer), LastIndex);
}

QString GetSystemTempPath()
{
    return QString::fromStdString(platform::GetTempPath());
}

QString MakeTempFileName(const QString& Prefix)
{
    try {
        return QString::fromStdString(
            platform::GetTempFileName(GetSystemTempPath().toStdString(), Prefix.toStdString()));
    } catch (const platform::EOSError&) {
        return {};
    }
}

QString FileNameWithoutExt(const QString& Path)
{
    qsizetype sep = -1;
    for (QChar c : {QChar('/'), QChar('\\'), QChar(':')}) sep = std::max(sep, Path.lastIndexOf(c));
    QString name = Path.mid(sep + 1);
    qsizetype dot = name.lastIndexOf(QChar('.'));
    return dot < 0 ? name : name.left(dot);
}
