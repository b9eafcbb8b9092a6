#include "ScriptedDrive.h"

#include "ImageDisc.h"
#include "SdkError.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kvsdk {

namespace {

using nlohmann::json;

[[noreturn]] void Bad(const std::string& reason) { throw SdkError(EN_INVALID_INPUT_PARAMETER, reason); }

// The grabber functions whose outcome a script may set.
const char* const kScriptableCalls[] = {
    "Burnkit_Grabber_Create",
    "Burnkit_Grabber_CreateEx",
    "Burnkit_Grabber_CreateExEx",
    "Burnkit_Grabber_Release",
    "Burnkit_Grabber_GetDeviceInformation",
    "Burnkit_Grabber_GetSupportedMediaFormats",
    "Burnkit_Grabber_GetSupportedMediaFormatsExEx",
    "Burnkit_Grabber_ProbeSupportedWriteModes",
    "Burnkit_Grabber_ProbeSupportedReadModes",
    "Burnkit_Grabber_TestUnitReady",
    "Burnkit_Grabber_GetDiscInformation",
    "Burnkit_Grabber_GetTrackInformation",
    "Burnkit_Grabber_GetTOCInformation",
    "Burnkit_Grabber_GetRPC",
    "Burnkit_Grabber_Eject",
    "Burnkit_Grabber_LoadEx",
    "Burnkit_Grabber_GetBUP",
    "Burnkit_Grabber_SetBUP",
    "Burnkit_Grabber_SetSpeeds",
    "Burnkit_Grabber_GetSpeeds",
    "Burnkit_Grabber_SendOPC",
    "Burnkit_Grabber_GrabTrack",
};

const json& Object(const json& j, const std::string& where) {
    if (!j.is_object())
        Bad(where + " must be an object");
    return j;
}

void CheckKeys(const json& j, const std::string& where, std::initializer_list<const char*> keys) {
    for (auto it = j.begin(); it != j.end(); ++it)
        if (std::none_of(keys.begin(), keys.end(), [&](const char* k) { return it.key() == k; }))
            Bad("unknown key '" + it.key() + "' in " + where);
}

std::string String(const json& j, const std::string& where) {
    if (!j.is_string())
        Bad(where + " must be a string");
    return j.get<std::string>();
}

uint64_t Number(const json& j, const std::string& where, uint64_t max) {
    if (!j.is_number_integer() || (!j.is_number_unsigned() && j.get<int64_t>() < 0))
        Bad(where + " must be a whole number from 0 to " + std::to_string(max));
    uint64_t v = j.get<uint64_t>();
    if (v > max)
        Bad(where + " must be a whole number from 0 to " + std::to_string(max));
    return v;
}

template <size_t N>
void Flags(const json& j, const std::string& where, const char* const (&names)[N], bool (&flags)[N]) {
    Object(j, where);
    for (auto it = j.begin(); it != j.end(); ++it) {
        auto found = std::find_if(std::begin(names), std::end(names), [&](const char* n) { return it.key() == n; });
        if (found == std::end(names))
            Bad("unknown key '" + it.key() + "' in " + where);
        if (!it.value().is_boolean())
            Bad(where + "." + it.key() + " must be true or false");
        flags[found - std::begin(names)] = it.value().get<bool>();
    }
}

const char* const kMediaFormats[10] = {"IsCDRRead",   "IsCDERead",  "IsDVDROMRead", "IsDVDRRead",  "IsDVDRAMRead",
                                       "IsTestWrite", "IsCDRWrite", "IsCDEWrite",   "IsDVDRWrite", "IsDVDRAMWrite"};
const char* const kMediaFormatsEx[6] = {"IsDVDPLUSRWRead",  "IsDVDPLUSRRead",  "IsDVDPLUSRDLRead",
                                        "IsDVDPLUSRWWrite", "IsDVDPLUSRWrite", "IsDVDPLUSRDLWrite"};
const char* const kWriteModes[4] = {"IsTrackAtOnce", "IsSessionAtOnce", "IsDiscAtOncePQ", "IsDiscAtOnceRawPW"};
const char* const kReadModes[6] = {"IsCooked", "IsRaw", "IsRawPQ", "IsRawRawPW", "IsPQ", "IsRawPW"};

std::string ReadFile(const std::string& path) {
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.Get() < 0) {
        int err = errno;
        ThrowSystemError("Cannot open scripted drive " + path, err, err == ENOENT ? EN_NOT_FOUND : EN_SYSTEM_CALL_FAILED);
    }
    struct stat st {};
    if (::fstat(fd.Get(), &st) != 0 || S_ISDIR(st.st_mode))
        ThrowSystemError("Cannot read scripted drive " + path, S_ISDIR(st.st_mode) ? EISDIR : errno);
    if (st.st_size > (1 << 20))
        throw SdkError(EN_INVALID_INPUT_PARAMETER, "Scripted drive " + path + " is too large");
    std::string text(static_cast<size_t>(st.st_size), '\0');
    ReadExactly(fd.Get(), text.data(), text.size(), 0, "scripted drive " + path);
    return text;
}

}  // namespace

