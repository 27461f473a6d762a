#include "media/image/RectOps.h"

#include <gtest/gtest.h>

TEST(MaxRect, KeepsAnEmptyRectangleInTheUnion)
{
    EXPECT_EQ(MaxRect(cv::Rect(5, 5, 0, 0), cv::Rect(0, 0, 2, 2)), cv::Rect(0, 0, 5, 5));
    EXPECT_EQ(MaxRect(cv::Rect(1, 2, 3, 4), cv::Rect(2, 1, 5, 1)), cv::Rect(1, 1, 6, 5));
}

TEST(BoundingRectOfMask, CoversTheNonZeroPixels)
{
    auto mask = Image::Create(8, 6, 1);
    EXPECT_EQ(BoundingRectOfMask(*mask), cv::Rect(0, 0, 0, 0));
    mask->pixel(2, 1)[0] = 1;
    mask->pixel(5, 4)[0] = 255;
    EXPECT_EQ(BoundingRectOfMask(*mask), cv::Rect(2, 1, 4, 4));
    mask->setRoi(cv::Rect(3, 2, 5, 4));
    EXPECT_EQ(BoundingRectOfMask(*mask), cv::Rect(2, 2, 1, 1));
}

TEST(BoundingRectOfMask, ViewWhosePixelsLieInItsFirstColumnsKeepsItsFullWidth)
{
    // A region of interest that does not start on a 4-byte column, as the region search
    // sets on its fill masks.
    auto mask = Image::Create(12, 8, 1);
    mask->setRoi(cv::Rect(1, 1, 6, 5));
    mask->pixel(1, 2)[0] = 1;
    mask->pixel(3, 2)[0] = 1;
    EXPECT_EQ(BoundingRectOfMask(*mask), cv::Rect(0, 1, 3, 1));
    mask->pixel(2, 4)[0] = 1;
    EXPECT_EQ(BoundingRectOfMask(*mask), cv::Rect(0, 1, 3, 3));
}
