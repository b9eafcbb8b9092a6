#include "TreeFixture.h"

#include "TestDirs.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <stdexcept>

namespace burntest {

namespace {

std::string Utf16LeToUtf8(const uint8_t* bytes, size_t size) {
    std::string out;
    for (size_t i = 0; i + 1 < size; i += 2) {
        uint32_t cp = bytes[i] | (bytes[i + 1] << 8);
        if (cp == 0)
            break;
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

void WriteName(NAME_COLLISION_INFORMATION* record, const std::string& name) {
    std::memset(record->m__UCHAR__Name, 0, sizeof(record->m__UCHAR__Name));
    if (record->m__UCHAR__NameKind == 0) {
        std::memcpy(record->m__UCHAR__Name, name.data(), std::min(name.size(), sizeof(record->m__UCHAR__Name) - 1));
    } else {
        // Test names are ASCII.
        for (size_t i = 0; i < name.size() && i < 259; ++i)
            record->m__UCHAR__Name[2 * i] = static_cast<uint8_t>(name[i]);
    }
}

std::string Run(const std::string& command) {
    std::string out;
    FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r");
    if (pipe == nullptr)
        throw std::runtime_error("cannot run " + command);
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof(buffer), pipe)) > 0)
        out.append(buffer, n);
    pclose(pipe);
    return out;
}

}  // namespace

void RecordingCallback(uint32_t reason, void* context, void* param1, void* param2) {
    auto* r = static_cast<Recorder*>(context);
    (void)param2;
    switch (reason) {
    case BURNKIT_CALLBACK_REASON_NODE_ADDED:
        r->Added.push_back(static_cast<const char*>(param1));
        ++r->NodeCount;
        break;
    case BURNKIT_CALLBACK_REASON_NODE_REMOVED:
        r->Removed.push_back(static_cast<const char*>(param1));
        --r->NodeCount;
        break;
    case BURNKIT_CALLBACK_REASON_NAME_IGNORED:
        r->Ignored.push_back(static_cast<const char*>(param1));
        break;
    case BURNKIT_CALLBACK_REASON_NAME_COLLISION: {
        auto* record = static_cast<NAME_COLLISION_INFORMATION*>(param1);
        Collision c;
        c.Kind = record->m__UCHAR__NameKind;
        c.Name = c.Kind == 0 ? std::string(reinterpret_cast<const char*>(record->m__UCHAR__Name))
                             : Utf16LeToUtf8(record->m__UCHAR__Name, sizeof(record->m__UCHAR__Name));
        // The engine reads the addresses as 4-byte values.
        const auto* first = reinterpret_cast<const char*>(static_cast<uintptr_t>(record->m__ULONG__FirstEntry));
        const auto* second = reinterpret_cast<const char*>(static_cast<uintptr_t>(record->m__ULONG__SecondEntry));
        c.FirstKindByte = static_cast<uint8_t>(first[0]);
        c.FirstPath = first + 1;
        c.SecondPath = second + 1;
        c.FirstAttributes = record->m__ULONG__FirstAttributes;
        c.SecondAttributes = record->m__ULONG__SecondAttributes;
        r->Collisions.push_back(c);
        if (r->Answer) {
            auto [action, name] = r->Answer(c);
            if (!name.empty())
                WriteName(record, name);
            record->m__ULONG__Action = action;
        }
        break;
    }
    default:
        break;
    }
}

Tree::Tree(Recorder* recorder, uint32_t fileSystemType, bool level2) {
    EXCEPTION_NUMBER rc = Burnkit_ISO9660JolietFileTree_Create(&Handle, Error, sizeof(Error), &SystemError,
                                                               RecordingCallback, recorder, fileSystemType,
                                                               level2 ? 1 : 0);
    if (rc != EN_SUCCESS)
        throw std::runtime_error(std::string("tree creation failed: ") + Error);
}

Tree::~Tree() {
    if (Handle != nullptr)
        Burnkit_Destroy(&Handle);
}

EXCEPTION_NUMBER Tree::AddFile(const std::string& source, const std::string& folder, const std::string& name) {
    return Burnkit_ISO9660JolietFileTree_AddFile(Handle, Error, sizeof(Error), &SystemError, source.c_str(),
                                                 folder.c_str(), name.c_str());
}

EXCEPTION_NUMBER Tree::AddFolder(const std::string& source, const std::string& folder, const std::string& name) {
    return Burnkit_ISO9660JolietFileTree_AddFolder(Handle, Error, sizeof(Error), &SystemError, source.c_str(),
                                                   folder.c_str(), name.c_str());
}

EXCEPTION_NUMBER Tree::Build(bool joliet, const char* label) {
    const char16_t preparer[] = u"korvanta tests";
    return Burnkit_ISO9660JolietFileTree_BuildImage(Handle, Error, sizeof(Error), &SystemError, 0, 0, joliet ? 1 : 0,
                                                    label, preparer, preparer);
}

uint64_t Tree::SaveImage(const std::string& path, uint32_t chunk) {
    uint32_t high = 0;
    uint64_t size = Burnkit_ISO9660JolietFileTree_GetSizeInUCHARs(Handle, &high);
    size |= static_cast<uint64_t>(high) << 32;
    std::ofstream out(path, std::ios::binary);
    std::vector<char> buffer(chunk);
    uint64_t done = 0;
    while (done < size) {
        uint32_t n = static_cast<uint32_t>(std::min<uint64_t>(chunk, size - done));
        if (Burnkit_ISO9660JolietFileTree_Read(Handle, Error, sizeof(Error), &SystemError, n, buffer.data()) !=
            EN_SUCCESS)
            throw std::runtime_error(std::string("image read failed: ") + Error);
        out.write(buffer.data(), n);
        done += n;
    }
    return done;
}

std::vector<std::string> PeerList(const std::string& image, bool joliet) {
    std::string out = Run(std::string("xorriso ") + (joliet ? "-joliet on " : "") + "-indev '" + image +
                          "' -find /");
    std::vector<std::string> paths;
    size_t pos = 0;
    while (pos < out.size()) {
        size_t end = out.find('\n', pos);
        std::string line = out.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
        pos = end == std::string::npos ? out.size() : end + 1;
        if (line.size() >= 2 && line.front() == '\'' && line.back() == '\'')
            paths.push_back(line.substr(1, line.size() - 2));
    }
    std::sort(paths.begin(), paths.end());
    return paths;
}

std::string PeerExtract(const std::string& image, const std::string& pathInImage, bool joliet) {
    kvtest::TempDir dir;
    std::string target = dir.file("extracted");
    Run(std::string("xorriso ") + (joliet ? "-joliet on " : "") + "-osirrox on -indev '" + image + "' -extract '" +
        pathInImage + "' '" + target + "'");
    try {
        return kvtest::readFile(target);
    } catch (const std::exception&) {
        return "<not extracted>";
    }
}

std::string PeerBootReport(const std::string& image) {
    return Run("xorriso -indev '" + image + "' -report_el_torito plain");
}

}  // namespace burntest
