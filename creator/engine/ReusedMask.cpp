#include "creator/engine/ReusedMask.h"

#include "creator/engine/RegionSearchMasks.h"
#include "media/image/FloodFill.h"

ReusedMask::ReusedMask(Image& mask, bool fillMask) : mask_(&mask), fillMask_(fillMask) {}

ReusedMask::ReusedMask(int width, int height, bool fillMask)
    : owned_(Image::Create(width, height, 1)), mask_(owned_.get()), fillMask_(fillMask)
{
    if (valid()) {
        Wipe();
        wiped_ = true;
    }
}

void ReusedMask::Wipe()
{
    ClearMask(*mask_, cv::Rect(0, 0, mask_->width(), mask_->height()));
    if (fillMask_)
        SetFillMaskRing(mat());
}

void ReusedMask::Clear()
{
    if (!valid())
        return;
    if (!wiped_) {
        Wipe();
        wiped_ = true;
    } else {
        const cv::Rect area =
            fillMask_ ? InnerArea(*mask_) : cv::Rect(0, 0, mask_->width(), mask_->height());
        ClearMask(*mask_, dirty_ & area);
    }
    dirty_ = cv::Rect();
}

void ReusedMask::Touch(const cv::Rect& rect)
{
    if (rect.empty())
        return;
    dirty_ = dirty_.empty() ? rect : (dirty_ | rect);
}
