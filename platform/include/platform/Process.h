#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace platform {

constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_SHOW = 5;

// Splits a parameter string by the Windows command-line rules: blanks and
// tabs separate arguments, double quotes group, 2n backslashes before a
// quote give n backslashes and a quote toggle, 2n+1 give n backslashes and
// a literal quote, "" inside quotes gives a quote. An unbalanced quote runs
// to the end of the string (the system's own fallback).
std::vector<std::string> SplitCommandLine(const std::string& parameters);

// ShellExecuteEx. Verbs: "open" (or empty) on an executable file starts it
// with the split parameters (posix_spawn, never a shell); "open" on a
// folder, a document or a web address runs xdg-open with it; "runas" starts
// the executable through pkexec when this process is not root, directly
// when it is. Directory, when not empty, is the working folder. A drive
// name or root ("E:\") opens the folder its medium is mounted on. Every
// started process is reaped: one that is not kept (NoCloseProcess false)
// by a background thread, a kept one by WaitForSingleObject or CloseHandle.
struct TShellExecuteInfo {
    std::string Verb;
    std::string File;
    std::string Parameters;
    std::string Directory;
    int Show = SW_SHOWNORMAL;
    bool NoCloseProcess = false;  // keep hProcess for waiting
    pid_t hProcess = -1;          // out: the started process when kept
};
// False when the start failed; GetLastError() then holds the errno
// (ENOENT for a missing file).
bool ShellExecuteEx(TShellExecuteInfo& info);

// ShellExecute: greater than 32 on success, else the error code 2 (file
// not found), 5 (access denied) or 31 (no association / other failure).
intptr_t ShellExecute(const std::string& Verb, const std::string& File,
                      const std::string& Parameters, const std::string& Directory, int Show);

constexpr unsigned INFINITE = 0xFFFFFFFFu;
constexpr unsigned WAIT_OBJECT_0 = 0;
constexpr unsigned WAIT_TIMEOUT = 258;
constexpr unsigned WAIT_FAILED = 0xFFFFFFFFu;
// Waits for a process started with NoCloseProcess. The exit code is kept
// for GetExitCodeProcess.
unsigned WaitForSingleObject(pid_t process, unsigned milliseconds);
constexpr unsigned STILL_ACTIVE = 259;
// The exit code of a waited-for process (a signal gives 128 + number);
// false when the process is unknown or still running. A process that still
// runs also sets exitCode to STILL_ACTIVE, so a loop that waits while the
// code is STILL_ACTIVE works unchanged.
bool GetExitCodeProcess(pid_t process, unsigned& exitCode);
void CloseHandle(pid_t process);

}  // namespace platform
