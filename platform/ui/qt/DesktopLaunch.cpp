#include "platform/ui/DesktopLaunch.h"

#include <QProcess>

bool StartDetachedProgram(const ProgramStart& start)
{
    QStringList arguments;
    if (!start.argument.empty())
        arguments << QString::fromUtf8(start.argument.c_str());
    return QProcess::startDetached(QString::fromUtf8(start.program.c_str()), arguments,
                                   QString::fromUtf8(start.folder.c_str()));
}
