#include "creator/engine/ImageRotation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

namespace {

// A picture whose every pixel tells where it came from: byte 0 = column, byte 1 = row,
// byte 2 = a mix of both; its mask numbers the pixels as well (never 0).
ImagePtr CodedPicture(int width, int height)
{
    auto image = Image::Create(width, height, 3);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            std::uint8_t* p = image->pixel(x, y);
            p[0] = static_cast<std::uint8_t>(x);
            p[1] = static_cast<std::uint8_t>(y);
            p[2] = static_cast<std::uint8_t>(3 * x + 7 * y);
        }
    return image;
}

ImagePtr CodedMask(int width, int height)
{
    auto mask = Image::Create(width, height, 1);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            mask->pixel(x, y)[0] = static_cast<std::uint8_t>(1 + (x + width * y) % 255);
    return mask;
}

ImagePtr Uniform(int width, int height, int channels, std::uint8_t value)
{
    auto image = Image::Create(width, height, channels);
    image->fullMat().setTo(cv::Scalar::all(value));
    return image;
}

bool SamePixel(const Image& a, int ax, int ay, const Image& b, int bx, int by)
{
    for (int c = 0; c < a.channels(); ++c)
        if (a.pixel(ax, ay)[c] != b.pixel(bx, by)[c])
            return false;
    return true;
}

std::vector<CoverageCell> Coverage(int width, int height, double angle, RotationGeometry& g)
{
    auto source = Uniform(width, height, 3, 100);
    auto mask = Uniform(width, height, 1, 255);
    EXPECT_TRUE(MakeRotationGeometry(width, height, angle, g));
    std::vector<CoverageCell> grid(static_cast<std::size_t>(g.width) * g.height);
    auto outMask = Image::Create(g.width, g.height, 1);
    AccumulateCoverage(*source, *mask, g, grid, *outMask);
    return grid;
}

// Whether the output pixel's square lies wholly inside the turned picture, with a margin
// against rounding: its four corners, turned back, fall inside the source rectangle.
bool CellInsideTurnedPicture(const RotationGeometry& g, int width, int height, int x, int y)
{
    const double sine = -g.cosA90;
    for (int k = 0; k < 4; ++k) {
        const double px = x + (k == 1 || k == 2) - g.halfWidth;
        const double py = y + (k >= 2) - g.halfHeight;
        const double u = px * g.cosA - py * sine;
        const double v = px * sine + py * g.cosA;
        if (std::fabs(u) > width * 0.5 - 1e-6 || std::fabs(v) > height * 0.5 - 1e-6)
            return false;
    }
    return true;
}

}  // namespace

TEST(CosDegrees, IsExactAtMultiplesOfThirtyAndUsesTheShortPiElsewhere)
{
    EXPECT_EQ(CosDegrees(90), 0.0);
    EXPECT_EQ(CosDegrees(180), -1.0);
    EXPECT_EQ(CosDegrees(450), 0.0);
    EXPECT_EQ(CosDegrees(210), -0.866025403784439);
    EXPECT_EQ(CosDegrees(120.00000001), -0.5);
    EXPECT_EQ(CosDegrees(45), std::cos(45 * 3.14159265358979 / 180));
    EXPECT_EQ(CosDegrees(-60), 0.5);
}

TEST(RotationGeometry, FoldsAnglesAndSizesTheTurnedPicture)
{
    RotationGeometry g;
    ASSERT_TRUE(MakeRotationGeometry(100, 100, 45, g));
    EXPECT_EQ(g.width, 142);
    EXPECT_EQ(g.height, 142);
    EXPECT_NEAR(2 * g.halfWidth, 141.42135, 1e-4);
    EXPECT_EQ(g.cosA90, std::cos(135 * 3.14159265358979 / 180));

    ASSERT_TRUE(MakeRotationGeometry(40, 30, -90, g));
    EXPECT_EQ(g.angle, 270);
    EXPECT_EQ(g.quadrant, 3);
    EXPECT_EQ(g.width, 30);
    EXPECT_EQ(g.height, 40);

    ASSERT_TRUE(MakeRotationGeometry(40, 30, -360, g));
    EXPECT_EQ(g.angle, 360);
    EXPECT_EQ(g.quadrant, 0);
    EXPECT_EQ(g.width, 40);

    ASSERT_TRUE(MakeRotationGeometry(40, 30, -0.5, g));
    EXPECT_EQ(g.angle, 359.5);

    EXPECT_FALSE(MakeRotationGeometry(40, 30, std::nan(""), g));
    EXPECT_FALSE(MakeRotationGeometry(0, 30, 10, g));
}

