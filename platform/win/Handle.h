#pragma once

#include "platform/win/Types.h"

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

// Destroys the object; the handle is invalid afterwards. FALSE for a null handle.
// Any thread, but not while another thread still uses the same handle, except for a
// thread already waiting on it (see WaitForSingleObject).
BOOL CloseHandle(HANDLE handle);
