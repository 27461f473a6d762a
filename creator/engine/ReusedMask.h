#pragma once

#include "media/image/Image.h"

#include <opencv2/core.hpp>

// A mask shared by many fills in one search. It remembers the part that the fills since
// its last clearing may have written, so that clearing costs that part and not the whole
// mask; the search stays proportional to the frame's area however many regions it has.
// A fill mask's ring is set to 1 once, when it is wiped, and fills then leave it alone.
class ReusedMask {
public:
    // Borrows the caller's mask (it must outlive this object); its content is unknown,
    // so the first Clear wipes all of it.
    ReusedMask(Image& mask, bool fillMask);
    // A zero-filled width x height 1-channel mask of its own; valid() is false when it
    // could not be created.
    ReusedMask(int width, int height, bool fillMask);

    bool valid() const { return mask_ != nullptr && mask_->hasData(); }
    Image& image() { return *mask_; }
    const Image& image() const { return *mask_; }
    cv::Mat mat() { return mask_->fullMat(); }

    // Every byte inside the ring becomes 0 (a fill mask's ring holds 1).
    void Clear();
    // Bytes within rect (the mask's coordinates) may have been written since Clear.
    void Touch(const cv::Rect& rect);

private:
    void Wipe();

    ImagePtr owned_;
    Image* mask_ = nullptr;
    bool fillMask_ = false;
    bool wiped_ = false;
    cv::Rect dirty_;
};
