#pragma once

#include <opencv2/core.hpp>

#include <cstddef>
#include <cstdint>
#include <memory>

// Which stored row is shown at the top. Frames that come from a video stream are
// device-independent bitmaps: their first stored row is the bottom line of the picture.
enum class ImageOrigin { TopLeft, BottomLeft };

// The picture type of the whole system: 8 bits per channel, 1 or 3 channels (blue, green,
// red), every row padded to a multiple of 4 bytes so that a header can point straight at a
// bitmap sample buffer. Coordinates are (column, stored row); row 0 is the first row in
// memory whatever the origin says.
//
// An image either owns its pixels (Create, Clone) or is a header that points at a buffer
// someone else owns (CreateHeader + Attach): the header never frees that buffer.
//
// The region of interest narrows what mat() shows; routines that work "within the
// region of interest" work on mat().
class Image {
public:
    // Bytes per stored row for the given width and channel count: padded to 4.
    static int StepFor(int width, int channels);

    // A zero-filled picture with its own pixels; null when the size or channel count is
    // not usable (width or height below 1, channels other than 1 or 3) or memory runs out.
    static std::unique_ptr<Image> Create(int width, int height, int channels,
                                         ImageOrigin origin = ImageOrigin::TopLeft);
    // A header of that layout without pixels; Attach gives it a buffer. Null as Create.
    static std::unique_ptr<Image> CreateHeader(int width, int height, int channels,
                                               ImageOrigin origin = ImageOrigin::TopLeft);
    // Wraps a picture read by OpenCV (8-bit, 1 or 3 channels), copying it into padded rows.
    static std::unique_ptr<Image> FromMat(const cv::Mat& picture,
                                          ImageOrigin origin = ImageOrigin::TopLeft);

    // A deep copy with its own pixels, origin and region of interest; a header without
    // pixels clones into a zero-filled picture of its size.
    std::unique_ptr<Image> Clone() const;

    int width() const { return width_; }
    int height() const { return height_; }
    int channels() const { return channels_; }
    int step() const { return step_; }
    // step() x height(): the size of a bitmap sample holding this picture.
    std::size_t imageSize() const { return static_cast<std::size_t>(step_) * height_; }

    bool hasData() const { return data_ != nullptr; }
    std::uint8_t* data() { return data_; }
    const std::uint8_t* data() const { return data_; }
    std::uint8_t* row(int y) { return data_ + static_cast<std::ptrdiff_t>(y) * step_; }
    const std::uint8_t* row(int y) const { return data_ + static_cast<std::ptrdiff_t>(y) * step_; }
    std::uint8_t* pixel(int x, int y) { return row(y) + x * channels_; }
    const std::uint8_t* pixel(int x, int y) const { return row(y) + x * channels_; }

    // Points a header at a buffer laid out as this image (imageSize() bytes at least), or
    // back at nothing with null. Only for headers: an image that owns pixels refuses.
    bool Attach(std::uint8_t* pixels);
    bool ownsPixels() const { return !storage_.empty(); }

    ImageOrigin origin() const { return origin_; }
    void setOrigin(ImageOrigin origin) { origin_ = origin; }

    // The rectangle is clipped to the picture; an empty result resets the region.
    void setRoi(const cv::Rect& roi);
    void resetRoi();
    bool hasRoi() const { return hasRoi_; }
    // The region of interest, or the whole picture when none is set.
    cv::Rect roi() const;

    // A view of the region of interest (the whole picture when none) sharing the pixels;
    // empty when there are none. The view stays valid while the image keeps its pixels.
    cv::Mat mat();
    cv::Mat mat() const;
    // The whole picture, whatever the region of interest.
    cv::Mat fullMat();
    cv::Mat fullMat() const;

private:
    Image(int width, int height, int channels, ImageOrigin origin);

    int width_ = 0;
    int height_ = 0;
    int channels_ = 0;
    int step_ = 0;
    ImageOrigin origin_ = ImageOrigin::TopLeft;
    bool hasRoi_ = false;
    cv::Rect roi_;
    cv::Mat storage_;  // the owned rows, step_ bytes each; empty for a header
    std::uint8_t* data_ = nullptr;
};

using ImagePtr = std::unique_ptr<Image>;

// Two pictures match when width, height and channel count agree (depth and origin aside).
inline bool ImagesMatch(const Image& a, const Image& b)
{
    return a.width() == b.width() && a.height() == b.height() && a.channels() == b.channels();
}
