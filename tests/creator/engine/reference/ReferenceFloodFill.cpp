#include "creator/engine/reference/ReferenceSteps.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace reference {
namespace {

// Scanline fill. inside(x, y) says whether a pixel may still be taken; take(left, right,
// y) takes a run of a row and must make inside false for it, which is what keeps every
// pixel taken once.
template <typename Inside, typename Take>
void ScanFill(int width, int height, cv::Point seed, Inside inside, Take take)
{
    std::vector<cv::Point> pending{seed};
    while (!pending.empty()) {
        const cv::Point p = pending.back();
        pending.pop_back();
        if (!inside(p.x, p.y))
            continue;
        int left = p.x;
        while (left > 0 && inside(left - 1, p.y))
            --left;
        int right = p.x;
        while (right < width - 1 && inside(right + 1, p.y))
            ++right;
        take(left, right, p.y);
        for (const int y : {p.y - 1, p.y + 1}) {
            if (y < 0 || y >= height)
                continue;
            for (int x = left; x <= right; ++x) {
                if (!inside(x, y))
                    continue;
                pending.emplace_back(x, y);
                while (x + 1 <= right && inside(x + 1, y))
                    ++x;
            }
        }
    }
}

// Collects area, bounds and channel sums of the taken pixels.
class Tally {
public:
    void AddRun(int left, int right, int y)
    {
        area_ += right - left + 1;
        left_ = std::min(left_, left);
        right_ = std::max(right_, right);
        top_ = std::min(top_, y);
        bottom_ = std::max(bottom_, y);
    }
    void AddChannel(int channel, int value) { sums_[channel] += value; }

    ConnectedComponent Component(bool meanValue) const
    {
        ConnectedComponent component;
        if (area_ == 0)
            return component;
        component.area = static_cast<double>(area_);
        component.rect = cv::Rect(left_, top_, right_ - left_ + 1, bottom_ - top_ + 1);
        if (meanValue) {
            for (int c = 0; c < 3; ++c)
                component.value[c] = static_cast<double>(sums_[c]) / component.area;
        }
        return component;
    }

private:
    long long area_ = 0;
    long long sums_[3] = {0, 0, 0};
    int left_ = 1 << 30;
    int right_ = -1;
    int top_ = 1 << 30;
    int bottom_ = -1;
};

template <int Channels>
ConnectedComponent FillMaskOnly(const cv::Mat& picture, cv::Point seed, int lo, int up,
                                cv::Mat& fillMask)
{
    const std::uint8_t* seedPixel = picture.ptr<std::uint8_t>(seed.y) + seed.x * Channels;
    int low[Channels];
    int high[Channels];
    for (int c = 0; c < Channels; ++c) {
        low[c] = seedPixel[c] - lo;
        high[c] = seedPixel[c] + up;
    }
    auto maskByte = [&](int x, int y) -> std::uint8_t& {
        return fillMask.ptr<std::uint8_t>(y + 1)[x + 1];
    };
    auto inside = [&](int x, int y) {
        if (maskByte(x, y) != 0)
            return false;
        const std::uint8_t* pixel = picture.ptr<std::uint8_t>(y) + x * Channels;
        for (int c = 0; c < Channels; ++c) {
            if (pixel[c] < low[c] || pixel[c] > high[c])
                return false;
        }
        return true;
    };
    Tally tally;
    auto take = [&](int left, int right, int y) {
        std::memset(&maskByte(left, y), 1, static_cast<std::size_t>(right - left + 1));
        tally.AddRun(left, right, y);
        const std::uint8_t* pixel = picture.ptr<std::uint8_t>(y) + left * Channels;
        for (int x = left; x <= right; ++x, pixel += Channels) {
            for (int c = 0; c < Channels; ++c)
                tally.AddChannel(c, pixel[c]);
        }
    };
    ScanFill(picture.cols, picture.rows, seed, inside, take);
    return tally.Component(true);
}

}  // namespace

// The argument checks are left out: the tests pass pictures, masks and seeds that fit.
ConnectedComponent FloodFillMaskOnly(const cv::Mat& picture, cv::Point seed, int lo, int up,
                                     cv::Mat fillMask)
{
    SetFillMaskRing(fillMask);
    if (picture.channels() == 1)
        return FillMaskOnly<1>(picture, seed, lo, up, fillMask);
    return FillMaskOnly<3>(picture, seed, lo, up, fillMask);
}

ConnectedComponent FloodFillValue(cv::Mat image, cv::Point seed, std::uint8_t newValue)
{
    const std::uint8_t oldValue = image.at<std::uint8_t>(seed.y, seed.x);
    if (oldValue == newValue) {
        // Writing the value marks nothing, so the pixels are told apart with a mask.
        cv::Mat taken(image.rows + 2, image.cols + 2, CV_8UC1, cv::Scalar::all(0));
        ConnectedComponent component = reference::FloodFillMaskOnly(image, seed, 0, 0, taken);
        component.value = cv::Scalar(newValue);
        return component;
    }
    Tally tally;
    auto inside = [&](int x, int y) { return image.at<std::uint8_t>(y, x) == oldValue; };
    auto take = [&](int left, int right, int y) {
        std::memset(image.ptr<std::uint8_t>(y) + left, newValue,
                    static_cast<std::size_t>(right - left + 1));
        tally.AddRun(left, right, y);
    };
    ScanFill(image.cols, image.rows, seed, inside, take);
    ConnectedComponent component = tally.Component(false);
    component.value = cv::Scalar(newValue);
    return component;
}

}  // namespace reference
