#pragma once

#include <cstdint>
#include <functional>

// Window handles and posted messages on Qt's event loop. A handle is created on the
// user-interface thread and its messages are delivered there, in the order they were
// posted, by that thread's event loop (QCoreApplication::exec or processEvents); a
// handler registered for the handle receives them. The user-interface layer puts its
// widgets behind the same handles.

struct HWND__;
using HWND = HWND__*;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using UINT = unsigned int;

using MessageHandler =
    std::function<LRESULT(HWND window, UINT message, WPARAM wParam, LPARAM lParam)>;

// User-interface thread, after the Qt application object exists. Never null.
HWND CreateMessageWindow();
// User-interface thread. Messages still queued for the window are dropped.
void DestroyMessageWindow(HWND window);
// User-interface thread. Replaces the handler; an empty one drops messages.
void SetMessageHandler(HWND window, MessageHandler handler);
// Any thread. False for a null handle or one that does not exist (any more).
bool IsWindow(HWND window);
// Any thread; never waits for the user-interface thread. Nonzero when queued.
int PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
