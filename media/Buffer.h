#pragma once

#include "platform/win/Handle.h"
#include "platform/win/Sync.h"
#include "platform/win/Types.h"

// A named data slot handed between threads: one heap block of bytes, a count of how often
// the block was replaced, and up to a fixed number of consumers that are woken through
// their own auto-reset event whenever the slot changes.
//
// Threads: every operation may be called from any thread and runs entirely inside the
// buffer's re-entrant lock; Lock and Unlock hold that lock across several operations.
// The buffer only sets its events, it never waits on anything but its lock.
//
// Life cycle: construct, Create once, fill and refill, then Close before destroying.
class CBuffer {
public:
    CBuffer();
    // Frees whatever Close has not freed already.
    virtual ~CBuffer();
    CBuffer(const CBuffer&) = delete;
    CBuffer& operator=(const CBuffer&) = delete;

    // Gives the buffer consumerCount zero-filled consumer slots and a copy of the name.
    // False, with the buffer unchanged, when the slots cannot be allocated. Slots left
    // from an earlier Create are released first, as Close releases them.
    bool Create(const char* name, DWORD consumerCount);
    // Stores a copy of the name; null clears it. True.
    bool SetName(const char* name);
    // Copies the name into buffer (length bytes) with a terminator, cut at a character
    // boundary when it does not fit. False when there is no name or no room.
    bool GetName(char* buffer, DWORD length);

    // Replaces the block with a copy of length bytes; null bytes free it. Counts one
    // change and signals every consumer. False, with the buffer empty and nothing
    // counted or signalled, when the block cannot be allocated.
    bool SetData(const void* bytes, DWORD length);
    // Hands out the block (still owned by the buffer, valid while the lock is held) and
    // its size; either out may be null. True.
    virtual bool GetData(void** data, DWORD* size);
    DWORD GetDataSize();

    // The auto-reset event of the consumer with this key (any pointer that names it),
    // giving the consumer a free slot on its first call; null when there are no slots,
    // no free one, or the event cannot be made. The buffer owns the event until Close.
    HANDLE GetEvent(const void* key);
    // Sets every consumer event made so far; whether the buffer has consumer slots.
    // Callers that change the held data in place call it themselves.
    bool SignalAll();

    void Lock();
    void Unlock();

    // Wakes every consumer once, closes their events, frees the slots, the name and the
    // block (counting one change). The change count is kept. True.
    bool Close();

protected:
    // The text copy of GetName: a terminator always, the text cut at a UTF-8 character
    // boundary. False for null text or no room.
    static bool CopyText(const char* text, char* buffer, DWORD length);
    // Frees the block without counting or signalling; lock_ held.
    void FreeData();

    CRITICAL_SECTION lock_;

    // Guarded by lock_:
    char* name_ = nullptr;
    LONG changeCount_ = 0;
    DWORD dataSize_ = 0;  // valid bytes in data_; the block may be longer
    BYTE* data_ = nullptr;
    DWORD consumerCount_ = 0;
    const void** consumerKeys_ = nullptr;  // a null key is a free slot
    HANDLE* consumerEvents_ = nullptr;     // null until the slot's consumer asks

private:
    void ReleaseConsumers();
};
