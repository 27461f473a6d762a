#pragma once

#include "platform/win/Handle.h"
#include "platform/win/Types.h"
#include "platform/win/WaitableObject.h"

// An unnamed event: a manual-reset one stays signalled until ResetEvent, an auto-reset
// one wakes a single wait and is non-signalled again. Security attributes are ignored;
// named (shared between processes) events are not offered, so a name gives null. The
// caller owns the handle and frees it with CloseHandle; WaitForSingleObject waits for it.
// Any thread.
HANDLE CreateEventA(const void* attributes, BOOL manualReset, BOOL initialState, const char* name);
// FALSE when the handle is not an event.
BOOL SetEvent(HANDLE event);
BOOL ResetEvent(HANDLE event);
