#include "FileTree.h"

#include "FileTreeNames.h"
#include "SdkError.h"

#include <sys/mman.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <vector>

namespace kvsdk {

namespace {

constexpr uint32_t kAttributeFolder = 0x10;
constexpr uint32_t kAttributeNormal = 0x80;
constexpr size_t kCollisionObjectSize = 4098;  // kind byte, path, zero
constexpr int kMaxCollisionRounds = 64;
constexpr int kMaxFolderDepth = 256;

std::string IsoErrorText(int code) {
    const char* text = iso_error_to_msg(code);
    return text != nullptr ? text : "libisofs error " + std::to_string(code);
}

std::vector<std::string> SplitTreePath(const std::string& path) {
    std::vector<std::string> parts;
    std::string part;
    for (char c : path) {
        if (c == '/' || c == '\\') {
            if (!part.empty())
                parts.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    if (!part.empty())
        parts.push_back(part);
    return parts;
}

std::string BaseName(const std::string& path) {
    std::string trimmed = path;
    while (trimmed.size() > 1 && trimmed.back() == '/')
        trimmed.pop_back();
    size_t slash = trimmed.rfind('/');
    return slash == std::string::npos ? trimmed : trimmed.substr(slash + 1);
}

}  // namespace

FileTree::FileTree(uint32_t fileSystemType, bool iso9660Level2, BURNKIT_CALLBACK callback, void* context)
    : Joliet_(fileSystemType != 0), Level2_(iso9660Level2), Callback_(callback), Context_(context) {
    if (fileSystemType > 1)
        throw SdkError(EN_INVALID_INPUT_PARAMETER,
                       "Unknown file system type " + std::to_string(fileSystemType) + " (0 ISO9660, 1 Joliet)");
    EnsureIsoLibrary();
    int rc = iso_image_new("NEW", &Image_);
    if (rc < 0)
        throw SdkError(EN_MEMORY_ALLOCATION_FAILED, "Cannot create a file tree: " + IsoErrorText(rc));
    iso_tree_set_follow_symlinks(Image_, 1);
    void* low = mmap(nullptr, 2 * kCollisionObjectSize, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_32BIT,
                     -1, 0);
    if (low == MAP_FAILED) {
        int err = errno;
        iso_image_unref(Image_);
        ThrowSystemError("Cannot create a file tree", err, EN_MEMORY_ALLOCATION_FAILED);
    }
    CollisionObjects_ = static_cast<uint8_t*>(low);
}

FileTree::~FileTree() {
    ReadSource_.reset();
    if (Image_ != nullptr)
        iso_image_unref(Image_);
    if (CollisionObjects_ != nullptr)
        munmap(CollisionObjects_, 2 * kCollisionObjectSize);
}

std::string FileTree::TreeName(const std::string& name, bool isFolder) const {
    return Joliet_ ? JolietName(name) : Iso9660Name(name, isFolder, Level2_);
}

IsoNode* FileTree::FindNode(const std::string& treePath) const {
    IsoNode* node = reinterpret_cast<IsoNode*>(iso_image_get_root(Image_));
    for (const std::string& part : SplitTreePath(treePath)) {
        if (iso_node_get_type(node) != LIBISO_DIR)
            return nullptr;
        IsoNode* child = nullptr;
        // A path names folders as the caller knows them; an ISO9660 tree
        // keeps the ISO9660 form of each name.
        std::string asFolder = TreeName(part, true);
        if (iso_dir_get_node(reinterpret_cast<IsoDir*>(node), asFolder.c_str(), &child) != 1) {
            std::string asFile = TreeName(part, false);
            if (iso_dir_get_node(reinterpret_cast<IsoDir*>(node), asFile.c_str(), &child) != 1)
                return nullptr;
        }
        node = child;
    }
    return node;
}

IsoDir* FileTree::FindFolder(const std::string& treeFolder) const {
    IsoNode* node = FindNode(treeFolder);
    if (node == nullptr || iso_node_get_type(node) != LIBISO_DIR)
        throw SdkError(EN_NOT_FOUND, "Folder " + (treeFolder.empty() ? std::string("/") : treeFolder) +
                                         " is not in the file tree");
    return reinterpret_cast<IsoDir*>(node);
}

std::string FileTree::TreePathOf(IsoNode* node) const {
    std::string path;
    IsoNode* root = reinterpret_cast<IsoNode*>(iso_image_get_root(Image_));
    while (node != nullptr && node != root) {
        path = "/" + std::string(iso_node_get_name(node)) + path;
        node = reinterpret_cast<IsoNode*>(iso_node_get_parent(node));
    }
    return path.empty() ? "/" : path;
}

void FileTree::Report(uint32_t reason, IsoNode* node, const std::string& name) {
    if (Callback_ != nullptr)
        Callback_(reason, Context_, const_cast<char*>(name.c_str()), node);
}

IsoNode* FileTree::AddNode(IsoDir* parent, const std::string& wanted, const std::string& sourcePath, bool isFolder,
                           bool* merged) {
    *merged = false;
    std::string name = TreeName(wanted, isFolder);
    for (int round = 0; round < kMaxCollisionRounds; ++round) {
        IsoNode* existing = nullptr;
        if (iso_dir_get_node(parent, name.c_str(), &existing) != 1) {
            IsoNode* node = nullptr;
            int rc;
            if (isFolder) {
                IsoDir* dir = nullptr;
                rc = iso_tree_add_new_dir(parent, name.c_str(), &dir);
                node = reinterpret_cast<IsoNode*>(dir);
            } else {
                rc = iso_tree_add_new_node(Image_, parent, name.c_str(), sourcePath.c_str(), &node);
            }
            if (rc < 0)
                throw SdkError(rc == static_cast<int>(ISO_RR_NAME_TOO_LONG) ? EN_PATH_TOO_LONG : EN_FAILURE,
                               "Cannot add " + (sourcePath.empty() ? name : sourcePath) + " to the file tree: " +
                                   IsoErrorText(rc));
            Report(BURNKIT_CALLBACK_REASON_NODE_ADDED, node, name);
            return node;
        }
        bool existingIsFolder = iso_node_get_type(existing) == LIBISO_DIR;
        if (Callback_ == nullptr)
            throw SdkError(EN_INVALID_INPUT_PARAMETER, name + " is already in folder " +
                                                           TreePathOf(reinterpret_cast<IsoNode*>(parent)));

        NAME_COLLISION_INFORMATION record;
        std::memset(&record, 0, sizeof(record));
        record.m__UCHAR__NameKind = Joliet_ ? 1 : 0;
        if (Joliet_) {
            std::u16string wide = Utf8ToUtf16(name);
            if (wide.size() + 1 > sizeof(record.m__UCHAR__Name) / 2)
                throw SdkError(EN_PATH_TOO_LONG, "Name " + name + " is too long for the file tree");
            std::memcpy(record.m__UCHAR__Name, wide.data(), wide.size() * 2);
        } else {
            std::string shown = isFolder ? name : name + ";1";
            std::memcpy(record.m__UCHAR__Name, shown.data(), shown.size());
        }
        std::string firstPath = sourcePath.empty() ? TreePathOf(reinterpret_cast<IsoNode*>(parent)) + "/" + name
                                                   : sourcePath;
        std::string secondPath = TreePathOf(existing);
        if (firstPath.size() + 2 > kCollisionObjectSize || secondPath.size() + 2 > kCollisionObjectSize)
            throw SdkError(EN_PATH_TOO_LONG, "Path " + firstPath + " is too long for the file tree");
        uint8_t* first = CollisionObjects_;
        uint8_t* second = CollisionObjects_ + kCollisionObjectSize;
        std::memset(CollisionObjects_, 0, 2 * kCollisionObjectSize);
        first[0] = isFolder ? 1 : 0;
        std::memcpy(first + 1, firstPath.c_str(), firstPath.size() + 1);
        second[0] = existingIsFolder ? 1 : 0;
        std::memcpy(second + 1, secondPath.c_str(), secondPath.size() + 1);
        record.m__ULONG__FirstEntry = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(first));
        record.m__ULONG__FirstAttributes = isFolder ? kAttributeFolder : kAttributeNormal;
        record.m__ULONG__SecondEntry = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(second));
        record.m__ULONG__SecondAttributes = existingIsFolder ? kAttributeFolder : kAttributeNormal;

        Callback_(BURNKIT_CALLBACK_REASON_NAME_COLLISION, Context_, &record, nullptr);

        std::string renamed;
        if (Joliet_) {
            std::u16string wide;
            const auto* units = reinterpret_cast<const uint8_t*>(record.m__UCHAR__Name);
            for (size_t i = 0; i + 1 < sizeof(record.m__UCHAR__Name); i += 2) {
                char16_t unit = static_cast<char16_t>(units[i] | (units[i + 1] << 8));
                if (unit == 0)
                    break;
                wide += unit;
            }
            renamed = TreeName(Utf16ToUtf8(wide), isFolder);
        } else {
            const char* text = reinterpret_cast<const char*>(record.m__UCHAR__Name);
            renamed = TreeName(std::string(text, strnlen(text, sizeof(record.m__UCHAR__Name))), isFolder);
        }

        switch (record.m__ULONG__Action) {
        case BURNKIT_COLLISION_ACTION_RENAME_EXISTING: {
            IsoNode* taken = nullptr;
            if (renamed != name && iso_dir_get_node(parent, renamed.c_str(), &taken) != 1) {
                int rc = iso_image_set_node_name(Image_, existing, renamed.c_str(), 0);
                if (rc < 0)
                    throw SdkError(EN_FAILURE, "Cannot rename " + secondPath + ": " + IsoErrorText(rc));
            }
            break;  // the name is free now, or the callback is asked again
        }
        case BURNKIT_COLLISION_ACTION_RENAME_ADDED:
            name = renamed;
            break;
        case BURNKIT_COLLISION_ACTION_MERGE_FOLDERS:
            if (isFolder && existingIsFolder) {
                *merged = true;
                return existing;
            }
            Report(BURNKIT_CALLBACK_REASON_NAME_IGNORED, existing, name);
            return nullptr;
        default:
            Report(BURNKIT_CALLBACK_REASON_NAME_IGNORED, existing, name);
            return nullptr;
        }
    }
    throw SdkError(EN_FAILURE, "No free name for " + wanted + " in folder " +
                                   TreePathOf(reinterpret_cast<IsoNode*>(parent)));
}

void FileTree::AddFile(const std::string& sourceFile, const std::string& treeFolder, const std::string& name) {
    struct stat st {};
    if (stat(sourceFile.c_str(), &st) != 0)
        ThrowSystemError("Cannot add " + sourceFile, errno, EN_NOT_FOUND);
    if (!S_ISREG(st.st_mode))
        throw SdkError(EN_INVALID_INPUT_PARAMETER, "Cannot add " + sourceFile + ": not a file");
    DropReadSource();
    IsoDir* parent = FindFolder(treeFolder);
    bool merged = false;
    AddNode(parent, name.empty() ? BaseName(sourceFile) : name, sourceFile, false, &merged);
}

void FileTree::AddFolder(const std::string& sourceFolder, const std::string& treeFolder, const std::string& name) {
    if (!sourceFolder.empty()) {
        struct stat st {};
        if (stat(sourceFolder.c_str(), &st) != 0)
            ThrowSystemError("Cannot add " + sourceFolder, errno, EN_NOT_FOUND);
        if (!S_ISDIR(st.st_mode))
            throw SdkError(EN_INVALID_INPUT_PARAMETER, "Cannot add " + sourceFolder + ": not a folder");
    }
    std::string wanted = name.empty() ? BaseName(sourceFolder) : name;
    if (wanted.empty() || wanted == "/")
        throw SdkError(EN_INVALID_INPUT_PARAMETER, "A folder of the file tree needs a name");
    DropReadSource();
    IsoDir* parent = FindFolder(treeFolder);
    bool merged = false;
    IsoNode* folder = AddNode(parent, wanted, sourceFolder, true, &merged);
    if (folder != nullptr && !sourceFolder.empty())
        AddFolderContents(reinterpret_cast<IsoDir*>(folder), sourceFolder, 0);
}

void FileTree::AddFolderContents(IsoDir* folder, const std::string& sourceFolder, int depth) {
    if (depth > kMaxFolderDepth)
        throw SdkError(EN_PATH_TOO_LONG, "Folder " + sourceFolder + " is nested too deeply");
    DIR* dir = opendir(sourceFolder.c_str());
    if (dir == nullptr)
        ThrowSystemError("Cannot read folder " + sourceFolder, errno);
    std::vector<std::string> names;
    errno = 0;
    while (dirent* entry = readdir(dir)) {
        std::string n = entry->d_name;
        if (n != "." && n != "..")
            names.push_back(n);
    }
    closedir(dir);
    // A fixed order makes the same folder give the same tree every time.
    std::sort(names.begin(), names.end());
    for (const std::string& n : names) {
        std::string path = sourceFolder + "/" + n;
        struct stat st {};
        if (stat(path.c_str(), &st) != 0)
            ThrowSystemError("Cannot add " + path, errno, EN_NOT_FOUND);
        bool merged = false;
        if (S_ISDIR(st.st_mode)) {
            IsoNode* sub = AddNode(folder, n, path, true, &merged);
            if (sub != nullptr)
                AddFolderContents(reinterpret_cast<IsoDir*>(sub), path, depth + 1);
        } else if (S_ISREG(st.st_mode)) {
            AddNode(folder, n, path, false, &merged);
        } else {
            Report(BURNKIT_CALLBACK_REASON_NAME_IGNORED, nullptr, n);
        }
    }
}

void FileTree::ReportRemovals(IsoNode* node) {
    if (iso_node_get_type(node) == LIBISO_DIR) {
        IsoDirIter* iter = nullptr;
        if (iso_dir_get_children(reinterpret_cast<IsoDir*>(node), &iter) == 1) {
            IsoNode* child = nullptr;
            while (iso_dir_iter_next(iter, &child) == 1)
                ReportRemovals(child);
            iso_dir_iter_free(iter);
        }
    }
    if (iso_node_get_type(node) != LIBISO_BOOT)
        Report(BURNKIT_CALLBACK_REASON_NODE_REMOVED, node, iso_node_get_name(node));
}

void FileTree::Remove(const std::string& treePath) {
    IsoNode* node = FindNode(treePath);
    if (node == nullptr)
        throw SdkError(EN_NOT_FOUND, treePath + " is not in the file tree");
    if (node == reinterpret_cast<IsoNode*>(iso_image_get_root(Image_)))
        throw SdkError(EN_INVALID_INPUT_PARAMETER, "The root folder of a file tree cannot be removed");
    DropReadSource();
    IsoFile* bootFile = nullptr;
    if (iso_image_get_boot_image(Image_, nullptr, &bootFile, nullptr) == 1 && bootFile != nullptr) {
        for (IsoNode* n = reinterpret_cast<IsoNode*>(bootFile); n != nullptr;
             n = reinterpret_cast<IsoNode*>(iso_node_get_parent(n))) {
            if (n == node) {
                iso_image_remove_boot_image(Image_);
                break;
            }
            if (n == reinterpret_cast<IsoNode*>(iso_image_get_root(Image_)))
                break;
        }
    }
    ReportRemovals(node);
    iso_node_remove(node);
}

void FileTree::SetBootImage(const std::string& bootImage, uint32_t emulationType, uint32_t platformId,
                            uint32_t loadSectorCount, bool bootInfoTable) {
    struct stat st {};
    if (bootImage.empty())
        throw SdkError(EN_INVALID_INPUT_PARAMETER, "No boot image given");
    if (stat(bootImage.c_str(), &st) != 0)
        ThrowSystemError("Cannot open boot image " + bootImage, errno, EN_NOT_FOUND);
    if (!S_ISREG(st.st_mode))
        throw SdkError(EN_INVALID_INPUT_PARAMETER, "Boot image " + bootImage + " is not a file");
    enum eltorito_boot_media_type media;
    switch (emulationType) {
    case 0:
    case 6:
        media = ELTORITO_NO_EMUL;
        break;
    case 1:
    case 2:
    case 3: {
        static const off_t sizes[] = {1200 * 1024, 1440 * 1024, 2880 * 1024};
        if (st.st_size != sizes[emulationType - 1])
            throw SdkError(EN_INVALID_INPUT_PARAMETER, "Boot image " + bootImage + " is not a " +
                                                           std::to_string(sizes[emulationType - 1] / 1024) +
                                                           " KiB floppy image");
        media = ELTORITO_FLOPPY_EMUL;
        break;
    }
    case 4:
        media = ELTORITO_HARD_DISC_EMUL;
        break;
    default:
        throw SdkError(EN_INVALID_INPUT_PARAMETER, "Unknown emulation type " + std::to_string(emulationType));
    }
    if (platformId > 0xFF)
        throw SdkError(EN_INVALID_INPUT_PARAMETER, "Unknown platform id " + std::to_string(platformId));
    DropReadSource();
    iso_image_remove_boot_image(Image_);
    bool merged = false;
    IsoNode* node = AddNode(iso_image_get_root(Image_), BaseName(bootImage), bootImage, false, &merged);
    if (node == nullptr)
        throw SdkError(EN_INVALID_STATE, "Boot image " + bootImage + " was left out of the file tree");
    std::string catalog = "boot.cat";
    for (int i = 1; FindNode("/" + catalog) != nullptr; ++i)
        catalog = "boot" + std::to_string(i) + ".cat";
    ElToritoBootImage* boot = nullptr;
    std::string nodePath = TreePathOf(node);
    std::string catalogPath = "/" + catalog;
    int rc = iso_image_set_boot_image(Image_, nodePath.c_str(), media, catalogPath.c_str(), &boot);
    if (rc < 0)
        throw SdkError(EN_INVALID_INPUT_PARAMETER, "Cannot use " + bootImage + " as boot image: " + IsoErrorText(rc));
    iso_image_set_boot_catalog_hidden(Image_, LIBISO_HIDE_ON_RR | LIBISO_HIDE_ON_JOLIET | LIBISO_HIDE_ON_1999);
    el_torito_set_boot_platform_id(boot, static_cast<uint8_t>(platformId));
    if (media == ELTORITO_NO_EMUL && loadSectorCount > 0)
        el_torito_set_load_size(boot, static_cast<short>(std::min<uint32_t>(loadSectorCount, 0x7FFF)));
    if (bootInfoTable)
        el_torito_set_isolinux_options(boot, 1, 0);
}

BurnSourcePtr FileTree::MakeSource(const Settings& settings) {
    IsoWriteOpts* raw = nullptr;
    int rc = iso_write_opts_new(&raw, 0);
    if (rc < 0)
        throw SdkError(EN_MEMORY_ALLOCATION_FAILED, "Cannot build the image: " + IsoErrorText(rc));
    std::unique_ptr<IsoWriteOpts, void (*)(IsoWriteOpts*)> opts(raw, iso_write_opts_free);
    iso_write_opts_set_iso_level(raw, Level2_ ? 2 : 1);
    iso_write_opts_set_joliet(raw, settings.Joliet ? 1 : 0);
    iso_write_opts_set_rockridge(raw, 0);
    if (settings.StartAddress > 0)
        iso_write_opts_set_ms_block(raw, static_cast<uint32_t>(settings.StartAddress));
    iso_image_set_volume_id(Image_, settings.VolumeLabel.c_str());
    iso_image_set_data_preparer_id(Image_, settings.Preparer.c_str());
    iso_image_set_application_id(Image_, settings.Application.c_str());
    burn_source* source = nullptr;
    rc = iso_image_create_burn_source(Image_, raw, &source);
    if (rc < 0)
        throw SdkError(rc == static_cast<int>(ISO_FILE_TOO_BIG) ? EN_FILE_TOO_BIG : EN_FAILURE,
                       "Cannot build the image: " + IsoErrorText(rc));
    return BurnSourcePtr(reinterpret_cast<burn::burn_source*>(source));
}

void FileTree::DropReadSource() {
    ReadSource_.reset();
    Built_ = false;
    ImageSize_ = 0;
    ReadPosition_ = 0;
}

void FileTree::BuildImage(int32_t startAddress, bool joliet, const std::string& volumeLabel,
                          const std::string& preparer, const std::string& application) {
    if (startAddress < 0)
        throw SdkError(EN_INVALID_INPUT_PARAMETER, "Invalid start address " + std::to_string(startAddress));
    DropReadSource();
    Settings settings;
    settings.StartAddress = startAddress;
    settings.Joliet = joliet;
    settings.VolumeLabel = volumeLabel;
    settings.Preparer = preparer;
    settings.Application = application;
    ReadSource_ = MakeSource(settings);
    Settings_ = settings;
    Built_ = true;
    off_t size = ReadSource_->get_size(ReadSource_.get());
    ImageSize_ = size > 0 ? static_cast<uint64_t>(size) : 0;
}

void FileTree::Read(void* buffer, uint32_t size) {
    if (!ReadSource_)
        throw SdkError(EN_INVALID_STATE, "The image of the file tree is not built");
    if (buffer == nullptr && size > 0)
        throw SdkError(EN_INVALID_INPUT_PARAMETER, "No buffer for the image");
    if (ReadPosition_ + size > ImageSize_)
        throw SdkError(EN_RANGE, "Read of " + std::to_string(size) + " bytes at " + std::to_string(ReadPosition_) +
                                     " passes the end of the image (" + std::to_string(ImageSize_) + " bytes)");
    auto* out = static_cast<unsigned char*>(buffer);
    uint32_t done = 0;
    while (done < size) {
        int n = ReadSource_->read_xt != nullptr
                    ? ReadSource_->read_xt(ReadSource_.get(), out + done, static_cast<int>(size - done))
                    : ReadSource_->read(ReadSource_.get(), out + done, static_cast<int>(size - done));
        if (n <= 0)
            throw SdkError(EN_GENERAL_READ_ERROR, "The image of the file tree ended early at " +
                                                      std::to_string(ReadPosition_ + done) + " of " +
                                                      std::to_string(ImageSize_) + " bytes");
        done += static_cast<uint32_t>(n);
    }
    ReadPosition_ += size;
}

BurnSourcePtr FileTree::NewImageSource() {
    Settings settings = Settings_;
    DropReadSource();
    return MakeSource(settings);
}

FileTree& FileTreeFromHandle(void* handle) {
    FileTree* tree = FindObjectAs<FileTree>(handle);
    if (tree == nullptr)
        throw SdkError(EN_INVALID_INPUT_PARAMETER, "Invalid file tree handle");
    return *tree;
}

}  // namespace kvsdk
