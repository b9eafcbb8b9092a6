#pragma once

// The engine's trace log and the one text format of its SDK failure reports.
//
// The trace is off unless HKEY_LOCAL_MACHINE "Software\Halvard Disc
// Software\Engine Trace" holds a string "LogEnabled" with a nonzero decimal
// number ("LogLevel" is kept but not used). The settings are read once,
// when the logger is created. Each message becomes one line
// "hh:nn:ss.zzz: message" + CR LF appended to "<executable name without
// extension>.log" beside the executable; the file is opened and closed for
// every line.

#include <cstdint>
#include <mutex>
#include <string>

#include "sbTypes2.h"

constexpr const char* sbRegistryKey = "Software\\Halvard Disc Software";
constexpr const char* sbRegistrySettingsKey = "Software\\Halvard Disc Software\\Engine Trace";

class TsbLogger : public TObject {
public:
    // Reads the two registry values. A value of a non-string registry type
    // raises the registry's invalid-data-type error.
    TsbLogger();
    ~TsbLogger() override = default;

    // Writes one line when Enabled; Level is accepted and not used. An I/O
    // failure of the trace file raises platform::EOSError. Safe to call
    // from several threads: lines never interleave.
    virtual void Log(const std::string& Message, int32_t Level = 0);

    int32_t Level() const { return FLevel; }
    void SetLevel(int32_t Value) { FLevel = Value; }
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value) { FEnabled = Value; }
    // The trace file's path, computed on first use.
    std::string LogFileName();

    // "<folder of ExePath>/<name without last extension>.log".
    static std::string LogFileNameFor(const std::string& ExePath);
    // "hh:nn:ss.zzz: Message" for the given time of day, without line end.
    static std::string FormatLine(int Hour, int Minute, int Second, int Millisecond,
                                  const std::string& Message);

protected:
    int32_t FLevel = 0;
    bool FEnabled = false;
    std::string FLogFileName;

private:
    std::mutex FLock;  // guards FLogFileName and the file itself
};

// The program's one logger; exists between sbEngineInitialize and
// sbEngineFinalize (see sbEngineUnits.h).
extern TsbLogger* sbLogger;

// Writes to sbLogger when it exists.
void sbLog(const std::string& Message);

// Appends Line and CR LF to FileName, creating the file when it is missing;
// raises platform::EOSError on an I/O failure.
void AppendLineToFile(const std::string& FileName, const std::string& Line);

// Failure texts of SDK calls.
// Name + "() failed, exception %d, status %d, text \"<text>\"".
std::string sbFailureMessage(const std::string& FunctionName, uint32_t Exception, uint32_t Status,
                             const char* ErrorText);
// The same followed by a backslash and the letter n.
std::string sbFailureMessageN(const std::string& FunctionName, uint32_t Exception, uint32_t Status,
                              const char* ErrorText);
// Name + "() failed, exception %d, status %d" + "\"\n" (a quote, a backslash
// and n): the form of the virtual-device driver calls, which have no text.
std::string sbVPortFailureMessage(const std::string& FunctionName, uint32_t Exception, uint32_t Status);
// Name + "() failed, exception %d".
std::string sbShortFailureMessage(const std::string& FunctionName, uint32_t Exception);

// Logs Message and raises it as platform::EOSError.
[[noreturn]] void sbRaise(const std::string& Message);
