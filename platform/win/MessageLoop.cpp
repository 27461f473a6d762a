#include "platform/win/MessageLoop.h"

#include <QCoreApplication>

void EnsureMessageLoop()
{
    if (QCoreApplication::instance())
        return;
    // Qt keeps references to both for the application's lifetime.
    static int argc = 1;
    static char name[] = "tavrino";
    static char* argv[] = {name, nullptr};
    static QCoreApplication application(argc, argv);
}

void ProcessPostedMessages()
{
    QCoreApplication::sendPostedEvents();
}
