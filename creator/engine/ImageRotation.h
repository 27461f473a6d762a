#pragma once

#include "media/image/Image.h"

#include <cstdint>
#include <span>

class RowWorkers;

// Turning a face picture and its mask by any angle without interpolation blur: every
// source pixel is a unit square, turned and intersected exactly with the output pixel
// squares it touches; the intersection areas are the weights of an area-weighted mean.
// The rotated face set turns its faces with this once per creation, while the user waits
// for the creation to open. Every call keeps its working state to itself, so rotations
// may run on several threads at once.

// The cosine of an angle in degrees, exact at multiples of 30 degrees so that quarter
// turns map pixels one to one. Negative angles give the cosine of their magnitude.
double CosDegrees(double angle);

// Everything that follows from the source size and the angle.
struct RotationGeometry {
    double angle = 0;      // folded into [0, 360) or, for negative angles, (0, 360]
    double cosA = 1;       // CosDegrees(angle)
    double cosA90 = 0;     // CosDegrees(angle + 90), minus the sine
    int quadrant = 0;      // 0 for [0, 90), 1 for [90, 180), 2, 3; 360 counts as 0
    double halfWidth = 0;  // of the turned picture
    double halfHeight = 0;
    int width = 0;  // output size: tolerant ceilings of twice the halves
    int height = 0;
};

// False for a source without area, a non-finite angle or one beyond +-1e9 degrees, or an
// output too large to address.
bool MakeRotationGeometry(int sourceWidth, int sourceHeight, double angle,
                          RotationGeometry& geometry);

// One output pixel's share of the source: area-weighted channel sums and covered area.
struct CoverageCell {
    double sum[3] = {0, 0, 0};
    double area = 0;
};

// The coverage pass. source: 3 channels with pixels; sourceMask: 1 channel, at least the
// source's size, pixel (i, j) belongs to source pixel (i, j); both are read as whole
// pictures, regions of interest aside. grid: geometry.width x geometry.height cells in row
// order, zeroed by the caller. outMask: 1 channel of the geometry's size, zeroed by the
// caller; each pixel receives the mask value of the last source pixel, in scan order, that
// overlaps it.
void AccumulateCoverage(const Image& source, const Image& sourceMask,
                        const RotationGeometry& geometry, std::span<CoverageCell> grid,
                        Image& outMask);

// Turns source and sourceMask by angle degrees into a new picture and mask just large
// enough for the turned picture.
// source:     8 bits, 3 channels (bytes 0, 1, 2 are turned), with pixels; whole picture.
// sourceMask: required; 8 bits, 1 channel, at least as wide and high as the source.
// outImage, outMask: optional places; on success each given place receives its new image
//            (the caller owns it; origin as the source's); on failure neither is touched.
// fillColour: bits 16-23 for byte 0, 8-15 for byte 1, 0-7 for byte 2; given to output
//            pixels that no source pixel covers.
// blend:     partly covered pixels mix in the fill colour for their uncovered share;
//            otherwise they take the mean of what covers them.
// workers:  optional; the output rows are then shared among its threads (each output pixel
//            still sums its shares in the same order, so the bytes are the same).
// Gives 1 on success, 0 when an argument breaks the rules above or memory runs out.
int RotateImage(const Image& source, const Image* sourceMask, ImagePtr* outImage, ImagePtr* outMask,
                double angle, std::uint32_t fillColour, bool blend, RowWorkers* workers = nullptr);
