#include "platform/win/Application.h"

#include "platform/win/MessageApplication.h"

#include <QCoreApplication>

#include <cerrno>

namespace {

QCoreApplication* MakeCoreApplication(int& argc, char** argv)
{
    return new MessageApplication<QCoreApplication>(argc, argv);
}

// Set during static initialisation, read by the user-interface thread afterwards; no
// other thread can reach either.
ApplicationMaker& Maker()
{
    static ApplicationMaker maker = &MakeCoreApplication;
    return maker;
}

// Not a static object: what EndApplication has not ended is never destroyed by the C
// runtime's exit handlers (a forked child that calls exit included), where Qt's clean-up
// would run after the libraries it needs.
QCoreApplication*& MadeApplication()
{
    static QCoreApplication* application = nullptr;
    return application;
}

}  // namespace

void EnsureApplication()
{
    if (QCoreApplication::instance())
        return;
    // Qt keeps references to both for the application's lifetime.
    static int argc = 1;
    static char* argv[] = {program_invocation_name, nullptr};
    MadeApplication() = Maker()(argc, argv);
}

void EndApplication()
{
    if (!MadeApplication())
        return;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    delete MadeApplication();
    MadeApplication() = nullptr;
}

void SetApplicationMaker(ApplicationMaker maker)
{
    Maker() = maker;
}
