#pragma once

#include <QFont>
#include <QRect>

// The font every dialog draws its texts in. The dialogs were laid out for an 8-point
// face that Linux lacks; Liberation Sans (Debian's fonts-liberation2, installed by
// scripts/install-deps.sh) at 11 pixels per 96 dots per inch has close enough metrics,
// and every text of every dialog fits its rectangle in it (a test checks).
QFont DialogFont();

// The screen's logical dots per inch; 96 without a screen.
double ScreenDotsPerInch();

// A rectangle in dialog units as pixels on this screen.
QRect DialogUnitsToRect(int x, int y, int cx, int cy);
