#include "creator/engine/RegionSearch.h"

#include "creator/engine/RegionSearchInternals.h"

#include <gtest/gtest.h>

namespace {

const cv::Scalar kWhite(255, 255, 255);
const cv::Scalar kDark(30, 30, 30);

ImagePtr Picture(int w, int h, const cv::Scalar& colour)
{
    ImagePtr picture = Image::Create(w, h, 3, ImageOrigin::BottomLeft);
    picture->fullMat().setTo(colour);
    return picture;
}

void Paint(Image& picture, const cv::Rect& rect, const cv::Scalar& colour)
{
    picture.fullMat()(rect).setTo(colour);
}

// A dark face spot at (x, y), 40 x 40, with a 16 x 6 mouth low in stored rows and two
// 6 x 5 eyes above it, as a bottom-up frame holds an upright face.
void PaintFace(Image& picture, int x, int y)
{
    Paint(picture, cv::Rect(x, y, 40, 40), kDark);
    Paint(picture, cv::Rect(x + 12, y + 6, 16, 6), kWhite);
    Paint(picture, cv::Rect(x + 6, y + 24, 6, 5), kWhite);
    Paint(picture, cv::Rect(x + 28, y + 24, 6, 5), kWhite);
}

ImagePtr Mask(int w, int h, int value)
{
    ImagePtr mask = Image::Create(w, h, 1);
    mask->fullMat().setTo(value);
    return mask;
}

struct Search {
    explicit Search(const Image& picture)
        : subject(Mask(picture.width(), picture.height(), 1)),
          face(Mask(picture.width(), picture.height(), 0)),
          fill(Mask(picture.width() + 2, picture.height() + 2, 0)),
          visited(Mask(picture.width() + 2, picture.height() + 2, 0))
    {}

    // As the composition runs it: the background first, then the face in the subject.
    bool Run(const Image& picture, int minArea = 64)
    {
        cv::Rect subjectRect;
        if (!FindMarkedRegion(&picture, subject.get(), fill.get(), visited.get(), nullptr, nullptr,
                              &subjectRect, nullptr, nullptr))
            return false;
        return FindBestRegion(&picture, subject.get(), face.get(), fill.get(), visited.get(),
                              &subjectRect, &rect, &angle, minArea, 0);
    }

    ImagePtr subject, face, fill, visited;
    cv::Rect rect{-1, -1, -1, -1};
    float angle = -1000.0f;
};

HoleRecord Hole(const cv::Rect& rect, double area)
{
    HoleRecord record;
    record.component.rect = rect;
    record.component.area = area;
    return record;
}

ConnectedComponent Region(double area, const cv::Scalar& colour)
{
    ConnectedComponent region;
    region.area = area;
    region.value = colour;
    return region;
}

// The largest hole at (20, 20, 10, 4) and a pair of 4-pixel holes centred 20 columns
// or rows away in the given direction.
float AngleOfPair(int dx, int dy)
{
    const HoleRecord table[3] = {Hole(cv::Rect(20 + dx - 6, 21 + dy, 2, 2), 4),
                                 Hole(cv::Rect(20, 20, 10, 4), 40),
                                 Hole(cv::Rect(20 + dx + 14, 21 + dy, 2, 2), 4)};
    float angle = -1000.0f;
    ScoreRegion(table, 3, Region(400, cv::Scalar()), 0, &angle);
    return angle;
}

}  // namespace

TEST(FindMarkedRegion, OneColourPictureIsAllBackground)
{
    auto picture = Picture(12, 9, cv::Scalar(40, 80, 120));
    auto subject = Mask(12, 9, 7);
    ImagePtr cutOut = Image::Create(1, 1, 3);
    ImagePtr cutOutMask = Image::Create(1, 1, 1);
    cv::Rect rect(1, 1, 1, 1);
    cv::Scalar colour;
    int area = -1;
    ASSERT_TRUE(FindMarkedRegion(picture.get(), subject.get(), nullptr, nullptr, &cutOut,
                                 &cutOutMask, &rect, &colour, &area));
    EXPECT_EQ(cv::countNonZero(subject->fullMat()), 0);
    EXPECT_EQ(rect, cv::Rect(0, 0, 0, 0));
    EXPECT_EQ(area, 12 * 9);
    EXPECT_EQ(colour, cv::Scalar(40, 80, 120, 0));
    EXPECT_EQ(cutOut, nullptr);  // an empty subject gives no cut-out
    EXPECT_EQ(cutOutMask, nullptr);
}

