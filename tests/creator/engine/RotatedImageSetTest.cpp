#include "creator/engine/RotatedImageSet.h"

#include "creator/engine/ImageRotation.h"
#include "media/image/RectOps.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

// A face-like picture: grey backdrop with a coloured block, the mask set on the block only.
struct Face {
    ImagePtr image;
    ImagePtr mask;
};

Face MakeFace(int width = 20, int height = 12)
{
    Face face{Image::Create(width, height, 3), Image::Create(width, height, 1)};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            std::uint8_t* p = face.image->pixel(x, y);
            p[0] = static_cast<std::uint8_t>(10 * x);
            p[1] = static_cast<std::uint8_t>(20 * y);
            p[2] = 99;
            face.mask->pixel(x, y)[0] = (x >= 2 && x < width - 2 && y >= 1) ? 255 : 0;
        }
    return face;
}

// The picture turned by 180 degrees, as a new matrix.
cv::Mat TurnedOver(const Image& image)
{
    cv::Mat flipped;
    cv::flip(image.mat(), flipped, -1);
    return flipped;
}

}  // namespace

TEST(RotatedImageSet, SixteenEntriesAreTurnedCroppedAndTurnedOver)
{
    Face face = MakeFace();
    Image* given = face.image.get();
    Image* givenMask = face.mask.get();
    CRotatedImageSet set;
    ASSERT_EQ(set.Build(face.image, face.mask, 16, true), 1);
    EXPECT_EQ(face.image, nullptr);
    EXPECT_EQ(face.mask, nullptr);
    ASSERT_EQ(set.count(), 16);
    EXPECT_EQ(set.GetImage(0), given);
    EXPECT_EQ(set.GetMask(0), givenMask);

    for (int i = 1; i < 8; ++i) {
        ImagePtr turned, turnedMask;
        ASSERT_EQ(RotateImage(*given, givenMask, &turned, &turnedMask, -22.5 * i, 0, false), 1);
        const cv::Rect r = BoundingRectOfMask(*turnedMask);
        ASSERT_NE(set.GetImage(i), nullptr) << i;
        ASSERT_NE(set.GetMask(i), nullptr) << i;
        EXPECT_EQ(set.GetImage(i)->width(), r.width) << i;
        EXPECT_EQ(set.GetImage(i)->height(), r.height) << i;
        EXPECT_EQ(cv::norm(set.GetImage(i)->mat(), turned->mat()(r), cv::NORM_INF), 0) << i;
        EXPECT_EQ(cv::norm(set.GetMask(i)->mat(), turnedMask->mat()(r), cv::NORM_INF), 0) << i;
    }
    for (int i = 0; i < 8; ++i) {
        ASSERT_NE(set.GetImage(i + 8), nullptr) << i;
        EXPECT_EQ(cv::norm(set.GetImage(i + 8)->mat(), TurnedOver(*set.GetImage(i)), cv::NORM_INF),
                  0)
            << i;
        EXPECT_EQ(cv::norm(set.GetMask(i + 8)->mat(), TurnedOver(*set.GetMask(i)), cv::NORM_INF), 0)
            << i;
    }
    // Entry 8 is the given, uncut picture turned over.
    EXPECT_EQ(set.GetImage(8)->width(), 20);
    EXPECT_EQ(set.GetImage(8)->height(), 12);
}

TEST(RotatedImageSet, WithoutCropTurnedEntriesKeepTheFullTurnedSize)
{
    Face face = MakeFace();
    ImagePtr turned, turnedMask;
    ASSERT_EQ(RotateImage(*face.image, face.mask.get(), &turned, &turnedMask, -45, 0, false), 1);
    CRotatedImageSet set;
    ASSERT_EQ(set.Build(face.image, face.mask, 8, false), 1);
    ASSERT_NE(set.GetImage(1), nullptr);
    ASSERT_TRUE(ImagesMatch(*set.GetImage(1), *turned));
    EXPECT_EQ(cv::norm(set.GetImage(1)->mat(), turned->mat(), cv::NORM_INF), 0);
    EXPECT_EQ(cv::norm(set.GetMask(1)->mat(), turnedMask->mat(), cv::NORM_INF), 0);
}

