#pragma once

#include "platform/win/Types.h"

#include <cstdint>
#include <memory>

// The base of every object a HANDLE stands for (events here, files and others elsewhere):
// a kind of kernel object derives from it, hands out `new`ed instances as HANDLEs and
// frees what it holds in its destructor, so that one CloseHandle serves every kind.
class KernelObject {
public:
    virtual ~KernelObject() = default;
    KernelObject(const KernelObject&) = delete;
    KernelObject& operator=(const KernelObject&) = delete;

protected:
    KernelObject() = default;
};

using HANDLE = KernelObject*;

// What a failed open of a file answers; never a live object.
inline HANDLE const INVALID_HANDLE_VALUE = reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(-1));

// Destroys the object; the handle is invalid afterwards. FALSE for a null handle and for
// INVALID_HANDLE_VALUE.
// Any thread, but not while another thread still uses the same handle, except for a
// thread already waiting on it (see WaitForSingleObject).
BOOL CloseHandle(HANDLE handle);

struct HandleCloser {
    void operator()(HANDLE handle) const { CloseHandle(handle); }
};
// Holds a live handle (never null or INVALID_HANDLE_VALUE) and closes it.
using UniqueHandle = std::unique_ptr<KernelObject, HandleCloser>;
