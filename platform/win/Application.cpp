#include "platform/win/Application.h"

#include "platform/win/MessageApplication.h"

#include <QCoreApplication>

#include <cerrno>
#include <memory>

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

}  // namespace

void EnsureApplication()
{
    if (QCoreApplication::instance())
        return;
    // Qt keeps references to both for the application's lifetime.
    static int argc = 1;
    static char* argv[] = {program_invocation_name, nullptr};
    static std::unique_ptr<QCoreApplication> application(Maker()(argc, argv));
}

void SetApplicationMaker(ApplicationMaker maker)
{
    Maker() = maker;
}
