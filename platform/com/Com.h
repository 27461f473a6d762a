#pragma once

#include "platform/com/Guid.h"
#include "platform/com/Result.h"
#include "platform/com/Unknown.h"
#include "platform/com/WinTypes.h"

#include <cstddef>
#include <new>

// Our in-process COM: every class lives in this program. CoInitializeEx is counted per
// thread as on the desktop platform, but creating objects does not require it.

inline constexpr DWORD COINIT_MULTITHREADED = 0x0;
inline constexpr DWORD COINIT_APARTMENTTHREADED = 0x2;

inline constexpr DWORD CLSCTX_INPROC_SERVER = 0x1;
inline constexpr DWORD CLSCTX_INPROC_HANDLER = 0x2;
inline constexpr DWORD CLSCTX_LOCAL_SERVER = 0x4;
inline constexpr DWORD CLSCTX_ALL = 0x17;

HRESULT CoInitializeEx(void* reserved, DWORD flags);
void CoUninitialize();

// Creates an object of a registered class and asks it for iid. REGDB_E_CLASSNOTREG for an
// unknown class, CLASS_E_NOAGGREGATION when an outer object is given (no class here
// supports aggregation), E_POINTER for a null out. *out is null on failure.
HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD context, REFIID iid, void** out);

// Makes a new object of a class and answers QueryInterface(iid, out) on it; the object is
// deleted again when that fails.
using ClassFactoryFunction = HRESULT (*)(REFIID iid, void** out);

// Adds (or replaces) a class; any thread. The platform's own classes are listed in
// platform/com/ClassTable.cpp so that a static link keeps them; tests and later layers
// may add theirs here.
void CoRegisterClass(REFCLSID clsid, ClassFactoryFunction factory);
void CoUnregisterClass(REFCLSID clsid);

// The classes a static link must keep: one row per class, ended by a row with a null
// factory. Defined in ClassTable.cpp.
struct ClassTableEntry {
    const CLSID* clsid;
    ClassFactoryFunction factory;
};
extern const ClassTableEntry kPlatformClasses[];

// Helper for factories: new T, then QueryInterface; deletes it again on failure.
template <class T>
HRESULT CreateComObject(REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    T* object = new (std::nothrow) T();
    if (!object)
        return E_OUTOFMEMORY;
    object->NonDelegatingAddRef();
    HRESULT hr = object->NonDelegatingQueryInterface(iid, out);
    object->NonDelegatingRelease();
    return hr;
}

// The task allocator: blocks that one side allocates and the other frees (media types
// handed out by enumerators, filter names).
void* CoTaskMemAlloc(std::size_t size);
void CoTaskMemFree(void* block);
