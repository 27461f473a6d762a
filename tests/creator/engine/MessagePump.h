#pragma once

#include "platform/win/Window.h"

#include <functional>
#include <vector>

// A message window on the test's thread that records every message posted to it, and a
// way to run the message loop until a condition holds, as the main dialog's loop would.
class MessagePump {
public:
    struct Message {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };

    MessagePump();
    ~MessagePump();
    MessagePump(const MessagePump&) = delete;
    MessagePump& operator=(const MessagePump&) = delete;

    HWND window() const { return window_; }
    // Called for each message as it is delivered, after it is recorded.
    void SetHandler(std::function<void(const Message&)> handler) { handler_ = std::move(handler); }
    const std::vector<Message>& messages() const { return messages_; }
    int Count(UINT message) const;

    // Delivers messages until done() holds; false when it still does not after
    // maxSeconds (a guard against a hang, not a measure of speed).
    bool RunUntil(const std::function<bool()>& done, double maxSeconds = 300.0);

private:
    HWND window_ = nullptr;
    std::function<void(const Message&)> handler_;
    std::vector<Message> messages_;
};
