#pragma once

#include <string>

namespace platform {

// Full path of the running executable (/proc/self/exe).
std::string ExecutablePath();
// Folder of the running executable, with a trailing "/".
std::string ExecutableDir();

// $KORVANTA_USER_DIR, else $XDG_CONFIG_HOME/korvanta (~/.config/korvanta);
// created on first use. No trailing slash.
std::string UserDir();
// $KORVANTA_SYSTEM_DIR, else /var/lib/korvanta; created on first use when
// the process may. No trailing slash.
std::string SystemDir();

// GetTempPath: $TMPDIR or /tmp, always with a trailing "/".
std::string GetTempPath();
// GetTempFileName: a unique file "<dir><prefix up to 3 chars>XXXXXX.tmp",
// created empty (mkstemp). Throws EOSError with errno when it cannot be made.
std::string GetTempFileName(const std::string& dir, const std::string& prefix);

// The user's documents folder (XDG_DOCUMENTS_DIR, else ~/Documents).
std::string DocumentsDir();

}  // namespace platform
