#include "creator/engine/CompositionPictures.h"

namespace composition_pictures {

ImagePtr Picture(int w, int h, const cv::Scalar& colour, int channels, ImageOrigin origin)
{
    ImagePtr picture = Image::Create(w, h, channels, origin);
    picture->fullMat().setTo(colour);
    return picture;
}

void Paint(Image& picture, const cv::Rect& rect, const cv::Scalar& colour)
{
    picture.fullMat()(rect).setTo(colour);
}

void PaintFaceSpot(Image& frame, int x, int y, bool upsideDown)
{
    Paint(frame, cv::Rect(x, y, 40, 40), kDark);
    const int mouthY = upsideDown ? y + 28 : y + 6;
    const int eyesY = upsideDown ? y + 11 : y + 24;
    Paint(frame, cv::Rect(x + 12, mouthY, 16, 6), kHole);
    Paint(frame, cv::Rect(x + 6, eyesY, 6, 5), kHole);
    Paint(frame, cv::Rect(x + 28, eyesY, 6, 5), kHole);
}

ImagePtr TemplateFrame(bool upsideDown)
{
    ImagePtr frame = Picture(kFrameWidth, kFrameHeight, kGreen, 3, ImageOrigin::BottomLeft);
    Paint(*frame, cv::Rect(40, 25, 80, 55), kBody);
    PaintFaceSpot(*frame, 60, 65, upsideDown);
    return frame;
}

ImagePtr FacePicture()
{
    ImagePtr face = Picture(60, 60, cv::Scalar(255, 255, 255));
    Paint(*face, cv::Rect(10, 10, 40, 40), kRed);
    Paint(*face, cv::Rect(10, 10, 40, 10), kBlue);
    return face;
}

}  // namespace composition_pictures
