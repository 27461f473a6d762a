#include "tools/SamplePictures.h"

#include "creator/engine/ColourClustering.h"
#include "creator/engine/RegionSearch.h"
#include "creator/engine/RotatedImageSet.h"
#include "media/image/BilateralSmooth.h"

#include <gtest/gtest.h>
#include <opencv2/imgproc.hpp>

#include <array>
#include <cmath>

namespace {

struct Analysis {
    bool backgroundFound = false;
    cv::Rect subjectRect;
    bool faceFound = false;
    cv::Rect faceRect;
    float angle = 0;
};

// The frame analysis as the composition runs it on every frame: smoothing, colour
// clustering in place, the background search, then the face-spot search in the subject.
Analysis AnalyseLikeTheComposition(const Image& frame)
{
    Analysis result;
    ImagePtr smoothed = frame.Clone();
    ImagePtr subject = Image::Create(frame.width(), frame.height(), 1);
    ImagePtr face = Image::Create(frame.width(), frame.height(), 1);
    ImagePtr scratchA = Image::Create(frame.width() + 2, frame.height() + 2, 1);
    ImagePtr scratchB = Image::Create(frame.width() + 2, frame.height() + 2, 1);
    if (!SmoothBilateral(frame, *smoothed, 50, 5))
        return result;
    std::array<ColourCluster, 256> table;
    int count = static_cast<int>(table.size());
    if (!ClusterColours(*smoothed, smoothed.get(), table.data(), &count))
        return result;
    cv::Scalar colour;
    int area = 0;
    result.backgroundFound =
        FindMarkedRegion(smoothed.get(), subject.get(), scratchA.get(), scratchB.get(), nullptr,
                         nullptr, &result.subjectRect, &colour, &area);
    if (!result.backgroundFound)
        return result;
    result.faceFound =
        FindBestRegion(smoothed.get(), subject.get(), face.get(), scratchA.get(), scratchB.get(),
                       &result.subjectRect, &result.faceRect, &result.angle, 64, 0);
    return result;
}

// The rotated face the composition picks for a measured angle.
int DirectionIndex(float angle)
{
    float a = angle;
    if (a < 0)
        a += 360;
    else if (a >= 360)
        a -= 360;
    return static_cast<int>(a / 22.5f + 0.5f) % 16;
}

double AngleDistance(double a, double b)
{
    const double d = std::fmod(std::fabs(a - b), 360.0);
    return std::min(d, 360.0 - d);
}

}  // namespace

TEST(SampleTemplate, FaceSpotTurnsOneStepEverySecondFrameAndMoves)
{
    for (int i = 0; i + kFramesPerTurn < kTemplateFrameCount; i += kFramesPerTurn) {
        const double turn =
            TemplateFacePose(i + kFramesPerTurn).angleDegrees - TemplateFacePose(i).angleDegrees;
        EXPECT_NEAR(AngleDistance(turn, 0), kTurnDegrees, 1e-9) << "frame " << i;
    }
    EXPECT_NE(TemplateFacePose(0).centre, TemplateFacePose(6).centre);
}

TEST(SampleTemplate, EngineFindsTheFaceSpotWhereAndHowItWasDrawn)
{
    for (int i = 0; i < kTemplateFrameCount; ++i) {
        SCOPED_TRACE("frame " + std::to_string(i));
        ImagePtr frame = TemplateFrame(i);
        ASSERT_TRUE(frame);
        const Analysis found = AnalyseLikeTheComposition(*frame);
        ASSERT_TRUE(found.backgroundFound);
        // A subject as large as the frame would make the composition keep the raw frame.
        EXPECT_FALSE(found.subjectRect.width + 6 >= kTemplateWidth &&
                     found.subjectRect.height + 6 >= kTemplateHeight);
        ASSERT_TRUE(found.faceFound);

        const FaceSpotPose pose = TemplateFacePose(i);
        const cv::Point2d centre(found.faceRect.x + found.faceRect.width / 2.0,
                                 found.faceRect.y + found.faceRect.height / 2.0);
        EXPECT_NEAR(centre.x, pose.centre.x, 2.0);
        EXPECT_NEAR(centre.y, pose.centre.y, 2.0);
        // The spot's rectangle lies between the head's short and long axes (40 and 50).
        EXPECT_GE(found.faceRect.width, 39);
        EXPECT_LE(found.faceRect.width, 53);
        EXPECT_GE(found.faceRect.height, 39);
        EXPECT_LE(found.faceRect.height, 53);

        EXPECT_LE(AngleDistance(found.angle, pose.angleDegrees), 11.25) << "angle " << found.angle;
        EXPECT_EQ(DirectionIndex(found.angle), (i / kFramesPerTurn) % 16);
    }
}

