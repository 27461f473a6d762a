#include "platform/win/Window.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>

#include <map>
#include <memory>
#include <mutex>

namespace {

const QEvent::Type kPostedMessage = static_cast<QEvent::Type>(QEvent::registerEventType());

class PostedMessageEvent : public QEvent {
public:
    PostedMessageEvent(UINT message, WPARAM wParam, LPARAM lParam)
        : QEvent(kPostedMessage), message(message), wParam(wParam), lParam(lParam)
    {}
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// The receiver of one handle's messages; lives on the thread that created the handle.
class MessageWindow : public QObject {
public:
    explicit MessageWindow(HWND handle) : handle_(handle) {}
    void setHandler(MessageHandler handler) { handler_ = std::move(handler); }

protected:
    bool event(QEvent* event) override
    {
        if (event->type() != kPostedMessage)
            return QObject::event(event);
        auto* posted = static_cast<PostedMessageEvent*>(event);
        if (handler_)
            handler_(handle_, posted->message, posted->wParam, posted->lParam);
        return true;
    }

private:
    HWND handle_;
    MessageHandler handler_;
};

// Handles are numbers that are never reused, so a stale handle finds nothing.
struct WindowTable {
    std::mutex mutex;
    std::map<HWND, MessageWindow*> windows;
    std::uintptr_t lastHandle = 0;
};

WindowTable& Windows()
{
    static WindowTable table;
    return table;
}

MessageWindow* Find(HWND window)
{
    auto found = Windows().windows.find(window);
    return found == Windows().windows.end() ? nullptr : found->second;
}

}  // namespace

HWND CreateMessageWindow()
{
    WindowTable& table = Windows();
    std::lock_guard<std::mutex> lock(table.mutex);
    HWND handle = reinterpret_cast<HWND>(++table.lastHandle);
    table.windows[handle] = new MessageWindow(handle);
    return handle;
}

void DestroyMessageWindow(HWND window)
{
    MessageWindow* object = nullptr;
    {
        std::lock_guard<std::mutex> lock(Windows().mutex);
        object = Find(window);
        Windows().windows.erase(window);
    }
    // Deleting the receiver drops the events still queued for it.
    delete object;
}

void SetMessageHandler(HWND window, MessageHandler handler)
{
    std::lock_guard<std::mutex> lock(Windows().mutex);
    if (MessageWindow* object = Find(window))
        object->setHandler(std::move(handler));
}

bool IsWindow(HWND window)
{
    std::lock_guard<std::mutex> lock(Windows().mutex);
    return Find(window) != nullptr;
}

int PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    std::lock_guard<std::mutex> lock(Windows().mutex);
    MessageWindow* object = Find(window);
    if (!object)
        return 0;
    // Held across postEvent so the receiver cannot be deleted in between; postEvent
    // only queues and is safe from any thread.
    QCoreApplication::postEvent(object, new PostedMessageEvent(message, wParam, lParam));
    return 1;
}