TEST(FindMarkedRegion, CutsTheSubjectOutOfTheBackground)
{
    auto picture = Picture(30, 20, cv::Scalar(200, 10, 10));
    Paint(*picture, cv::Rect(5, 6, 8, 4), cv::Scalar(0, 90, 0));
    picture->pixel(7, 7)[1] = 91;
    auto subject = Mask(30, 20, 0);
    auto scratchA = Mask(32, 22, 9);  // stale content must not matter
    auto scratchB = Mask(32, 22, 9);
    ImagePtr cutOut;
    ImagePtr cutOutMask;
    cv::Rect rect;
    int area = 0;
    ASSERT_TRUE(FindMarkedRegion(picture.get(), subject.get(), scratchA.get(), scratchB.get(),
                                 &cutOut, &cutOutMask, &rect, nullptr, &area));
    EXPECT_EQ(rect, cv::Rect(5, 6, 8, 4));
    EXPECT_EQ(area, 600 - 32);
    EXPECT_EQ(cv::countNonZero(subject->fullMat()), 32);
    EXPECT_EQ(subject->pixel(5, 6)[0], 1);
    ASSERT_NE(cutOut, nullptr);
    ASSERT_NE(cutOutMask, nullptr);
    EXPECT_EQ(cutOut->width(), 8);
    EXPECT_EQ(cutOut->height(), 4);
    EXPECT_EQ(cutOut->origin(), ImageOrigin::BottomLeft);
    EXPECT_EQ(cutOut->pixel(2, 1)[1], 91);
    EXPECT_EQ(cv::countNonZero(cutOutMask->fullMat() == 1), 32);
}

TEST(FindMarkedRegion, SubjectInTheFirstColumnsKeepsItsWidth)
{
    auto picture = Picture(40, 30, cv::Scalar(200, 10, 10));
    Paint(*picture, cv::Rect(0, 10, 3, 10), cv::Scalar(10, 10, 200));
    auto subject = Mask(40, 30, 0);
    ImagePtr cutOut;
    ImagePtr cutOutMask;
    cv::Rect rect;
    ASSERT_TRUE(FindMarkedRegion(picture.get(), subject.get(), nullptr, nullptr, &cutOut,
                                 &cutOutMask, &rect, nullptr, nullptr));
    EXPECT_EQ(rect, cv::Rect(0, 10, 3, 10));
    ASSERT_NE(cutOut, nullptr);
    EXPECT_EQ(cutOut->width(), 3);
    EXPECT_EQ(cv::countNonZero(cutOutMask->fullMat()), 30);
}

TEST(FindMarkedRegion, ScratchMasksOfAnotherSizeAreReplacedByItsOwn)
{
    auto picture = Picture(30, 20, cv::Scalar(200, 10, 10));
    Paint(*picture, cv::Rect(5, 6, 8, 4), cv::Scalar(0, 90, 0));
    auto pictureSized = Mask(30, 20, 9);
    auto larger = Mask(40, 30, 9);
    auto colour = Image::Create(32, 22, 3);
    for (const auto& [scratchA, scratchB] :
         {std::pair{pictureSized.get(), larger.get()}, std::pair{larger.get(), colour.get()}}) {
        auto subject = Mask(30, 20, 0);
        cv::Rect rect;
        int area = 0;
        ASSERT_TRUE(FindMarkedRegion(picture.get(), subject.get(), scratchA, scratchB, nullptr,
                                     nullptr, &rect, nullptr, &area));
        EXPECT_EQ(rect, cv::Rect(5, 6, 8, 4));
        EXPECT_EQ(area, 600 - 32);
        EXPECT_EQ(cv::countNonZero(subject->fullMat()), 32);
    }
    EXPECT_EQ(cv::countNonZero(pictureSized->fullMat() != 9), 0);
    EXPECT_EQ(cv::countNonZero(larger->fullMat() != 9), 0);
}

