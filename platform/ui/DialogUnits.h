#pragma once

#include "platform/win/Types.h"

// Dialog units to pixels. The dialogs were laid out for base units of 6 x 13 pixels at 96
// dots per inch: x pixels = units x 6 / 4 and y pixels = units x 13 / 8, each scaled by
// the screen's dots per inch over 96 and rounded to the nearest pixel.

inline constexpr int kBaseUnitX = 6;
inline constexpr int kBaseUnitY = 13;

int DialogUnitsToPixelsX(int units, double dotsPerInch);
int DialogUnitsToPixelsY(int units, double dotsPerInch);
RECT DialogRectToPixels(const RECT& units, double dotsPerInch);
