#include "platform/win/Sync.h"

#include "platform/text/NoCase.h"

#include <chrono>
#include <condition_variable>
#include <ctime>
#include <memory>
#include <new>
#include <thread>

void InitializeCriticalSection(CRITICAL_SECTION* section)
{
    section->mutex.emplace();
}

void EnterCriticalSection(CRITICAL_SECTION* section)
{
    section->mutex->lock();
}

void LeaveCriticalSection(CRITICAL_SECTION* section)
{
    section->mutex->unlock();
}

void DeleteCriticalSection(CRITICAL_SECTION* section)
{
    section->mutex.reset();
}

namespace {

// The state lives apart from the handle so that a waiter holds it while another thread
// closes the handle.
struct EventState {
    std::mutex mutex;
    std::condition_variable changed;
    bool manualReset = false;
    // Guarded by mutex:
    bool signalled = false;
};

class Event final : public WaitableObject {
public:
    Event(bool manualReset, bool initialState) : state_(std::make_shared<EventState>())
    {
        state_->manualReset = manualReset;
        state_->signalled = initialState;
    }

    void Set()
    {
        {
            std::lock_guard<std::mutex> lock(state_->mutex);
            state_->signalled = true;
        }
        if (state_->manualReset)
            state_->changed.notify_all();
        else
            state_->changed.notify_one();
    }

    void Reset()
    {
        std::lock_guard<std::mutex> lock(state_->mutex);
        state_->signalled = false;
    }

    DWORD Wait(DWORD milliseconds) override
    {
        const std::shared_ptr<EventState> state = state_;
        std::unique_lock<std::mutex> lock(state->mutex);
        const auto isSignalled = [&state] { return state->signalled; };
        if (milliseconds == INFINITE)
            state->changed.wait(lock, isSignalled);
        else if (!state->changed.wait_for(lock, std::chrono::milliseconds(milliseconds),
                                          isSignalled))
            return WAIT_TIMEOUT;
        if (!state->manualReset)
            state->signalled = false;
        return WAIT_OBJECT_0;
    }

private:
    std::shared_ptr<EventState> state_;
};

Event* AsEvent(HANDLE handle)
{
    return dynamic_cast<Event*>(handle);
}

}  // namespace

HANDLE CreateEventA(const void*, BOOL manualReset, BOOL initialState, const char* name)
{
    if (name)
        return nullptr;
    return new (std::nothrow) Event(manualReset != FALSE, initialState != FALSE);
}

BOOL SetEvent(HANDLE event)
{
    Event* target = AsEvent(event);
    if (!target)
        return FALSE;
    target->Set();
    return TRUE;
}

BOOL ResetEvent(HANDLE event)
{
    Event* target = AsEvent(event);
    if (!target)
        return FALSE;
    target->Reset();
    return TRUE;
}

DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds)
{
    auto* waitable = dynamic_cast<WaitableObject*>(handle);
    return waitable ? waitable->Wait(milliseconds) : WAIT_FAILED;
}

void Sleep(DWORD milliseconds)
{
    if (milliseconds == 0)
        std::this_thread::yield();
    else
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

void GetLocalTime(SYSTEMTIME* time)
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    std::tm local{};
    localtime_r(&now.tv_sec, &local);
    time->wYear = static_cast<WORD>(local.tm_year + 1900);
    time->wMonth = static_cast<WORD>(local.tm_mon + 1);
    time->wDayOfWeek = static_cast<WORD>(local.tm_wday);
    time->wDay = static_cast<WORD>(local.tm_mday);
    time->wHour = static_cast<WORD>(local.tm_hour);
    time->wMinute = static_cast<WORD>(local.tm_min);
    // A leap second shows as the last second of the minute, as the platform has no 60.
    time->wSecond = static_cast<WORD>(local.tm_sec > 59 ? 59 : local.tm_sec);
    time->wMilliseconds = static_cast<WORD>(now.tv_nsec / 1000000);
}

int lstrcmpiA(const char* first, const char* second)
{
    return CompareNoCase(first ? first : "", second ? second : "");
}
