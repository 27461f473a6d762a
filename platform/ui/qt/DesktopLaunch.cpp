#include "platform/ui/DesktopLaunch.h"

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

bool OpenWithDesktopHandler(const std::string& target)
{
    const QString text = QString::fromUtf8(target.c_str());
    const QUrl url = text.startsWith(QLatin1Char('/')) ? QUrl::fromLocalFile(text) : QUrl(text);
    return QDesktopServices::openUrl(url);
}

bool StartDetachedProgram(const ProgramStart& start)
{
    QStringList arguments;
    if (!start.argument.empty())
        arguments << QString::fromUtf8(start.argument.c_str());
    return QProcess::startDetached(QString::fromUtf8(start.program.c_str()), arguments,
                                   QString::fromUtf8(start.folder.c_str()));
}
