#include "BMShared.h"

#include "KVBStrings.h"
#include "platform/OSVersion.h"

namespace BMShared {

std::array<int32_t, 101> SharedTable{};
bool IsWin9x = false;
OSVERSIONINFOW OSVersionInfo;

void Startup()
{
    for (size_t i = 1; i < SharedTable.size(); ++i)
        SharedTable[i] = -1;
    LanguageSetting = QStringLiteral("Int");

    const platform::OSVersionInfo v = platform::GetVersionEx();
    OSVersionInfo = {};
    OSVersionInfo.dwMajorVersion = v.majorVersion;
    OSVersionInfo.dwMinorVersion = v.minorVersion;
    OSVersionInfo.dwBuildNumber = v.buildNumber;
    OSVersionInfo.dwPlatformId = VER_PLATFORM_WIN32_NT;
    IsWin9x = OSVersionInfo.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
}

void Shutdown() {}

}  // namespace BMShared
