#include "media/image/BilateralSmooth.h"

#include "media/image/ColourBlock.h"
#include "media/image/RowWorkers.h"

#include <opencv2/core.hpp>

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

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

// The largest squared colour distance of two 3-channel 8-bit pixels.
constexpr int kLargestDistance = 3 * 255 * 255;

}  // namespace

// A neighbour's weight depends on nothing but its space factor and its squared colour
// distance to the pixel, so each is worked out once per distance, exactly as it would be
// per neighbour: t = factor / spaceSigma^2 + distance / colourSigma^2, 1 / (t^2 + 1).
class BilateralWeights {
public:
    BilateralWeights(double i2Colour, double i2Space) : i2Colour_(i2Colour), i2Space_(i2Space)
    {
        for (int factor = 1; factor <= 2; ++factor) {
            std::vector<double>& table = byFactor_[factor - 1];
            table.resize(kLargestDistance + 1);
            for (int distance = 0; distance <= kLargestDistance; ++distance) {
                double w = factor * i2Space + distance * i2Colour;
                table[distance] = 1.0 / (w * w + 1.0);
            }
        }
    }
    bool Fits(double i2Colour, double i2Space) const
    {
        return i2Colour == i2Colour_ && i2Space == i2Space_;
    }
    const double* ForFactor(int factor) const { return byFactor_[factor - 1].data(); }

private:
    double i2Colour_;
    double i2Space_;
    std::array<std::vector<double>, 2> byFactor_;
};

namespace {

// The tables of the last sigmas asked for: every frame of a creation asks for the same.
std::shared_ptr<const BilateralWeights> WeightsFor(double i2Colour, double i2Space)
{
    static std::mutex mutex;
    static std::shared_ptr<const BilateralWeights> last;
    std::lock_guard<std::mutex> lock(mutex);
    if (!last || !last->Fits(i2Colour, i2Space))
        last = std::make_shared<const BilateralWeights>(i2Colour, i2Space);
    return last;
}

template <std::size_t N>
void SmoothPixel(const cv::Mat& src, cv::Mat& dst, int x, int y,
                 const std::array<Neighbour, N>& order, const BilateralWeights& weights)
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
        const double w = weights.ForFactor(n.spaceFactor)[colourDistance];
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

// The interior of a 3-channel picture: every window is whole, so the neighbours are
// fixed offsets from the pixel and need no bounds tests. A window of one colour gives a
// result that depends on that colour alone; it is looked up.
class BilateralInterior {
public:
    BilateralInterior(const cv::Mat& src, cv::Mat& dst, const BilateralWeights& weights)
        : src_(src), dst_(dst), side_(weights.ForFactor(1)), diagonal_(weights.ForFactor(2))
    {
        for (int value = 0; value < 256; ++value) {
            double weightSum = 1.0;
            double sum = value;
            for (const Neighbour& n : kInnerOrder) {
                const double w = n.spaceFactor == 1 ? side_[0] : diagonal_[0];
                weightSum += w;
                sum += value * w;
            }
            flat_[value] = cv::saturate_cast<std::uint8_t>(cvRound(sum * (1.0 / weightSum)));
        }
    }

    // The inner pixels of inner row y.
    void Row(int y) const
    {
        const std::uint8_t* before = src_.ptr<std::uint8_t>(y - 1);
        const std::uint8_t* row = src_.ptr<std::uint8_t>(y);
        const std::uint8_t* after = src_.ptr<std::uint8_t>(y + 1);
        std::uint8_t* out = dst_.ptr<std::uint8_t>(y);
        // Column x of the three rows holds colour c only.
        auto column = [&](int x, const std::uint8_t* c) {
            const int at = 3 * x;
            return Same(before + at, c) && Same(row + at, c) && Same(after + at, c);
        };
        const int last = src_.cols - 2;
        for (int x = 1; x <= last; ++x) {
            const std::uint8_t* c = row + 3 * x;
            if (!column(x - 1, c) || !column(x, c) || !column(x + 1, c)) {
                Smooth(before, row, after, out, x);
                continue;
            }
            // A window of one colour, and so is the next one while the column that comes
            // into it has that colour too; eight such columns are looked at together.
            const std::uint8_t flat[3] = {flat_[c[0]], flat_[c[1]], flat_[c[2]]};
            ColourBlock<3> colour;
            ColourBlock<3> smoothed;
            for (;;) {
                std::uint8_t* o = out + 3 * x;
                o[0] = flat[0];
                o[1] = flat[1];
                o[2] = flat[2];
                if (x == last || !column(x + 2, c))
                    break;
                ++x;
                if (x + 8 > last)
                    continue;
                if (!colour.Is(c)) {
                    colour.Set(c);
                    smoothed.Set(flat);
                }
                // Pixel x is flat; so are the next eight when columns x + 2 .. x + 9 hold c
                // only, and then x + 8 is flat in its turn.
                for (int at = 3 * (x + 2); x + 8 <= last && colour.Matches(before + at) &&
                                           colour.Matches(row + at) && colour.Matches(after + at);
                     at += 24) {
                    smoothed.Write(out + 3 * x);
                    x += 8;
                }
            }
        }
    }

private:
    static bool Same(const std::uint8_t* a, const std::uint8_t* b)
    {
        return a[0] == b[0] && a[1] == b[1] && a[2] == b[2];
    }

