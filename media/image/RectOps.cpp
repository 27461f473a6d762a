#include "media/image/RectOps.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>

cv::Rect MaxRect(const cv::Rect& a, const cv::Rect& b)
{
    const int left = std::min(a.x, b.x);
    const int top = std::min(a.y, b.y);
    const int right = std::max(a.x + a.width, b.x + b.width);
    const int bottom = std::max(a.y + a.height, b.y + b.height);
    return cv::Rect(left, top, right - left, bottom - top);
}

cv::Rect BoundingRectOfMask(const Image& mask)
{
    const cv::Mat view = mask.mat();
    if (view.empty() || view.channels() != 1)
        return cv::Rect();
    return cv::boundingRect(view);
}
