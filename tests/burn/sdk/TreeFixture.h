#pragma once

// Shared pieces of the file-tree and writer tests: a recording callback
// that answers collisions from a rule, a tree handle that is always
// destroyed, image extraction through the SDK's read loop, and a peer
// reader (xorriso) that lists and extracts what we wrote.

#include "burnkit.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace burntest {

struct Collision {
    uint8_t Kind = 0;
    std::string Name;         // as given to the callback (UTF-8 for Joliet)
    std::string FirstPath;    // read through the 4-byte address at 521
    uint8_t FirstKindByte = 0;
    std::string SecondPath;
    uint32_t FirstAttributes = 0;
    uint32_t SecondAttributes = 0;
};

struct Recorder {
    std::vector<std::string> Added;
    std::vector<std::string> Removed;
    std::vector<std::string> Ignored;
    std::vector<Collision> Collisions;
    int32_t NodeCount = 0;
    // Answer to a collision: the action and the new name (empty: keep).
    std::function<std::pair<uint32_t, std::string>(const Collision&)> Answer;
};

void RecordingCallback(uint32_t reason, void* context, void* param1, void* param2);

// A tree handle destroyed at scope end.
class Tree {
public:
    Tree(Recorder* recorder, uint32_t fileSystemType, bool level2 = false);
    ~Tree();
    void* get() const { return Handle; }
    EXCEPTION_NUMBER AddFile(const std::string& source, const std::string& folder, const std::string& name = "");
    EXCEPTION_NUMBER AddFolder(const std::string& source, const std::string& folder, const std::string& name = "");
    EXCEPTION_NUMBER Build(bool joliet = true, const char* label = "TESTDISC");
    // Reads the built image through Burnkit_..._Read in chunks and writes it
    // to path; returns the bytes read.
    uint64_t SaveImage(const std::string& path, uint32_t chunk = 65536);
    std::string LastError() const { return Error; }

    void* Handle = nullptr;
    char Error[BURNKIT_EXCEPTION_TEXT_SIZE] = {};
    uint32_t SystemError = 0;
};

// Paths in the image as the peer lists them ("/", "/a.txt", ...), sorted.
std::vector<std::string> PeerList(const std::string& image, bool joliet);
// A file of the image as the peer extracts it.
std::string PeerExtract(const std::string& image, const std::string& pathInImage, bool joliet);
// The peer's El Torito report.
std::string PeerBootReport(const std::string& image);

}  // namespace burntest
