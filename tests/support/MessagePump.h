#pragma once

#include "platform/win/MessageLoop.h"
#include "platform/win/Sync.h"
#include "platform/win/Window.h"
#include "support/WaitUntil.h"

#include <functional>
#include <utility>
#include <vector>

namespace testmedia {

// Delivers posted messages of this thread until done() holds (true) or patienceMs pass
// (a guard against a hang, not a measure of speed).
inline bool PumpUntil(const std::function<bool()>& done, DWORD patienceMs = kPatienceMs)
{
    return WaitUntil(
        [&] {
            ProcessPostedMessages();
            return done();
        },
        patienceMs);
}

// A message window on the test's thread that records every message posted to it, and a
// way to run the message loop until a condition holds, as the main dialog's loop would.
// User-interface thread; the window is destroyed with the object.
class MessagePump {
public:
    struct Message {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };

    MessagePump()
    {
        window_ = CreateMessageWindow();
        SetMessageHandler(window_, [this](HWND, UINT message, WPARAM wParam, LPARAM lParam) {
            messages_.push_back({message, wParam, lParam});
            if (handler_)
                handler_(messages_.back());
            return LRESULT{0};
        });
    }
    ~MessagePump() { DestroyMessageWindow(window_); }
    MessagePump(const MessagePump&) = delete;
    MessagePump& operator=(const MessagePump&) = delete;

    HWND window() const { return window_; }
    // Called for each message as it is delivered, after it is recorded.
    void SetHandler(std::function<void(const Message&)> handler) { handler_ = std::move(handler); }
    const std::vector<Message>& messages() const { return messages_; }
    // Forgets the messages recorded so far, for a test's next run.
    void Clear() { messages_.clear(); }
    int Count(UINT message) const
    {
        int count = 0;
        for (const Message& m : messages_)
            count += m.message == message ? 1 : 0;
        return count;
    }

    // PumpUntil with a patience for whole creations, which take far longer than one
    // small graph.
    bool RunUntil(const std::function<bool()>& done, double maxSeconds = 300.0)
    {
        return PumpUntil(done, static_cast<DWORD>(maxSeconds * 1000));
    }

private:
    HWND window_ = nullptr;
    std::function<void(const Message&)> handler_;
    std::vector<Message> messages_;
};

// A message window whose handler counts the messages of one number and remembers the
// last lParam. User-interface thread; destroyed with the object.
class MessageCounter {
public:
    explicit MessageCounter(UINT message) : message_(message)
    {
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
