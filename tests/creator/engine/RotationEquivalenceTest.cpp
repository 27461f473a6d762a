// The exact-coverage rotation, made fast, against the one it replaced: the same coverage
// grid bit for bit, the same turned pictures and masks byte for byte.

#include "creator/engine/EquivalenceFrames.h"
#include "creator/engine/ImageRotation.h"
#include "creator/engine/RegionSearch.h"
#include "creator/engine/RotatedImageSet.h"
#include "creator/engine/reference/ReferenceSteps.h"
#include "media/image/RowWorkers.h"
#include "tools/SamplePictures.h"

#include <gtest/gtest.h>
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include <cstring>
#include <string>
#include <vector>

namespace {

struct Picture {
    std::string name;
    ImagePtr image;
    ImagePtr mask;
};

// The sample face cut out of its backdrop, as Open makes it, and pictures whose pixels
// all differ, with masks of many values.
std::vector<Picture> Pictures()
{
    std::vector<Picture> pictures;
    ImagePtr face = Image::FromMat(FacePicture());
    cv::Mat rows = face->fullMat();
    cv::flip(rows, rows, 0);
    Picture cut{"sample face", nullptr, nullptr};
    FindMarkedRegion(face.get(), nullptr, nullptr, nullptr, &cut.image, &cut.mask, nullptr, nullptr,
                     nullptr);
    pictures.push_back(std::move(cut));
    for (const cv::Size size : {cv::Size(37, 23), cv::Size(5, 61), cv::Size(1, 1)}) {
        Picture noise{"noise " + std::to_string(size.width) + " x " + std::to_string(size.height),
                      NoiseFrame(size.width, size.height, 13),
                      Image::Create(size.width, size.height, 1)};
        const ImagePtr values = NoiseFrame(size.width, size.height, 14);
        for (int y = 0; y < size.height; ++y)
            for (int x = 0; x < size.width; ++x)
                noise.mask->pixel(x, y)[0] = values->pixel(x, y)[0] | 1;
        pictures.push_back(std::move(noise));
    }
    return pictures;
}

bool SameGrid(const std::vector<CoverageCell>& a, const std::vector<CoverageCell>& b)
{
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof a[0]) == 0;
}

}  // namespace

TEST(RotationEquivalence, TurnedPicturesMasksAndCoverageEqualTheReference)
{
    std::vector<double> angles = {0, 90, 180, 270, -360, 45, 30, 123.4, -0.5, 359.9};
    for (int i = 1; i < 8; ++i)
        angles.push_back(-22.5 * i);
    RowWorkers workers(4);
    for (const Picture& picture : Pictures()) {
        ASSERT_TRUE(picture.image && picture.mask) << picture.name;
        for (const double angle : angles) {
            RotationGeometry g;
            ASSERT_TRUE(
                MakeRotationGeometry(picture.image->width(), picture.image->height(), angle, g));
            const std::size_t cells = static_cast<std::size_t>(g.width) * g.height;
            std::vector<CoverageCell> expectedGrid(cells);
            std::vector<CoverageCell> fastGrid(cells);
            ImagePtr expectedMask = Image::Create(g.width, g.height, 1);
            ImagePtr fastMask = Image::Create(g.width, g.height, 1);
            reference::AccumulateCoverage(*picture.image, *picture.mask, g, expectedGrid,
                                          *expectedMask);
            AccumulateCoverage(*picture.image, *picture.mask, g, fastGrid, *fastMask);
            EXPECT_TRUE(SameGrid(fastGrid, expectedGrid)) << picture.name << ", " << angle;
            EXPECT_TRUE(SameBytes(*fastMask, *expectedMask)) << picture.name << ", " << angle;

            for (const bool blend : {false, true}) {
                ImagePtr expected, expectedTurnedMask;
                ASSERT_EQ(reference::RotateImage(*picture.image, picture.mask.get(), &expected,
                                                 &expectedTurnedMask, angle, 0x3060C0, blend),
                          1);
                for (RowWorkers* threads : {static_cast<RowWorkers*>(nullptr), &workers}) {
                    ImagePtr fast, fastTurnedMask;
                    ASSERT_EQ(RotateImage(*picture.image, picture.mask.get(), &fast,
                                          &fastTurnedMask, angle, 0x3060C0, blend, threads),
                              1);
                    EXPECT_TRUE(SameBytes(*fast, *expected)) << picture.name << ", " << angle;
                    EXPECT_TRUE(SameBytes(*fastTurnedMask, *expectedTurnedMask))
                        << picture.name << ", " << angle;
                }
            }
        }
    }
}

TEST(RotationEquivalence, FaceSetBuiltOnWorkersHoldsTheReferenceTurns)
{
    Picture face = std::move(Pictures().front());
    const ImagePtr image = face.image->Clone();
    const ImagePtr mask = face.mask->Clone();
    RowWorkers workers(3);
    CRotatedImageSet set;
    ASSERT_EQ(set.Build(face.image, face.mask, 16, true, &workers), 1);
    for (int i = 1; i < 8; ++i) {
        ImagePtr turned, turnedMask;
        ASSERT_EQ(
            reference::RotateImage(*image, mask.get(), &turned, &turnedMask, -22.5 * i, 0, false),
            1);
        const cv::Rect r = cv::boundingRect(turnedMask->mat());
        ASSERT_NE(set.GetImage(i), nullptr);
        EXPECT_EQ(cv::norm(set.GetImage(i)->mat(), turned->mat()(r), cv::NORM_INF), 0) << i;
        EXPECT_EQ(cv::norm(set.GetMask(i)->mat(), turnedMask->mat()(r), cv::NORM_INF), 0) << i;
    }
}
