#pragma once

#include "platform/win/RaceDetector.h"

#include <QCoreApplication>

// The application object of either kind (QCoreApplication or QApplication) as the
// message queue needs it: every event it hands out, a posted message among them, first
// completes the hand-over that PostMessageA started on the posting thread, before any
// event filter or receiver reads it.
template <class QtApplication>
class MessageApplication : public QtApplication {
public:
    using QtApplication::QtApplication;

    bool notify(QObject* receiver, QEvent* event) override
    {
        HandOverAcquire(event);
        return QtApplication::notify(receiver, event);
    }
};
