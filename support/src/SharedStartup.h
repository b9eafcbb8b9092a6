#pragma once

#include <string>

// Start-up and shut-down of the suite-shared modules (RAR library, temporary
// folder, archiving options, master key, shared globals), in that order;
// shut-down runs in reverse. The program's main calls SuiteSharedStartup
// after the engine's start-up and before the language binding starts, and
// SuiteSharedShutdown after the message loop. Neither throws.
//
// exeDir: the folder holding "zipnew1.dat", with a trailing "/"; empty
// means the running executable's folder.
void SuiteSharedStartup(const std::string& exeDir = {});
void SuiteSharedShutdown();
