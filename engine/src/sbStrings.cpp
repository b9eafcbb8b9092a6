#include "sbStrings.h"

#include <algorithm>
#include <array>
#include <utility>

namespace {

constexpr std::array<std::pair<uint32_t, const char*>, 19> kTable{{
    {sbStr::ScanningDevices, "Scanning devices"},
    {sbStr::Yes, "Yes"},
    {sbStr::No, "No"},
    {sbStr::BurningStarted, "Burning started"},
    {sbStr::TestingUnitReady, "Testing unit ready"},
    {sbStr::GettingTrackInformation, "Getting track information"},
    {sbStr::GettingDiscInformation, "Getting disc information"},
    {sbStr::BuildingISOImage, "Building ISO image"},
    {sbStr::CurrentReadSpeed, "Current read speed %d KBps (%d maximum)"},
    {sbStr::CurrentWriteSpeed, "Current write speed %d KBps (%d maximum)"},
    {sbStr::GettingSpeeds, "Getting current CD/DVD speeds"},
    {sbStr::EnablingBUP, "Enabling BUP (Buffer Underrun Protection)"},
    {sbStr::GettingBUP, "Getting BUP (Buffer Underrun Protection) support"},
    {sbStr::CacheUsed, "%d MBs of cache will be used during burn process"},
    {sbStr::EjectDisc, "Eject disc"},
    {sbStr::GrabbingComplete, "Grabbing complete"},
    {sbStr::SettingSpeeds, "Setting CD/DVD speeds"},
    {sbStr::SendingOPC, "Sending OPC (Optimum Power Calibration)"},
    {sbStr::BurningMode, "Burning mode"},
}};

}  // namespace

std::string sbLoadStr(uint32_t id)
{
    auto it = std::find_if(kTable.begin(), kTable.end(), [id](const auto& e) { return e.first == id; });
    return it == kTable.end() ? std::string() : std::string(it->second);
}
