#include "media/Buffer.h"

#include "platform/text/HeapText.h"
#include "platform/text/Utf8Copy.h"

#include <cstring>
#include <new>

CBuffer::CBuffer()
{
    InitializeCriticalSection(&lock_);
}

CBuffer::~CBuffer()
{
    ReleaseConsumers();
    ReplaceHeapText(name_, nullptr);
    FreeData();
    DeleteCriticalSection(&lock_);
}

bool CBuffer::Create(const char* name, DWORD consumerCount)
{
    CriticalSectionLock hold(lock_);
    auto* keys = new (std::nothrow) const void*[consumerCount]();
    auto* events = new (std::nothrow) HANDLE[consumerCount]();
    if (!keys || !events) {
        delete[] keys;
        delete[] events;
        return false;
    }
    ReleaseConsumers();
    consumerKeys_ = keys;
    consumerEvents_ = events;
    consumerCount_ = consumerCount;
    return SetName(name);
}

bool CBuffer::SetName(const char* name)
{
    CriticalSectionLock hold(lock_);
    ReplaceHeapText(name_, name);
    return true;
}

bool CBuffer::GetName(char* buffer, DWORD length)
{
    CriticalSectionLock hold(lock_);
    return CopyText(name_, buffer, length);
}

bool CBuffer::SetData(const void* bytes, DWORD length)
{
    CriticalSectionLock hold(lock_);
    if (bytes) {
        if (data_ && dataSize_ < length)
            FreeData();
        if (!data_)
            data_ = new (std::nothrow) BYTE[length];
        if (!data_) {
            dataSize_ = 0;
            return false;
        }
        std::memcpy(data_, bytes, length);
        dataSize_ = length;
    } else {
        FreeData();
    }
    ++changeCount_;
    SignalAll();
    return true;
}

bool CBuffer::GetData(void** data, DWORD* size)
{
    CriticalSectionLock hold(lock_);
    if (data)
        *data = data_;
    if (size)
        *size = dataSize_;
    return true;
}

DWORD CBuffer::GetDataSize()
{
    CriticalSectionLock hold(lock_);
    return data_ ? dataSize_ : 0;
}

HANDLE CBuffer::GetEvent(const void* key)
{
    CriticalSectionLock hold(lock_);
    DWORD slot = consumerCount_;
    for (DWORD i = 0; i < consumerCount_ && slot == consumerCount_; ++i) {
        if (consumerKeys_[i] == key)
            slot = i;
    }
    for (DWORD i = 0; i < consumerCount_ && slot == consumerCount_; ++i) {
        if (!consumerKeys_[i])
            slot = i;
    }
    if (slot == consumerCount_)
        return nullptr;
    consumerKeys_[slot] = key;
    if (!consumerEvents_[slot])
        consumerEvents_[slot] = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    return consumerEvents_[slot];
}

bool CBuffer::SignalAll()
{
    CriticalSectionLock hold(lock_);
    for (DWORD i = 0; i < consumerCount_; ++i) {
        if (consumerEvents_[i])
            SetEvent(consumerEvents_[i]);
    }
    return consumerCount_ != 0;
}

void CBuffer::Lock()
{
    EnterCriticalSection(&lock_);
}

void CBuffer::Unlock()
{
    LeaveCriticalSection(&lock_);
}

bool CBuffer::Close()
{
    CriticalSectionLock hold(lock_);
    ReleaseConsumers();
    ReplaceHeapText(name_, nullptr);
    FreeData();
    ++changeCount_;
    return true;
}

bool CBuffer::CopyText(const char* text, char* buffer, DWORD length)
{
    if (!text || !buffer || length == 0)
        return false;
    CopyTextCut(buffer, length, text);
    return true;
}

void CBuffer::ReleaseConsumers()
{
    // Waking before closing lets a consumer that waits right now return and see the end.
    SignalAll();
    for (DWORD i = 0; i < consumerCount_; ++i)
        CloseHandle(consumerEvents_[i]);
    delete[] consumerKeys_;
    delete[] consumerEvents_;
    consumerKeys_ = nullptr;
    consumerEvents_ = nullptr;
    consumerCount_ = 0;
}

void CBuffer::FreeData()
{
    delete[] data_;
    data_ = nullptr;
    dataSize_ = 0;
}
