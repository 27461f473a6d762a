#include "media/image/BilateralSmooth.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

void Fill(Image& image, std::uint8_t b, std::uint8_t g, std::uint8_t r)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            std::uint8_t* p = image.pixel(x, y);
            p[0] = b;
            p[1] = g;
            p[2] = r;
        }
}

void Set(Image& image, int x, int y, std::uint8_t b, std::uint8_t g, std::uint8_t r)
{
    std::uint8_t* p = image.pixel(x, y);
    p[0] = b;
    p[1] = g;
    p[2] = r;
}

// 3 x 3 grey 100 with the centre (120, 120, 100): the centre differs by 20 in two
// channels, a squared colour distance of 800 taken over the channels together.
ImagePtr SpotPicture()
{
    auto image = Image::Create(3, 3, 3);
    Fill(*image, 100, 100, 100);
    Set(*image, 1, 1, 120, 120, 100);
    return image;
}

}  // namespace

TEST(SmoothBilateral, CentreUsesOneWeightPerNeighbourFromTheJointColourDistance)
{
    auto source = SpotPicture();
    auto result = Image::Create(3, 3, 3);
    ASSERT_TRUE(SmoothBilateral(*source, *result, 50, 5));
    // Side neighbours: t = 1/25 + 800/2500 = 0.36, w = 1/(0.36^2 + 1) = 0.885269;
    // diagonals: t = 2/25 + 0.32 = 0.40, w = 0.862069; total weight 7.989352.
    // Channel 0: (120 + 100 x 6.989352) / 7.989352 = 102.503 -> 103; channel 2 stays 100.
    const std::uint8_t* centre = result->pixel(1, 1);
    EXPECT_EQ(centre[0], 103);
    EXPECT_EQ(centre[1], 103);
    EXPECT_EQ(centre[2], 100);
}

TEST(SmoothBilateral, OuterRingUsesOnlyTheNeighboursInsideThePicture)
{
    auto source = SpotPicture();
    auto result = Image::Create(3, 3, 3);
    ASSERT_TRUE(SmoothBilateral(*source, *result, 50, 5));
    // Corner (0, 0): two side neighbours of its own colour (w = 1/(0.04^2 + 1) = 0.998403)
    // and the spot on its diagonal (w = 0.862069): (100 + 199.681 + 103.448) / 3.858875
    // = 104.468 -> 104.
    EXPECT_EQ(result->pixel(0, 0)[0], 104);
    EXPECT_EQ(result->pixel(2, 2)[1], 104);
    EXPECT_EQ(result->pixel(0, 0)[2], 100);
    // Edge (1, 0): two sides and two diagonals of its colour, the spot below it (0.885269):
    // 103.017 -> 103.
    EXPECT_EQ(result->pixel(1, 0)[0], 103);
    EXPECT_EQ(result->pixel(0, 1)[1], 103);
}

TEST(SmoothBilateral, StrongEdgesStayAndFlatAreasStayFlat)
{
    auto source = Image::Create(6, 4, 3);
    Fill(*source, 10, 20, 30);
    for (int y = 0; y < 4; ++y)
        for (int x = 3; x < 6; ++x)
            Set(*source, x, y, 250, 240, 230);
    auto result = Image::Create(6, 4, 3);
    ASSERT_TRUE(SmoothBilateral(*source, *result, 50, 5));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
            for (int c = 0; c < 3; ++c)
                EXPECT_EQ(result->pixel(x, y)[c], source->pixel(x, y)[c]) << x << "," << y;
}

TEST(SmoothBilateral, SharedPixelsGiveTheSameResultAsASeparateDestination)
{
    auto source = Image::Create(5, 4, 3);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x)
            Set(*source, x, y, static_cast<std::uint8_t>(40 * x + 7 * y),
                static_cast<std::uint8_t>(90 + 9 * x), static_cast<std::uint8_t>(30 * y));
    auto separate = Image::Create(5, 4, 3);
    ASSERT_TRUE(SmoothBilateral(*source, *separate, 50, 5));
    ASSERT_TRUE(SmoothBilateral(*source, *source, 50, 5));
    EXPECT_EQ(cv::norm(source->mat(), separate->mat(), cv::NORM_INF), 0.0);
}

TEST(SmoothBilateral, SingleRowAndSingleChannelPicturesAreSmoothed)
{
    auto row = Image::Create(3, 1, 1);
    row->pixel(0, 0)[0] = 100;
    row->pixel(1, 0)[0] = 110;
    row->pixel(2, 0)[0] = 100;
    auto result = Image::Create(3, 1, 1);
    ASSERT_TRUE(SmoothBilateral(*row, *result, 50, 5));
    // Middle: two sides at distance 100: t = 0.04 + 0.04, w = 1/1.0064 = 0.993641;
    // (110 + 198.728) / 2.987282 = 103.347 -> 103.
    EXPECT_EQ(result->pixel(1, 0)[0], 103);
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
