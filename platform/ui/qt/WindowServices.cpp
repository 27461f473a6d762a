#include "platform/ui/WindowServices.h"

#include "platform/ui/DialogUnits.h"
#include "platform/ui/qt/DialogFont.h"
#include "platform/ui/qt/DialogWindow.h"
#include "platform/ui/qt/UiWindow.h"

#include <QApplication>

namespace {

UiWindow* Window(HWND window)
{
    UiWindow* found = UiWindow::FromHandle(window);
    return found && found->widget() ? found : nullptr;
}

UiWindow* FindControl(UiWindow* dialog, int id)
{
    for (UiWindow* child : dialog->children()) {
        if (child->kind() != UiWindow::Kind::Dialog && child->id() == id)
            return child;
    }
    for (UiWindow* child : dialog->children()) {
        if (child->kind() == UiWindow::Kind::Dialog && !child->isTopLevel()) {
            if (UiWindow* found = FindControl(child, id))
                return found;
        }
    }
    return nullptr;
}

}  // namespace

HWND GetDlgItem(HWND dialog, int id)
{
    UiWindow* window = Window(dialog);
    UiWindow* control = window ? FindControl(window, id) : nullptr;
    return control ? control->handle() : nullptr;
}

int GetDlgCtrlID(HWND window)
{
    UiWindow* found = Window(window);
    return found && !found->isTopLevel() ? found->id() : 0;
}

HWND GetParent(HWND window)
{
    UiWindow* found = Window(window);
    return found && found->parent() ? found->parent()->handle() : nullptr;
}

BOOL SetWindowTextA(HWND window, LPCSTR text)
{
    return Window(window) ? static_cast<BOOL>(
                                SendMessageA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)))
                          : FALSE;
}

int GetWindowTextA(HWND window, LPSTR buffer, int maxCount)
{
    if (!buffer || maxCount < 1)
        return 0;
    buffer[0] = '\0';
    if (!Window(window))
        return 0;
    return static_cast<int>(SendMessageA(window, WM_GETTEXT, static_cast<WPARAM>(maxCount),
                                         reinterpret_cast<LPARAM>(buffer)));
}

int GetWindowTextLengthA(HWND window)
{
    return Window(window) ? static_cast<int>(SendMessageA(window, WM_GETTEXTLENGTH, 0, 0)) : 0;
}

BOOL SetDlgItemTextA(HWND dialog, int id, LPCSTR text)
{
    return SetWindowTextA(GetDlgItem(dialog, id), text);
}

UINT GetDlgItemTextA(HWND dialog, int id, LPSTR buffer, int maxCount)
{
    return static_cast<UINT>(GetWindowTextA(GetDlgItem(dialog, id), buffer, maxCount));
}

LRESULT SendDlgItemMessageA(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam)
{
    return SendMessageA(GetDlgItem(dialog, id), message, wParam, lParam);
}

BOOL EnableWindow(HWND window, BOOL enable)
{
    UiWindow* found = Window(window);
    if (!found)
        return FALSE;
    const bool wasDisabled = !found->widget()->isEnabled();
    found->widget()->setEnabled(enable != FALSE);
    if (auto* dialog = dynamic_cast<DialogWindow*>(found->topLevel()); dialog && enable)
        dialog->ControlEnabled(found);
    return wasDisabled ? TRUE : FALSE;
}

BOOL IsWindowEnabled(HWND window)
{
    UiWindow* found = Window(window);
    return found && found->widget()->isEnabled() ? TRUE : FALSE;
}

BOOL ShowWindow(HWND window, int command)
{
    UiWindow* found = Window(window);
    if (!found)
        return FALSE;
    QWidget* widget = found->widget();
    const bool wasVisible = !widget->isHidden();
    // A window hidden while active hands that on to its owner (InputRouting.h).
    widget->setVisible(command != SW_HIDE);
    if (command != SW_HIDE && found->isTopLevel())
        widget->activateWindow();
    return wasVisible ? TRUE : FALSE;
}

