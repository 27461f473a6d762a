#include "platform/ui/qt/DesktopDialogOwner.h"

#include "platform/ui/qt/UiWindow.h"

DesktopDialogOwner::DesktopDialogOwner(HWND owner)
{
    if (UiWindow* window = UiWindow::FromHandle(owner))
        widget_ = window->topLevel()->widget();
}

DesktopDialogOwner::~DesktopDialogOwner()
{
    if (widget_ && widget_->isVisible())
        widget_->activateWindow();
}
