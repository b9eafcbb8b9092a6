#include "KVUnrar.h"

#include <dlfcn.h>

namespace KVUnrar {

TEntries Entries;
void* LibraryHandle = nullptr;
bool Loaded = false;

namespace {

int32_t FallbackA() { return 15; }
int32_t FallbackB() { return 15; }
int32_t FallbackC() { return 0; }
int32_t FallbackD() { return 12; }
int32_t FallbackE() { return 12; }
int32_t FallbackF(int32_t) { return 13; }
int32_t FallbackG(int32_t) { return 13; }
void FallbackH() {}

template <typename F>
F lookUp(void* handle, const char* name)
{
    return reinterpret_cast<F>(dlsym(handle, name));
}

}  // namespace

void Startup(const char* libraryName)
{
    Shutdown();
    // A missing library is an ordinary case: dlopen shows nothing, and the
    // reason in dlerror() is dropped.
    LibraryHandle = dlopen(libraryName, RTLD_NOW | RTLD_LOCAL);
    if (LibraryHandle) {
        Entries.A = lookUp<TNoArgFunc>(LibraryHandle, "A");
        Entries.B = lookUp<TNoArgFunc>(LibraryHandle, "B");
        Entries.C = lookUp<TNoArgFunc>(LibraryHandle, "C");
        Entries.D = lookUp<TNoArgFunc>(LibraryHandle, "D");
        Entries.E = lookUp<TNoArgFunc>(LibraryHandle, "E");
        Entries.F = lookUp<TOneArgFunc>(LibraryHandle, "F");
        Entries.G = lookUp<TOneArgFunc>(LibraryHandle, "G");
        Entries.H = lookUp<TProcFunc>(LibraryHandle, "H");
        Loaded = true;
    } else {
        dlerror();
        Entries = {FallbackA, FallbackB, FallbackC, FallbackD,
                   FallbackE, FallbackF, FallbackG, FallbackH};
        Loaded = false;
    }
}

void Shutdown()
{
    if (LibraryHandle) {
        // Entries into the released library would dangle.
        Entries = {};
        dlclose(LibraryHandle);
    }
    LibraryHandle = nullptr;
    Loaded = false;
}

}  // namespace KVUnrar
