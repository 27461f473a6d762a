#pragma once

#include "platform/com/Unknown.h"

#include <cstddef>
#include <utility>

// Holds one COM reference and gives it back when it goes, so that every return path of
// the code holding it releases what it took. A copy holds a reference of its own.
template <class T>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(std::nullptr_t) {}  // NOLINT: an empty reference converts like a null pointer
    // Takes over a reference the caller already owns.
    explicit ComPtr(T* owned) : p_(owned) {}
    // Adds a reference of its own to an object the caller keeps its reference to.
    static ComPtr Share(T* object)
    {
        if (object)
            object->AddRef();
        return ComPtr(object);
    }
    ComPtr(const ComPtr& other) : ComPtr(Share(other.p_)) {}
    ComPtr& operator=(const ComPtr& other)
    {
        Reset(Share(other.p_).Detach());
        return *this;
    }
    ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept
    {
        Reset(std::exchange(other.p_, nullptr));
        return *this;
    }
    ~ComPtr() { Reset(); }

    T* get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }

    // The address a creating or querying call writes its new reference to; the old one is
    // released first.
    T** Out()
    {
        Reset();
        return &p_;
    }
    void** OutVoid() { return reinterpret_cast<void**>(Out()); }

    // Hands the reference to the caller.
    T* Detach() { return std::exchange(p_, nullptr); }
    // Gives the caller a reference of its own through *out (null when empty), as getters
    // of an interface pointer do.
    void CopyTo(T** out) const { *out = Share(p_).Detach(); }

    // Holds owned instead; the reference held before is released last, so that an object
    // it keeps alive may still be used while owned is stored.
    void Reset(T* owned = nullptr)
    {
        if (T* old = std::exchange(p_, owned))
            old->Release();
    }

private:
    T* p_ = nullptr;
};