BOOL IsWindowVisible(HWND window)
{
    for (UiWindow* found = Window(window); found; found = found->parent()) {
        if (found->widget()->isHidden())
            return FALSE;
        if (found->isTopLevel())
            return TRUE;
    }
    return FALSE;
}

HWND GetFocus()
{
    QWidget* focus = QApplication::focusWidget();
    UiWindow* found = focus ? UiWindow::FromWidget(focus) : nullptr;
    if (auto* dialog = dynamic_cast<DialogWindow*>(found); dialog && dialog->focusHeldFor())
        return dialog->focusHeldFor();
    return found ? found->handle() : nullptr;
}

HWND SetFocus(HWND window)
{
    HWND previous = GetFocus();
    if (UiWindow* found = Window(window)) {
        if (found->isTopLevel())
            found->widget()->activateWindow();
        found->widget()->setFocus(Qt::OtherFocusReason);
        auto* dialog = dynamic_cast<DialogWindow*>(found->topLevel());
        if (dialog && dialog != found)
            dialog->HoldFocusFor(found->widget()->isEnabled() ? nullptr : found);
    }
    return previous;
}

BOOL GetWindowRect(HWND window, RECT* rect)
{
    UiWindow* found = Window(window);
    if (!found || !rect)
        return FALSE;
    QWidget* widget = found->widget();
    const QRect frame = found->isTopLevel()
                            ? widget->frameGeometry()
                            : QRect(widget->mapToGlobal(QPoint(0, 0)), widget->size());
    *rect =
        RECT{frame.left(), frame.top(), frame.left() + frame.width(), frame.top() + frame.height()};
    return TRUE;
}

BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint)
{
    UiWindow* found = Window(window);
    if (!found)
        return FALSE;
    QWidget* widget = found->widget();
    if (found->kind() == UiWindow::Kind::Dialog && found->isTopLevel()) {
        widget->move(x, y);
    } else {
        widget->setGeometry(x, y, std::max(0, width), std::max(0, height));
    }
    if (found->kind() == UiWindow::Kind::Dialog && !found->isTopLevel())
        found->clientWidget()->setGeometry(0, 0, std::max(0, width), std::max(0, height));
    if (repaint)
        widget->update();
    return TRUE;
}

BOOL SetWindowPos(HWND window, HWND, int x, int y, int width, int height, UINT flags)
{
    UiWindow* found = Window(window);
    if (!found)
        return FALSE;
    QWidget* widget = found->widget();
    const QRect now = widget->geometry();
    if (!(flags & SWP_NOMOVE) || !(flags & SWP_NOSIZE)) {
        MoveWindow(window, flags & SWP_NOMOVE ? now.x() : x, flags & SWP_NOMOVE ? now.y() : y,
                   flags & SWP_NOSIZE ? now.width() : width,
                   flags & SWP_NOSIZE ? now.height() : height, TRUE);
    }
    if (!(flags & SWP_NOZORDER))
        widget->raise();
    if (flags & SWP_SHOWWINDOW)
        widget->show();
    if (flags & SWP_HIDEWINDOW)
        widget->hide();
    return TRUE;
}

BOOL MapDialogRect(HWND dialog, RECT* rect)
{
    if (!Window(dialog) || !rect)
        return FALSE;
    *rect = DialogRectToPixels(*rect, ScreenDotsPerInch());
    return TRUE;
}

BOOL DestroyWindow(HWND window)
{
    UiWindow* found = UiWindow::FromHandle(window);
    if (!found)
        return FALSE;
    found->Destroy();
    return TRUE;
}

void AttachMessageTarget(HWND window, MessageTarget* target)
{
    UiWindow* found = UiWindow::FromHandle(window);
    if (!found)
        return;
    found->setTarget(target);
    if (target)
        target->OnWindowAttached(window);
}

MessageTarget* GetMessageTarget(HWND window)
{
    UiWindow* found = UiWindow::FromHandle(window);
    return found ? found->target() : nullptr;
}

LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    UiWindow* found = UiWindow::FromHandle(window);
    if (!found)
        return 0;
    DispatchScope scope;
    return found->DefaultProc(message, wParam, lParam);
}
