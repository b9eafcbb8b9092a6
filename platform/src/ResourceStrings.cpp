#include "platform/ResourceStrings.h"

#include <algorithm>
#include <atomic>
#include <deque>
#include <mutex>

namespace platform {

HINSTANCE HInstance = 1;

namespace {

// Function-local statics: modules register their tables from static
// start-up code, in an order we do not control.
struct Tables {
    std::mutex Lock;
    std::map<HINSTANCE, std::map<uint32_t, std::u16string>> ByModule;
    std::deque<std::u16string> ResetTexts;  // stable addresses for re-set records
};

Tables& tables()
{
    static Tables t;
    return t;
}

std::atomic<TResStringLoader>& loaderSlot()
{
    static std::atomic<TResStringLoader> loader{&DefaultLoadResString};
    return loader;
}

constexpr int kLoadBufferChars = 4096;

}  // namespace

void RegisterStringTable(HINSTANCE module, const std::map<uint32_t, std::u16string>& table)
{
    Tables& t = tables();
    std::lock_guard<std::mutex> lock(t.Lock);
    auto& target = t.ByModule[module];
    for (auto& [id, text] : table)
        target[id] = text;
}

void RegisterString(HINSTANCE module, uint32_t id, const std::u16string& text)
{
    Tables& t = tables();
    std::lock_guard<std::mutex> lock(t.Lock);
    t.ByModule[module][id] = text;
}

int LoadStringW(HINSTANCE module, uint32_t id, char16_t* buffer, int bufferChars)
{
    if (!buffer || bufferChars <= 0)
        return 0;
    Tables& t = tables();
    std::lock_guard<std::mutex> lock(t.Lock);
    buffer[0] = u'\0';
    auto m = t.ByModule.find(module);
    if (m == t.ByModule.end())
        return 0;
    auto e = m->second.find(id);
    if (e == m->second.end())
        return 0;
    size_t n = std::min(e->second.size(), static_cast<size_t>(bufferChars - 1));
    std::copy_n(e->second.data(), n, buffer);
    buffer[n] = u'\0';
    return static_cast<int>(n);
}

std::u16string DefaultLoadResString(const TResStringRec* rec)
{
    if (!rec)
        return {};
    if (rec->Identifier > 0xFFFF)
        return std::u16string(reinterpret_cast<const char16_t*>(rec->Identifier));
    char16_t buffer[kLoadBufferChars];
    HINSTANCE module = rec->Module ? *rec->Module : HInstance;
    int n = LoadStringW(module, static_cast<uint32_t>(rec->Identifier), buffer, kLoadBufferChars);
    return std::u16string(buffer, static_cast<size_t>(n));
}

std::u16string LoadResString(const TResStringRec* rec)
{
    TResStringLoader loader = loaderSlot().load();
    return loader ? loader(rec) : DefaultLoadResString(rec);
}

void SetResStringLoader(TResStringLoader loader)
{
    loaderSlot().store(loader ? loader : &DefaultLoadResString);
}

TResStringLoader GetResStringLoader() { return loaderSlot().load(); }

void ResetResString(TResStringRec* rec, const std::u16string& text)
{
    if (!rec)
        return;
    Tables& t = tables();
    std::lock_guard<std::mutex> lock(t.Lock);
    t.ResetTexts.push_back(text);
    rec->Identifier = reinterpret_cast<uintptr_t>(t.ResetTexts.back().c_str());
}

}  // namespace platform
