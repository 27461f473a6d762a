#include "platform/ui/DialogWindows.h"
#include "platform/ui/WindowServices.h"
#include "platform/ui/qt/ControlFactory.h"
#include "platform/ui/qt/DialogFont.h"
#include "platform/ui/qt/DialogWindow.h"
#include "platform/ui/qt/InputRouting.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLabel>

namespace {

UiWindow* CreateControl(const ControlResource& resource, UiWindow* dialog, HINSTANCE module)
{
    switch (resource.kind) {
    case ControlKind::Static:
        return CreateStaticControl(resource, dialog, module);
    case ControlKind::Button:
        return CreateButtonControl(resource, dialog);
    case ControlKind::Edit:
        return CreateEditControl(resource, dialog);
    case ControlKind::DropList:
        return CreateDropListControl(resource, dialog);
    case ControlKind::Trackbar:
        return CreateTrackbarControl(resource, dialog);
    case ControlKind::Tab:
        return CreateTabControl(resource, dialog);
    }
    return nullptr;
}

// A drop list's rectangle includes its dropped list: the closed box takes its natural
// height, and the rest decides how many items the list shows at once.
void PlaceDropList(QComboBox* combo, const QRect& rect)
{
    const int closed = std::min(combo->sizeHint().height(), rect.height());
    combo->setGeometry(rect.x(), rect.y(), rect.width(), closed);
    const int itemHeight = std::max(1, combo->fontMetrics().height() + 2);
    combo->setMaxVisibleItems(std::max(1, (rect.height() - closed) / itemHeight));
}

void Place(UiWindow* control, const ControlResource& resource)
{
    QWidget* widget = control->widget();
    const QRect rect = DialogUnitsToRect(resource.x, resource.y, resource.cx, resource.cy);
    if (auto* combo = qobject_cast<QComboBox*>(widget))
        PlaceDropList(combo, rect);
    else
        widget->setGeometry(rect);
    widget->setEnabled(!(resource.style & WS_DISABLED));
    if (resource.kind == ControlKind::Static)
        widget->setFocusPolicy(Qt::NoFocus);
    widget->show();
}

// A label's "&" letter moves the focus to the next control in the table (the label's
// buddy), as on the desktop.
void LinkMnemonics(const std::vector<UiWindow*>& controls)
{
    for (std::size_t i = 0; i + 1 < controls.size(); ++i) {
        auto* label = qobject_cast<QLabel*>(controls[i]->widget());
        if (label && label->text().contains(QLatin1Char('&')))
            label->setBuddy(controls[i + 1]->widget());
    }
}

QWidget* FirstFocusable(const std::vector<UiWindow*>& controls)
{
    for (UiWindow* control : controls) {
        QWidget* widget = control->widget();
        if (widget->focusPolicy() != Qt::NoFocus && widget->isEnabled())
            return widget;
    }
    return nullptr;
}

}  // namespace

HWND CreateDialogWindow(HINSTANCE module, int id, HWND parent, MessageTarget* target, bool showNow)
{
    const DialogResource* resource = FindDialogResource(module, id);
    if (!resource)
        return nullptr;
    UiWindow* parentWindow = UiWindow::FromHandle(parent);
    if ((resource->style & WS_CHILD) && !parentWindow)
        return nullptr;
    EnsureInputRouting();
    DispatchScope scope;
    auto* dialog = new DialogWindow(*resource, module, parentWindow);
    std::vector<UiWindow*> controls;
    for (const ControlResource& control : resource->controls) {
        UiWindow* window = CreateControl(control, dialog, module);
        Place(window, control);
        window->setText(control.text ? control.text : "");
        controls.push_back(window);
    }
    LinkMnemonics(controls);
    if (resource->style & WS_CHILD)
        dialog->widget()->setVisible(false);
    const HWND handle = dialog->handle();
    AttachMessageTarget(handle, target);
    const LRESULT setFocus = SendMessageA(handle, WM_INITDIALOG, 0, 0);
    if (!IsWindow(handle))
        return nullptr;
    if (setFocus) {
        if (QWidget* first = FirstFocusable(controls))
            first->setFocus();
    }
    if (showNow && (resource->style & WS_VISIBLE))
        ShowWindow(handle, SW_SHOW);
    return handle;
}

INT_PTR RunModalLoop(HWND dialog)
{
    auto* window = dynamic_cast<DialogWindow*>(UiWindow::FromHandle(dialog));
    return window ? window->RunModal() : -1;
}

BOOL EndDialog(HWND dialog, INT_PTR result)
{
    auto* window = dynamic_cast<DialogWindow*>(UiWindow::FromHandle(dialog));
    if (!window)
        return FALSE;
    window->End(result);
    return TRUE;
}

void CloseModalWindowsExcept(HWND window)
{
    for (QWidget* topLevel : QApplication::topLevelWidgets()) {
        if (auto* desktopDialog = qobject_cast<QDialog*>(topLevel);
            desktopDialog && desktopDialog->isVisible())
            desktopDialog->reject();
        auto* dialog = dynamic_cast<DialogWindow*>(UiWindow::FromWidget(topLevel));
        if (dialog && dialog->runsModally() && dialog->handle() != window)
            PostMessageA(dialog->handle(), WM_CLOSE, 0, 0);
    }
}

void EnableDialogToolTips(HWND dialog, bool enable)
{
    if (auto* window = dynamic_cast<DialogWindow*>(UiWindow::FromHandle(dialog)))
        window->setToolTips(enable);
}
