#include "creator/engine/RotatedImageSet.h"

#include "creator/engine/ImageRotation.h"
#include "media/image/RectOps.h"

#include <opencv2/core.hpp>

#include <new>
#include <utility>

namespace {

// The part of turned inside r, as a new image; null when the cut-out has no area.
ImagePtr CutOut(const Image& turned, const cv::Rect& r)
{
    ImagePtr part = Image::Create(r.width, r.height, turned.channels(), turned.origin());
    if (part)
        turned.fullMat()(r).copyTo(part->fullMat());
    return part;
}

// A copy turned over by 180 degrees; null for no entry.
ImagePtr TurnedOver(const Image* entry)
{
    if (!entry)
        return nullptr;
    ImagePtr copy = entry->Clone();
    if (copy && copy->hasData()) {
        cv::Mat view = copy->mat();
        cv::flip(view, view, -1);
    }
    return copy;
}

}  // namespace

CRotatedImageSet::~CRotatedImageSet()
{
    Clear();
}

int CRotatedImageSet::Clear()
{
    images_.clear();
    masks_.clear();
    images_.shrink_to_fit();
    masks_.shrink_to_fit();
    count_ = 0;
    return 1;
}

Image* CRotatedImageSet::GetImage(int index) const
{
    if (index < 0 || index >= count_)
        return nullptr;
    return images_[index].get();
}

Image* CRotatedImageSet::GetMask(int index) const
{
    if (index < 0 || index >= count_)
        return nullptr;
    return masks_[index].get();
}

void CRotatedImageSet::MakeTurnedEntry(int i, double angle, bool crop, RowWorkers* workers)
{
    ImagePtr turned;
    ImagePtr turnedMask;
    // Black fill and no blending: what no source pixel covers is black and outside the mask.
    RotateImage(*images_[0], masks_[0].get(), &turned, &turnedMask, angle, 0, false, workers);
    if (!crop || !turnedMask) {
        images_[i] = std::move(turned);
        masks_[i] = std::move(turnedMask);
        return;
    }
    // A mask without a set pixel has an empty bounding rectangle: nothing of the face
    // remains, so the entry stays empty rather than holding a picture of no size.
    const cv::Rect r = BoundingRectOfMask(*turnedMask);
    if (r.empty())
        return;
    if (turned)
        images_[i] = CutOut(*turned, r);
    masks_[i] = CutOut(*turnedMask, r);
}

int CRotatedImageSet::Build(ImagePtr& image, ImagePtr& mask, int n, bool crop, RowWorkers* workers)
{
    if (!image || n < 1)
        return 0;
    Clear();
    try {
        images_.resize(static_cast<std::size_t>(n));
        masks_.resize(static_cast<std::size_t>(n));
    } catch (const std::bad_alloc&) {
        Clear();
        return 0;
    }
    count_ = n;
    images_[0] = std::move(image);
    masks_[0] = std::move(mask);

    const double step = -360.0 / n;
    const int half = n / 2;
    double angle = 0.0;
    for (int i = 0; i < half; ++i) {
        if (i >= 1)
            MakeTurnedEntry(i, angle, crop, workers);
        images_[i + half] = TurnedOver(images_[i].get());
        masks_[i + half] = TurnedOver(masks_[i].get());
        angle += step;
    }
    return 1;
}
