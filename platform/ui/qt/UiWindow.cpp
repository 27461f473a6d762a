#include "platform/ui/qt/UiWindow.h"

#include "platform/text/Utf16.h"
#include "platform/text/Utf8Copy.h"
#include "platform/ui/Shell.h"
#include "platform/win/Application.h"
#include "platform/win/MessageApplication.h"

#include <QApplication>
#include <QPointingDevice>

#include <algorithm>
#include <utility>

namespace {

QCoreApplication* MakeWidgetApplication(int& argc, char** argv)
{
    auto* application = new MessageApplication<QApplication>(argc, argv);
    // Qt's list of input devices is made with the first device; made here, while the
    // application object is being made, it outlives that object at exit, whose devices
    // leave the list as they go.
    QPointingDevice::primaryPointingDevice();
    return application;
}

// Every program that makes a widget links this file, so its application object is made
// as one that can hold widgets.
const bool kWidgetApplication = (SetApplicationMaker(&MakeWidgetApplication), true);

const char kHandleProperty[] = "tavrinoWindow";

struct Graveyard {
    int depth = 0;
    std::vector<std::pair<UiWindow*, QPointer<QWidget>>> dead;
};

Graveyard& Dead()
{
    static Graveyard graveyard;
    return graveyard;
}

void Reap()
{
    while (!Dead().dead.empty()) {
        auto dead = std::move(Dead().dead);
        Dead().dead.clear();
        // Widgets first: a window object's destructor never touches its widget.
        for (auto& [window, widget] : dead)
            delete widget.data();
        for (auto& [window, widget] : dead)
            delete window;
    }
}

}  // namespace

DispatchScope::DispatchScope()
{
    ++Dead().depth;
}

DispatchScope::~DispatchScope()
{
    if (--Dead().depth == 0)
        Reap();
}

void Bury(UiWindow* window, QWidget* widget)
{
    Dead().dead.emplace_back(window, widget);
    if (Dead().depth == 0)
        Reap();
}

QString FromUtf8(const std::string& text)
{
    const std::u16string wide = Utf8ToWide(text);
    return QString::fromUtf16(wide.data(), static_cast<qsizetype>(wide.size()));
}

std::string ToUtf8(const QString& text)
{
    return WideToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                                          static_cast<std::size_t>(text.size())));
}

int CopyOut(const std::string& text, char* buffer, int size)
{
    if (!buffer || size < 1)
        return 0;
    return static_cast<int>(CopyTextCut(buffer, static_cast<std::size_t>(size), text));
}

UiWindow::UiWindow(Kind kind, QWidget* widget, UiWindow* parent, int id, DWORD style, DWORD exStyle)
    : kind_(kind), widget_(widget), parent_(parent), id_(id),
      // Controls are child windows whatever their resource says.
      style_(kind == Kind::Dialog ? style : style | WS_CHILD), exStyle_(exStyle)
{
    handle_ = CreateWindowHandle(this);
    widget->setProperty(kHandleProperty, QVariant::fromValue(reinterpret_cast<quintptr>(handle_)));
    if (parent_)
        parent_->children_.push_back(this);
}

UiWindow::~UiWindow()
{
    Unregister();
}

void UiWindow::Unregister()
{
    if (!handle_)
        return;
    DestroyWindowHandle(handle_);
    handle_ = nullptr;
    if (widget_)
        widget_->setProperty(kHandleProperty, QVariant());
}

UiWindow* UiWindow::FromHandle(HWND window)
{
    return dynamic_cast<UiWindow*>(FindWindowProcedure(window));
}

UiWindow* UiWindow::FromWidget(QWidget* widget)
{
    for (QWidget* w = widget; w; w = w->parentWidget()) {
        const QVariant handle = w->property(kHandleProperty);
        if (handle.isValid())
            return FromHandle(reinterpret_cast<HWND>(handle.value<quintptr>()));
        // A window the layer did not build (a picker, a message box) is no part of the
        // dialog Qt parents it to: its keys and clicks are its own. Popups (a drop list's
        // list, a menu) belong to the control that opened them.
        if (w->isWindow() && w->windowType() != Qt::Popup)
            return nullptr;
    }
    return nullptr;
}

UiWindow* UiWindow::dialog()
{
    return kind_ == Kind::Dialog ? this : parent_;
}

UiWindow* UiWindow::topLevel()
{
    UiWindow* window = this;
    while (!window->isTopLevel() && window->parent_)
        window = window->parent_;
    return window;
}

LRESULT UiWindow::WindowProc(HWND, UINT message, WPARAM wParam, LPARAM lParam)
{
    DispatchScope scope;
    if (target_)
        return target_->WindowProc(message, wParam, lParam);
    return DefaultProc(message, wParam, lParam);
}

bool UiWindow::ClientRect(RECT* rect) const
{
    QWidget* client = clientWidget();
    if (!client)
        return false;
    *rect = RECT{0, 0, client->width(), client->height()};
    return true;
}

LRESULT UiWindow::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SETTEXT:
        return setText(lParam ? reinterpret_cast<const char*>(lParam) : "") ? TRUE : FALSE;
    case WM_GETTEXT:
        return CopyOut(text(), reinterpret_cast<char*>(lParam), static_cast<int>(wParam));
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(text().size());
    case WM_CLOSE:
        Destroy();
        return 0;
    case WM_DROPFILES:
        DragFinish(reinterpret_cast<HDROP>(wParam));
        return 0;
    default:
        return 0;
    }
}

std::string UiWindow::text() const
{
    return widget_ ? ToUtf8(widget_->windowTitle()) : std::string();
}

bool UiWindow::setText(const std::string& text)
{
    if (widget_)
        widget_->setWindowTitle(FromUtf8(text));
    return true;
}

void UiWindow::NotifyCommand(WORD code)
{
    if (!parent_ || isTopLevel())
        return;
    SendMessageA(parent_->handle_, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id_), code),
                 reinterpret_cast<LPARAM>(handle_));
}

void UiWindow::NotifyParent(UINT code)
{
    if (!parent_ || isTopLevel())
        return;
    NMHDR header{handle_, static_cast<UINT_PTR>(id_), code};
    SendMessageA(parent_->handle_, WM_NOTIFY, static_cast<WPARAM>(id_),
                 reinterpret_cast<LPARAM>(&header));
}

void UiWindow::Destroy()
{
    if (destroying_ || !handle_)
        return;
    destroying_ = true;
    DispatchScope scope;
    SendMessageA(handle_, WM_DESTROY, 0, 0);
    for (UiWindow* child : std::vector<UiWindow*>(children_))
        child->Destroy();
    const bool parentGoes = parent_ && parent_->destroying_;
    if (parent_ && !parentGoes) {
        auto& siblings = parent_->children_;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    }
    MessageTarget* target = std::exchange(target_, nullptr);
    Unregister();
    if (target)
        target->OnWindowGone();
    // A widget inside a window that goes as well dies with that window's widget.
    QWidget* widget = parentGoes ? nullptr : widget_.data();
    if (widget)
        widget->hide();
    Bury(this, widget);
}
