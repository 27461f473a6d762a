#include "creator/engine/RotationClip.h"

#include <cmath>
#include <utility>

namespace {

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

// The clip points of one overlap, in the order they are found.
struct ClipPoints {
    // Four corners, four square corners and eight crossings at most.
    static constexpr int kMost = 16;
    RotationPoint points[kMost];
    int count = 0;

    void Add(double x, double y)
    {
        if (count < kMost)
            points[count++] = {ClampUnit(x), ClampUnit(y)};
    }
};

// Where edge p-q enters or leaves the unit square. A turned unit edge is never longer
// than the square is wide, so it can straddle x = 0 or x = 1 but not both (and the same
// for y); only the first straddled line is tried. No NaN arises here, so plain
// comparisons give the least and the greatest coordinate.
void AddEdgeCrossings(RotationPoint p, RotationPoint q, ClipPoints& clip)
{
    const double minX = p.x < q.x ? p.x : q.x;
    const double maxX = p.x < q.x ? q.x : p.x;
    if (minX < 0 && 0 < maxX) {
        const double y0 = p.y - p.x * (p.y - q.y) / (p.x - q.x);
        if (InsideUnit(y0))
            clip.Add(0, y0);
    } else if (minX < 1 && 1 < maxX) {
        const double y1 = p.y + (p.y - q.y) * (1 - p.x) / (p.x - q.x);
        if (InsideUnit(y1))
            clip.Add(1, y1);
    }
    const double minY = p.y < q.y ? p.y : q.y;
    const double maxY = p.y < q.y ? q.y : p.y;
    if (minY < 0 && 0 < maxY) {
        const double x0 = p.x - (p.x - q.x) * p.y / (p.y - q.y);
        if (InsideUnit(x0))
            clip.Add(x0, 0);
    } else if (minY < 1 && 1 < maxY) {
        const double x1 = p.x + (p.x - q.x) * (1 - p.y) / (p.y - q.y);
        if (InsideUnit(x1))
            clip.Add(x1, 1);
    }
}

// The area of the clip polygon. It is convex and its first point one of its corners, so
// "before the first entry it turns clockwise to" orders the others by angle around that
// pivot, as a fan. A copy of the pivot has no angle: placed between two corners it would
// drop the triangle they span, so it is left out (it spans no area itself).
double ClipArea(const ClipPoints& clip)
{
    const int n = clip.count;
    if (n < 3)
        return 0;
    const RotationPoint pivot = clip.points[0];
    RotationPoint ordered[ClipPoints::kMost];
    int count = 0;
    for (int i = 1; i < n; ++i) {
        if (NearlySame(clip.points[i], pivot))
            continue;
        const RotationPoint p{clip.points[i].x - pivot.x, clip.points[i].y - pivot.y};
        int at = count;
        for (int k = 0; k < count; ++k) {
            if (p.x * ordered[k].y - p.y * ordered[k].x < 0) {
                at = k;
                break;
            }
        }
        // Insert at `at`, the later entries moving up one by one.
        RotationPoint carry = p;
        for (int k = at; k < count; ++k)
            std::swap(carry, ordered[k]);
        ordered[count++] = carry;
    }
    if (count < 2)
        return 0;
    double twice = 0;
    for (int k = 1; k < count; ++k)
        twice += ordered[k - 1].x * ordered[k].y - ordered[k].x * ordered[k - 1].y;
    return std::fabs(twice) / 2;
}

}  // namespace

double RotationClip::PixelOverlapArea(const std::array<RotationPoint, 4>& quad,
                                      RotationPoint centre) const
{
    // Whether the unit square's corners lie inside the turned pixel: the offsets of the
    // corners from the centre take two values per axis, so their products are made once.
    const double ex[2] = {0.0 - centre.x, 1.0 - centre.x};
    const double ey[2] = {0.0 - centre.y, 1.0 - centre.y};
    const double aex[2] = {cosA_ * ex[0], cosA_ * ex[1]};
    const double bey[2] = {cosA90_ * ey[0], cosA90_ * ey[1]};
    const double aey[2] = {cosA_ * ey[0], cosA_ * ey[1]};
    const double bex[2] = {cosA90_ * ex[0], cosA90_ * ex[1]};
    auto cornerInside = [&](int i, int j) {
        const double u = aex[i] + bey[j];
        const double v = aey[j] - bex[i];
        return std::fabs(u) < 0.5 && std::fabs(v) < 0.5;
    };
    ClipPoints clip;
    auto edge = [&](RotationPoint p, RotationPoint q, int i, int j) {
        if (InsideUnit(p.x) && InsideUnit(p.y))
            clip.Add(p.x, p.y);
        if (cornerInside(i, j))
            clip.Add(i, j);
        AddEdgeCrossings(p, q, clip);
    };
    // Corner k of the unit square with edge k of the turned pixel, in the order (0, 0),
    // (1, 0), (1, 1), (0, 1).
    edge(quad[0], quad[1], 0, 0);
    edge(quad[1], quad[2], 1, 0);
    edge(quad[2], quad[3], 1, 1);
    edge(quad[3], quad[0], 0, 1);
    return ClipArea(clip);
}