DriveScript ParseDriveScript(const std::string& text, const std::string& folder) {
    json root;
    try {
        root = json::parse(text);
    } catch (const json::exception& e) {
        Bad(std::string("not valid JSON: ") + e.what());
    }
    Object(root, "the script");
    CheckKeys(root, "the script",
              {"vendor", "product", "revision", "bufferSize", "mediaFormats", "mediaFormatsEx", "writeModes",
               "readModes", "speeds", "bup", "rpc", "disc", "failures"});
    DriveScript s;
    // A scripted drive starts as a plain reader that writes nothing.
    s.Identity.Product = "Scripted Drive";
    if (root.contains("vendor"))
        s.Identity.Vendor = String(root["vendor"], "vendor");
    if (root.contains("product"))
        s.Identity.Product = String(root["product"], "product");
    if (root.contains("revision"))
        s.Identity.Revision = String(root["revision"], "revision");
    if (root.contains("bufferSize"))
        s.Identity.BufferSize = static_cast<uint32_t>(Number(root["bufferSize"], "bufferSize", UINT32_MAX));
    if (root.contains("mediaFormats"))
        Flags(root["mediaFormats"], "mediaFormats", kMediaFormats, s.Identity.MediaFormats);
    if (root.contains("mediaFormatsEx"))
        Flags(root["mediaFormatsEx"], "mediaFormatsEx", kMediaFormatsEx, s.Identity.MediaFormatsEx);
    if (root.contains("writeModes"))
        Flags(root["writeModes"], "writeModes", kWriteModes, s.Identity.WriteModes);
    if (root.contains("readModes"))
        Flags(root["readModes"], "readModes", kReadModes, s.Identity.ReadModes);
    if (root.contains("speeds")) {
        const json& j = Object(root["speeds"], "speeds");
        static const char* const kNames[4] = {"currentRead", "maximumRead", "currentWrite", "maximumWrite"};
        CheckKeys(j, "speeds", {kNames[0], kNames[1], kNames[2], kNames[3]});
        for (int i = 0; i < 4; ++i)
            if (j.contains(kNames[i]))
                s.Identity.Speeds[i] =
                    static_cast<uint32_t>(Number(j[kNames[i]], std::string("speeds.") + kNames[i], UINT32_MAX));
    }
    if (root.contains("bup")) {
        const json& j = Object(root["bup"], "bup");
        CheckKeys(j, "bup", {"enabled", "supported"});
        for (const char* key : {"enabled", "supported"})
            if (j.contains(key)) {
                if (!j[key].is_boolean())
                    Bad(std::string("bup.") + key + " must be true or false");
                (std::string(key) == "enabled" ? s.Identity.BupEnabled : s.Identity.BupSupported) = j[key].get<bool>();
            }
    }
    if (root.contains("rpc")) {
        const json& j = Object(root["rpc"], "rpc");
        static const char* const kNames[5] = {"typeCode", "vendorResets", "userChanges", "regionMask", "rpcScheme"};
        CheckKeys(j, "rpc", {kNames[0], kNames[1], kNames[2], kNames[3], kNames[4]});
        for (int i = 0; i < 5; ++i)
            if (j.contains(kNames[i]))
                s.Identity.Rpc[i] = static_cast<uint8_t>(Number(j[kNames[i]], std::string("rpc.") + kNames[i], 255));
    }
    if (root.contains("disc") && !root["disc"].is_null()) {
        const json& j = Object(root["disc"], "disc");
        CheckKeys(j, "disc", {"type", "image"});
        if (!j.contains("image"))
            Bad("disc needs an image");
        s.HasDisc = true;
        s.Image = String(j["image"], "disc.image");
        if (s.Image.empty())
            Bad("disc.image is empty");
        if (s.Image[0] != '/')
            s.Image = folder + s.Image;
        if (j.contains("type")) {
            s.DiscType = static_cast<DISC_TYPE>(Number(j["type"], "disc.type", DISC_TYPE_HDDVDRW));
            s.DiscTypeGiven = true;
        }
    }
    if (root.contains("failures")) {
        const json& j = Object(root["failures"], "failures");
        for (auto it = j.begin(); it != j.end(); ++it) {
            const std::string& call = it.key();
            if (std::none_of(std::begin(kScriptableCalls), std::end(kScriptableCalls),
                             [&](const char* c) { return call == c; }))
                Bad("unknown call '" + call + "' in failures");
            const std::string where = "failures." + call;
            const json& f = Object(it.value(), where);
            CheckKeys(f, where, {"result", "systemError", "text"});
            if (!f.contains("result"))
                Bad(where + " needs a result");
            ScriptedFailure failure;
            failure.Result = static_cast<EXCEPTION_NUMBER>(Number(f["result"], where + ".result", EN_CALL_IS_OBSOLETE));
            if (failure.Result == EN_SUCCESS)
                Bad(where + ".result must not be 0");
            if (f.contains("systemError"))
                failure.SystemError = static_cast<int>(Number(f["systemError"], where + ".systemError", INT32_MAX));
            if (f.contains("text"))
                failure.Text = String(f["text"], where + ".text");
            s.Failures[call] = failure;
        }
    }
    return s;
}

