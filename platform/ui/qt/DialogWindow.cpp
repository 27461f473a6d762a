#include "platform/ui/qt/DialogWindow.h"

#include "platform/ui/WindowServices.h"
#include "platform/ui/qt/DialogFont.h"
#include "platform/ui/qt/GdiObjects.h"
#include "platform/ui/qt/ModalOwner.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>

namespace {

// The close box asks the dialog, as the desktop's does, instead of closing it.
class DialogWidget : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void closeEvent(QCloseEvent* event) override
    {
        event->ignore();
        if (UiWindow* window = UiWindow::FromWidget(this)) {
            DispatchScope scope;
            SendMessageA(window->handle(), WM_CLOSE, 0, 0);
        }
    }
};

QWidget* MakeWidget(const DialogResource& resource, UiWindow* parent)
{
    if (resource.style & WS_CHILD)
        return new DialogWidget(parent->clientWidget());
    Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (resource.style & WS_SYSMENU)
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (resource.style & WS_MINIMIZEBOX)
        flags |= Qt::WindowMinimizeButtonHint;
    return new DialogWidget(parent ? parent->topLevel()->widget() : nullptr, flags);
}

}  // namespace

DialogWindow::DialogWindow(const DialogResource& resource, HINSTANCE module, UiWindow* parent)
    : UiWindow(Kind::Dialog, MakeWidget(resource, parent), parent, resource.id, resource.style,
               resource.exStyle)
{
    QWidget* frame = widget();
    frame->setFont(DialogFont());
    frame->setWindowTitle(QString::fromUtf8(resource.caption ? resource.caption : ""));
    const QRect clientRect = DialogUnitsToRect(0, 0, resource.cx, resource.cy);
    int top = 0;
    const MenuResource* menuResource =
        resource.menu && isTopLevel() ? FindMenuResource(module, resource.menu) : nullptr;
    if (menuResource) {
        menuBar_ = new QMenuBar(frame);
        menu_ = BuildMenuBar(*menuResource, menuBar_, handle());
        top = menuBar_->sizeHint().height();
        menuBar_->setGeometry(0, 0, clientRect.width(), top);
    }
    client_ = new QWidget(frame);
    client_->setGeometry(0, top, clientRect.width(), clientRect.height());
    // A top-level dialog keeps its size; a page is placed and sized by its dialog.
    if (isTopLevel())
        frame->setFixedSize(clientRect.width(), clientRect.height() + top);
    else
        frame->resize(clientRect.width(), clientRect.height());
    if (isTopLevel() && (resource.style & DS_CENTER)) {
        if (QScreen* screen = QGuiApplication::primaryScreen())
            frame->move(screen->availableGeometry().center() - frame->rect().center());
    }
}

DialogWindow::~DialogWindow()
{
    if (modal_)
        modal_->loop.exit();
}

UiWindow* DialogWindow::defaultButton()
{
    for (UiWindow* child : children()) {
        if (child->kind() == Kind::Button && (child->style() & 0x0F) == BS_DEFPUSHBUTTON)
            return child->widget() && child->widget()->isEnabled() ? child : nullptr;
    }
    return nullptr;
}

LRESULT DialogWindow::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CLOSE: {
        HWND cancel = nullptr;
        for (UiWindow* child : children()) {
            if (child->id() == IDCANCEL)
                cancel = child->handle();
        }
        SendMessageA(handle(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                     reinterpret_cast<LPARAM>(cancel));
        return 0;
    }
    case WM_DESTROY:
        if (modal_)
            modal_->loop.exit();
        return 0;
    case WM_SETICON: {
        auto* icon = reinterpret_cast<HICON>(lParam);
        HICON& slot = wParam == ICON_BIG ? bigIcon_ : smallIcon_;
        HICON previous = slot;
        slot = icon;
        if (wParam == ICON_BIG || !bigIcon_)
            widget()->setWindowIcon(icon ? icon->icon : QIcon());
        return reinterpret_cast<LRESULT>(previous);
    }
    default:
        return UiWindow::DefaultProc(message, wParam, lParam);
    }
}

void DialogWindow::HoldFocusFor(UiWindow* control)
{
    focusHeldFor_ = control ? control->handle() : nullptr;
    if (control)
        widget()->setFocus(Qt::OtherFocusReason);
}

void DialogWindow::ControlEnabled(UiWindow* control)
{
    if (!control || control->handle() != focusHeldFor_)
        return;
    focusHeldFor_ = nullptr;
    QWidget* focus = widget()->focusWidget();
    if (!focus || focus == widget())
        control->widget()->setFocus(Qt::OtherFocusReason);
}

INT_PTR DialogWindow::RunModal()
{
    if (ended_)
        return result_;
    const ModalOwner owner(parent() ? parent()->handle() : nullptr);
    ModalState state;
    modal_ = &state;
    QPointer<QWidget> frame = widget();
    if (parent())
        frame->setWindowModality(Qt::WindowModal);
    frame->show();
    frame->activateWindow();
    state.loop.exec();
    // The dialog may be gone by now: only the stack's state is read.
    if (frame && UiWindow::FromWidget(frame) == this) {
        modal_ = nullptr;
        frame->hide();
    }
    return state.result;
}

void DialogWindow::End(INT_PTR result)
{
    if (modal_) {
        modal_->result = result;
        modal_->loop.exit();
        return;
    }
    ended_ = true;
    result_ = result;
    ShowWindow(handle(), SW_HIDE);
}
