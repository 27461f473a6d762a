#pragma once

// The masks of the region search: 1-channel pictures, plain or fill masks.
// Coordinates: "fill-mask coordinates" are those of a mask 2 wider and higher than the
// picture, whose byte (x + 1, y + 1) belongs to picture pixel (x, y) and whose outer ring
// belongs to no pixel.

#include "media/image/Image.h"

#include <opencv2/core.hpp>

// A 1-channel mask with pixels, of exactly width x height.
bool IsMaskOf(const Image& mask, int width, int height);
// A 1-channel mask with pixels, 2 wider and higher than a width x height picture.
bool IsFillMaskOf(const Image& mask, int width, int height);
// A picture rectangle moved into fill-mask coordinates.
cv::Rect ToFillMask(const cv::Rect& pictureRect);
// Zeroes the part of a 1-channel mask (clipped to it).
void ClearMask(Image& mask, const cv::Rect& part);
// The part of a fill mask that belongs to picture pixels.
cv::Rect InnerArea(const Image& fillMask);

// Row by row over a part of 1-channel masks: the searches run many small steps on masks,
// where a plain loop costs less than a library call's setting up.
template <typename Work>
void ForRows(const cv::Rect& part, Work work)
{
    for (int y = part.y; y < part.y + part.height; ++y)
        work(y, part.x, part.width);
}
