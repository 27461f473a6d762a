#include "media/image/RectOps.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

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
    // cv::boundingRect misses the right edge when a row's non-zero pixels all lie in the
    // unaligned columns a view begins with, so each row is scanned from both ends here.
    const auto set = [](std::uint8_t value) { return value != 0; };
    int left = view.cols;
    int right = -1;
    int top = -1;
    int bottom = -1;
    for (int y = 0; y < view.rows; ++y) {
        const std::uint8_t* row = view.ptr<std::uint8_t>(y);
        const std::uint8_t* end = row + view.cols;
        const std::uint8_t* first = std::find_if(row, end, set);
        if (first == end)
            continue;
        const std::uint8_t* last =
            std::find_if(std::make_reverse_iterator(end), std::make_reverse_iterator(first), set)
                .base();
        left = std::min(left, static_cast<int>(first - row));
        right = std::max(right, static_cast<int>(last - row));
        if (top < 0)
            top = y;
        bottom = y;
    }
    if (top < 0)
        return cv::Rect();
    return cv::Rect(left, top, right - left, bottom - top + 1);
}
