#pragma once

#include <QFont>
#include <QStringList>

#include "platform/Mutex.h"

// What the process does, chosen from its command line before any window
// exists. Keywords compare exactly (case-sensitive).
enum class TStartMode {
    smInstallDriver,    // first argument "-installvd"
    smUninstallDriver,  // first argument "-uninstallvd"
    smTray,             // exactly one argument, "-tray"
    smNormal,           // anything else
};
// args[0] is the executable's path.
TStartMode ClassifyCommandLine(const QStringList& args);

// The application's default font: the icon-title font, one point larger at
// 250 dots per inch or more.
QFont DefaultFontFor(const QFont& iconTitleFont, qreal dotsPerInch);

// True in tray mode.
extern bool TrayMode;
// The single-instance mutex a tray-mode process holds while it runs.
extern platform::TNamedMutex InstanceMutex;
constexpr const char* kInstanceMutexName = "BrindmoorZipVirtualDrive";

// The program: chooses the mode, creates the windows, restores the main
// window's placement and runs the message loop. Returns the exit code.
// With KV_SCREENSHOT=file.png in the environment the main window is saved
// to that picture once it has been shown, and the program ends.
int RunMainSequence(int argc, char** argv);
