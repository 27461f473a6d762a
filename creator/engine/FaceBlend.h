#pragma once

#include "media/image/Image.h"

class RowWorkers;

// Draws source into the rectangle (x, y, w, h) of destination (destination coordinates;
// it may reach beyond the destination on any side) wherever mask is non-zero, and
// softens the seam: a pixel on the mask's edge gets the rounded mean of the 5 x 5 window
// around it (clipped to the destination), in which drawn pixels count with the source
// and all others with the destination. Source and mask pixel (X - x, Y - y) belong to
// destination pixel (X, Y). The rectangle is clipped so that the destination's last
// column and last row are never written.
// source: read only, 1 or 3 channels, at least w x h. destination: written in place, the
// source's channel count. mask: 1 channel, at least w x h, read only. Pictures of other
// layouts, or without pixels, leave the destination unchanged. Allocates nothing.
// workers: optional; the rows are then shared among its threads (the result does not
// depend on the order in which pixels are drawn, so it is the same byte for byte).
void BlendFaceIntoFrame(const Image& source, Image& destination, const Image& mask, int x, int y,
                        int w, int h, RowWorkers* workers = nullptr);

// True when (x, y) lies on the mask's outermost ring or beyond it, or when one of its 8
// neighbours is 0; the pixel's own value is not looked at.
bool IsEdgePixel(const Image& mask, int x, int y);