ScriptedDrive::ScriptedDrive(const std::string& name, const std::string& scriptPath) {
    size_t slash = scriptPath.find_last_of('/');
    std::string folder = slash == std::string::npos ? std::string() : scriptPath.substr(0, slash + 1);
    DriveScript script;
    try {
        script = ParseDriveScript(ReadFile(scriptPath), folder);
    } catch (const SdkError& e) {
        if (e.Code == EN_INVALID_INPUT_PARAMETER)
            throw SdkError(e.Code, "Scripted drive " + scriptPath + ": " + e.what(), e.SystemError);
        throw;
    }
    FFailures = std::move(script.Failures);
    std::unique_ptr<ImageDisc> disc;
    DISC_TYPE type = DISC_TYPE_NO_MEDIA;
    if (script.HasDisc) {
        disc = ImageDisc::Open(script.Image);
        type = script.DiscTypeGiven ? script.DiscType : disc->Layout().Type;
    }
    FInner = std::make_unique<ImageDrive>(name, std::move(disc), type, script.Identity);
}

void ScriptedDrive::CheckCall(const char* function) {
    auto it = FFailures.find(function);
    if (it == FFailures.end())
        return;
    const ScriptedFailure& f = it->second;
    throw SdkError(f.Result, f.Text, f.SystemError);
}

}  // namespace kvsdk
