#pragma once

#include "creator/engine/ReusedMask.h"

// The hole fill and hole visited masks that MeasureRegion reuses from region to region,
// both (W + 2) x (H + 2) for a W x H picture.
struct HoleScratch {
    HoleScratch(int width, int height)
        : fill(width + 2, height + 2, true), visited(width + 2, height + 2, false)
    {}
    bool valid() const { return fill.valid() && visited.valid(); }

    ReusedMask fill;
    ReusedMask visited;
};

// What FindBestRegion needs besides the masks it is given, for one picture size: the
// union of a region's holes and MeasureRegion's masks. A caller that searches frame after
// frame keeps one, so that they are made once; every use clears only what the last one
// wrote.
struct RegionSearchScratch {
    RegionSearchScratch(int width, int height)
        : holeUnion(width + 2, height + 2, false), holes(width, height)
    {}
    bool valid() const { return holeUnion.valid() && holes.valid(); }
    // Made for a width x height picture.
    bool Fits(int width, int height) const;

    ReusedMask holeUnion;
    HoleScratch holes;
};
