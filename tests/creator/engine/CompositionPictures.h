#pragma once

#include "media/image/Image.h"

#include <opencv2/core.hpp>

// Small synthetic pictures for the composition's tests.
namespace composition_pictures {

constexpr int kFrameWidth = 160;
constexpr int kFrameHeight = 120;
const cv::Scalar kGreen(0, 160, 0);
const cv::Scalar kBody(120, 120, 120);
const cv::Scalar kDark(30, 30, 30);
const cv::Scalar kHole(255, 255, 255);
const cv::Scalar kRed(0, 0, 255);
const cv::Scalar kBlue(255, 0, 0);

// A picture of one colour, with its own pixels.
ImagePtr Picture(int w, int h, const cv::Scalar& colour, int channels = 3,
                 ImageOrigin origin = ImageOrigin::TopLeft);
void Paint(Image& picture, const cv::Rect& rect, const cv::Scalar& colour);

// A dark 40 x 40 face spot at (x, y) with a mouth and two eyes; upright in a bottom-up
// frame (the mouth on lower stored rows), or upside down.
void PaintFaceSpot(Image& frame, int x, int y, bool upsideDown);

// A bottom-up template frame, kFrameWidth x kFrameHeight: a grey figure on a flat green
// background, its head the face spot in stored rows 65 to 104, columns 60 to 99 (the
// spot reaches out of the body: a spot that the body encloses counts as one of the
// body's holes). Stored rows 0 to 24 are all background.
ImagePtr TemplateFrame(bool upsideDown = false);

// A top-down face picture, 60 x 60: a red face on a white backdrop whose top quarter (as
// shown) is blue, so that the way the face is turned can be told.
ImagePtr FacePicture();

}  // namespace composition_pictures
