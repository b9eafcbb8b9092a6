#pragma once
// Start-up of the language and product support.
//
// The program's main runs, in this order:
//   1. QApplication app(argc, argv);
//   2. the suite-shared start-up (shared globals, RAR library, master key);
//   3. InitializeLanguageSupport();          // below
//   4. set the default font;
//   5. QString code; SetupLanguage(code);    // LanguageSetup.h
//   6. the command-line modes and the windows.
// Resource strings loaded before step 3 come back in English; every load
// after it is translated, and after step 5 also filtered.

#include <string>

#include <platform/Paths.h>

// KVBStrings and KVStrings start-up (string tables, identity globals), the
// language binding's start-up (every resource-string load translated, Qt's
// own texts through the same lookup when a QCoreApplication exists) and the
// language list (exeDir + "lang/" registered for the suite). exeDir ends
// with "/".
void InitializeLanguageSupport(const std::string& exeDir = platform::ExecutableDir());

// Shut-down in reverse order: the language list and the product globals.
void FinalizeLanguageSupport();
