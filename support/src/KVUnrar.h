#pragma once

#include <cstdint>

// Optional load of the suite's RAR library. The library is looked up by
// bare name through the system's library search; when it cannot be loaded
// the eight entry points hold this module's fallback routines instead.
// Nothing in this program calls the entries; they exist for the suite's
// other tools that share this start-up.
namespace KVUnrar {

inline constexpr const char* kLibraryName = "libkvunrar5.so";

using TNoArgFunc = int32_t (*)();
using TOneArgFunc = int32_t (*)(int32_t);
using TProcFunc = void (*)();

// Entry points, named after the exports that fill them. With the library
// loaded, an export it lacks leaves its entry null (no fallback then).
// Without the library: A, B -> 15; C -> 0; D, E -> 12; F, G -> 13 (one
// argument, ignored); H does nothing.
struct TEntries {
    TNoArgFunc A = nullptr;
    TNoArgFunc B = nullptr;
    TNoArgFunc C = nullptr;
    TNoArgFunc D = nullptr;
    TNoArgFunc E = nullptr;
    TOneArgFunc F = nullptr;
    TOneArgFunc G = nullptr;
    TProcFunc H = nullptr;
};

extern TEntries Entries;
// dlopen handle, null when none.
extern void* LibraryHandle;
// True only after a successful load.
extern bool Loaded;

// Loads libraryName (a bare name searched the system's way, or a path) and
// fills the entries. Never reports a failure; a library already loaded is
// released first.
void Startup(const char* libraryName = kLibraryName);
// Releases the library when loaded (its entries become null); Loaded
// becomes false. Fallback entries stay as they are.
void Shutdown();

}  // namespace KVUnrar
