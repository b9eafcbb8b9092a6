#pragma once

#include <array>
#include <cstdint>

// Globals shared by the suite's programs. Nothing in this program reads
// them; the start-up also gives LanguageSetting (KVBStrings) its first
// value.
namespace BMShared {

// OSVERSIONINFOW as the platform answers it.
struct OSVERSIONINFOW {
    uint32_t dwOSVersionInfoSize = 276;
    uint32_t dwMajorVersion = 0;
    uint32_t dwMinorVersion = 0;
    uint32_t dwBuildNumber = 0;
    uint32_t dwPlatformId = 0;
    char16_t szCSDVersion[128] = {};
};
inline constexpr uint32_t VER_PLATFORM_WIN32_WINDOWS = 1;
inline constexpr uint32_t VER_PLATFORM_WIN32_NT = 2;

// Entries 1 to 100 (index 0 unused); all -1 after start-up.
extern std::array<int32_t, 101> SharedTable;
extern bool IsWin9x;
extern OSVERSIONINFOW OSVersionInfo;

void Startup();
void Shutdown();

}  // namespace BMShared
