#include "platform/ui/qt/DialogWindow.h"
#include "platform/ui/qt/InputRouting.h"

#include <QHelpEvent>
#include <QToolTip>

bool HandleToolTip(QObject* receiver, QEvent* event)
{
    auto* widget = qobject_cast<QWidget*>(receiver);
    UiWindow* control = widget ? UiWindow::FromWidget(widget) : nullptr;
    if (!control || control->kind() == UiWindow::Kind::Dialog)
        return false;
    auto* dialog = dynamic_cast<DialogWindow*>(control->dialog());
    if (!dialog || !dialog->toolTips())
        return false;
    DispatchScope scope;
    NMTTDISPINFOA request{};
    request.hdr = NMHDR{nullptr, reinterpret_cast<UINT_PTR>(control->handle()), TTN_NEEDTEXTA};
    request.uFlags = TTF_IDISHWND;
    SendMessageA(dialog->handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&request));
    request.szText[sizeof request.szText - 1] = '\0';
    const char* text = request.lpszText ? request.lpszText : request.szText;
    auto* help = static_cast<QHelpEvent*>(event);
    if (*text)
        QToolTip::showText(help->globalPos(), FromUtf8(text), widget);
    else
        QToolTip::hideText();
    return true;
}
