// The BRM_LANG2_* functions: registered files, the current language and the
// bookkeeping of everything handed out.

#include "kv_lang2.h"

#include "PoFile.h"
#include "Utf16.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <mutex>
#include <unordered_set>

struct BrmLangFile {
    std::map<std::string, std::u16string> fields;
};

namespace {

using kvlang::PoFile;

struct Known {
    std::shared_ptr<const PoFile> file;
    std::vector<std::u16string> ids;  // application ids it is known under, lower case
};

struct Library {
    std::mutex mutex;
    std::vector<Known> files;                        // registration order
    std::u16string currentCode;                      // lower case
    std::vector<std::shared_ptr<const PoFile>> current;
    std::unordered_set<const void*> liveStrings;
    std::unordered_set<const void*> liveFiles;
    BRM_LANG2_TEST_COUNTERS counters{};

    void selectCurrent()
    {
        current.clear();
        for (const auto& k : files)
            if (k.file->matchesLanguage(currentCode))
                current.push_back(k.file);
    }

    BRM_LANG2_CHAR* handOut(const std::u16string& s)
    {
        if (s.empty()) {
            ++counters.nullsOut;
            return nullptr;
        }
        auto* p = new BRM_LANG2_CHAR[s.size() + 1];
        std::copy(s.begin(), s.end(), p);
        p[s.size()] = 0;
        liveStrings.insert(p);
        ++counters.stringsOut;
        return p;
    }
};

Library& lib()
{
    static Library* l = new Library;  // outlives every static destructor that might release
    return *l;
}

std::string folderPath(const std::u16string& folder)
{
    std::string p = kvlang::Utf16ToUtf8(folder);
    while (p.size() > 1 && (p.back() == '/' || p.back() == '\\'))
        p.pop_back();
    return p;
}

bool hasPoExtension(const std::filesystem::path& p)
{
    return kvlang::AsciiLower(p.extension().string()) == ".po";
}

BRM_LANG2_CHAR* fileField(BRM_LANG2_FILE file, const char* name)
{
    Library& l = lib();
    std::lock_guard lock(l.mutex);
    std::u16string value;
    if (file && l.liveFiles.count(file)) {
        auto it = file->fields.find(name);
        if (it != file->fields.end())
            value = it->second;
    }
    return l.handOut(value);
}

}  // namespace

extern "C" {

BRM_LANG2_BOOL BRM_LANG2_add(const BRM_LANG2_CHAR* folder, const BRM_LANG2_CHAR* appId,
                             const BRM_LANG2_CHAR* appId2)
{
    namespace fs = std::filesystem;
    const std::string dir = folderPath(kvlang::FromCString(folder));
    std::vector<std::u16string> ids;
    for (const auto& id : {kvlang::FromCString(appId), kvlang::FromCString(appId2)})
        if (!id.empty())
            ids.push_back(kvlang::AsciiLower(id));

    std::error_code ec;
    if (dir.empty() || !fs::is_directory(dir, ec))
        return 0;
    std::vector<fs::path> paths;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec))
        if (hasPoExtension(it->path()) && it->is_regular_file(ec))
            paths.push_back(it->path());
    if (ec)
        return 0;
    std::sort(paths.begin(), paths.end());

    Library& l = lib();
    for (const auto& path : paths) {
        const std::string canonical = fs::weakly_canonical(path, ec).string();
        std::unique_lock lock(l.mutex);
        auto known = std::find_if(l.files.begin(), l.files.end(),
                                  [&](const Known& k) { return k.file->path == canonical; });
        std::shared_ptr<const PoFile> file;
        if (known != l.files.end()) {
            file = known->file;
        } else {
            lock.unlock();
            std::string reason;
            auto read = kvlang::ReadPoFile(canonical, reason);
            if (!read) {
                std::fprintf(stderr, "kv_lang2: %s: %s; file ignored\n", path.c_str(), reason.c_str());
                continue;
            }
            file = std::make_shared<const PoFile>(std::move(*read));
            lock.lock();
        }
        std::vector<std::u16string> taken;
        for (const auto& id : ids)
            if (std::find(file->appIds.begin(), file->appIds.end(), id) != file->appIds.end())
                taken.push_back(id);
        if (taken.empty())
            continue;
        known = std::find_if(l.files.begin(), l.files.end(),
                             [&](const Known& k) { return k.file->path == canonical; });
        if (known == l.files.end()) {
            l.files.push_back({file, {}});
            known = l.files.end() - 1;
        }
        for (const auto& id : taken)
            if (std::find(known->ids.begin(), known->ids.end(), id) == known->ids.end())
                known->ids.push_back(id);
    }
    std::lock_guard lock(l.mutex);
    l.selectCurrent();
    return 1;
}

