#include "platform/OSVersion.h"

namespace platform {

OSVersionInfo GetVersionEx() { return {10, 0, 19045}; }

}  // namespace platform
