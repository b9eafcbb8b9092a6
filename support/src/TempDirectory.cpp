#include "TempDirectory.h"

#include "platform/CodePage.h"
#include "platform/Paths.h"

QString GetTempDirectory()
{
    std::string path = platform::GetTempPath();
    // The text ends at the first zero character, as a fixed buffer would.
    path = path.substr(0, path.find('\0'));
    return QString::fromStdU16String(platform::AnsiToWide(path));
}

namespace TempDirectory {

QString DefaultStyleFile;

void Startup() { DefaultStyleFile = QStringLiteral("Blue/Blue.vsf"); }

void Shutdown() { DefaultStyleFile.clear(); }

}  // namespace TempDirectory