void BRM_LANG2_setCurrentLanguage(const BRM_LANG2_CHAR* code)
{
    Library& l = lib();
    std::lock_guard lock(l.mutex);
    l.currentCode = kvlang::AsciiLower(kvlang::FromCString(code));
    l.selectCurrent();
}

BRM_LANG2_CHAR* BRM_LANG2_getLocalString(const BRM_LANG2_CHAR* key, const BRM_LANG2_CHAR* defaultText)
{
    const std::u16string k = kvlang::FromCString(key);
    Library& l = lib();
    std::lock_guard lock(l.mutex);
    for (const auto& file : l.current) {
        auto it = file->texts.find(k);
        if (it != file->texts.end())
            return l.handOut(it->second);
    }
    return l.handOut(kvlang::FromCString(defaultText));
}

int32_t BRM_LANG2_getLanguageCount(const BRM_LANG2_CHAR* appId)
{
    const std::u16string id = kvlang::AsciiLower(kvlang::FromCString(appId));
    Library& l = lib();
    std::lock_guard lock(l.mutex);
    return int32_t(std::count_if(l.files.begin(), l.files.end(), [&](const Known& k) {
        return std::find(k.ids.begin(), k.ids.end(), id) != k.ids.end();
    }));
}

BRM_LANG2_FILE BRM_LANG2_getLanguageFile(const BRM_LANG2_CHAR* appId, int32_t index)
{
    const std::u16string id = kvlang::AsciiLower(kvlang::FromCString(appId));
    Library& l = lib();
    std::lock_guard lock(l.mutex);
    if (index < 0)
        return nullptr;
    for (const auto& k : l.files) {
        if (std::find(k.ids.begin(), k.ids.end(), id) == k.ids.end())
            continue;
        if (index-- == 0) {
            auto* handle = new BrmLangFile{k.file->fields};
            l.liveFiles.insert(handle);
            ++l.counters.filesOut;
            return handle;
        }
    }
    return nullptr;
}

BRM_LANG2_CHAR* BRM_LANG2_FILE_getAppID(BRM_LANG2_FILE f) { return fileField(f, kvlang::kFieldAppId); }
BRM_LANG2_CHAR* BRM_LANG2_FILE_getAuthor(BRM_LANG2_FILE f) { return fileField(f, kvlang::kFieldAuthor); }
BRM_LANG2_CHAR* BRM_LANG2_FILE_getComment(BRM_LANG2_FILE f) { return fileField(f, kvlang::kFieldComment); }
BRM_LANG2_CHAR* BRM_LANG2_FILE_getLanguageID(BRM_LANG2_FILE f) { return fileField(f, kvlang::kFieldLanguageId); }
BRM_LANG2_CHAR* BRM_LANG2_FILE_getNativeName(BRM_LANG2_FILE f) { return fileField(f, kvlang::kFieldNativeName); }
BRM_LANG2_CHAR* BRM_LANG2_FILE_getNativeSubName(BRM_LANG2_FILE f)
{
    return fileField(f, kvlang::kFieldNativeSubName);
}
BRM_LANG2_CHAR* BRM_LANG2_FILE_getEnglishName(BRM_LANG2_FILE f) { return fileField(f, kvlang::kFieldEnglishName); }
BRM_LANG2_CHAR* BRM_LANG2_FILE_getEnglishSubName(BRM_LANG2_FILE f)
{
    return fileField(f, kvlang::kFieldEnglishSubName);
}

void BRM_LANG2_freeBrmLangFile(BRM_LANG2_FILE file)
{
    if (!file)
        return;
    Library& l = lib();
    std::lock_guard lock(l.mutex);
    if (l.liveFiles.erase(file) == 0) {
        ++l.counters.badFrees;
        return;
    }
    ++l.counters.filesFreed;
    delete file;
}

void BRM_LANG2_freeWideString(BRM_LANG2_CHAR* s)
{
    Library& l = lib();
    std::lock_guard lock(l.mutex);
    if (!s) {
        ++l.counters.nullsFreed;
        return;
    }
    if (l.liveStrings.erase(s) == 0) {
        ++l.counters.badFrees;
        return;
    }
    ++l.counters.stringsFreed;
    delete[] s;
}

void BRM_LANG2_TEST_getCounters(BRM_LANG2_TEST_COUNTERS* counters)
{
    if (!counters)
        return;
    Library& l = lib();
    std::lock_guard lock(l.mutex);
    *counters = l.counters;
}

void BRM_LANG2_TEST_reset(void)
{
    Library& l = lib();
    std::lock_guard lock(l.mutex);
    l.counters = {};
    l.files.clear();
    l.currentCode.clear();
    l.current.clear();
}

}  // extern "C"
