#pragma once

#include "platform/com/ComPtr.h"
#include "platform/com/Guid.h"
#include "platform/com/Result.h"
#include "platform/com/Unknown.h"
#include "platform/com/WinTypes.h"

#include <cstddef>
#include <new>
#include <utility>

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

// Adds (or replaces) a class; any thread. Classes added here are looked up before the
// class tables, so tests may put their own in a table's place.
void CoRegisterClass(REFCLSID clsid, ClassFactoryFunction factory);
void CoUnregisterClass(REFCLSID clsid);

// A layer's classes: one row per class, ended by a row with a null factory.
struct ClassTableEntry {
    const CLSID* clsid;
    ClassFactoryFunction factory;
};

// Adds a table, which must outlive every lookup; any thread. Layers above this one add
// theirs as the program starts (the filter graph's GraphClasses.cpp), from a file that
// every program asking for one of their classes links.
void CoRegisterClassTable(const ClassTableEntry* table);

// Makes a new T from the arguments and answers QueryInterface(iid, out) on it; the object
// is deleted again when that fails. Without arguments it is a ClassFactoryFunction.
template <class T, class... Arguments>
HRESULT CreateComObject(REFIID iid, void** out, Arguments&&... arguments)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    const auto object =
        ComPtr<T>::Share(new (std::nothrow) T(std::forward<Arguments>(arguments)...));
    if (!object)
        return E_OUTOFMEMORY;
    return object->NonDelegatingQueryInterface(iid, out);
}

// The task allocator: blocks that one side allocates and the other frees (media types
// handed out by enumerators, filter names).
void* CoTaskMemAlloc(std::size_t size);
void CoTaskMemFree(void* block);
