#include "tools/SamplePictures.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

// Colours, blue-green-red. Every two that meet lie far more than the clustering's join
// distance (32) apart, so no edge blends two areas into one cluster.
const cv::Scalar kBackdrop(210, 190, 120);
const cv::Scalar kShirt(50, 50, 210);
const cv::Scalar kTrousers(150, 70, 30);
const cv::Scalar kSkin(130, 175, 235);
const cv::Scalar kShoes(60, 150, 60);
// Near black, so that the search, which prefers black, takes the face spot.
const cv::Scalar kFaceSpot(35, 30, 30);
const cv::Scalar kEye(245, 245, 245);
const cv::Scalar kMouth(110, 110, 250);

constexpr int kFlat = cv::LINE_8;  // anti-aliased edges would add blended colours

// The head: an ellipse of 40 x 50 as shown, eyes of radius 4 and a mouth of 18 x 8. The
// mouth's area (about 113 pixels) is well above an eye's (about 49), the holes together
// are about 15 % of the spot, and the eyes' midpoint lies 18 pixels from the mouth's
// centre, so a one-pixel rounding of the hole centres turns the measured angle by less
// than 4 degrees.
constexpr int kHeadHalfWidth = 20;
constexpr int kHeadHalfHeight = 25;
constexpr double kEyeSpread = 8;
constexpr double kEyeHeight = 7;
constexpr int kEyeRadius = 4;
constexpr double kMouthHeight = -11;
constexpr int kMouthHalfWidth = 9;
constexpr int kMouthHalfHeight = 4;

struct ScreenPose {
    cv::Point head;  // top-down coordinates
    double angle;    // degrees, counter-clockwise as shown
    double phase;    // radians of the dance's cycle
};

ScreenPose PoseOf(int index)
{
    const int frame = ((index % kTemplateFrameCount) + kTemplateFrameCount) % kTemplateFrameCount;
    const double phase = 2 * std::numbers::pi * frame / 24.0;
    ScreenPose pose;
    pose.head = cv::Point(160 + static_cast<int>(std::lround(55 * std::sin(phase))),
                          58 + static_cast<int>(std::lround(5 * std::sin(2 * phase))));
    pose.angle = kTurnDegrees * ((frame / kFramesPerTurn) % 16);
    pose.phase = phase;
    return pose;
}

// A point given in the head's own frame (x to its right, y towards its eyes), turned with
// the head, in top-down screen coordinates.
cv::Point HeadPoint(const ScreenPose& pose, double x, double y)
{
    const double radians = pose.angle * std::numbers::pi / 180.0;
    const double c = std::cos(radians);
    const double s = std::sin(radians);
    return cv::Point(pose.head.x + static_cast<int>(std::lround(x * c - y * s)),
                     pose.head.y - static_cast<int>(std::lround(x * s + y * c)));
}

cv::Point Offset(cv::Point from, double length, double degreesUp, int side)
{
    const double radians = degreesUp * std::numbers::pi / 180.0;
    return cv::Point(from.x + side * static_cast<int>(std::lround(length * std::cos(radians))),
                     from.y - static_cast<int>(std::lround(length * std::sin(radians))));
}

// The limbs keep clear of the head: a skin-coloured arm closing round it would make the
// whole head a hole of the arm, and the search never seeds in another region's holes.
void DrawBody(cv::Mat& frame, const ScreenPose& pose)
{
    const int x = pose.head.x;
    const int y = pose.head.y;
    const int stride = static_cast<int>(std::lround(6 * std::sin(2 * pose.phase)));
    for (int side : {-1, 1}) {
        const cv::Point hip(x + side * 10, y + 100);
        const cv::Point foot(x + side * (16 + side * stride), y + 148);
        cv::line(frame, hip, foot, kTrousers, 14, kFlat);
        cv::rectangle(frame, cv::Point(foot.x - 10, foot.y - 2), cv::Point(foot.x + 10, foot.y + 6),
                      kShoes, cv::FILLED, kFlat);
    }
    const cv::Point torso[] = {
        {x - 25, y + 30}, {x + 25, y + 30}, {x + 19, y + 100}, {x - 19, y + 100}};
    cv::fillConvexPoly(frame, torso, 4, kShirt, kFlat);
    for (int side : {-1, 1}) {
        const double raise = 35 + side * 25 * std::sin(2 * pose.phase);
        const cv::Point shoulder(x + side * 25, y + 36);
        const cv::Point hand = Offset(shoulder, 42, raise, side);
        cv::line(frame, shoulder, hand, kSkin, 9, kFlat);
        cv::circle(frame, hand, 6, kSkin, cv::FILLED, kFlat);
    }
    cv::rectangle(frame, cv::Point(x - 6, y + 12), cv::Point(x + 6, y + 34), kSkin, cv::FILLED,
                  kFlat);
}

void DrawHead(cv::Mat& frame, const ScreenPose& pose)
{
    // cv::ellipse turns clockwise as shown on a top-down picture.
    cv::ellipse(frame, pose.head, cv::Size(kHeadHalfWidth, kHeadHalfHeight), -pose.angle, 0, 360,
                kFaceSpot, cv::FILLED, kFlat);
    for (double side : {-1.0, 1.0})
        cv::circle(frame, HeadPoint(pose, side * kEyeSpread, kEyeHeight), kEyeRadius, kEye,
                   cv::FILLED, kFlat);
    cv::ellipse(frame, HeadPoint(pose, 0, kMouthHeight),
                cv::Size(kMouthHalfWidth, kMouthHalfHeight), -pose.angle, 0, 360, kMouth,
                cv::FILLED, kFlat);
}

}  // namespace

