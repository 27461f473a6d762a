#include "platform/ui/EventLoop.h"

#include <QApplication>

int RunUiEventLoop()
{
    return QApplication::exec();
}
