#include "SharedStartup.h"

#include "ArchiveOptions.h"
#include "BMShared.h"
#include "KVUnrar.h"
#include "MasterKey.h"
#include "TempDirectory.h"
#include "platform/Paths.h"

void SuiteSharedStartup(const std::string& exeDir)
{
    KVUnrar::Startup();
    TempDirectory::Startup();
    ArchiveOptions::Startup();
    MasterKey::Startup(exeDir.empty() ? platform::ExecutableDir() : exeDir);
    BMShared::Startup();
}

void SuiteSharedShutdown()
{
    BMShared::Shutdown();
    MasterKey::Shutdown();
    ArchiveOptions::Shutdown();
    TempDirectory::Shutdown();
    KVUnrar::Shutdown();
}
