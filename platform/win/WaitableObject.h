#pragma once

#include "platform/win/Handle.h"
#include "platform/win/Types.h"

inline constexpr DWORD INFINITE = 0xFFFFFFFF;
inline constexpr DWORD WAIT_OBJECT_0 = 0;
inline constexpr DWORD WAIT_TIMEOUT = 258;
inline constexpr DWORD WAIT_FAILED = 0xFFFFFFFF;

// A kernel object that a thread can wait for (an event, say).
class WaitableObject : public KernelObject {
public:
    // WAIT_OBJECT_0 when the object became signalled within the time, else WAIT_TIMEOUT.
    virtual DWORD Wait(DWORD milliseconds) = 0;
};

// Waits until the object is signalled or the time (INFINITE for none) has passed:
// WAIT_OBJECT_0, WAIT_TIMEOUT, or WAIT_FAILED when the handle cannot be waited for. A
// thread already waiting keeps what it waits on alive when another thread closes the
// handle, so closing after a last SetEvent lets every woken waiter return safely. Any
// thread.
DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds);
