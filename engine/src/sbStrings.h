#pragma once

// The engine's numbered string table. Its texts are loaded by number and
// are never translated.

#include <cstdint>
#include <string>

namespace sbStr {
constexpr uint32_t ScanningDevices = 15109;
constexpr uint32_t Yes = 15131;
constexpr uint32_t No = 15132;
constexpr uint32_t BurningStarted = 15140;
constexpr uint32_t TestingUnitReady = 15141;
constexpr uint32_t GettingTrackInformation = 15143;
constexpr uint32_t GettingDiscInformation = 15144;
constexpr uint32_t BuildingISOImage = 15145;
constexpr uint32_t CurrentReadSpeed = 15149;
constexpr uint32_t CurrentWriteSpeed = 15150;
constexpr uint32_t GettingSpeeds = 15151;
constexpr uint32_t EnablingBUP = 15152;
constexpr uint32_t GettingBUP = 15153;
constexpr uint32_t CacheUsed = 15154;
constexpr uint32_t EjectDisc = 15157;
constexpr uint32_t GrabbingComplete = 15166;
constexpr uint32_t SettingSpeeds = 15167;
constexpr uint32_t SendingOPC = 15168;
constexpr uint32_t BurningMode = 15169;
}  // namespace sbStr

// The entry with the given number; empty for a number the table lacks.
std::string sbLoadStr(uint32_t id);
