#include "platform/ui/qt/InputRouting.h"

#include "platform/ui/qt/DialogWindow.h"

#include <QApplication>
#include <QDateTime>
#include <QKeyEvent>
#include <QMouseEvent>

namespace {

WPARAM VirtualKey(int key)
{
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
        return static_cast<WPARAM>(key);
    switch (key) {
    case Qt::Key_Backspace:
        return VK_BACK;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return VK_TAB;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return VK_RETURN;
    case Qt::Key_Escape:
        return VK_ESCAPE;
    case Qt::Key_Space:
        return VK_SPACE;
    case Qt::Key_Left:
        return VK_LEFT;
    case Qt::Key_Up:
        return VK_UP;
    case Qt::Key_Right:
        return VK_RIGHT;
    case Qt::Key_Down:
        return VK_DOWN;
    case Qt::Key_Delete:
        return VK_DELETE;
    default:
        return 0;
    }
}

// The message a Qt input event stands for, aimed at the window that receives it first;
// false for events that are no key or button press, and for the later deliveries of one
// that Qt passes on to parents.
bool Translate(QWidget* receiver, QEvent* event, MSG* message)
{
    UINT number = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 1;  // a repeat count of 1
    QPoint global = QCursor::pos();
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        if (receiver != QApplication::focusWidget())
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        number = event->type() == QEvent::KeyPress ? WM_KEYDOWN : WM_KEYUP;
        wParam = VirtualKey(key->key());
        if (number == WM_KEYUP)
            lParam |= static_cast<LPARAM>(0xC0000000u);
        break;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (receiver->childAt(mouse->position().toPoint()))
            return false;
        number = mouse->button() == Qt::RightButton    ? WM_RBUTTONDOWN
                 : mouse->button() == Qt::MiddleButton ? WM_MBUTTONDOWN
                                                       : WM_LBUTTONDOWN;
        const QPoint local = mouse->position().toPoint();
        lParam = MAKELONG(static_cast<WORD>(local.x()), static_cast<WORD>(local.y()));
        global = mouse->globalPosition().toPoint();
        break;
    }
    default:
        return false;
    }
    UiWindow* target = UiWindow::FromWidget(receiver);
    if (!target)
        return false;
    *message = MSG{target->handle(),
                   number,
                   wParam,
                   lParam,
                   static_cast<DWORD>(QDateTime::currentMSecsSinceEpoch()),
                   POINT{global.x(), global.y()}};
    return true;
}

// Each window from the target up to the last ancestor or owner asks its target; the
// first that answers TRUE eats the message. A window destroyed on the way ends the walk.
bool PreTranslate(MSG* message)
{
    HWND window = message->hwnd;
    while (UiWindow* current = UiWindow::FromHandle(window)) {
        UiWindow* parent = current->parent();
        HWND next = parent ? parent->handle() : nullptr;
        if (MessageTarget* target = current->target()) {
            if (target->PreTranslateMessage(message))
                return true;
        }
        window = next;
    }
    return false;
}

// Enter presses the focused push button or else the dialog's default button (nothing
// when it has none, or it is disabled); Escape is the dialog's IDCANCEL command.
bool DialogKey(const MSG& message)
{
    if (message.message != WM_KEYDOWN ||
        (message.wParam != VK_RETURN && message.wParam != VK_ESCAPE) ||
        QApplication::activePopupWidget())
        return false;
    UiWindow* target = UiWindow::FromHandle(message.hwnd);
    auto* dialog = target ? dynamic_cast<DialogWindow*>(target->topLevel()) : nullptr;
    if (!dialog)
        return false;
    if (message.wParam == VK_ESCAPE) {
        SendMessageA(dialog->handle(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        return true;
    }
    UiWindow* button = target->kind() == UiWindow::Kind::Button ? target : dialog->defaultButton();
    if (button)
        SendMessageA(dialog->handle(), WM_COMMAND,
                     MAKEWPARAM(static_cast<WORD>(button->id()), BN_CLICKED),
                     reinterpret_cast<LPARAM>(button->handle()));
    return true;
}

class InputRouter : public QObject {
protected:
    bool eventFilter(QObject* receiver, QEvent* event) override
    {
        if (event->type() == QEvent::ToolTip)
            return HandleToolTip(receiver, event);
        if (event->type() == QEvent::WindowDeactivate) {
            HandActivationToOwner(receiver);
            return false;
        }
        auto* widget = qobject_cast<QWidget*>(receiver);
        MSG message{};
        if (!widget || !Translate(widget, event, &message))
            return false;
        DispatchScope scope;
        return PreTranslate(&message) || DialogKey(message);
    }
};

}  // namespace

void EnsureInputRouting()
{
    static InputRouter* router = nullptr;
    if (router || !qApp)
        return;
    router = new InputRouter;
    qApp->installEventFilter(router);
}
