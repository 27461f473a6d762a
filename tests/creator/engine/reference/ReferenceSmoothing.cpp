#include "creator/engine/reference/ReferenceSteps.h"

#include <opencv2/core.hpp>

#include <array>
#include <cstdint>

namespace {

struct Neighbour {
    int dx;
    int dy;
    int spaceFactor;  // 1 beside the pixel, 2 on a diagonal
};

// The window in the order its weights are summed; the first and last rows sum their
// neighbours in their own orders so that the rounding matches the frames the templates
// were tuned on. Neighbours outside the picture are skipped.
constexpr std::array<Neighbour, 8> kInnerOrder{{
    {1, 0, 1},
    {1, -1, 2},
    {0, -1, 1},
    {-1, -1, 2},
    {-1, 0, 1},
    {-1, 1, 2},
    {0, 1, 1},
    {1, 1, 2},
}};
constexpr std::array<Neighbour, 5> kFirstRowOrder{{
    {0, 1, 1},
    {-1, 1, 2},
    {-1, 0, 1},
    {1, 1, 2},
    {1, 0, 1},
}};
constexpr std::array<Neighbour, 5> kLastRowOrder{{
    {0, -1, 1},
    {-1, -1, 2},
    {-1, 0, 1},
    {1, -1, 2},
    {1, 0, 1},
}};

template <std::size_t N>
void SmoothPixel(const cv::Mat& src, cv::Mat& dst, int x, int y,
                 const std::array<Neighbour, N>& order, double i2Colour, double i2Space)
{
    const int channels = src.channels();
    const std::uint8_t* centre = src.ptr<std::uint8_t>(y) + x * channels;
    double weightSum = 1.0;
    double sums[3] = {0.0, 0.0, 0.0};
    for (int c = 0; c < channels; ++c)
        sums[c] = centre[c];

    for (const Neighbour& n : order) {
        const int nx = x + n.dx;
        const int ny = y + n.dy;
        if (nx < 0 || ny < 0 || nx >= src.cols || ny >= src.rows)
            continue;
        const std::uint8_t* other = src.ptr<std::uint8_t>(ny) + nx * channels;
        int colourDistance = 0;
        for (int c = 0; c < channels; ++c) {
            const int diff = centre[c] - other[c];
            colourDistance += diff * diff;
        }
        double w = n.spaceFactor * i2Space + colourDistance * i2Colour;
        w = 1.0 / (w * w + 1.0);
        weightSum += w;
        for (int c = 0; c < channels; ++c)
            sums[c] += other[c] * w;
    }

    std::uint8_t* out = dst.ptr<std::uint8_t>(y) + x * channels;
    if (channels == 1) {
        out[0] = cv::saturate_cast<std::uint8_t>(cvRound(sums[0] / weightSum));
        return;
    }
    // Colour pictures scale by the reciprocal, grey ones divide: the two round apart at
    // exact halves, and both are kept as the analysis was tuned on them.
    const double scale = 1.0 / weightSum;
    for (int c = 0; c < channels; ++c)
        out[c] = cv::saturate_cast<std::uint8_t>(cvRound(sums[c] * scale));
}

}  // namespace

namespace reference {

bool SmoothBilateral(const Image& source, Image& destination, double colourSigma, double spaceSigma)
{
    if (!source.hasData() || !destination.hasData())
        return false;
    if (source.channels() != destination.channels())
        return false;
    if (colourSigma < 0.0 || spaceSigma < 0.0)
        return false;
    cv::Mat src = source.mat();
    cv::Mat dst = destination.mat();
    if (src.size() != dst.size())
        return false;
    if (colourSigma == 0.0)
        colourSigma = 1.0;
    if (spaceSigma == 0.0)
        spaceSigma = 1.0;

    // Windows must see the picture as it was, not rows already smoothed.
    if (src.datastart < dst.dataend && dst.datastart < src.dataend)
        src = src.clone();

    const double i2Colour = 1.0 / (colourSigma * colourSigma);
    const double i2Space = 1.0 / (spaceSigma * spaceSigma);
    for (int y = 0; y < src.rows; ++y) {
        for (int x = 0; x < src.cols; ++x) {
            if (y == 0)
                SmoothPixel(src, dst, x, y, kFirstRowOrder, i2Colour, i2Space);
            else if (y == src.rows - 1)
                SmoothPixel(src, dst, x, y, kLastRowOrder, i2Colour, i2Space);
            else
                SmoothPixel(src, dst, x, y, kInnerOrder, i2Colour, i2Space);
        }
    }
    return true;
}

}  // namespace reference
