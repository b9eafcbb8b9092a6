#pragma once

// Internal: every object behind an SDK handle (grabber, file tree, UDF
// volume) derives from SdkObject, so Burnkit_Destroy closes any of them.
// Handles are registered while they live; a handle that is not registered
// (never made, or destroyed) is refused instead of being dereferenced.

namespace kvsdk {

class SdkObject {
public:
    SdkObject();
    virtual ~SdkObject();
    SdkObject(const SdkObject&) = delete;
    SdkObject& operator=(const SdkObject&) = delete;
};

// The live object behind a handle, or null.
SdkObject* FindObject(void* handle);

// The live object of type T behind a handle, or null.
template <class T>
T* FindObjectAs(void* handle) {
    return dynamic_cast<T*>(FindObject(handle));
}

}  // namespace kvsdk