    // The window around pixel x of row, in the order its weights are summed.
    void Smooth(const std::uint8_t* before, const std::uint8_t* row, const std::uint8_t* after,
                std::uint8_t* out, int x) const
    {
        const int at = 3 * x;
        const std::uint8_t* c = row + at;
        const std::uint8_t* window[8] = {row + at + 3,    before + at + 3, before + at,
                                         before + at - 3, row + at - 3,    after + at - 3,
                                         after + at,      after + at + 3};
        double weightSum = 1.0;
        double s0 = c[0];
        double s1 = c[1];
        double s2 = c[2];
        for (int k = 0; k < 8; ++k) {
            const std::uint8_t* n = window[k];
            const int d0 = c[0] - n[0];
            const int d1 = c[1] - n[1];
            const int d2 = c[2] - n[2];
            const int distance = d0 * d0 + d1 * d1 + d2 * d2;
            const double w = (k % 2 == 0 ? side_ : diagonal_)[distance];
            weightSum += w;
            s0 += n[0] * w;
            s1 += n[1] * w;
            s2 += n[2] * w;
        }
        const double scale = 1.0 / weightSum;
        std::uint8_t* o = out + at;
        o[0] = cv::saturate_cast<std::uint8_t>(cvRound(s0 * scale));
        o[1] = cv::saturate_cast<std::uint8_t>(cvRound(s1 * scale));
        o[2] = cv::saturate_cast<std::uint8_t>(cvRound(s2 * scale));
    }

    const cv::Mat& src_;
    cv::Mat& dst_;
    const double* side_;
    const double* diagonal_;
    std::uint8_t flat_[256];
};

BilateralSmoothing::BilateralSmoothing(const Image& source, Image& destination, double colourSigma,
                                       double spaceSigma)
{
    if (!source.hasData() || !destination.hasData())
        return;
    if (source.channels() != destination.channels())
        return;
    if (colourSigma < 0.0 || spaceSigma < 0.0)
        return;
    src_ = source.mat();
    dst_ = destination.mat();
    if (src_.size() != dst_.size())
        return;
    if (colourSigma == 0.0)
        colourSigma = 1.0;
    if (spaceSigma == 0.0)
        spaceSigma = 1.0;
    // Windows must see the picture as it was, not rows already smoothed.
    if (src_.datastart < dst_.dataend && dst_.datastart < src_.dataend)
        src_ = src_.clone();
    weights_ = WeightsFor(1.0 / (colourSigma * colourSigma), 1.0 / (spaceSigma * spaceSigma));
    if (src_.channels() == 3 && src_.rows >= 3 && src_.cols >= 3)
        interior_ = std::make_unique<const BilateralInterior>(src_, dst_, *weights_);
}

BilateralSmoothing::~BilateralSmoothing() = default;

void BilateralSmoothing::Rows(int first, int end) const
{
    if (!valid())
        return;
    first = std::max(first, 0);
    end = std::min(end, src_.rows);
    for (int y = first; y < end; ++y) {
        if (interior_ && y > 0 && y < src_.rows - 1) {
            // Only the first and last columns of an inner row have partial windows.
            SmoothPixel(src_, dst_, 0, y, kInnerOrder, *weights_);
            SmoothPixel(src_, dst_, src_.cols - 1, y, kInnerOrder, *weights_);
            interior_->Row(y);
            continue;
        }
        for (int x = 0; x < src_.cols; ++x) {
            if (y == 0)
                SmoothPixel(src_, dst_, x, y, kFirstRowOrder, *weights_);
            else if (y == src_.rows - 1)
                SmoothPixel(src_, dst_, x, y, kLastRowOrder, *weights_);
            else
                SmoothPixel(src_, dst_, x, y, kInnerOrder, *weights_);
        }
    }
}

bool SmoothBilateral(const Image& source, Image& destination, double colourSigma, double spaceSigma,
                     RowWorkers* workers)
{
    const BilateralSmoothing smoothing(source, destination, colourSigma, spaceSigma);
    if (!smoothing.valid())
        return false;
    auto rows = [&](int first, int end) { smoothing.Rows(first, end); };
    if (workers)
        workers->RunRows(smoothing.rows(), BilateralSmoothing::kBandRows, rows);
    else
        rows(0, smoothing.rows());
    return true;
}
