#include "creator/engine/reference/ReferenceSteps.h"

#include <cmath>
#include <cstdint>
#include <new>
#include <utility>
#include <vector>

namespace reference {
namespace {

// The clip work of one rotation, as RotationClip did it.
class ReferenceClip {
public:
    ReferenceClip(double cosA, double cosA90) : cosA_(cosA), cosA90_(cosA90) {}
    double PixelOverlapArea(const std::array<RotationPoint, 4>& quad, RotationPoint centre);

private:
    bool IsInsideRotatedPixel(RotationPoint point, RotationPoint centre) const;
    void OrderClipPolygon();
    double PolygonArea() const;
    void AddClipPoint(RotationPoint point);
    void AddEdgeCrossings(RotationPoint p, RotationPoint q);

    static constexpr int kMaxPoints = 16;

    double cosA_;
    double cosA90_;
    RotationPoint clip_[kMaxPoints] = {};
    int clipCount_ = 0;
    RotationPoint ordered_[kMaxPoints] = {};
    int orderedCount_ = 0;
};

constexpr RotationPoint kUnitSquare[4] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};

// Corner signs of corners 0 to 3 of a picture centred on the origin.
constexpr int kCornerSignX[4] = {-1, +1, +1, -1};
constexpr int kCornerSignY[4] = {-1, -1, +1, +1};

// Angles are folded before use, so this only has to keep absurd ones out of the integer
// arithmetic of the fold.
constexpr double kLargestAngle = 1e9;

// Output sizes are kept well inside int so that cell indices and row offsets cannot wrap.
constexpr double kLargestSide = 1 << 28;

// Clip points closer than this to the unit square's border count as on it. Without the
// slack a square corner that lies on a turned pixel's edge, up to rounding, can fail every
// test (corner strictly inside, crossing within the square) and its share of the overlap
// is lost; at 45 degrees whole diagonals of output pixels would come out short.
constexpr double kBorderSlack = 1e-10;

bool InsideUnit(double v)
{
    return -kBorderSlack <= v && v <= 1 + kBorderSlack;
}

double ClampUnit(double v)
{
    return v < 0 ? 0 : (v > 1 ? 1 : v);
}

bool NearlySame(RotationPoint a, RotationPoint b)
{
    return std::fabs(a.x - b.x) <= kBorderSlack && std::fabs(a.y - b.y) <= kBorderSlack;
}

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
                     bool blend)
{
    const double fill[3] = {static_cast<double>((fillColour >> 16) & 0xFF),
                            static_cast<double>((fillColour >> 8) & 0xFF),
                            static_cast<double>(fillColour & 0xFF)};
    const int width = outImage.width();
    for (int y = 0; y < outImage.height(); ++y) {
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

bool ReferenceClip::IsInsideRotatedPixel(RotationPoint point, RotationPoint centre) const
{
    const double ex = point.x - centre.x;
    const double ey = point.y - centre.y;
    const double u = cosA_ * ex + cosA90_ * ey;
    const double v = cosA_ * ey - cosA90_ * ex;
    return std::fabs(u) < 0.5 && std::fabs(v) < 0.5;
}

void ReferenceClip::AddClipPoint(RotationPoint point)
{
    if (clipCount_ < kMaxPoints)
        clip_[clipCount_++] = {ClampUnit(point.x), ClampUnit(point.y)};
}

// Where edge p-q enters or leaves the unit square. A turned unit edge is never longer
// than the square is wide, so it can straddle x = 0 or x = 1 but not both (and the same
// for y); only the first straddled line is tried.
void ReferenceClip::AddEdgeCrossings(RotationPoint p, RotationPoint q)
{
    const double minX = std::fmin(p.x, q.x);
    const double maxX = std::fmax(p.x, q.x);
    if (minX < 0 && 0 < maxX) {
        const double y0 = p.y - p.x * (p.y - q.y) / (p.x - q.x);
        if (InsideUnit(y0))
            AddClipPoint({0, y0});
    } else if (minX < 1 && 1 < maxX) {
        const double y1 = p.y + (p.y - q.y) * (1 - p.x) / (p.x - q.x);
        if (InsideUnit(y1))
            AddClipPoint({1, y1});
    }

    const double minY = std::fmin(p.y, q.y);
    const double maxY = std::fmax(p.y, q.y);
    if (minY < 0 && 0 < maxY) {
        const double x0 = p.x - (p.x - q.x) * p.y / (p.y - q.y);
        if (InsideUnit(x0))
            AddClipPoint({x0, 0});
    } else if (minY < 1 && 1 < maxY) {
        const double x1 = p.x + (p.x - q.x) * (1 - p.y) / (p.y - q.y);
        if (InsideUnit(x1))
            AddClipPoint({x1, 1});
    }
}

void ReferenceClip::OrderClipPolygon()
{
    orderedCount_ = 0;
    const int n = clipCount_;
    if (n < 3)
        return;
    const RotationPoint pivot = clip_[0];
    // The clip polygon is convex and the pivot one of its corners, so "before the first
    // entry it turns clockwise to" sorts the others by angle around the pivot. A copy of
    // the pivot has no angle: placed between two corners it would drop the triangle they
    // span, so it is left out (it spans no area itself).
    for (int i = 1; i < n; ++i) {
        if (NearlySame(clip_[i], pivot))
            continue;
        const RotationPoint p{clip_[i].x - pivot.x, clip_[i].y - pivot.y};
        int at = orderedCount_;
        for (int k = 0; k < orderedCount_; ++k) {
            if (p.x * ordered_[k].y - p.y * ordered_[k].x < 0) {
                at = k;
                break;
            }
        }
        for (int k = orderedCount_; k > at; --k)
            ordered_[k] = ordered_[k - 1];
        ordered_[at] = p;
        ++orderedCount_;
    }
}

double ReferenceClip::PolygonArea() const
{
    if (orderedCount_ < 2)
        return 0;
    double twice = 0;
    for (int k = 1; k < orderedCount_; ++k)
        twice += ordered_[k - 1].x * ordered_[k].y - ordered_[k].x * ordered_[k - 1].y;
    return std::fabs(twice) / 2;
}

double ReferenceClip::PixelOverlapArea(const std::array<RotationPoint, 4>& quad,
                                       RotationPoint centre)
{
    clipCount_ = 0;
    orderedCount_ = 0;
    for (int k = 0; k < 4; ++k) {
        const RotationPoint p = quad[k];
        const RotationPoint q = quad[(k + 1) % 4];
        if (InsideUnit(p.x) && InsideUnit(p.y))
            AddClipPoint(p);
        if (IsInsideRotatedPixel(kUnitSquare[k], centre))
            AddClipPoint(kUnitSquare[k]);
        AddEdgeCrossings(p, q);
    }
    OrderClipPolygon();
    return PolygonArea();
}

void AccumulateCoverage(const Image& source, const Image& sourceMask, const RotationGeometry& g,
                        std::span<CoverageCell> grid, Image& outMask)
{
    ReferenceClip clip(g.cosA, g.cosA90);
    const double hw = source.width() * 0.5;
    const double hh = source.height() * 0.5;
    const int d = g.quadrant;
    auto turn = [&g](double u, double v) {
        return RotationPoint{u * g.cosA - v * g.cosA90 + g.halfWidth,
                             u * g.cosA90 + v * g.cosA + g.halfHeight};
    };

    for (int j = 0; j < source.height(); ++j) {
        for (int i = 0; i < source.width(); ++i) {
            const double dx = i - hw;
            const double dy = j - hh;
            const std::array<RotationPoint, 4> corners{turn(dx, dy), turn(dx + 1, dy),
                                                       turn(dx + 1, dy + 1), turn(dx, dy + 1)};
            RotationPoint centre{0, 0};
            for (const RotationPoint& c : corners) {
                centre.x += 0.25 * c.x;
                centre.y += 0.25 * c.y;
            }

            // In quadrant d, corner d has the least x, d+1 the least y, d+2 the greatest x
            // and d+3 the greatest y.
            const int x0 = ClampIndex(static_cast<int>(corners[d].x), g.width);
            const int x1 = ClampIndex(TolerantCeiling(corners[(d + 2) % 4].x), g.width);
            const int y0 = ClampIndex(static_cast<int>(corners[(d + 1) % 4].y), g.height);
            const int y1 = ClampIndex(TolerantCeiling(corners[(d + 3) % 4].y), g.height);

            const std::uint8_t* pixel = source.pixel(i, j);
            const std::uint8_t maskValue = sourceMask.pixel(i, j)[0];
            for (int y = y0; y < y1; ++y) {
                for (int x = x0; x < x1; ++x) {
                    std::array<RotationPoint, 4> quad;
                    for (int k = 0; k < 4; ++k)
                        quad[k] = {corners[k].x - x, corners[k].y - y};
                    const double area = clip.PixelOverlapArea(quad, {centre.x - x, centre.y - y});
                    if (area == 0)
                        continue;
                    CoverageCell& cell = grid[static_cast<std::size_t>(y) * g.width + x];
                    for (int k = 0; k < 3; ++k)
                        cell.sum[k] += area * pixel[k];
                    cell.area += area;
                    outMask.pixel(x, y)[0] = maskValue;
                }
            }
        }
    }
}

int RotateImage(const Image& source, const Image* sourceMask, ImagePtr* outImage, ImagePtr* outMask,
                double angle, std::uint32_t fillColour, bool blend)
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

    reference::AccumulateCoverage(source, *sourceMask, geometry, grid, *mask);
    ResolveCoverage(grid, *image, fillColour, blend);

    if (outImage)
        *outImage = std::move(image);
    if (outMask)
        *outMask = std::move(mask);
    return 1;
}

}  // namespace reference
