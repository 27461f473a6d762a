#pragma once

#include "platform/win/Bitmap.h"

// Fills info for painting an uncompressed bitmap of width x height pixels at
// bitsPerPixel: a 40-byte header with one plane, every other header field 0 (BI_RGB, no
// image size, resolution or palette counts) and the first palette entry black. A
// positive height means rows stored bottom-up, as the frames are.
void InitBitmapInfoHeader(BITMAPINFO* info, int width, int height, int bitsPerPixel);