TEST(RotateImage, QuarterTurnsMapPixelsOneToOne)
{
    const int width = 6;
    const int height = 4;
    auto source = CodedPicture(width, height);
    auto mask = CodedMask(width, height);
    ImagePtr same, sameMask, turned90, mask90, turned270, mask270;
    ASSERT_EQ(RotateImage(*source, mask.get(), &same, &sameMask, -360, 0xFFFFFF, false), 1);
    ASSERT_EQ(RotateImage(*source, mask.get(), &turned90, &mask90, 90, 0, false), 1);
    ASSERT_EQ(RotateImage(*source, mask.get(), &turned270, &mask270, -90, 0, false), 1);
    EXPECT_EQ(cv::norm(same->mat(), source->mat(), cv::NORM_INF), 0.0);
    EXPECT_EQ(cv::norm(sameMask->mat(), mask->mat(), cv::NORM_INF), 0.0);
    ASSERT_EQ(turned90->width(), height);
    ASSERT_EQ(turned90->height(), width);
    ASSERT_EQ(turned270->width(), height);
    for (int j = 0; j < height; ++j)
        for (int i = 0; i < width; ++i) {
            EXPECT_TRUE(SamePixel(*turned90, j, width - 1 - i, *source, i, j)) << i << "," << j;
            EXPECT_TRUE(SamePixel(*mask90, j, width - 1 - i, *mask, i, j));
            EXPECT_TRUE(SamePixel(*turned270, height - 1 - j, i, *source, i, j));
            EXPECT_TRUE(SamePixel(*mask270, height - 1 - j, i, *mask, i, j));
        }
}

TEST(RotateImage, CoveredAreaIsOneInsideTheTurnedPictureAndNeverAboveOne)
{
    const cv::Size sizes[] = {{23, 17}, {16, 10}, {10, 10}, {64, 64}};
    for (const cv::Size size : sizes) {
        for (double angle = -180; angle <= 360; angle += 2.5) {
            RotationGeometry g;
            const std::vector<CoverageCell> grid = Coverage(size.width, size.height, angle, g);
            int inside = 0;
            double total = 0;
            for (int y = 0; y < g.height; ++y)
                for (int x = 0; x < g.width; ++x) {
                    const CoverageCell& cell = grid[static_cast<std::size_t>(y) * g.width + x];
                    ASSERT_LE(cell.area, 1 + 1e-9) << angle << " at " << x << "," << y;
                    total += cell.area;
                    if (CellInsideTurnedPicture(g, size.width, size.height, x, y)) {
                        ++inside;
                        ASSERT_NEAR(cell.area, 1, 1e-9) << angle << " at " << x << "," << y;
                        ASSERT_NEAR(cell.sum[0], 100, 1e-7);
                    }
                }
            // Every source pixel hands out exactly its own unit of area.
            EXPECT_NEAR(total, size.area(), 1e-6) << angle;
            EXPECT_GT(inside, size.area() / 3) << angle;
        }
    }
}

TEST(RotateImage, UncoveredPixelsTakeTheFillAndBlendingMixesItIn)
{
    auto source = Uniform(100, 100, 3, 200);
    auto mask = Uniform(100, 100, 1, 255);
    ImagePtr plain, plainMask, blended;
    ASSERT_EQ(RotateImage(*source, mask.get(), &plain, &plainMask, 45, 0x102030, false), 1);
    ASSERT_EQ(RotateImage(*source, mask.get(), &blended, nullptr, 45, 0x000000, true), 1);
    ASSERT_EQ(plain->width(), 142);
    EXPECT_EQ(plain->pixel(0, 0)[0], 0x10);
    EXPECT_EQ(plain->pixel(0, 0)[1], 0x20);
    EXPECT_EQ(plain->pixel(141, 141)[2], 0x30);
    EXPECT_EQ(plainMask->pixel(0, 0)[0], 0);

    RotationGeometry g;
    const std::vector<CoverageCell> grid = Coverage(100, 100, 45, g);
    int partial = 0;
    for (int y = 0; y < g.height; ++y)
        for (int x = 0; x < g.width; ++x) {
            const double area = grid[static_cast<std::size_t>(y) * g.width + x].area;
            if (area == 0)
                continue;
            // Without blending a partly covered pixel is the mean of what covers it; with
            // it the black fill takes the uncovered share.
            EXPECT_EQ(plain->pixel(x, y)[0], 200);
            EXPECT_EQ(plainMask->pixel(x, y)[0], 255);
            EXPECT_EQ(blended->pixel(x, y)[0], static_cast<int>(200 * area + 0.5)) << x << "," << y;
            partial += area < 0.95;
        }
    EXPECT_GT(partial, 100);
}

TEST(RotateImage, RefusesMissingOrUndersizedMasks)
{
    auto source = CodedPicture(6, 4);
    auto smallMask = Uniform(5, 4, 1, 255);
    ImagePtr image = Uniform(1, 1, 3, 1);
    Image* before = image.get();
    EXPECT_EQ(RotateImage(*source, nullptr, &image, nullptr, 30, 0, false), 0);
    EXPECT_EQ(RotateImage(*source, smallMask.get(), &image, nullptr, 30, 0, false), 0);
    EXPECT_EQ(image.get(), before);
}
