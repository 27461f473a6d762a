#pragma once

#include "platform/com/Guid.h"
#include "platform/com/Result.h"
#include "platform/com/WinTypes.h"

#include <atomic>

inline constexpr IID IID_IUnknown{
    0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

// Every interface derives from IUnknown. QueryInterface hands out a pointer that carries a
// reference of its own; every AddRef is paired with one Release; the object deletes
// itself when the last reference goes.
struct IUnknown {
    virtual HRESULT QueryInterface(REFIID iid, void** out) = 0;
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;

protected:
    ~IUnknown() = default;
};
using LPUNKNOWN = IUnknown*;

// The reference count and interface lookup of our own objects. An object starts with no
// reference: whoever creates it takes the first one (CoCreateInstance through
// QueryInterface, a graph through AddFilter). Thread-safe counting.
//
// A class that implements interfaces derives from them and from CUnknown, overrides
// GetInterface for its IIDs (calling its base class's for the rest) and puts
// DECLARE_IUNKNOWN in its body so that every inherited IUnknown is answered by this one.
class CUnknown {
public:
    CUnknown() = default;
    CUnknown(const CUnknown&) = delete;
    CUnknown& operator=(const CUnknown&) = delete;
    virtual ~CUnknown() = default;

    HRESULT NonDelegatingQueryInterface(REFIID iid, void** out);
    ULONG NonDelegatingAddRef();
    // Calls LastReleased when the count reaches 0.
    ULONG NonDelegatingRelease();

protected:
    // The interface pointer (not yet referenced) that answers iid, or null. IID_IUnknown
    // must be answered too: with the object's main interface.
    virtual void* GetInterface(REFIID iid) = 0;
    // Deletes the object; pooled objects return themselves to their pool instead.
    virtual void LastReleased();

private:
    std::atomic<ULONG> references_{0};
};

#define DECLARE_IUNKNOWN                                                                           \
    HRESULT QueryInterface(REFIID iid, void** out) override                                        \
    {                                                                                              \
        return NonDelegatingQueryInterface(iid, out);                                              \
    }                                                                                              \
    ULONG AddRef() override                                                                        \
    {                                                                                              \
        return NonDelegatingAddRef();                                                              \
    }                                                                                              \
    ULONG Release() override                                                                       \
    {                                                                                              \
        return NonDelegatingRelease();                                                             \
    }

// Releases an interface pointer and clears it; harmless on null.
template <class T>
void SafeRelease(T*& pointer)
{
    if (pointer) {
        pointer->Release();
        pointer = nullptr;
    }
}
