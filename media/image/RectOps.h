#pragma once

#include "media/image/Image.h"

#include <opencv2/core.hpp>

// The smallest rectangle that holds both, where an empty rectangle (zero width or height)
// still counts with its position: the union of (5, 5, 0, 0) and (0, 0, 2, 2) is
// (0, 0, 5, 5). cv::Rect's own union drops empty rectangles.
cv::Rect MaxRect(const cv::Rect& a, const cv::Rect& b);

// The bounding rectangle of the non-zero pixels of a 1-channel mask within its region of
// interest, in the region's coordinates; (0, 0, 0, 0) when there are none.
cv::Rect BoundingRectOfMask(const Image& mask);