TEST(FindMarkedRegion, BackgroundSpanOfWidthMinusFourIsFound)
{
    auto picture = Picture(20, 16, cv::Scalar(0, 0, 200));
    Paint(*picture, cv::Rect(0, 0, 16, 16), cv::Scalar(100, 100, 100));
    int area = 0;
    EXPECT_TRUE(FindMarkedRegion(picture.get(), nullptr, nullptr, nullptr, nullptr, nullptr,
                                 nullptr, nullptr, &area));
    EXPECT_EQ(area, 16 * 16);
}

TEST(FindMarkedRegion, BackgroundSpanOfWidthMinusFiveIsRejected)
{
    auto picture = Picture(20, 16, cv::Scalar(0, 0, 200));
    Paint(*picture, cv::Rect(0, 0, 15, 16), cv::Scalar(100, 100, 100));
    auto subject = Mask(20, 16, 3);
    cv::Rect rect(1, 2, 3, 4);
    cv::Scalar colour(7, 7, 7, 7);
    int area = -1;
    EXPECT_FALSE(FindMarkedRegion(picture.get(), subject.get(), nullptr, nullptr, nullptr, nullptr,
                                  &rect, &colour, &area));
    EXPECT_EQ(area, 0);
    EXPECT_EQ(rect, cv::Rect(1, 2, 3, 4));
    EXPECT_EQ(colour, cv::Scalar(7, 7, 7, 7));
    EXPECT_EQ(cv::countNonZero(subject->fullMat() == 3), 20 * 16);
}

TEST(FindMarkedRegion, GrowsOnlyFromBorderPixelsOfExactlyTheSeedColour)
{
    auto picture = Picture(30, 20, cv::Scalar(100, 100, 100));
    Paint(*picture, cv::Rect(24, 0, 1, 20), cv::Scalar(200, 200, 200));
    Paint(*picture, cv::Rect(25, 10, 5, 1), cv::Scalar(200, 200, 200));
    Paint(*picture, cv::Rect(25, 11, 5, 9), cv::Scalar(105, 105, 105));  // near, not equal
    int area = 0;
    ASSERT_TRUE(FindMarkedRegion(picture.get(), nullptr, nullptr, nullptr, nullptr, nullptr,
                                 nullptr, nullptr, &area));
    EXPECT_EQ(area, 24 * 20 + 5 * 10);
}

TEST(FindBestRegion, FindsAnUprightFace)
{
    auto picture = Picture(60, 60, kWhite);
    PaintFace(*picture, 10, 10);
    Search search(*picture);
    ASSERT_TRUE(search.Run(*picture));
    EXPECT_EQ(search.rect, cv::Rect(10, 10, 40, 40));
    EXPECT_FLOAT_EQ(search.angle, 0.0f);
    EXPECT_EQ(search.face->pixel(10, 10)[0], 2);
    EXPECT_EQ(search.face->pixel(22, 16)[0], 1);  // mouth
    EXPECT_EQ(search.face->pixel(9, 10)[0], 0);
}

TEST(FindBestRegion, SearchRectangleBeyondThePictureIsClippedToIt)
{
    auto picture = Picture(60, 60, kWhite);
    PaintFace(*picture, 10, 10);
    Search search(*picture);
    cv::Rect subjectRect;
    ASSERT_TRUE(FindMarkedRegion(picture.get(), search.subject.get(), search.fill.get(),
                                 search.visited.get(), nullptr, nullptr, &subjectRect, nullptr,
                                 nullptr));
    const cv::Rect beyond(-30, -20, 130, 110);
    ASSERT_TRUE(FindBestRegion(picture.get(), search.subject.get(), search.face.get(),
                               search.fill.get(), search.visited.get(), &beyond, &search.rect,
                               &search.angle, 64, 0));
    EXPECT_EQ(search.rect, cv::Rect(10, 10, 40, 40));
    EXPECT_FLOAT_EQ(search.angle, 0.0f);
}

