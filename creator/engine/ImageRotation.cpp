#include "creator/engine/ImageRotation.h"

#include "creator/engine/RotationClip.h"
#include "media/image/RowWorkers.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <new>
#include <utility>
#include <vector>

namespace {

// Corner signs of corners 0 to 3 of a picture centred on the origin.
constexpr int kCornerSignX[4] = {-1, +1, +1, -1};
constexpr int kCornerSignY[4] = {-1, -1, +1, +1};

// Angles are folded before use, so this only has to keep absurd ones out of the integer
// arithmetic of the fold.
constexpr double kLargestAngle = 1e9;

// Output sizes are kept well inside int so that cell indices and row offsets cannot wrap.
constexpr double kLargestSide = 1 << 28;

std::uint8_t ClampByte(double value)
{
    const double truncated = std::trunc(value);
    if (truncated <= 0)
        return 0;
    if (truncated >= 255)
        return 255;
    return static_cast<std::uint8_t>(truncated);
}

int ClampIndex(int value, int limit)
{
    return value < 0 ? 0 : (value > limit ? limit : value);
}

// A value within 1e-9 of an integer gives that integer, any other positive value its
// ceiling: output sizes and ranges must not grow by a pixel for rounding noise.
int TolerantCeiling(double value)
{
    const int n = static_cast<int>(value + 5e-10);
    if (std::fabs(value - n) < 1e-9)
        return n;
    return static_cast<int>(value + 1);
}

// The output pass: covered cells become their mean (or, blending, their sum topped up with
// the fill colour for the uncovered share), uncovered ones the fill colour.
void ResolveCoverage(std::span<const CoverageCell> grid, Image& outImage, std::uint32_t fillColour,
                     bool blend, int first, int end)
{
    const double fill[3] = {static_cast<double>((fillColour >> 16) & 0xFF),
                            static_cast<double>((fillColour >> 8) & 0xFF),
                            static_cast<double>(fillColour & 0xFF)};
    const int width = outImage.width();
    for (int y = first; y < end; ++y) {
        for (int x = 0; x < width; ++x) {
            const CoverageCell& cell = grid[static_cast<std::size_t>(y) * width + x];
            std::uint8_t* out = outImage.pixel(x, y);
            for (int k = 0; k < 3; ++k) {
                if (cell.area == 0)
                    out[k] = static_cast<std::uint8_t>(fill[k]);
                else if (blend)
                    out[k] = ClampByte(cell.sum[k] + (1 - cell.area) * fill[k] + 0.5);
                else
                    out[k] = ClampByte(cell.sum[k] / cell.area + 0.5);
            }
        }
    }
}

}  // namespace

double CosDegrees(double angle)
{
    const double a = std::fabs(angle);
    const double b = a / 30 - std::trunc(a / 30 + 0.5);
    if (-1e-7 < b && b < 1e-7) {
        switch (static_cast<long long>(a + 0.5) % 360) {
        case 0:
            return 1.0;
        case 30:
        case 330:
            return 0.866025403784439;
        case 60:
        case 300:
            return 0.5;
        case 90:
        case 270:
            return 0.0;
        case 120:
        case 240:
            return -0.5;
        case 150:
        case 210:
            return -0.866025403784439;
        case 180:
            return -1.0;
        default:
            break;
        }
    }
    // The literal, not full-precision pi: turned faces must match those the templates were
    // tuned with.
    return std::cos(a * 3.14159265358979 / 180);
}

