#pragma once

#include "platform/win/Window.h"

#include <QPointer>
#include <QWidget>

// The window a modal dialog (a picker, the folder browser, a message box) is shown over:
// the top-level window of the owner handle, null for none. Shown over it, the dialog hands
// the activation back to it when it closes (InputRouting.h), so that the owner's keys
// reach it again.
class ModalOwner {
public:
    explicit ModalOwner(HWND owner);
    ModalOwner(const ModalOwner&) = delete;
    ModalOwner& operator=(const ModalOwner&) = delete;

    QWidget* widget() const { return widget_; }

private:
    QPointer<QWidget> widget_;
};
