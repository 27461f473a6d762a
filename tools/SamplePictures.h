#pragma once

#include "media/image/Image.h"

#include <opencv2/core.hpp>

// The pictures of the sample inputs, drawn in flat colours without anti-aliasing so that
// every area stays one exact colour: the region search fills with a tolerance of 10 and
// the template is stored uncompressed, so a flat area on screen is a flat area to the
// engine.

// The template's frames: 320 x 240 at 5 frames per second.
inline constexpr int kTemplateWidth = 320;
inline constexpr int kTemplateHeight = 240;
inline constexpr int kTemplateFrameCount = 48;
inline constexpr double kTemplateFramesPerSecond = 5.0;
// The face spot turns by one direction step every this many frames.
inline constexpr int kFramesPerTurn = 2;
inline constexpr double kTurnDegrees = 22.5;

// Where the template's face spot is meant to be found in one frame, in the engine's
// frame coordinates: (column, stored row) with stored row 0 the bottom line as shown.
struct FaceSpotPose {
    cv::Point2d centre;
    // The direction from the mouth to the eyes' midpoint as the engine states it: 0 with
    // the eyes straight above the mouth as shown, growing counter-clockwise; 0 to 360.
    double angleDegrees = 0;
};

// The pose of the face spot in frame index (0 to kTemplateFrameCount - 1; other indexes
// repeat the cycle).
FaceSpotPose TemplateFacePose(int index);

// One template frame: 3 channels, kTemplateWidth x kTemplateHeight, rows stored bottom-up
// (origin BottomLeft) as the video frames reach the engine. A dancer in a few flat colours
// on a flat backdrop that surrounds it; the head is a dark, one-colour ellipse with two
// light eyes and a larger mouth, posed as TemplateFacePose says. The caller owns the
// picture; null only when memory runs out.
ImagePtr TemplateFrame(int index);

// The face picture: 3 channels, top-down, 160 x 200; a face with hair on top and a lock
// hanging down its left side as shown (so that a turned copy shows which way it was
// turned) on a flat backdrop that touches every border and surrounds the face.
cv::Mat FacePicture();
// The face picture's backdrop colour (blue, green, red).
inline const cv::Vec3b kFaceBackdrop{190, 225, 180};

// The background picture: 3 channels, top-down, 400 x 300 (not the template's size, so
// that the creator's stretching is exercised): sky, sun, hills and a house.
cv::Mat BackgroundPicture();
