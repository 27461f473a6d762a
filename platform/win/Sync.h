#pragma once

#include "platform/win/Handle.h"
#include "platform/win/Types.h"

#include <mutex>
#include <optional>

// Kernel services under their desktop names: re-entrant critical sections, events and
// waiting on them, sleeping, the local time and case-insensitive text comparison. Every
// function may be called from any thread.

// A re-entrant lock: the thread that holds it may enter again, and must leave as often as
// it entered. Initialise before the first use and delete after the last one.
struct CRITICAL_SECTION {
    std::optional<std::recursive_mutex> mutex;
};

void InitializeCriticalSection(CRITICAL_SECTION* section);
void EnterCriticalSection(CRITICAL_SECTION* section);
void LeaveCriticalSection(CRITICAL_SECTION* section);
void DeleteCriticalSection(CRITICAL_SECTION* section);

// Holds a critical section for its own lifetime, so that an early return or an exception
// cannot leave the section entered.
class CriticalSectionLock {
public:
    explicit CriticalSectionLock(CRITICAL_SECTION& section) : section_(section)
    {
        EnterCriticalSection(&section_);
    }
    ~CriticalSectionLock() { LeaveCriticalSection(&section_); }
    CriticalSectionLock(const CriticalSectionLock&) = delete;
    CriticalSectionLock& operator=(const CriticalSectionLock&) = delete;

private:
    CRITICAL_SECTION& section_;
};

inline constexpr DWORD INFINITE = 0xFFFFFFFF;
inline constexpr DWORD WAIT_OBJECT_0 = 0;
inline constexpr DWORD WAIT_TIMEOUT = 258;
inline constexpr DWORD WAIT_FAILED = 0xFFFFFFFF;

// A kernel object that a thread can wait for.
class WaitableObject : public KernelObject {
public:
    // WAIT_OBJECT_0 when the object became signalled within the time, else WAIT_TIMEOUT.
    virtual DWORD Wait(DWORD milliseconds) = 0;
};

// An unnamed event: a manual-reset one stays signalled until ResetEvent, an auto-reset
// one wakes a single wait and is non-signalled again. Security attributes are ignored;
// named (shared between processes) events are not offered, so a name gives null. The
// caller owns the handle and frees it with CloseHandle.
HANDLE CreateEventA(const void* attributes, BOOL manualReset, BOOL initialState, const char* name);
// FALSE when the handle is not an event.
BOOL SetEvent(HANDLE event);
BOOL ResetEvent(HANDLE event);

// Waits until the object is signalled or the time (INFINITE for none) has passed:
// WAIT_OBJECT_0, WAIT_TIMEOUT, or WAIT_FAILED when the handle cannot be waited for. A
// thread already waiting keeps what it waits on alive when another thread closes the
// handle, so closing after a last SetEvent lets every woken waiter return safely.
DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds);

// Gives up the processor for at least the time; 0 only yields.
void Sleep(DWORD milliseconds);

// A calendar time in the platform's field order (month 1 to 12, day of week 0 = Sunday).
struct SYSTEMTIME {
    WORD wYear;
    WORD wMonth;
    WORD wDayOfWeek;
    WORD wDay;
    WORD wHour;
    WORD wMinute;
    WORD wSecond;
    WORD wMilliseconds;
};

// The current local time.
void GetLocalTime(SYSTEMTIME* time);

// Compares two texts without regard to case: below, at or above zero as the first sorts
// before, with or after the second. Text is UTF-8 and only ASCII letters are folded;
// other bytes compare by value, which keeps the order of code points. Null counts as
// empty.
int lstrcmpiA(const char* first, const char* second);