TEST(SampleFace, BackdropTouchesEveryBorderAndSurroundsTheFace)
{
    const cv::Mat face = FacePicture();
    ASSERT_EQ(face.type(), CV_8UC3);
    for (int x = 0; x < face.cols; ++x) {
        EXPECT_EQ(face.at<cv::Vec3b>(0, x), kFaceBackdrop);
        EXPECT_EQ(face.at<cv::Vec3b>(face.rows - 1, x), kFaceBackdrop);
    }
    for (int y = 0; y < face.rows; ++y) {
        EXPECT_EQ(face.at<cv::Vec3b>(y, 0), kFaceBackdrop);
        EXPECT_EQ(face.at<cv::Vec3b>(y, face.cols - 1), kFaceBackdrop);
    }
}

TEST(SampleFace, EngineCutsTheFaceOutOfItsBackdrop)
{
    const cv::Mat face = FacePicture();
    ImagePtr picture = Image::FromMat(face);
    ASSERT_TRUE(picture);
    ImagePtr cutOut;
    ImagePtr cutOutMask;
    ASSERT_TRUE(FindMarkedRegion(picture.get(), nullptr, nullptr, nullptr, &cutOut, &cutOutMask,
                                 nullptr, nullptr, nullptr));
    ASSERT_TRUE(cutOut);
    ASSERT_TRUE(cutOutMask);

    cv::Mat isBackdrop;
    cv::inRange(face, kFaceBackdrop, kFaceBackdrop, isBackdrop);
    const cv::Mat notBackdrop = isBackdrop == 0;
    const cv::Rect faceBounds = cv::boundingRect(notBackdrop);
    EXPECT_EQ(cutOut->width(), faceBounds.width);
    EXPECT_EQ(cutOut->height(), faceBounds.height);
    EXPECT_EQ(cv::countNonZero(cutOutMask->mat()), cv::countNonZero(notBackdrop));
}

TEST(SampleFace, HairOnTopAndALockOnTheLeftTellTheOrientation)
{
    const cv::Mat face = FacePicture();
    ImagePtr picture = Image::FromMat(face);
    ImagePtr cutOut;
    ImagePtr mask;
    ASSERT_TRUE(FindMarkedRegion(picture.get(), nullptr, nullptr, nullptr, &cutOut, &mask, nullptr,
                                 nullptr, nullptr));
    const cv::Mat m = mask->mat();
    const int w = m.cols;
    const int h = m.rows;
    // Rounded on top: the top row is narrower than the row at a third of the height.
    EXPECT_LT(cv::countNonZero(m.row(0)), cv::countNonZero(m.row(h / 3)) / 2);
    // The lock reaches further down on the left than anything on the right.
    const cv::Mat lowLeft = m(cv::Rect(0, h * 3 / 4, w / 10, h / 8));
    const cv::Mat lowRight = m(cv::Rect(w - w / 10, h * 3 / 4, w / 10, h / 8));
    EXPECT_GT(cv::countNonZero(lowLeft), 0);
    EXPECT_EQ(cv::countNonZero(lowRight), 0);
}

TEST(SampleFace, GivesAFaceForEveryDirectionAsTheCreatorPrepares)
{
    // The creator turns the picture to the frames' bottom-up order before the cut-out.
    cv::Mat face;
    cv::flip(FacePicture(), face, 0);
    ImagePtr picture = Image::FromMat(face, ImageOrigin::BottomLeft);
    ImagePtr cutOut;
    ImagePtr mask;
    ASSERT_TRUE(FindMarkedRegion(picture.get(), nullptr, nullptr, nullptr, &cutOut, &mask, nullptr,
                                 nullptr, nullptr));
    CRotatedImageSet faces;
    ASSERT_EQ(faces.Build(cutOut, mask, 16, true), 1);
    for (int i = 0; i < 16; ++i) {
        EXPECT_NE(faces.GetImage(i), nullptr) << "direction " << i;
        EXPECT_NE(faces.GetMask(i), nullptr) << "direction " << i;
    }
}