TEST(FindBestRegion, MasksOfAnotherSizeAreRefusedWithoutWritingAnything)
{
    auto picture = Picture(60, 60, kWhite);
    PaintFace(*picture, 10, 10);
    Search search(*picture);
    cv::Rect subjectRect;
    ASSERT_TRUE(FindMarkedRegion(picture.get(), search.subject.get(), nullptr, nullptr, nullptr,
                                 nullptr, &subjectRect, nullptr, nullptr));
    auto pictureSized = Mask(60, 60, 0);
    auto small = Mask(20, 20, 0);
    auto face = Mask(60, 60, 5);
    struct Masks {
        Image* face;
        Image* fill;
        Image* visited;
    };
    for (const Masks& masks : {Masks{face.get(), pictureSized.get(), search.visited.get()},
                               Masks{face.get(), search.fill.get(), small.get()},
                               Masks{small.get(), search.fill.get(), search.visited.get()}}) {
        cv::Rect rect(1, 2, 3, 4);
        float angle = -1000.0f;
        EXPECT_FALSE(FindBestRegion(picture.get(), search.subject.get(), masks.face, masks.fill,
                                    masks.visited, &subjectRect, &rect, &angle, 64, 0));
        EXPECT_EQ(rect, cv::Rect(1, 2, 3, 4));
        EXPECT_EQ(angle, -1000.0f);
    }
    EXPECT_EQ(cv::countNonZero(face->fullMat() != 5), 0);
    EXPECT_EQ(cv::countNonZero(pictureSized->fullMat()), 0);
    EXPECT_EQ(cv::countNonZero(small->fullMat()), 0);
}

TEST(FindBestRegion, FaceTurnedALeftQuarterGivesNinetyDegrees)
{
    auto picture = Picture(60, 60, kWhite);
    Paint(*picture, cv::Rect(10, 10, 40, 40), kDark);
    Paint(*picture, cv::Rect(38, 22, 6, 16), kWhite);  // mouth on the right
    Paint(*picture, cv::Rect(16, 16, 5, 6), kWhite);   // eyes on the left
    Paint(*picture, cv::Rect(16, 38, 5, 6), kWhite);
    Search search(*picture);
    ASSERT_TRUE(search.Run(*picture));
    EXPECT_FLOAT_EQ(search.angle, 90.0f);
}

TEST(FindBestRegion, NothingQualifyingClearsTheFaceMask)
{
    auto picture = Picture(60, 60, kWhite);
    Paint(*picture, cv::Rect(10, 10, 40, 40), kDark);
    Paint(*picture, cv::Rect(20, 20, 6, 6), kWhite);
    Paint(*picture, cv::Rect(34, 20, 6, 6), kWhite);  // two holes only
    Search search(*picture);
    search.face->fullMat().setTo(5);
    EXPECT_FALSE(search.Run(*picture));
    EXPECT_EQ(cv::countNonZero(search.face->fullMat()), 0);
    EXPECT_EQ(search.rect, cv::Rect(0, 0, 0, 0));
    EXPECT_EQ(search.angle, -1000.0f);

    Paint(*picture, cv::Rect(28, 36, 1, 3), kWhite);  // a third hole of 3 pixels
    EXPECT_FALSE(search.Run(*picture));
}

TEST(FindBestRegion, RegionOfSixtyThreePixelsIsSkipped)
{
    // A 9 x 9 spot with holes of 6, 4 and 4 pixels leaves 67 region pixels; cutting
    // corners away brings it to 64 and to 63.
    for (const auto& [corners, found] : {std::pair{3, true}, std::pair{4, false}}) {
        auto picture = Picture(20, 20, kWhite);
        Paint(*picture, cv::Rect(5, 5, 9, 9), kDark);
        Paint(*picture, cv::Rect(8, 6, 3, 2), kWhite);
        Paint(*picture, cv::Rect(6, 10, 2, 2), kWhite);
        Paint(*picture, cv::Rect(11, 10, 2, 2), kWhite);
        const cv::Point corner[4] = {{5, 5}, {13, 5}, {5, 13}, {13, 13}};
        for (int i = 0; i < corners; ++i)
            Paint(*picture, cv::Rect(corner[i], cv::Size(1, 1)), kWhite);
        Search search(*picture);
        EXPECT_EQ(search.Run(*picture), found) << corners;
    }
}