bool MakeRotationGeometry(int sourceWidth, int sourceHeight, double angle,
                          RotationGeometry& geometry)
{
    if (sourceWidth < 1 || sourceHeight < 1 || !std::isfinite(angle) ||
        std::fabs(angle) > kLargestAngle)
        return false;

    long long turns = static_cast<long long>(angle) / 360;
    if (angle < 0)
        --turns;
    RotationGeometry g;
    g.angle = angle - 360.0 * static_cast<double>(turns);
    g.cosA = CosDegrees(g.angle);
    g.cosA90 = CosDegrees(g.angle + 90);
    g.quadrant = (static_cast<int>(g.angle) / 90) % 4;

    // The corners opposite the quadrant's least-x and least-y corners give the half sizes.
    const double hw = sourceWidth * 0.5;
    const double hh = sourceHeight * 0.5;
    const int e = (g.quadrant + 2) % 4;
    const int f = (g.quadrant + 3) % 4;
    g.halfWidth = g.cosA * kCornerSignX[e] * hw - g.cosA90 * kCornerSignY[e] * hh;
    g.halfHeight = g.cosA90 * kCornerSignX[f] * hw + g.cosA * kCornerSignY[f] * hh;
    if (2 * g.halfWidth > kLargestSide || 2 * g.halfHeight > kLargestSide)
        return false;
    g.width = TolerantCeiling(2 * g.halfWidth);
    g.height = TolerantCeiling(2 * g.halfHeight);
    if (g.width < 1 || g.height < 1)
        return false;
    geometry = g;
    return true;
}

namespace {

// The coverage pass over the output rows first .. end - 1. Each cell of those rows gets
// the shares of the same source pixels in the same order (source scan order) as in one
// pass over the whole output, so bands of rows can be worked on apart, at once, with the
// same sums bit for bit. A source row meets a band only along a run of its pixels, found
// from the turned pixel centres' rows, which change linearly along a source row.
class CoveragePass {
public:
    CoveragePass(const Image& source, const Image& sourceMask, const RotationGeometry& g,
                 std::span<CoverageCell> grid, Image& outMask)
        : source_(source), sourceMask_(sourceMask), g_(g), grid_(grid), outMask_(outMask),
          clip_(g.cosA, g.cosA90), hw_(source.width() * 0.5), hh_(source.height() * 0.5),
          reach_(0.5 * (std::fabs(g.cosA) + std::fabs(g.cosA90)) + kBandSlack)
    {}

    void Rows(int first, int end) const
    {
        for (int j = 0; j < source_.height(); ++j) {
            int from = 0;
            int to = 0;
            if (RunMeeting(j, first, end, from, to))
                Pixels(j, from, to, first, end);
        }
    }

private:
    // How far beyond a turned pixel centre's row its rows may reach, with room for the
    // truncations and ceilings of the target ranges and for rounding.
    static constexpr double kBandSlack = 2.5;

    RotationPoint Turn(double u, double v) const
    {
        return RotationPoint{u * g_.cosA - v * g_.cosA90 + g_.halfWidth,
                             u * g_.cosA90 + v * g_.cosA + g_.halfHeight};
    }

    // The pixels from .. to - 1 of source row j, a run that holds every pixel whose target
    // rows can meet rows first .. end - 1; false when there are none.
    bool RunMeeting(int j, int first, int end, int& from, int& to) const
    {
        const int width = source_.width();
        // The centre of pixel i lands on row slope x i + start.
        const double slope = g_.cosA90;
        const double start = (0.5 - hw_) * g_.cosA90 + (j + 0.5 - hh_) * g_.cosA + g_.halfHeight;
        const double low = first - reach_ - start;
        const double high = end + reach_ - start;
        if (std::fabs(slope) < 1e-9) {
            from = 0;
            to = low <= 0 && 0 <= high ? width : 0;
            return to > 0;
        }
        double a = low / slope;
        double b = high / slope;
        if (a > b)
            std::swap(a, b);
        a = std::clamp(std::floor(a) - 1, 0.0, static_cast<double>(width));
        b = std::clamp(std::ceil(b) + 2, 0.0, static_cast<double>(width));
        from = static_cast<int>(a);
        to = static_cast<int>(b);
        return from < to;
    }

