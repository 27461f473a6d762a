#include "platform/ui/qt/DialogFont.h"

#include "platform/ui/DialogUnits.h"

#include <QGuiApplication>
#include <QScreen>

#include <cmath>

namespace {

constexpr char kFamily[] = "Liberation Sans";
constexpr int kPixelSizeAt96Dpi = 11;

}  // namespace

double ScreenDotsPerInch()
{
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInch() : 96.0;
}

QFont DialogFont()
{
    QFont font(kFamily);
    font.setPixelSize(
        static_cast<int>(std::lround(kPixelSizeAt96Dpi * ScreenDotsPerInch() / 96.0)));
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

QRect DialogUnitsToRect(int x, int y, int cx, int cy)
{
    const double dpi = ScreenDotsPerInch();
    const int left = DialogUnitsToPixelsX(x, dpi);
    const int top = DialogUnitsToPixelsY(y, dpi);
    const int right = DialogUnitsToPixelsX(x + cx, dpi);
    const int bottom = DialogUnitsToPixelsY(y + cy, dpi);
    return QRect(left, top, right - left, bottom - top);
}
