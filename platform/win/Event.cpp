#include "platform/win/Event.h"

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <new>

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