    void Pixels(int j, int from, int to, int first, int end) const
    {
        const int d = g_.quadrant;
        const std::uint8_t* pixels = source_.row(j);
        const std::uint8_t* maskValues = sourceMask_.row(j);
        for (int i = from; i < to; ++i) {
            const double dx = i - hw_;
            const double dy = j - hh_;
            const std::array<RotationPoint, 4> corners{Turn(dx, dy), Turn(dx + 1, dy),
                                                       Turn(dx + 1, dy + 1), Turn(dx, dy + 1)};
            RotationPoint centre{0, 0};
            for (const RotationPoint& c : corners) {
                centre.x += 0.25 * c.x;
                centre.y += 0.25 * c.y;
            }

            // In quadrant d, corner d has the least x, d+1 the least y, d+2 the greatest x
            // and d+3 the greatest y.
            const int y0 =
                std::max(ClampIndex(static_cast<int>(corners[(d + 1) % 4].y), g_.height), first);
            const int y1 =
                std::min(ClampIndex(TolerantCeiling(corners[(d + 3) % 4].y), g_.height), end);
            if (y0 >= y1)
                continue;
            const int x0 = ClampIndex(static_cast<int>(corners[d].x), g_.width);
            const int x1 = ClampIndex(TolerantCeiling(corners[(d + 2) % 4].x), g_.width);

            const std::uint8_t* pixel = pixels + 3 * i;
            const std::uint8_t maskValue = maskValues[i];
            for (int y = y0; y < y1; ++y) {
                CoverageCell* cells = grid_.data() + static_cast<std::size_t>(y) * g_.width;
                std::uint8_t* maskRow = outMask_.row(y);
                for (int x = x0; x < x1; ++x) {
                    std::array<RotationPoint, 4> quad;
                    for (int k = 0; k < 4; ++k)
                        quad[k] = {corners[k].x - x, corners[k].y - y};
                    const double area = clip_.PixelOverlapArea(quad, {centre.x - x, centre.y - y});
                    if (area == 0)
                        continue;
                    CoverageCell& cell = cells[x];
                    for (int k = 0; k < 3; ++k)
                        cell.sum[k] += area * pixel[k];
                    cell.area += area;
                    maskRow[x] = maskValue;
                }
            }
        }
    }

    const Image& source_;
    const Image& sourceMask_;
    const RotationGeometry& g_;
    std::span<CoverageCell> grid_;
    Image& outMask_;
    RotationClip clip_;
    double hw_;
    double hh_;
    double reach_;
};

// Output rows per band of a threaded rotation.
constexpr int kBandRows = 32;

}  // namespace

void AccumulateCoverage(const Image& source, const Image& sourceMask, const RotationGeometry& g,
                        std::span<CoverageCell> grid, Image& outMask)
{
    CoveragePass(source, sourceMask, g, grid, outMask).Rows(0, g.height);
}

int RotateImage(const Image& source, const Image* sourceMask, ImagePtr* outImage, ImagePtr* outMask,
                double angle, std::uint32_t fillColour, bool blend, RowWorkers* workers)
{
    if (!source.hasData() || source.channels() != 3)
        return 0;
    if (!sourceMask || !sourceMask->hasData() || sourceMask->channels() != 1 ||
        sourceMask->width() < source.width() || sourceMask->height() < source.height())
        return 0;
    RotationGeometry geometry;
    if (!MakeRotationGeometry(source.width(), source.height(), angle, geometry))
        return 0;

    ImagePtr image =
        Image::Create(geometry.width, geometry.height, source.channels(), source.origin());
    ImagePtr mask = Image::Create(geometry.width, geometry.height, 1, source.origin());
    if (!image || !mask)
        return 0;
    std::vector<CoverageCell> grid;
    try {
        grid.resize(static_cast<std::size_t>(geometry.width) * geometry.height);
    } catch (const std::bad_alloc&) {
        return 0;
    }

    // A band's cells are complete once its pass is done, so each band is resolved at once.
    const CoveragePass pass(source, *sourceMask, geometry, grid, *mask);
    auto rows = [&](int first, int end) {
        pass.Rows(first, end);
        ResolveCoverage(grid, *image, fillColour, blend, first, end);
    };
    if (workers)
        workers->RunRows(geometry.height, kBandRows, rows);
    else
        rows(0, geometry.height);

    if (outImage)
        *outImage = std::move(image);
    if (outMask)
        *outMask = std::move(mask);
    return 1;
}
