#pragma once

#include "platform/ui/Resources.h"
#include "platform/ui/qt/Menus.h"
#include "platform/ui/qt/UiWindow.h"

#include <QEventLoop>
#include <QMenuBar>

#include <memory>

// A dialog: a top-level window (with its menu bar above the client area) or a page inside
// another dialog. Its own handling: WM_CLOSE (the close box, a posted WM_CLOSE) becomes
// the IDCANCEL command, WM_SETICON sets the window's icon, the modal loop.
class DialogWindow : public UiWindow {
public:
    DialogWindow(const DialogResource& resource, HINSTANCE module, UiWindow* parent);
    ~DialogWindow() override;

    QWidget* clientWidget() const override { return client_; }
    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    HMENU menu() const { return menu_.get(); }
    // The enabled default push button among the dialog's own controls, null when none.
    UiWindow* defaultButton();

    // A disabled control that is given the focus keeps it, as on the desktop, where no Qt
    // widget can: the focus waits on the dialog itself (keys then reach no control) and
    // passes to the control once it is enabled, unless the user has moved it meanwhile.
    // Null: nothing waits. Top-level dialogs.
    void HoldFocusFor(UiWindow* control);
    // The control is enabled now: the focus held for it becomes its own.
    void ControlEnabled(UiWindow* control);
    // The control the focus waits for, null when none.
    HWND focusHeldFor() const { return focusHeldFor_; }

    INT_PTR RunModal();
    bool runsModally() const { return modal_ != nullptr; }
    void End(INT_PTR result);

    bool toolTips() const { return toolTips_; }
    void setToolTips(bool enable) { toolTips_ = enable; }

private:
    QWidget* client_ = nullptr;
    QMenuBar* menuBar_ = nullptr;
    std::unique_ptr<MenuObject> menu_;
    HICON bigIcon_ = nullptr;
    HICON smallIcon_ = nullptr;
    // The running modal loop's state, which lives on RunModal's stack so that a dialog
    // destroyed inside its own loop still lets the loop end.
    struct ModalState {
        QEventLoop loop;
        INT_PTR result = -1;
    };
    ModalState* modal_ = nullptr;
    bool ended_ = false;
    INT_PTR result_ = -1;
    bool toolTips_ = false;
    HWND focusHeldFor_ = nullptr;
};
