#pragma once

// Internal: an ISO9660/Joliet file tree on libisofs, its image build and
// the sequential read of the built image. Reports go to the tree's
// callback as burnkit.h describes (reasons 0 to 3).

#include "BurnLibs.h"
#include "Handle.h"
#include "burnkit.h"

#include <cstdint>
#include <string>

namespace kvsdk {

class FileTree : public SdkObject {
public:
    // fileSystemType: 0 ISO9660 names, 1 Joliet names (see burnkit.h).
    FileTree(uint32_t fileSystemType, bool iso9660Level2, BURNKIT_CALLBACK callback, void* context);
    ~FileTree() override;

    bool IsJolietTree() const { return Joliet_; }

    // Adds the local file sourceFile to the folder treeFolder under name
    // (the source's file name when empty).
    void AddFile(const std::string& sourceFile, const std::string& treeFolder, const std::string& name);
    // Adds a folder under name to treeFolder; with a sourceFolder, its
    // files and folders too.
    void AddFolder(const std::string& sourceFolder, const std::string& treeFolder, const std::string& name);
    // Removes a node and everything below it.
    void Remove(const std::string& treePath);

    void SetBootImage(const std::string& bootImage, uint32_t emulationType, uint32_t platformId,
                      uint32_t loadSectorCount, bool bootInfoTable);

    // Builds the image: afterwards ImageSize() gives its size and Read()
    // hands it out from its first byte on.
    void BuildImage(int32_t startAddress, bool joliet, const std::string& volumeLabel, const std::string& preparer,
                    const std::string& application);
    uint64_t ImageSize() const { return ImageSize_; }
    void Read(void* buffer, uint32_t size);

    // A new source of the image with the last build's settings (a tree
    // never built gets a Joliet build at address 0), for a writer. The
    // source of Read() is closed first: both read the tree.
    BurnSourcePtr NewImageSource();

private:
    struct Settings {
        int32_t StartAddress = 0;
        bool Joliet = true;
        std::string VolumeLabel = "NEW";
        std::string Preparer;
        std::string Application;
    };

    IsoDir* FindFolder(const std::string& treeFolder) const;
    IsoNode* FindNode(const std::string& treePath) const;
    std::string TreeName(const std::string& name, bool isFolder) const;
    std::string TreePathOf(IsoNode* node) const;
    // Adds one node, settling collisions with the callback; returns the
    // new node, the folder to merge into, or null when the name was left
    // out.
    IsoNode* AddNode(IsoDir* parent, const std::string& wanted, const std::string& sourcePath, bool isFolder,
                     bool* merged);
    void AddFolderContents(IsoDir* folder, const std::string& sourceFolder, int depth);
    void Report(uint32_t reason, IsoNode* node, const std::string& name);
    void ReportRemovals(IsoNode* node);
    BurnSourcePtr MakeSource(const Settings& settings);
    void DropReadSource();

    IsoImage* Image_ = nullptr;
    bool Joliet_;
    bool Level2_;
    BURNKIT_CALLBACK Callback_;
    void* Context_;
    Settings Settings_;
    bool Built_ = false;
    BurnSourcePtr ReadSource_;
    uint64_t ImageSize_ = 0;
    uint64_t ReadPosition_ = 0;
    // Objects whose addresses go into a collision record: they lie below
    // 4 GiB, so a 4-byte field holds their address.
    uint8_t* CollisionObjects_ = nullptr;
};

// The live file tree behind a handle; throws SdkError for anything else.
FileTree& FileTreeFromHandle(void* handle);

}  // namespace kvsdk
