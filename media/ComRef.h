#pragma once

#include "platform/com/Unknown.h"

#include <utility>

// Holds one COM reference and releases it when it goes, so that every early return of
// the graph code gives its references back.
template <class T>
class ComRef {
public:
    ComRef() = default;
    // Takes over a reference the caller already owns.
    explicit ComRef(T* owned) : p_(owned) {}
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    ComRef(ComRef&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    ComRef& operator=(ComRef&& other) noexcept
    {
        Reset(std::exchange(other.p_, nullptr));
        return *this;
    }
    ~ComRef() { Reset(); }

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

    void Reset(T* owned = nullptr)
    {
        if (p_)
            p_->Release();
        p_ = owned;
    }

private:
    T* p_ = nullptr;
};
