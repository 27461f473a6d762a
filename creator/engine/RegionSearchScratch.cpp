#include "creator/engine/RegionSearchScratch.h"

#include "creator/engine/RegionSearchMasks.h"

bool RegionSearchScratch::Fits(int width, int height) const
{
    return valid() && IsFillMaskOf(holeUnion.image(), width, height) &&
           IsFillMaskOf(holes.fill.image(), width, height);
}
