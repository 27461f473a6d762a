#include "platform/ui/qt/InputRouting.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QWidget>

void HandActivationToOwner(QObject* receiver)
{
    auto* window = qobject_cast<QWidget*>(receiver);
    if (!window || !window->isWindow() || !window->isHidden() || !window->parentWidget())
        return;
    // Qt takes the activation from a window that is being hidden before the window is
    // gone, so the hand-over waits until the hide is over; a window that became active
    // meanwhile keeps it.
    QPointer<QWidget> owner = window->parentWidget()->window();
    QMetaObject::invokeMethod(
        qApp,
        [owner] {
            if (owner && owner->isVisible() && !QApplication::activeWindow())
                owner->activateWindow();
        },
        Qt::QueuedConnection);
}
