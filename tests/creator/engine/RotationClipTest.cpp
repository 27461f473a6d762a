#include "creator/engine/RotationClip.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

TEST(RotationClip, CornerOfATurnedPixelGivesItsTriangle)
{
    // A pixel turned by 45 degrees whose corner (0.5, 0.5) pokes 0.5 across y = 0 into the
    // unit square: the part inside is a right triangle with legs 0.5 x sqrt 2, area 0.25.
    const double c = std::cos(45 * 3.14159265358979 / 180);
    RotationClip clip(c, -c);
    const double r = std::sqrt(0.5);
    const RotationPoint centre{0.5, 0.5 - r};
    const std::array<RotationPoint, 4> quad{
        {{0.5, 0.5}, {0.5 - r, 0.5 - r}, {0.5, 0.5 - 2 * r}, {0.5 + r, 0.5 - r}}};
    EXPECT_NEAR(clip.PixelOverlapArea(quad, centre), 0.25, 1e-12);
}
