#include "creator/engine/FaceBlend.h"

#include "media/image/RowWorkers.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

constexpr int kWindowRadius = 2;
// Rows per band of a threaded blend.
constexpr int kBandRows = 16;

bool Covers(const Image& image, int w, int h)
{
    return image.hasData() && image.width() >= w && image.height() >= h;
}

// The first column from x on, below end, whose mask byte is set; end when none is. Eight
// bytes are looked at together while all of them are unset.
int NextSet(const std::uint8_t* mask, int x, int end)
{
    while (x + 8 <= end) {
        std::uint64_t eight;
        std::memcpy(&eight, mask + x, sizeof eight);
        if (eight != 0)
            break;
        x += 8;
    }
    while (x < end && mask[x] == 0)
        ++x;
    return x;
}

// One call's placement: the visited rectangle of the destination and where source and
// mask lie in it. The call draws exactly the pixels of the visited rectangle under a set
// mask byte; the others are never written, so an average reads the same whatever was
// drawn before it.
template <int Channels>
class Blend {
public:
    Blend(const Image& source, Image& destination, const Image& mask, int x, int y, int w, int h)
        : source_(source), destination_(destination), mask_(mask), x_(x), y_(y),
          width_(destination.width()), height_(destination.height()), x0_(std::max(x, 0)),
          y0_(std::max(y, 0)), xEnd_(x + w >= width_ ? width_ - 1 : x + w),
          yEnd_(y + h >= height_ ? height_ - 1 : y + h)
    {}

    void Rows(RowWorkers* workers) const
    {
        auto rows = [this](int first, int end) {
            for (int Y = y0_ + first; Y < y0_ + end; ++Y)
                Row(Y);
        };
        if (workers)
            workers->RunRows(yEnd_ - y0_, kBandRows, rows);
        else
            rows(0, yEnd_ - y0_);
    }

private:
    // Row Y of the destination, walked in source columns sx. A set mask pixel off the
    // mask's outer ring whose 8 neighbours are all set is an inner one and takes the
    // source's bytes; any other set one lies on the edge and is averaged. Inner pixels
    // come in runs (the figure's inside), copied at once.
    void Row(int Y) const
    {
        const int sy = Y - y_;
        const std::uint8_t* mask = mask_.row(sy);
        const bool innerRow = sy > 0 && sy < mask_.height() - 1;
        const std::uint8_t* above = innerRow ? mask_.row(sy - 1) : nullptr;
        const std::uint8_t* below = innerRow ? mask_.row(sy + 1) : nullptr;
        // Mask column c is set in this row and the rows above and below.
        auto column = [&](int c) { return above[c] != 0 && mask[c] != 0 && below[c] != 0; };
        const std::uint8_t* source = source_.row(sy);
        std::uint8_t* out = destination_.row(Y);
        const int lastInner = mask_.width() - 2;
        const int end = xEnd_ - x_;
        int sx = NextSet(mask, x0_ - x_, end);
        while (sx < end) {
            const bool inner = innerRow && sx >= 1 && sx <= lastInner && column(sx - 1) &&
                               column(sx) && column(sx + 1);
            if (!inner) {
                Average(sx + x_, Y, out + (sx + x_) * Channels);
                sx = NextSet(mask, sx + 1, end);
                continue;
            }
            // The pixel after an inner one is inner when the next column is set too.
            int runEnd = sx + 1;
            while (runEnd < end && runEnd <= lastInner && column(runEnd + 1))
                ++runEnd;
            std::memcpy(out + (sx + x_) * Channels, source + sx * Channels,
                        static_cast<std::size_t>(runEnd - sx) * Channels);
            sx = NextSet(mask, runEnd, end);
        }
    }

    // The rounded mean of the 5 x 5 window around (X, Y), clipped to the destination.
    void Average(int X, int Y, std::uint8_t* pixel) const
    {
        std::uint32_t sums[3] = {0, 0, 0};
        const int left = std::max(X - kWindowRadius, 0);
        const int right = std::min(X + kWindowRadius, width_ - 1);
        const int top = std::max(Y - kWindowRadius, 0);
        const int bottom = std::min(Y + kWindowRadius, height_ - 1);
        // Window columns in the visited rectangle, where a set mask byte draws the source.
        const int drawnLeft = std::max(left, x0_);
        const int drawnRight = std::min(right, xEnd_ - 1);
        for (int wy = top; wy <= bottom; ++wy) {
            const std::uint8_t* destination = destination_.row(wy);
            const bool visited = wy >= y0_ && wy < yEnd_;
            const std::uint8_t* mask = visited ? mask_.row(wy - y_) : nullptr;
            const std::uint8_t* source = visited ? source_.row(wy - y_) : nullptr;
            for (int wx = left; wx <= right; ++wx) {
                const bool drawn =
                    visited && wx >= drawnLeft && wx <= drawnRight && mask[wx - x_] != 0;
                const std::uint8_t* from =
                    drawn ? source + (wx - x_) * Channels : destination + wx * Channels;
                for (int c = 0; c < Channels; ++c)
                    sums[c] += from[c];
            }
        }
        // floor(sum / count + 0.5) in integers.
        const auto count = static_cast<std::uint32_t>((right - left + 1) * (bottom - top + 1));
        for (int c = 0; c < Channels; ++c)
            pixel[c] = static_cast<std::uint8_t>((2 * sums[c] + count) / (2 * count));
    }

    const Image& source_;
    Image& destination_;
    const Image& mask_;
    int x_;
    int y_;
    int width_;
    int height_;
    int x0_;
    int y0_;
    int xEnd_;
    int yEnd_;
};

}  // namespace

bool IsEdgePixel(const Image& mask, int x, int y)
{
    if (x <= 0 || y <= 0 || x >= mask.width() - 1 || y >= mask.height() - 1)
        return true;
    for (int ny = y - 1; ny <= y + 1; ++ny) {
        const std::uint8_t* row = mask.row(ny);
        if (row[x - 1] == 0 || row[x + 1] == 0 || (ny != y && row[x] == 0))
            return true;
    }
    return false;
}

void BlendFaceIntoFrame(const Image& source, Image& destination, const Image& mask, int x, int y,
                        int w, int h, RowWorkers* workers)
{
    const int channels = source.channels();
    if (w <= 0 || h <= 0 || !Covers(source, w, h) || !Covers(mask, w, h) || mask.channels() != 1 ||
        !destination.hasData() || destination.channels() != channels)
        return;
    if (channels == 3)
        Blend<3>(source, destination, mask, x, y, w, h).Rows(workers);
    else if (channels == 1)
        Blend<1>(source, destination, mask, x, y, w, h).Rows(workers);
}
