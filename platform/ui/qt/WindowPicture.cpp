#include "platform/ui/WindowPicture.h"

#include "platform/ui/qt/UiWindow.h"

#include <QPixmap>

bool SaveWindowPicture(HWND window, const char* pngPath)
{
    UiWindow* found = UiWindow::FromHandle(window);
    if (!found || !found->widget() || !pngPath)
        return false;
    QWidget* frame = found->topLevel()->widget();
    return frame->grab().save(QString::fromUtf8(pngPath), "PNG");
}