TEST(FindBestRegion, EqualScoresKeepTheFirstInScanOrder)
{
    auto picture = Picture(120, 60, kWhite);
    PaintFace(*picture, 70, 10);
    PaintFace(*picture, 10, 10);
    Search search(*picture);
    ASSERT_TRUE(search.Run(*picture));
    EXPECT_EQ(search.rect, cv::Rect(10, 10, 40, 40));
}

TEST(FindBestRegion, FourHolesScoreTheThreeLargest)
{
    auto picture = Picture(60, 60, kWhite);
    PaintFace(*picture, 10, 10);
    Paint(*picture, cv::Rect(44, 14, 2, 2), kWhite);  // a fourth, small hole
    Search search(*picture);
    ASSERT_TRUE(search.Run(*picture));
    EXPECT_FLOAT_EQ(search.angle, 0.0f);
}

TEST(MeasureRegion, HoleTouchingTheOutsideDiagonallyIsNotEnclosed)
{
    for (const bool cutCorner : {false, true}) {
        auto labels = Mask(10, 10, 0);
        labels->fullMat()(cv::Rect(2, 2, 6, 6)).setTo(1);
        labels->fullMat()(cv::Rect(3, 3, 4, 4)).setTo(0);
        if (cutCorner)
            labels->pixel(7, 7)[0] = 0;
        const cv::Rect regionRect(2, 2, 6, 6);
        ASSERT_TRUE(FillBorderRegions(*labels, regionRect));
        EXPECT_EQ(labels->pixel(4, 4)[0], 1);
        EXPECT_EQ(labels->pixel(2, 2)[0], 2);
        EXPECT_EQ(labels->pixel(1, 1)[0], 0);
        auto picture = Picture(8, 8, kWhite);
        ReusedMask holeUnion(10, 10, false);
        HoleScratch scratch(8, 8);
        HoleRecord table[1];
        EXPECT_EQ(MeasureRegion(picture.get(), *labels, holeUnion, regionRect, table, 1, scratch),
                  !cutCorner);
        EXPECT_EQ(cv::countNonZero(holeUnion.mat()), cutCorner ? 0 : 16);
    }
}

TEST(ScoreRegion, HolePairOfTenAndTwentyOneIsRejected)
{
    const ConnectedComponent region = Region(400, cv::Scalar());
    HoleRecord table[3] = {Hole(cv::Rect(20, 10, 10, 6), 60), Hole(cv::Rect(14, 30, 4, 3), 10),
                           Hole(cv::Rect(34, 30, 5, 5), 21)};
    EXPECT_EQ(ScoreRegion(table, 3, region, 0, nullptr), 0.0f);
    table[2].component.area = 20;
    EXPECT_FLOAT_EQ(ScoreRegion(table, 3, region, 0, nullptr), 10.0f * 20 * 60 / 400);
}

TEST(ScoreRegion, WeighsTheColourDistance)
{
    const HoleRecord table[3] = {Hole(cv::Rect(20, 10, 10, 6), 60),
                                 Hole(cv::Rect(14, 30, 4, 3), 10),
                                 Hole(cv::Rect(34, 30, 4, 3), 10)};
    EXPECT_EQ(ScoreRegion(table, 3, Region(400, cv::Scalar(100, 100, 60)), 0, nullptr), 0.0f);
    EXPECT_FLOAT_EQ(ScoreRegion(table, 3, Region(400, cv::Scalar(50, 50, 50)), 0, nullptr),
                    (1.0f - 150.0f / 255.0f) * 15.0f);
    EXPECT_FLOAT_EQ(ScoreRegion(table, 3, Region(400, cv::Scalar(50, 50, 50)), 0x323232, nullptr),
                    15.0f);
}

TEST(ScoreRegion, RejectsOverlappingPairsAndCentredMidpoints)
{
    const ConnectedComponent region = Region(400, cv::Scalar());
    const HoleRecord overlapping[3] = {Hole(cv::Rect(20, 10, 10, 6), 60),
                                       Hole(cv::Rect(14, 30, 4, 3), 10),
                                       Hole(cv::Rect(17, 31, 4, 3), 10)};
    EXPECT_EQ(ScoreRegion(overlapping, 3, region, 0, nullptr), 0.0f);
    const HoleRecord centred[3] = {Hole(cv::Rect(0, 0, 40, 40), 60),
                                   Hole(cv::Rect(14, 19, 2, 2), 10),
                                   Hole(cv::Rect(24, 19, 2, 2), 10)};
    EXPECT_EQ(ScoreRegion(centred, 3, region, 0, nullptr), 0.0f);
    EXPECT_EQ(ScoreRegion(centred, 2, region, 0, nullptr), 0.0f);
}