FaceSpotPose TemplateFacePose(int index)
{
    const ScreenPose pose = PoseOf(index);
    FaceSpotPose spot;
    spot.centre = cv::Point2d(pose.head.x, kTemplateHeight - 1 - pose.head.y);
    spot.angleDegrees = pose.angle;
    return spot;
}

ImagePtr TemplateFrame(int index)
{
    ImagePtr frame = Image::Create(kTemplateWidth, kTemplateHeight, 3, ImageOrigin::BottomLeft);
    if (!frame)
        return nullptr;
    const ScreenPose pose = PoseOf(index);
    cv::Mat shown(kTemplateHeight, kTemplateWidth, CV_8UC3, kBackdrop);
    DrawBody(shown, pose);
    DrawHead(shown, pose);
    cv::Mat stored = frame->fullMat();
    cv::flip(shown, stored, 0);
    return frame;
}

cv::Mat FacePicture()
{
    const cv::Scalar backdrop(kFaceBackdrop[0], kFaceBackdrop[1], kFaceBackdrop[2]);
    const cv::Scalar hair(40, 60, 110);
    const cv::Scalar skin(140, 185, 240);
    const cv::Scalar shade(105, 145, 205);
    const cv::Scalar eyeWhite(250, 250, 250);
    const cv::Scalar iris(90, 60, 30);
    const cv::Scalar lips(60, 60, 200);

    cv::Mat face(200, 160, CV_8UC3, backdrop);
    cv::ellipse(face, cv::Point(80, 82), cv::Size(62, 62), 0, 180, 360, hair, cv::FILLED, kFlat);
    const cv::Point lock[] = {{18, 82}, {42, 82}, {38, 172}, {22, 166}};
    cv::fillConvexPoly(face, lock, 4, hair, kFlat);
    cv::ellipse(face, cv::Point(82, 108), cv::Size(50, 66), 0, 0, 360, skin, cv::FILLED, kFlat);
    const cv::Point fringe[] = {{34, 70}, {100, 48}, {70, 76}, {36, 100}};
    cv::fillConvexPoly(face, fringe, 4, hair, kFlat);
    for (int x : {62, 104}) {
        cv::ellipse(face, cv::Point(x, 102), cv::Size(11, 6), 0, 0, 360, eyeWhite, cv::FILLED,
                    kFlat);
        cv::circle(face, cv::Point(x + 2, 102), 4, iris, cv::FILLED, kFlat);
        cv::line(face, cv::Point(x - 11, 90), cv::Point(x + 10, 88), hair, 3, kFlat);
    }
    cv::line(face, cv::Point(84, 106), cv::Point(78, 126), shade, 2, kFlat);
    cv::line(face, cv::Point(78, 126), cv::Point(88, 128), shade, 2, kFlat);
    cv::ellipse(face, cv::Point(86, 144), cv::Size(18, 7), 8, 0, 360, lips, cv::FILLED, kFlat);
    cv::circle(face, cv::Point(112, 128), 2, shade, cv::FILLED, kFlat);
    return face;
}

cv::Mat BackgroundPicture()
{
    cv::Mat scene(300, 400, CV_8UC3);
    const int horizon = 190;
    for (int y = 0; y < scene.rows; ++y) {
        const double t = std::min(1.0, static_cast<double>(y) / horizon);
        const cv::Scalar sky(235 + 15 * t, 170 + 60 * t, 110 + 90 * t);
        scene.row(y).setTo(sky);
    }
    cv::circle(scene, cv::Point(320, 62), 28, cv::Scalar(70, 215, 255), cv::FILLED, kFlat);
    cv::ellipse(scene, cv::Point(300, 330), cv::Size(260, 150), 0, 0, 360, cv::Scalar(50, 140, 70),
                cv::FILLED, kFlat);
    cv::ellipse(scene, cv::Point(60, 340), cv::Size(300, 130), 0, 0, 360, cv::Scalar(70, 175, 95),
                cv::FILLED, kFlat);
    cv::rectangle(scene, cv::Point(70, 180), cv::Point(150, 250), cv::Scalar(170, 200, 230),
                  cv::FILLED, kFlat);
    const cv::Point roof[] = {{60, 182}, {110, 140}, {160, 182}};
    cv::fillConvexPoly(scene, roof, 3, cv::Scalar(40, 40, 160), kFlat);
    cv::rectangle(scene, cv::Point(100, 212), cv::Point(120, 250), cv::Scalar(40, 80, 120),
                  cv::FILLED, kFlat);
    cv::rectangle(scene, cv::Point(80, 192), cv::Point(94, 206), cv::Scalar(230, 220, 150),
                  cv::FILLED, kFlat);
    cv::rectangle(scene, cv::Point(126, 192), cv::Point(140, 206), cv::Scalar(230, 220, 150),
                  cv::FILLED, kFlat);
    return scene;
}
