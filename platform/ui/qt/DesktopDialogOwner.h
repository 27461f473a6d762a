#pragma once

#include "platform/win/Window.h"

#include <QPointer>
#include <QWidget>

// The window a desktop dialog (a picker, the folder browser, a message box) is shown over:
// the top-level window of the caller's owner handle, null for none. When the dialog is
// over the owner is the active window again, as the desktop makes the owner of a closed
// window active, also where no window manager does it: its keys reach it again.
class DesktopDialogOwner {
public:
    explicit DesktopDialogOwner(HWND owner);
    ~DesktopDialogOwner();
    DesktopDialogOwner(const DesktopDialogOwner&) = delete;
    DesktopDialogOwner& operator=(const DesktopDialogOwner&) = delete;

    QWidget* widget() const { return widget_; }

private:
    QPointer<QWidget> widget_;
};