TEST(ScoreRegion, AnglesFollowTheBottomUpFrame)
{
    EXPECT_FLOAT_EQ(AngleOfPair(0, 20), 0.0f);      // pair above
    EXPECT_FLOAT_EQ(AngleOfPair(-20, 0), 90.0f);    // to the left
    EXPECT_FLOAT_EQ(AngleOfPair(20, 0), -90.0f);    // to the right
    EXPECT_FLOAT_EQ(AngleOfPair(0, -20), -180.0f);  // below
}

TEST(Atan2Degrees, FollowsItsQuadrantRules)
{
    EXPECT_EQ(Atan2Degrees(0.0f, 0.0f), 90.0f);
    EXPECT_EQ(Atan2Degrees(-1.0f, 0.0f), -90.0f);
    EXPECT_NEAR(Atan2Degrees(1.0f, 1.0f), 45.0f, 1e-4);
    EXPECT_NEAR(Atan2Degrees(1.0f, -1.0f), 135.0f, 1e-4);
    EXPECT_NEAR(Atan2Degrees(-1.0f, -1.0f), -135.0f, 1e-4);
    EXPECT_EQ(Atan2Degrees(0.0f, -2.0f), 180.0f);
}

TEST(InsertTopRegion, KeepsTheLargestAndReplacesTheSmallest)
{
    HoleRecord table[3];
    const double areas[] = {5, 9, 7, 3, 8};
    for (int i = 0; i < 5; ++i) {
        const ConnectedComponent hole = Region(areas[i], cv::Scalar());
        InsertTopRegion(&hole, table, 3, i, 0);
    }
    EXPECT_EQ(table[0].component.area, 8);
    EXPECT_EQ(table[0].x, 4);
    EXPECT_EQ(table[1].component.area, 9);
    EXPECT_EQ(table[2].component.area, 7);
}

TEST(IntersectRects, SignsTheAreaOfApartRectangles)
{
    cv::Rect out;
    EXPECT_EQ(IntersectRects(cv::Rect(0, 0, 4, 4), cv::Rect(2, 1, 4, 4), &out), 6);
    EXPECT_EQ(out, cv::Rect(2, 1, 2, 3));
    EXPECT_EQ(IntersectRects(cv::Rect(0, 0, 4, 4), cv::Rect(4, 0, 4, 4)), 0);
    EXPECT_EQ(IntersectRects(cv::Rect(0, 0, 4, 4), cv::Rect(6, 5, 4, 4), &out), -2);
    EXPECT_EQ(out, cv::Rect(4, 4, 2, 1));
}

TEST(MeanIntensity, AveragesTheChannelSums)
{
    auto blue = Picture(8, 4, cv::Scalar(255, 0, 0));
    EXPECT_EQ(MeanIntensity(blue.get(), 0, 0, 8, 4), 85);
    auto dim = Picture(8, 4, cv::Scalar(1, 1, 2));
    EXPECT_EQ(MeanIntensity(dim.get(), 0, 0, 8, 4), 1);
    auto grey = Mask(6, 6, 128);
    EXPECT_EQ(MeanIntensity(grey.get(), 1, 1, 3, 3), 128);
    EXPECT_EQ(MeanIntensity(nullptr, 0, 0, 3, 3), 0);
}

TEST(MeanIntensity, ClipsARectangleBeyondThePicture)
{
    auto picture = Picture(10, 6, cv::Scalar(30, 30, 30));
    Paint(*picture, cv::Rect(0, 3, 10, 3), cv::Scalar(90, 90, 90));
    EXPECT_EQ(MeanIntensity(picture.get(), 0, 0, 10, 20), 60);
    EXPECT_EQ(MeanIntensity(picture.get(), 20, 0, 10, 20), 0);
}
