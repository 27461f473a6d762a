#include "platform/ui/DesktopLaunch.h"

#include <QDesktopServices>
#include <QUrl>

bool OpenWithDesktopHandler(const std::string& target)
{
    const QString text = QString::fromUtf8(target.c_str());
    const QUrl url = text.startsWith(QLatin1Char('/')) ? QUrl::fromLocalFile(text) : QUrl(text);
    return QDesktopServices::openUrl(url);
}