TEST(RotatedImageSet, SmallCountsKeepOnlyWhatTheyProduce)
{
    {
        Face face = MakeFace();
        CRotatedImageSet set;
        ASSERT_EQ(set.Build(face.image, face.mask, 1, true), 1);
        EXPECT_EQ(set.count(), 1);
        EXPECT_NE(set.GetImage(0), nullptr);
        EXPECT_EQ(set.GetImage(1), nullptr);
    }
    {
        Face face = MakeFace();
        CRotatedImageSet set;
        ASSERT_EQ(set.Build(face.image, face.mask, 2, true), 1);
        ASSERT_NE(set.GetImage(1), nullptr);
        EXPECT_EQ(cv::norm(set.GetImage(1)->mat(), TurnedOver(*set.GetImage(0)), cv::NORM_INF), 0);
        EXPECT_EQ(cv::norm(set.GetMask(1)->mat(), TurnedOver(*set.GetMask(0)), cv::NORM_INF), 0);
    }
    {
        Face face = MakeFace();
        CRotatedImageSet set;
        ASSERT_EQ(set.Build(face.image, face.mask, 5, true), 1);
        EXPECT_EQ(set.count(), 5);
        for (int i = 0; i < 4; ++i)
            EXPECT_NE(set.GetImage(i), nullptr) << i;
        EXPECT_EQ(set.GetImage(4), nullptr);
        EXPECT_EQ(set.GetMask(4), nullptr);
    }
}

TEST(RotatedImageSet, WithoutAMaskOrWithAnEmptyOneOnlyTheGivenFaceAndItsTurnOverExist)
{
    Face face = MakeFace();
    Face blank = MakeFace();
    blank.mask->fullMat().setTo(0);
    ImagePtr noMask;
    CRotatedImageSet unmasked, empty;
    ASSERT_EQ(unmasked.Build(face.image, noMask, 16, true), 1);
    ASSERT_EQ(empty.Build(blank.image, blank.mask, 16, true), 1);
    EXPECT_EQ(unmasked.GetMask(0), nullptr);
    EXPECT_EQ(unmasked.GetMask(8), nullptr);
    EXPECT_NE(empty.GetMask(8), nullptr);
    for (const CRotatedImageSet* set : {&unmasked, &empty}) {
        EXPECT_NE(set->GetImage(0), nullptr);
        EXPECT_NE(set->GetImage(8), nullptr);
        for (int i = 1; i < 8; ++i) {
            EXPECT_EQ(set->GetImage(i), nullptr) << i;
            EXPECT_EQ(set->GetMask(i), nullptr) << i;
            EXPECT_EQ(set->GetImage(i + 8), nullptr) << i;
        }
    }
}

TEST(RotatedImageSet, OutsideIndicesAndRefusedBuildsChangeNothing)
{
    CRotatedImageSet set;
    EXPECT_EQ(set.GetImage(0), nullptr);
    Face first = MakeFace();
    ASSERT_EQ(set.Build(first.image, first.mask, 16, true), 1);
    EXPECT_EQ(set.GetImage(-1), nullptr);
    EXPECT_EQ(set.GetImage(16), nullptr);
    EXPECT_EQ(set.GetMask(16), nullptr);

    Image* entry0 = set.GetImage(0);
    Face face = MakeFace();
    EXPECT_EQ(set.Build(face.image, face.mask, 0, true), 0);
    EXPECT_NE(face.image, nullptr);
    EXPECT_NE(face.mask, nullptr);
    ImagePtr none;
    EXPECT_EQ(set.Build(none, face.mask, 16, true), 0);
    EXPECT_NE(face.mask, nullptr);
    EXPECT_EQ(set.GetImage(0), entry0);

    EXPECT_EQ(set.Clear(), 1);
    EXPECT_EQ(set.count(), 0);
    EXPECT_EQ(set.GetImage(0), nullptr);
}

TEST(RotatedImageSet, ASecondBuildReplacesEveryEntry)
{
    CRotatedImageSet set;
    Face first = MakeFace(20, 12);
    ASSERT_EQ(set.Build(first.image, first.mask, 16, true), 1);
    Face second = MakeFace(9, 7);
    Image* secondImage = second.image.get();
    ASSERT_EQ(set.Build(second.image, second.mask, 4, false), 1);
    EXPECT_EQ(set.count(), 4);
    EXPECT_EQ(set.GetImage(0), secondImage);
    EXPECT_EQ(set.GetImage(4), nullptr);
    EXPECT_EQ(set.GetImage(2)->width(), 9);
    // The turn by -90 degrees swaps the sides.
    EXPECT_EQ(set.GetImage(1)->width(), 7);
    EXPECT_EQ(set.GetImage(1)->height(), 9);
}
