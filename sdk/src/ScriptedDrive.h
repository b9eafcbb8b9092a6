#pragma once

// Internal: a drive described by a JSON file, for tests. The script gives
// the drive's identity and capabilities, the inserted disc (an image file,
// or none) and the outcome of any grabber call, so a test can make any call
// fail with a chosen result, system error and text. README.md describes the
// format.

#include "ImageDrive.h"

#include <map>
#include <memory>
#include <string>

namespace kvsdk {

struct ScriptedFailure {
    EXCEPTION_NUMBER Result = EN_FAILURE;
    int SystemError = 0;
    std::string Text;
};

struct DriveScript {
    DriveIdentity Identity;
    bool HasDisc = false;
    DISC_TYPE DiscType = DISC_TYPE_CDROM;
    bool DiscTypeGiven = false;
    std::string Image;  // resolved against the script's folder
    std::map<std::string, ScriptedFailure> Failures;  // by function name
};

// Parses a script. folder resolves relative image paths. Throws SdkError
// (EN_INVALID_INPUT_PARAMETER) with "reason" texts on malformed JSON,
// unknown keys or values of the wrong type.
DriveScript ParseDriveScript(const std::string& json, const std::string& folder);

class ScriptedDrive : public Drive {
public:
    // Reads the script and opens its disc image; throws SdkError naming the
    // script and the reason.
    ScriptedDrive(const std::string& name, const std::string& scriptPath);

    // The failure the script gives for Burnkit_Grabber_CreateEx and the other
    // ways of opening, thrown before the drive is used at all.
    const DriveIdentity& Identity() const override { return FInner->Identity(); }
    void CheckCall(const char* function) override;
    void TestUnitReady() override { FInner->TestUnitReady(); }
    DISC_TYPE InsertedDiscType() override { return FInner->InsertedDiscType(); }
    const DiscLayout& Layout() override { return FInner->Layout(); }
    SectorReader& Reader() override { return FInner->Reader(); }
    void Eject() override { FInner->Eject(); }
    void Load(bool load) override { FInner->Load(load); }

private:
    std::map<std::string, ScriptedFailure> FFailures;
    std::unique_ptr<ImageDrive> FInner;
};

}  // namespace kvsdk
