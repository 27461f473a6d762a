#pragma once

#include "platform/win/Window.h"

#include <QPointer>
#include <QWidget>

// The window a modal dialog (a picker, the folder browser, a message box, a dialog run by
// DoModal) is shown over: the top-level window of the owner handle, null for none. When
// the dialog is over the owner is the active window again, as the desktop makes the
// owner of a closed window active, also where no window manager does it: its keys reach
// it again.
class ModalOwner {
public:
    explicit ModalOwner(HWND owner);
    ~ModalOwner();
    ModalOwner(const ModalOwner&) = delete;
    ModalOwner& operator=(const ModalOwner&) = delete;

    QWidget* widget() const { return widget_; }

private:
    QPointer<QWidget> widget_;
};
