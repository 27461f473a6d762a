#pragma once

#include "platform/win/Types.h"

#include <cstdint>
#include <functional>

// One handle space for every window of the program: message-only windows (a handler and
// nothing else) and the widgets of the user-interface layer (platform/ui) alike. A handle
// names one receiver, its window procedure; handles are numbers that are never reused,
// so a stale handle finds nothing.
//
// Threads. A handle belongs to the thread that created it, the user-interface thread.
// Posted messages reach its procedure there, in the order they were posted, through that
// thread's event loop (QCoreApplication::exec, a nested loop, or processEvents). Sent
// messages call the procedure at once and only on that thread: a send from any other
// thread is refused, so streaming threads can only post.
//
// Lifetime. A procedure may destroy its own handle while it handles a message: the
// handle stops taking messages at once, and the rest of its queue is dropped.

struct HWND__;
using HWND = HWND__*;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;

// The receiver of one handle's messages. Not owned by the handle: it must outlive it (or
// destroy it first).
class WindowProcedure {
public:
    virtual ~WindowProcedure() = default;
    virtual LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;
    // The window's inner area at (0, 0); false for a window that covers no area of the
    // screen (a message-only window).
    virtual bool ClientRect(RECT* rect) const
    {
        (void)rect;
        return false;
    }
};

// User-interface thread, after the application object exists. Never null.
HWND CreateWindowHandle(WindowProcedure* procedure);
// User-interface thread. Null for a handle that does not exist (any more).
WindowProcedure* FindWindowProcedure(HWND window);
// User-interface thread. Messages still queued for the window are dropped.
void DestroyWindowHandle(HWND window);

using MessageHandler =
    std::function<LRESULT(HWND window, UINT message, WPARAM wParam, LPARAM lParam)>;

// A message-only window whose procedure is a handler. User-interface thread, after the
// application object exists. Never null.
HWND CreateMessageWindow();
// User-interface thread. Messages still queued for the window are dropped.
void DestroyMessageWindow(HWND window);
// User-interface thread. Replaces the handler; an empty one drops messages.
void SetMessageHandler(HWND window, MessageHandler handler);

// Any thread. False for a null handle or one that does not exist (any more).
bool IsWindow(HWND window);
// Any thread; never waits for the user-interface thread. Nonzero when queued.
int PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// The window's procedure's answer. Only on the window's own thread; from another thread,
// or for a window that does not exist, nothing is called and the answer is 0.
LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
