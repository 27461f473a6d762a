#include "creator/engine/MessagePump.h"

#include "platform/win/MessageLoop.h"
#include "platform/win/Sync.h"

#include <chrono>

MessagePump::MessagePump()
{
    EnsureMessageLoop();
    window_ = CreateMessageWindow();
    SetMessageHandler(window_, [this](HWND, UINT message, WPARAM wParam, LPARAM lParam) {
        messages_.push_back({message, wParam, lParam});
        if (handler_)
            handler_(messages_.back());
        return LRESULT{0};
    });
}

MessagePump::~MessagePump()
{
    DestroyMessageWindow(window_);
}

int MessagePump::Count(UINT message) const
{
    int count = 0;
    for (const Message& m : messages_)
        count += m.message == message ? 1 : 0;
    return count;
}

bool MessagePump::RunUntil(const std::function<bool()>& done, double maxSeconds)
{
    const auto limit = std::chrono::steady_clock::now() +
                       std::chrono::duration<double>(maxSeconds);
    while (!done()) {
        if (std::chrono::steady_clock::now() > limit)
            return false;
        ProcessPostedMessages();
        Sleep(1);
    }
    return true;
}
