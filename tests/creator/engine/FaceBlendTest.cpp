#include "creator/engine/FaceBlend.h"

#include <gtest/gtest.h>

namespace {

ImagePtr Filled(int w, int h, int channels, int value)
{
    ImagePtr image = Image::Create(w, h, channels);
    image->fullMat().setTo(cv::Scalar::all(value));
    return image;
}

int Blue(const Image& image, int x, int y)
{
    return image.pixel(x, y)[0];
}

bool AllBytesAre(const Image& image, int value)
{
    return cv::countNonZero(image.fullMat().reshape(1) != value) == 0;
}

}  // namespace

TEST(FaceBlend, EmptyMaskLeavesTheDestination)
{
    auto destination = Filled(8, 8, 3, 7);
    BlendFaceIntoFrame(*Filled(4, 4, 3, 200), *destination, *Filled(4, 4, 1, 0), 2, 2, 4, 4);
    EXPECT_TRUE(AllBytesAre(*destination, 7));
}

TEST(FaceBlend, SolidThreeByThreeCopiesOnlyItsCentre)
{
    auto source = Filled(3, 3, 3, 250);
    auto destination = Filled(10, 10, 3, 0);
    auto mask = Filled(3, 3, 1, 1);
    BlendFaceIntoFrame(*source, *destination, *mask, 4, 4, 3, 3);
    EXPECT_EQ(Blue(*destination, 5, 5), 250);
    EXPECT_EQ(Blue(*destination, 4, 4), 90);  // 9 x 250 / 25: the ring pixels are averaged
    EXPECT_EQ(Blue(*destination, 6, 5), 90);
    EXPECT_EQ(Blue(*destination, 7, 5), 0);
}

TEST(FaceBlend, RoundsTheAverageToNearest)
{
    // One set pixel amid 24 destination pixels of 47: sums 1137 and 1138.
    for (const auto& [sourceValue, expected] : {std::pair{9, 45}, std::pair{10, 46}}) {
        auto source = Filled(1, 1, 3, sourceValue);
        auto destination = Filled(9, 9, 3, 47);
        auto mask = Filled(1, 1, 1, 255);
        BlendFaceIntoFrame(*source, *destination, *mask, 4, 4, 1, 1);
        EXPECT_EQ(Blue(*destination, 4, 4), expected);
        EXPECT_EQ(destination->pixel(4, 4)[2], expected);
    }
}

TEST(FaceBlend, NeverWritesTheLastColumnOrRow)
{
    auto source = Filled(6, 6, 3, 100);
    auto mask = Filled(6, 6, 1, 1);
    auto destination = Filled(10, 10, 3, 0);
    BlendFaceIntoFrame(*source, *destination, *mask, 4, 4, 6, 6);  // x + w = W
    EXPECT_EQ(Blue(*destination, 7, 6), 100);
    EXPECT_NE(Blue(*destination, 8, 6), 0);
    EXPECT_EQ(Blue(*destination, 9, 6), 0);
    EXPECT_EQ(Blue(*destination, 6, 9), 0);

    auto shorter = Filled(10, 10, 3, 0);
    BlendFaceIntoFrame(*source, *shorter, *mask, 3, 3, 6, 6);  // x + w = W - 1
    EXPECT_NE(Blue(*shorter, 8, 5), 0);
    EXPECT_EQ(Blue(*shorter, 9, 5), 0);
}

TEST(FaceBlend, ClipsAtTheLeftAndAveragesClippedWindows)
{
    auto source = Image::Create(8, 8, 3);
    for (int x = 0; x < 8; ++x)
        source->fullMat().col(x).setTo(cv::Scalar::all(10 * x));
    auto mask = Filled(8, 8, 1, 1);
    auto destination = Filled(10, 10, 3, 0);
    BlendFaceIntoFrame(*source, *destination, *mask, -3, 0, 8, 8);
    EXPECT_EQ(Blue(*destination, 0, 3), 30);  // source column 3, an inner pixel
    EXPECT_EQ(Blue(*destination, 1, 3), 40);

    // Corner (0, 0): a 3 x 3 window, 4 drawn pixels of 90 and 5 of 0.
    auto corner = Filled(2, 2, 3, 90);
    auto cornerMask = Filled(2, 2, 1, 1);
    auto target = Filled(10, 10, 3, 0);
    BlendFaceIntoFrame(*corner, *target, *cornerMask, 0, 0, 2, 2);
    EXPECT_EQ(Blue(*target, 0, 0), 40);
}

TEST(FaceBlend, RefusesPicturesOfDifferentChannelCounts)
{
    auto grey = Filled(4, 4, 1, 200);
    auto mask = Filled(4, 4, 1, 1);
    auto colour = Filled(8, 8, 3, 7);
    BlendFaceIntoFrame(*grey, *colour, *mask, 0, 0, 4, 4);
    EXPECT_TRUE(AllBytesAre(*colour, 7));

    auto greyTarget = Filled(8, 8, 1, 7);
    BlendFaceIntoFrame(*grey, *greyTarget, *mask, 2, 2, 4, 4);
    EXPECT_EQ(greyTarget->pixel(3, 3)[0], 200);

    auto small = Filled(2, 2, 1, 1);
    BlendFaceIntoFrame(*colour, *colour, *small, 0, 0, 4, 4);  // mask smaller than w x h
    EXPECT_TRUE(AllBytesAre(*colour, 7));
}

TEST(IsEdgePixel, LooksAtTheRingAndTheEightNeighbours)
{
    auto mask = Filled(5, 5, 1, 1);
    EXPECT_TRUE(IsEdgePixel(*mask, 0, 2));
    EXPECT_TRUE(IsEdgePixel(*mask, 2, 4));
    EXPECT_TRUE(IsEdgePixel(*mask, -1, 2));
    EXPECT_FALSE(IsEdgePixel(*mask, 2, 2));
    mask->pixel(2, 2)[0] = 0;  // its own value does not count
    EXPECT_FALSE(IsEdgePixel(*mask, 2, 2));
    mask->pixel(3, 3)[0] = 0;  // a diagonal neighbour does
    EXPECT_TRUE(IsEdgePixel(*mask, 2, 2));
}
