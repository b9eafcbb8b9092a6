#include "Handle.h"

#include <mutex>
#include <unordered_set>

namespace kvsdk {

namespace {

std::mutex& RegistryLock() {
    static std::mutex lock;
    return lock;
}

std::unordered_set<SdkObject*>& Registry() {
    static std::unordered_set<SdkObject*> objects;
    return objects;
}

}  // namespace

SdkObject::SdkObject() {
    std::lock_guard<std::mutex> guard(RegistryLock());
    Registry().insert(this);
}

SdkObject::~SdkObject() {
    std::lock_guard<std::mutex> guard(RegistryLock());
    Registry().erase(this);
}

SdkObject* FindObject(void* handle) {
    std::lock_guard<std::mutex> guard(RegistryLock());
    auto* object = static_cast<SdkObject*>(handle);
    return Registry().count(object) != 0 ? object : nullptr;
}

}  // namespace kvsdk
