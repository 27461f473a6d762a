#include "creator/engine/reference/ReferenceSteps.h"

#include "creator/engine/FaceBlend.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace reference {
namespace {

constexpr int kWindowRadius = 2;

bool Covers(const Image& image, int w, int h)
{
    return image.hasData() && image.width() >= w && image.height() >= h;
}

}  // namespace

void BlendFaceIntoFrame(const Image& source, Image& destination, const Image& mask, int x, int y,
                        int w, int h)
{
    const int channels = source.channels();
    if (w <= 0 || h <= 0 || !Covers(source, w, h) || !Covers(mask, w, h) || mask.channels() != 1 ||
        !destination.hasData() || destination.channels() != channels)
        return;
    const int width = destination.width();
    const int height = destination.height();
    const int x0 = std::max(x, 0);
    const int y0 = std::max(y, 0);
    const int xEnd = x + w >= width ? width - 1 : x + w;
    const int yEnd = y + h >= height ? height - 1 : y + h;
    // Drawn pixels are the ones in the visited rectangle under a set mask byte; all the
    // others are never written, so an average reads the same whatever was drawn before.
    auto drawn = [&](int X, int Y) {
        return X >= x0 && X < xEnd && Y >= y0 && Y < yEnd && mask.pixel(X - x, Y - y)[0] != 0;
    };
    for (int Y = y0; Y < yEnd; ++Y) {
        for (int X = x0; X < xEnd; ++X) {
            const int sx = X - x;
            const int sy = Y - y;
            if (mask.pixel(sx, sy)[0] == 0)
                continue;
            std::uint8_t* out = destination.pixel(X, Y);
            if (!::IsEdgePixel(mask, sx, sy)) {
                std::memcpy(out, source.pixel(sx, sy), static_cast<std::size_t>(channels));
                continue;
            }
            std::uint32_t sums[3] = {0, 0, 0};
            std::uint32_t count = 0;
            for (int wy = std::max(Y - kWindowRadius, 0);
                 wy <= std::min(Y + kWindowRadius, height - 1); ++wy) {
                for (int wx = std::max(X - kWindowRadius, 0);
                     wx <= std::min(X + kWindowRadius, width - 1); ++wx) {
                    const std::uint8_t* from =
                        drawn(wx, wy) ? source.pixel(wx - x, wy - y) : destination.pixel(wx, wy);
                    for (int c = 0; c < channels; ++c)
                        sums[c] += from[c];
                    ++count;
                }
            }
            // floor(sum / count + 0.5) in integers.
            for (int c = 0; c < channels; ++c)
                out[c] = static_cast<std::uint8_t>((2 * sums[c] + count) / (2 * count));
        }
    }
}

}  // namespace reference
