#include "platform/win/Window.h"

#include "platform/win/RaceDetector.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>

#include <map>
#include <memory>
#include <mutex>
#include <thread>

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

class MessageReceiver;

// One handle. Lives on its thread; the table's lock guards only the map and the
// receiver pointer that posting reads.
struct Entry {
    HWND handle = nullptr;
    WindowProcedure* procedure = nullptr;
    std::unique_ptr<WindowProcedure> ownedProcedure;  // message-only windows
    MessageReceiver* receiver = nullptr;
    std::thread::id thread;
    // Calls of the procedure in progress, and whether the handle was destroyed during
    // one of them: the entry then goes when the outermost call returns.
    int busy = 0;
    bool destroyed = false;
};

// Handles are numbers that are never reused, so a stale handle finds nothing.
struct WindowTable {
    std::mutex mutex;
    std::map<HWND, Entry*> windows;
    std::uintptr_t lastHandle = 0;
};

WindowTable& Windows()
{
    static WindowTable table;
    return table;
}

Entry* Find(HWND window)
{
    auto found = Windows().windows.find(window);
    return found == Windows().windows.end() ? nullptr : found->second;
}

Entry* FindLocked(HWND window)
{
    std::lock_guard<std::mutex> lock(Windows().mutex);
    return Find(window);
}

void Free(Entry* entry);

// Runs the procedure of a live entry on its own thread, keeping the entry alive until the
// outermost call returns.
LRESULT Call(Entry* entry, UINT message, WPARAM wParam, LPARAM lParam)
{
    ++entry->busy;
    const LRESULT result = entry->procedure->WindowProc(entry->handle, message, wParam, lParam);
    if (--entry->busy == 0 && entry->destroyed)
        Free(entry);
    return result;
}

// The Qt object that posted messages are queued for; deleting it drops the queue.
class MessageReceiver : public QObject {
public:
    explicit MessageReceiver(HWND handle) : handle_(handle) {}

protected:
    bool event(QEvent* event) override
    {
        if (event->type() != kPostedMessage)
            return QObject::event(event);
        auto* posted = static_cast<PostedMessageEvent*>(event);
        if (Entry* entry = FindLocked(handle_))
            Call(entry, posted->message, posted->wParam, posted->lParam);
        return true;
    }

private:
    HWND handle_;
};

void Free(Entry* entry)
{
    delete entry->receiver;
    delete entry;
}

class HandlerProcedure : public WindowProcedure {
public:
    LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override
    {
        return handler ? handler(window, message, wParam, lParam) : 0;
    }
    MessageHandler handler;
};

HWND Register(WindowProcedure* procedure, std::unique_ptr<WindowProcedure> owned)
{
    WindowTable& table = Windows();
    auto* entry = new Entry;
    entry->procedure = procedure;
    entry->ownedProcedure = std::move(owned);
    entry->thread = std::this_thread::get_id();
    std::lock_guard<std::mutex> lock(table.mutex);
    entry->handle = reinterpret_cast<HWND>(++table.lastHandle);
    entry->receiver = new MessageReceiver(entry->handle);
    table.windows[entry->handle] = entry;
    return entry->handle;
}

}  // namespace

HWND CreateWindowHandle(WindowProcedure* procedure)
{
    return Register(procedure, nullptr);
}

WindowProcedure* FindWindowProcedure(HWND window)
{
    Entry* entry = FindLocked(window);
    return entry ? entry->procedure : nullptr;
}

void DestroyWindowHandle(HWND window)
{
    Entry* entry = nullptr;
    {
        std::lock_guard<std::mutex> lock(Windows().mutex);
        entry = Find(window);
        Windows().windows.erase(window);
    }
    if (!entry)
        return;
    if (entry->busy > 0) {
        entry->destroyed = true;
        return;
    }
    Free(entry);
}

HWND CreateMessageWindow()
{
    auto procedure = std::make_unique<HandlerProcedure>();
    WindowProcedure* raw = procedure.get();
    return Register(raw, std::move(procedure));
}

void DestroyMessageWindow(HWND window)
{
    DestroyWindowHandle(window);
}

void SetMessageHandler(HWND window, MessageHandler handler)
{
    Entry* entry = FindLocked(window);
    if (!entry || !entry->ownedProcedure)
        return;
    static_cast<HandlerProcedure*>(entry->ownedProcedure.get())->handler = std::move(handler);
}

bool IsWindow(HWND window)
{
    return FindLocked(window) != nullptr;
}

int PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    std::lock_guard<std::mutex> lock(Windows().mutex);
    Entry* entry = Find(window);
    if (!entry)
        return 0;
    auto* posted = new PostedMessageEvent(message, wParam, lParam);
    // Qt's queue hands the event over under a lock of its own that the race detector
    // cannot see: it is told here that the message leaves, and by
    // MessageApplication::notify that it arrives, so that what this thread did before
    // posting comes before the handler.
    HandOverRelease(posted);
    // Held across postEvent so the receiver cannot be deleted in between; postEvent
    // only queues and is safe from any thread.
    QCoreApplication::postEvent(entry->receiver, posted);
    return 1;
}

LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    Entry* entry = nullptr;
    {
        // The thread test stays under the lock: a caller on another thread must not touch
        // an entry that its own thread may free at any moment.
        std::lock_guard<std::mutex> lock(Windows().mutex);
        entry = Find(window);
        if (!entry || entry->thread != std::this_thread::get_id())
            return 0;
    }
    return Call(entry, message, wParam, lParam);
}
