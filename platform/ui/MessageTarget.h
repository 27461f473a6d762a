#pragma once

#include "platform/ui/Messages.h"

// The object that handles a window's messages before the window's own handling: in this
// program, the framework's window object (CWnd, platform/mfc). See platform/mfc/
// Framework.h for the routing order. User-interface thread.
class MessageTarget {
public:
    virtual ~MessageTarget() = default;
    // Every message sent or posted to the window. Calls DefWindowProcA for what it does
    // not handle itself.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    // A key or mouse-button press aimed at this window or one inside it, before it is
    // delivered; TRUE eats it.
    virtual BOOL PreTranslateMessage(MSG* message) = 0;
    // The target now receives the window's messages (before any of them arrives).
    virtual void OnWindowAttached(HWND window) = 0;
    // The window is gone (after its WM_DESTROY); the target is detached already.
    virtual void OnWindowGone() = 0;
};

// Makes target the first receiver of the window's messages (null: none) and tells it so.
// The target is not owned: it detaches itself (or is told by OnWindowGone) before it
// dies.
void AttachMessageTarget(HWND window, MessageTarget* target);
MessageTarget* GetMessageTarget(HWND window);

// The window's own handling of a message (the control's behaviour), bypassing its target.
LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
