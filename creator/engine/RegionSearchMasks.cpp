#include "creator/engine/RegionSearchMasks.h"

#include <cstring>

void ClearMask(Image& mask, const cv::Rect& part)
{
    const cv::Rect area = part & cv::Rect(0, 0, mask.width(), mask.height());
    ForRows(area, [&](int y, int x, int width) {
        std::memset(mask.row(y) + x, 0, static_cast<std::size_t>(width));
    });
}

bool IsMaskOf(const Image& mask, int width, int height)
{
    return mask.hasData() && mask.channels() == 1 && mask.width() == width &&
           mask.height() == height;
}

bool IsFillMaskOf(const Image& mask, int width, int height)
{
    return IsMaskOf(mask, width + 2, height + 2);
}

cv::Rect ToFillMask(const cv::Rect& pictureRect)
{
    return pictureRect + cv::Point(1, 1);
}

cv::Rect InnerArea(const Image& fillMask)
{
    return cv::Rect(1, 1, fillMask.width() - 2, fillMask.height() - 2);
}
