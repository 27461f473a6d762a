#include "platform/win/MessageLoop.h"

#include <QCoreApplication>

void ProcessPostedMessages()
{
    QCoreApplication::sendPostedEvents();
}
