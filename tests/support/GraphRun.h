#pragma once

#include "platform/dshow/Graph.h"
#include "platform/win/MessageLoop.h"
#include "platform/win/Sync.h"
#include "platform/win/Window.h"

#include <functional>

namespace testmedia {

// Upper bound for anything a test waits for; a graph of a few dozen small frames ends in
// well under a second, so reaching it means the awaited thing never happens.
inline constexpr DWORD kPatienceMs = 30000;

// Takes the graph's events until EC_COMPLETE (true) or until an error event, a failure
// or kPatienceMs without events (false).
inline bool WaitForCompletion(IMediaEventEx* events)
{
    if (!events)
        return false;
    for (;;) {
        long code = 0;
        LONG_PTR first = 0;
        LONG_PTR second = 0;
        if (events->GetEvent(&code, &first, &second, static_cast<long>(kPatienceMs)) != S_OK)
            return false;
        events->FreeEventParams(code, first, second);
        if (code == EC_COMPLETE)
            return true;
        if (code == EC_ERRORABORT || code == EC_USERABORT)
            return false;
    }
}

// Delivers posted messages of this thread until done() holds (true) or kPatienceMs pass.
inline bool PumpUntil(const std::function<bool()>& done)
{
    for (DWORD waited = 0; waited < kPatienceMs; waited += 2) {
        ProcessPostedMessages();
        if (done())
            return true;
        Sleep(2);
    }
    ProcessPostedMessages();
    return done();
}

// A message window whose handler counts the messages of one number and remembers the
// last lParam. User-interface thread; destroyed with the object.
class MessageCounter {
public:
    explicit MessageCounter(UINT message) : message_(message)
    {
        EnsureMessageLoop();
        window_ = CreateMessageWindow();
        SetMessageHandler(window_, [this](HWND, UINT message, WPARAM, LPARAM lParam) {
            if (message == message_) {
                ++count;
                lastParam = lParam;
            }
            return LRESULT{0};
        });
    }
    ~MessageCounter() { DestroyMessageWindow(window_); }
    MessageCounter(const MessageCounter&) = delete;
    MessageCounter& operator=(const MessageCounter&) = delete;

    HWND window() const { return window_; }

    int count = 0;
    LPARAM lastParam = 0;

private:
    UINT message_;
    HWND window_ = nullptr;
};

}  // namespace testmedia
