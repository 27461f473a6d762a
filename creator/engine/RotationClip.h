#pragma once

#include <array>

// A point in the frame of one output pixel, whose unit square is [0, 1] x [0, 1].
struct RotationPoint {
    double x;
    double y;
};

// The clip work of one rotation: intersects one turned source pixel with the unit square
// [0, 1] x [0, 1] of the output pixel it is expressed against.
class RotationClip {
public:
    RotationClip(double cosA, double cosA90) : cosA_(cosA), cosA90_(cosA90) {}

    // quad: the turned pixel's corners in order, relative to the output pixel; centre: its
    // centre in the same frame. Gives the overlap area, 0 to 1. A corner of the square on
    // the turned pixel's border counts as outside it.
    double PixelOverlapArea(const std::array<RotationPoint, 4>& quad, RotationPoint centre) const;

private:
    double cosA_;
    double cosA90_;
};
