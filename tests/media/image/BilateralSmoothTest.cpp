#include "media/image/BilateralSmooth.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

// 3 x 3 grey 100 with the centre (120, 120, 100): the centre differs by 20 in two
// channels, a squared colour distance of 800 taken over the channels together.
ImagePtr SpotPicture()
{
    auto image = Image::Create(3, 3, 3);
    image->fullMat().setTo(cv::Scalar::all(100));
    image->pixel(1, 1)[0] = 120;
    image->pixel(1, 1)[1] = 120;
    return image;
}

}  // namespace

TEST(SmoothBilateral, WeighsEachNeighbourByJointColourAndSpaceDistance)
{
    auto source = SpotPicture();
    auto result = Image::Create(3, 3, 3);
    ASSERT_TRUE(SmoothBilateral(*source, *result, 50, 5));
    // Centre: sides t = 1/25 + 800/2500 = 0.36, w = 1/(0.36^2 + 1) = 0.885269; diagonals
    // t = 0.40, w = 0.862069; (120 + 100 x 6.989352) / 7.989352 = 102.503 -> 103.
    EXPECT_EQ(result->pixel(1, 1)[0], 103);
    EXPECT_EQ(result->pixel(1, 1)[1], 103);
    EXPECT_EQ(result->pixel(1, 1)[2], 100);
    // The outer ring uses only the neighbours inside the picture. Corner (0, 0): two sides
    // of its colour (w = 1/(0.04^2 + 1) = 0.998403), the spot on its diagonal (0.862069):
    // 403.129 / 3.858875 = 104.468 -> 104. Edge (1, 0): four of its colour and the spot
    // below (0.885269): 103.017 -> 103.
    EXPECT_EQ(result->pixel(0, 0)[0], 104);
    EXPECT_EQ(result->pixel(2, 2)[1], 104);
    EXPECT_EQ(result->pixel(0, 0)[2], 100);
    EXPECT_EQ(result->pixel(1, 0)[0], 103);
    EXPECT_EQ(result->pixel(0, 1)[1], 103);
}

TEST(SmoothBilateral, PicturesOnePixelWideOrHighUseOnlyTheirOwnPixels)
{
    // Views inside a picture whose other pixels differ: nothing beyond a view may count.
    for (const cv::Rect& view :
         {cv::Rect(3, 3, 1, 1), cv::Rect(1, 3, 6, 1), cv::Rect(3, 1, 1, 6)}) {
        SCOPED_TRACE(::testing::PrintToString(view));
        auto picture = Image::Create(8, 8, 3);
        picture->fullMat().setTo(cv::Scalar::all(250));
        picture->fullMat()(view).setTo(cv::Scalar::all(100));
        picture->setRoi(view);
        auto result = Image::Create(view.width, view.height, 3);
        ASSERT_TRUE(SmoothBilateral(*picture, *result, 50, 5));
        EXPECT_EQ(cv::countNonZero(result->fullMat().reshape(1) != 100), 0);
    }
    // Two pixels 20 apart in blue: each weighs the other at 1 / ((1/25 + 400/2500)^2 + 1),
    // 0.961538, which gives 109.80 and 110.20, both 110.
    auto pair = Image::Create(2, 1, 3);
    pair->fullMat().setTo(cv::Scalar::all(100));
    pair->pixel(1, 0)[0] = 120;
    auto smoothed = Image::Create(2, 1, 3);
    ASSERT_TRUE(SmoothBilateral(*pair, *smoothed, 50, 5));
    EXPECT_EQ(smoothed->pixel(0, 0)[0], 110);
    EXPECT_EQ(smoothed->pixel(1, 0)[0], 110);
    EXPECT_EQ(smoothed->pixel(1, 0)[1], 100);
}

TEST(SmoothBilateral, SharedPixelsGiveTheSameResultAsASeparateDestination)
{
    auto source = Image::Create(5, 4, 3);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x)
            for (int c = 0; c < 3; ++c)
                source->pixel(x, y)[c] = static_cast<std::uint8_t>(37 * x + 11 * y + 50 * c);
    auto separate = Image::Create(5, 4, 3);
    ASSERT_TRUE(SmoothBilateral(*source, *separate, 50, 5));
    ASSERT_TRUE(SmoothBilateral(*source, *source, 50, 5));
    EXPECT_EQ(cv::norm(source->mat(), separate->mat(), cv::NORM_INF), 0.0);
}

TEST(SmoothBilateral, MismatchedPicturesAndNegativeSigmasAreRefused)
{
    auto source = SpotPicture();
    auto smaller = Image::Create(2, 3, 3);
    auto grey = Image::Create(3, 3, 1);
    auto result = Image::Create(3, 3, 3);
    EXPECT_FALSE(SmoothBilateral(*source, *smaller, 50, 5));
    EXPECT_FALSE(SmoothBilateral(*source, *grey, 50, 5));
    EXPECT_FALSE(SmoothBilateral(*source, *result, -1, 5));
    EXPECT_EQ(cv::countNonZero(result->fullMat().reshape(1)), 0);
}
