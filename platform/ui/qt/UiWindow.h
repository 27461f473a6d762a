#pragma once

#include "platform/ui/Controls.h"
#include "platform/ui/MessageTarget.h"

#include <QPointer>
#include <QWidget>

#include <string>
#include <vector>

// The window procedure behind every dialog and control handle: a Qt widget, the place of
// the window in the handle tree, and the message target attached to it. Each control
// kind derives its own (one file each) and answers its messages in DefaultProc.
//
// Messages reach WindowProc, which hands them to the attached target first; the target
// calls DefWindowProcA, and so DefaultProc, for what it leaves. Widgets tell the layer of
// what the user did through signals, which become notifications sent to the parent.
class UiWindow : public WindowProcedure {
public:
    enum class Kind { Dialog, Static, Button, Edit, DropList, Trackbar, Tab };

    // Registers a handle for the widget. parent: the parent window (a control's dialog, a
    // page's dialog, a top-level window's owner), null for none.
    UiWindow(Kind kind, QWidget* widget, UiWindow* parent, int id, DWORD style, DWORD exStyle);
    ~UiWindow() override;
    UiWindow(const UiWindow&) = delete;
    UiWindow& operator=(const UiWindow&) = delete;

    // The window of a handle, or of the nearest widget (itself or an ancestor within its
    // own top-level window or popup) that has one.
    static UiWindow* FromHandle(HWND window);
    static UiWindow* FromWidget(QWidget* widget);

    Kind kind() const { return kind_; }
    HWND handle() const { return handle_; }
    QWidget* widget() const { return widget_; }
    UiWindow* parent() const { return parent_; }
    const std::vector<UiWindow*>& children() const { return children_; }
    int id() const { return id_; }
    DWORD style() const { return style_; }
    DWORD exStyle() const { return exStyle_; }
    bool isTopLevel() const { return !(style_ & WS_CHILD); }
    // The dialog a control lies in (itself for a dialog).
    UiWindow* dialog();
    // The top-level window that holds this one (itself for a top-level window).
    UiWindow* topLevel();

    MessageTarget* target() const { return target_; }
    void setTarget(MessageTarget* target) { target_ = target; }

    LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) final;
    bool ClientRect(RECT* rect) const override;
    // The widget that holds the window's client area (the widget itself but for dialogs).
    virtual QWidget* clientWidget() const { return widget_; }

    // The window's own handling of messages: text for every kind, the rest per kind.
    virtual LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual std::string text() const;
    virtual bool setText(const std::string& text);

    // WM_COMMAND with this control's id and the code, sent to the parent.
    void NotifyCommand(WORD code);
    // WM_NOTIFY with this control's id and the code, sent to the parent.
    void NotifyParent(UINT code);

    // Destroys this window and everything under it (see DestroyWindow).
    void Destroy();

private:
    void Unregister();

    Kind kind_;
    QPointer<QWidget> widget_;
    UiWindow* parent_;
    std::vector<UiWindow*> children_;
    int id_;
    DWORD style_;
    DWORD exStyle_;
    HWND handle_ = nullptr;
    MessageTarget* target_ = nullptr;
    bool destroying_ = false;
};

// Keeps widgets and windows alive while the layer is inside a call from Qt (a signal, an
// event) or a window procedure: what is destroyed meanwhile goes when the outermost
// scope ends, so no widget is deleted under its own signal.
class DispatchScope {
public:
    DispatchScope();
    ~DispatchScope();
    DispatchScope(const DispatchScope&) = delete;
    DispatchScope& operator=(const DispatchScope&) = delete;
};

// Deletes the window object, and the widget when given, now or when the outermost
// DispatchScope ends.
void Bury(UiWindow* window, QWidget* widget);

// Text between the layer's UTF-8 and Qt. Texts are bytes: one that is no UTF-8 (a file
// name in Latin-1) keeps each such byte through the QString as the conversions of
// platform/text/Utf16.h carry it, so that ToUtf8(FromUtf8(bytes)) == bytes. Every text
// that goes into or comes out of a widget passes here.
QString FromUtf8(const std::string& text);
std::string ToUtf8(const QString& text);
// Copies text into a caller buffer of size bytes, cut at a character boundary and ended
// with a terminator; answers the bytes copied.
int CopyOut(const std::string& text, char* buffer, int size);
