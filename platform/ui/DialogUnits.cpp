#include "platform/ui/DialogUnits.h"

#include <cmath>

namespace {

int Scale(int units, int baseUnit, int divisor, double dotsPerInch)
{
    return static_cast<int>(std::lround(units * baseUnit * dotsPerInch / (divisor * 96.0)));
}

}  // namespace

int DialogUnitsToPixelsX(int units, double dotsPerInch)
{
    return Scale(units, kBaseUnitX, 4, dotsPerInch);
}

int DialogUnitsToPixelsY(int units, double dotsPerInch)
{
    return Scale(units, kBaseUnitY, 8, dotsPerInch);
}

RECT DialogRectToPixels(const RECT& units, double dotsPerInch)
{
    return RECT{DialogUnitsToPixelsX(units.left, dotsPerInch),
                DialogUnitsToPixelsY(units.top, dotsPerInch),
                DialogUnitsToPixelsX(units.right, dotsPerInch),
                DialogUnitsToPixelsY(units.bottom, dotsPerInch)};
}
