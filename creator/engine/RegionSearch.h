#pragma once

// The search for the regions a composed frame is built around: the flat background
// around the subject, and the face spot (a dark region with two eyes and a mouth) in
// the subject. Plain functions over the caller's images: nothing is kept between calls,
// the caller owns every image passed in, and scratch masks need no clearing by the
// caller. Not reentrant for the same images. Coordinates are (column, stored row).
//
// Sizes: for a W x H picture, a "picture mask" is W x H and a "fill mask" (W + 2) x
// (H + 2), both 1 channel; a mask of another layout counts as missing.

#include "media/image/Image.h"

#include <opencv2/core.hpp>

struct RegionSearchScratch;

// Finds the background: a region of one colour (within 10 of its seed in every channel)
// that touches the border and whose rectangle is at least W - 4 wide and H - 4 high.
// picture: 1 or 3 channels, read only. subjectMask (out, optional): a picture mask, 1 on
// subject pixels (those inside the background's rectangle that are not background), 0
// elsewhere. scratchA, scratchB: fill masks or null (then made and freed here).
// cutOut, cutOutMask (out, optional): new images of the subject rectangle, owned by the
// caller: the picture's pixels (its channels and origin) and their subject mask (1
// subject, 0 background); both null when the subject is empty or memory runs out.
// subjectRect, backgroundColour (mean of the seed's fill, fourth value 0) out, optional.
// Returns true when a background was found; otherwise writes none of the outputs except
// backgroundArea (out, optional: the background's pixel count, 0 when not found).
bool FindMarkedRegion(const Image* picture, Image* subjectMask, Image* scratchA, Image* scratchB,
                      ImagePtr* cutOut, ImagePtr* cutOutMask, cv::Rect* subjectRect,
                      cv::Scalar* backgroundColour, int* backgroundArea);

// Finds within searchRect (clipped to the picture) the subject region that best fits a
// face spot: nearly one colour, at least minArea pixels, with three enclosed holes (the
// largest apart from a pair of similar smaller ones), close in colour to referenceColour
// (blue bits 0-7, green 8-15, red 16-23). picture: 1 or 3 channels, read only.
// subjectMask: picture mask, seeds are its non-zero pixels. faceMask (out): picture mask,
// the winner's rectangle labelled 2 region, 1 holes, 0 elsewhere; all 0 when nothing
// qualifies. fillMask, visitedMask: fill masks, scratch. faceRect (out, optional): the
// bounds of faceMask's non-zero pixels, (0, 0, 0, 0) when none. angle (out, optional):
// the winner's orientation in degrees, in (-270, 90], 0 for an upright face in a
// bottom-up frame, growing counter-clockwise; not written when nothing qualifies.
// Ties keep the first region in scan order. scratch (optional): the search's own masks,
// kept by a caller that searches many frames of one size (see RegionSearchInternals.h);
// without it, or when it was made for another size, they are made for this call.
// Returns true when some region scored > 0; false without writing anything when an image
// or searchRect is missing.
bool FindBestRegion(const Image* picture, const Image* subjectMask, Image* faceMask,
                    Image* fillMask, Image* visitedMask, const cv::Rect* searchRect,
                    cv::Rect* faceRect, float* angle, int minArea, int referenceColour,
                    RegionSearchScratch* scratch = nullptr);

// The rounded mean brightness of the rectangle (x, y, w, h), clipped to the picture; for 3
// channels the mean of blue + green + red divided by 3. 0 for a missing picture, another
// channel count or a rectangle that misses the picture.
int MeanIntensity(const Image* picture, int x, int y, int w, int h);
