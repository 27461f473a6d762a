#pragma once

#include <opencv2/core.hpp>

#include <cstdint>

// What a fill reports about the pixels it took: their count, their bounding rectangle in
// the filled picture's coordinates and the mean of their channel values (blue, green,
// red; the fourth value 0). A fill that took nothing reports all zero.
struct ConnectedComponent {
    double area = 0;
    cv::Scalar value;
    cv::Rect rect;
};

// Whether a masked fill writes the fill mask's outer one-pixel ring. The ring belongs to
// no picture pixel; OpenCV's fill sets it to 1 on every call, which costs a pass around
// the mask. Callers that run many small fills on one mask set the ring once and leave it.
enum class FillMaskRing { Set, Leave };

// Sets a fill mask's outer ring (a header sharing the caller's pixels, 1 channel, at
// least 2 x 2) to 1, as FillMaskRing::Set does.
void SetFillMaskRing(cv::Mat fillMask);

// Masked, mask-only, fixed-range, 4-connected fill (the search's notion of a region).
// picture: 8-bit, 1 or 3 channels, read only. fillMask: 8-bit, 1 channel, exactly 2
// wider and 2 higher than picture; picture pixel (x, y) is mask byte (x + 1, y + 1); a
// header sharing the caller's pixels, written through. A pixel joins when its mask byte
// is 0 and each of its channels lies within [seed - lo, seed + up]; joined pixels get 1.
// A pixel whose mask byte is non-zero is neither taken nor crossed, so nothing is taken
// when the seed's own byte is set. A seed outside the picture or a mask of the wrong
// layout takes nothing.
ConnectedComponent FloodFillMaskOnly(const cv::Mat& picture, cv::Point seed, int lo, int up,
                                     cv::Mat fillMask, FillMaskRing ring = FillMaskRing::Set);

// Plain fill: the 4-connected component of pixels equal to the seed's value in a 1-channel
// 8-bit image (a header sharing the caller's pixels, written through) gets newValue. The
// component's value is newValue. A seed outside the image takes nothing.
ConnectedComponent FloodFillValue(cv::Mat image, cv::Point seed, std::uint8_t newValue);
