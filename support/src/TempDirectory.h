#pragma once

#include <QString>

// The system's temporary folder as the platform reports it, with its
// trailing "/" (normally present). Never fails: without a usable $TMPDIR
// the platform answers "/tmp/".
QString GetTempDirectory();

namespace TempDirectory {

// The suite's default style file name; set at start-up, read by nothing in
// this program.
extern QString DefaultStyleFile;

void Startup();
void Shutdown();

}  // namespace TempDirectory
