#include "platform/ui/qt/ModalOwner.h"

#include "platform/ui/qt/UiWindow.h"

ModalOwner::ModalOwner(HWND owner)
{
    if (UiWindow* window = UiWindow::FromHandle(owner))
        widget_ = window->topLevel()->widget();
}
