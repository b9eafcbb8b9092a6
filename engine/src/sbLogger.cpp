#include "sbLogger.h"

#include <fcntl.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <ctime>

#include <platform/Errors.h>
#include <platform/Paths.h>
#include <platform/Registry.h>

#include <QLocale>
#include <QRegularExpression>

#include "sbUtils.h"

TsbLogger* sbLogger = nullptr;

namespace {

// StrToIntDef(text, 0): an optionally signed decimal number filling the
// whole text, within 32 bits.
int32_t DecimalOrZero(const std::string& text)
{
    const char* first = text.data();
    const char* last = first + text.size();
    if (first != last && *first == '+') ++first;
    int32_t value = 0;
    auto [ptr, ec] = std::from_chars(first, last, value);
    if (ec != std::errc() || ptr != last || first == last) return 0;
    return value;
}

// The user locale's time separator: what stands between the hour and the
// minute in its time format (":" when the format shows none).
std::string TimeSeparator()
{
    const QString format = QLocale::system().timeFormat(QLocale::ShortFormat);
    qsizetype h = format.indexOf(QRegularExpression(QStringLiteral("[hH]")));
    qsizetype m = format.indexOf(QLatin1Char('m'));
    if (h < 0 || m < 0 || m <= h) return ":";
    qsizetype start = h;
    while (start < m && (format[start] == QLatin1Char('h') || format[start] == QLatin1Char('H'))) ++start;
    QString sep = format.mid(start, m - start);
    return sep.isEmpty() ? std::string(":") : sep.toStdString();
}

}  // namespace

TsbLogger::TsbLogger()
{
    platform::TRegistry reg(platform::KEY_ALL_ACCESS);
    reg.RootKey = platform::HKEY_LOCAL_MACHINE;
    if (!reg.OpenKey(sbRegistryKey, true)) return;
    reg.CloseKey();
    if (!reg.OpenKey(sbRegistrySettingsKey, false)) return;
    FEnabled = DecimalOrZero(reg.ReadString("LogEnabled")) != 0;
    FLevel = DecimalOrZero(reg.ReadString("LogLevel"));
}

std::string TsbLogger::LogFileNameFor(const std::string& ExePath)
{
    size_t slash = ExePath.find_last_of('/');
    std::string folder = slash == std::string::npos ? std::string() : ExePath.substr(0, slash + 1);
    return folder + FileNameWithoutExt(QString::fromStdString(ExePath)).toStdString() + ".log";
}

std::string TsbLogger::LogFileName()
{
    std::lock_guard<std::mutex> lock(FLock);
    if (FLogFileName.empty()) FLogFileName = LogFileNameFor(platform::ExecutablePath());
    return FLogFileName;
}

std::string TsbLogger::FormatLine(int Hour, int Minute, int Second, int Millisecond,
                                  const std::string& Message)
{
    const std::string sep = TimeSeparator();
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d", Hour);
    std::string line = buf;
    std::snprintf(buf, sizeof buf, "%02d", Minute);
    line += sep + buf;
    std::snprintf(buf, sizeof buf, "%02d", Second);
    line += sep + buf;
    std::snprintf(buf, sizeof buf, ".%03d", Millisecond);
    line += buf;
    return line + ": " + Message;
}

void TsbLogger::Log(const std::string& Message, int32_t Level)
{
    if (!FEnabled) return;
    std::string fileName = LogFileName();
    timeval tv{};
    gettimeofday(&tv, nullptr);
    std::tm local{};
    localtime_r(&tv.tv_sec, &local);
    std::string line = FormatLine(local.tm_hour, local.tm_min, local.tm_sec, int(tv.tv_usec / 1000), Message);
    std::lock_guard<std::mutex> lock(FLock);
    AppendLineToFile(fileName, line);
}

void sbLog(const std::string& Message)
{
    if (sbLogger) sbLogger->Log(Message, 0);
}

void AppendLineToFile(const std::string& FileName, const std::string& Line)
{
    int fd = ::open(FileName.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0) {
        int err = errno;
        throw platform::EOSError("Cannot open " + FileName + ": " + platform::SysErrorMessage(err), err);
    }
    // One write per line: with O_APPEND a line lands whole even when another
    // process appends to the same file.
    std::string data = Line + "\r\n";
    const char* p = data.data();
    size_t left = data.size();
    int err = 0;
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            err = errno;
            break;
        }
        p += n;
        left -= size_t(n);
    }
    ::close(fd);
    if (err != 0)
        throw platform::EOSError("Cannot write " + FileName + ": " + platform::SysErrorMessage(err), err);
}

std::string sbFailureMessage(const std::string& FunctionName, uint32_t Exception, uint32_t Status,
                             const char* ErrorText)
{
    return FunctionName + "() failed, exception " + std::to_string(int32_t(Exception)) + ", status " +
           std::to_string(int32_t(Status)) + ", text \"" + CharArrayToStr(ErrorText, 1023) + "\"";
}

std::string sbFailureMessageN(const std::string& FunctionName, uint32_t Exception, uint32_t Status,
                              const char* ErrorText)
{
    return sbFailureMessage(FunctionName, Exception, Status, ErrorText) + "\\n";
}

std::string sbVPortFailureMessage(const std::string& FunctionName, uint32_t Exception, uint32_t Status)
{
    return FunctionName + "() failed, exception " + std::to_string(int32_t(Exception)) + ", status " +
           std::to_string(int32_t(Status)) + "\"\\n";
}

std::string sbShortFailureMessage(const std::string& FunctionName, uint32_t Exception)
{
    return FunctionName + "() failed, exception " + std::to_string(int32_t(Exception));
}

void sbRaise(const std::string& Message)
{
    sbLog(Message);
    throw platform::EOSError(Message);
}
