#pragma once

// The engine's view of the disc SDK: its records, enumerations, callback
// types and functions, exactly as the SDK library declares them.
#include <burnkit.h>
