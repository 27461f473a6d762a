#include "media/image/Image.h"

#include <opencv2/imgproc.hpp>

#include <cstring>
#include <new>

namespace {

bool UsableLayout(int width, int height, int channels)
{
    return width > 0 && height > 0 && (channels == 1 || channels == 3);
}

}  // namespace

int Image::StepFor(int width, int channels)
{
    return (width * channels + 3) & ~3;
}

Image::Image(int width, int height, int channels, ImageOrigin origin)
    : width_(width), height_(height), channels_(channels), step_(StepFor(width, channels)),
      origin_(origin)
{}

std::unique_ptr<Image> Image::Create(int width, int height, int channels, ImageOrigin origin)
{
    if (!UsableLayout(width, height, channels))
        return nullptr;
    std::unique_ptr<Image> image(new (std::nothrow) Image(width, height, channels, origin));
    if (!image)
        return nullptr;
    try {
        // Filled by the constructor rather than Mat::zeros, whose expression goes through a
        // singleton that OpenCV creates lazily without synchronising its first use.
        image->storage_ = cv::Mat(height, image->step_, CV_8UC1, cv::Scalar::all(0));
    } catch (const cv::Exception&) {
        return nullptr;
    }
    image->data_ = image->storage_.data;
    return image;
}

std::unique_ptr<Image> Image::CreateHeader(int width, int height, int channels, ImageOrigin origin)
{
    if (!UsableLayout(width, height, channels))
        return nullptr;
    return std::unique_ptr<Image>(new (std::nothrow) Image(width, height, channels, origin));
}

std::unique_ptr<Image> Image::FromMat(const cv::Mat& picture, ImageOrigin origin)
{
    if (picture.empty() || picture.depth() != CV_8U)
        return nullptr;
    auto image = Create(picture.cols, picture.rows, picture.channels(), origin);
    if (image)
        picture.copyTo(image->fullMat());
    return image;
}

std::unique_ptr<Image> Image::Clone() const
{
    auto copy = Create(width_, height_, channels_, origin_);
    if (!copy)
        return nullptr;
    if (data_) {
        for (int y = 0; y < height_; ++y)
            std::memcpy(copy->row(y), row(y), static_cast<std::size_t>(step_));
    }
    copy->hasRoi_ = hasRoi_;
    copy->roi_ = roi_;
    return copy;
}

bool Image::Attach(std::uint8_t* pixels)
{
    if (ownsPixels())
        return false;
    data_ = pixels;
    return true;
}

void Image::setRoi(const cv::Rect& roi)
{
    const cv::Rect clipped = roi & cv::Rect(0, 0, width_, height_);
    if (clipped.empty()) {
        resetRoi();
        return;
    }
    roi_ = clipped;
    hasRoi_ = true;
}

void Image::resetRoi()
{
    hasRoi_ = false;
    roi_ = cv::Rect();
}

cv::Rect Image::roi() const
{
    return hasRoi_ ? roi_ : cv::Rect(0, 0, width_, height_);
}

cv::Mat Image::fullMat()
{
    if (!data_)
        return cv::Mat();
    return cv::Mat(height_, width_, CV_8UC(channels_), data_, static_cast<std::size_t>(step_));
}

cv::Mat Image::fullMat() const
{
    return const_cast<Image*>(this)->fullMat();
}

cv::Mat Image::mat()
{
    cv::Mat whole = fullMat();
    if (whole.empty() || !hasRoi_)
        return whole;
    return whole(roi_);
}

cv::Mat Image::mat() const
{
    return const_cast<Image*>(this)->mat();
}
