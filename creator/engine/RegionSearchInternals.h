#pragma once

// The steps of the region search, open to tests. Coordinates: "fill-mask coordinates"
// are those of a mask 2 wider and higher than the picture, whose byte (x + 1, y + 1)
// belongs to picture pixel (x, y) and whose outer ring belongs to no pixel.

#include "creator/engine/BorderColours.h"
#include "creator/engine/RegionSearchMasks.h"
#include "creator/engine/RegionSearchScratch.h"
#include "creator/engine/ReusedMask.h"
#include "media/image/FloodFill.h"
#include "media/image/Image.h"

#include <opencv2/core.hpp>

#include <cstdint>

// Tolerance below and above the seed, in every channel, of the fills that grow regions.
constexpr int kRegionTolerance = 10;

// The first column from x on, below end, where subject is set and visited is not (both
// rows indexed by picture column); end when there is none.
int NextSeed(const std::uint8_t* subject, const std::uint8_t* visited, int x, int end);

// A hole found in a region and the fill-mask pixel it was filled from.
struct HoleRecord {
    ConnectedComponent component;
    int x = 0;
    int y = 0;
};

// Grows one candidate background region from picture pixel (x, y) into fillMask (a fill
// mask of picture; cleared first): the seed's tolerance-10 area plus every area grown
// from a border pixel of exactly the seed's colour (border: picture's BorderColours).
// component (out) gets the summed area, the union of the rectangles (picture
// coordinates) and the mean colour of the seed's own fill. picture: 1 or 3 channels.
void FillMarkedRegion(const Image& picture, int x, int y, ConnectedComponent* component,
                      ReusedMask& fillMask, const BorderColours& border);

// rectOut = component's rectangle moved into fill-mask coordinates. A component of more
// than one pixel is ORed from regionMask into visitedMask within rectOut; a smaller one
// only sets *seedByte (when given). Both masks: 1 channel, of the same size.
void MarkRegionVisited(const Image& regionMask, Image& visitedMask, std::uint8_t* seedByte,
                       cv::Rect* rectOut, const ConnectedComponent& component);

// Labels a fill mask that holds one region (1 within regionRect, fill-mask coordinates;
// 0 elsewhere inside the ring): region 2, holes 1 (pixels that cannot reach the picture
// border without crossing the region, 4-connected), outside 0. Works on regionRect and
// one pixel around it only; the ring is left as it is. False for a mask that is not 1
// channel.
bool FillBorderRegions(Image& fillMask, const cv::Rect& regionRect);

// Finds the enclosed holes of at least 4 pixels of a labelled region (regionMask as
// FillBorderRegions leaves it; regionRect in fill-mask coordinates): each goes into
// holeUnion (cleared first, the fill mask's size) and competes for the count places of
// holeTable (zeroed first; the largest holes stay). True when at least count holes were
// accepted. picture only has to exist. False when an image is missing or of another size.
bool MeasureRegion(const Image* picture, Image& regionMask, ReusedMask& holeUnion,
                   const cv::Rect& regionRect, HoleRecord* holeTable, int count,
                   HoleScratch& scratch);

// True when the hole (holeMask's non-zero pixels within holeRect) lies within regionRect
// and none of its pixels has an outside pixel (0 in regionMask) among its 8 neighbours.
bool IsEnclosedHole(const Image& regionMask, const Image& holeMask, const cv::Rect& regionRect,
                    const cv::Rect& holeRect);

// Keeps the count largest components in table: component replaces the smallest entry
// that is smaller than it (the first such on ties), recording (x, y) with it.
void InsertTopRegion(const ConnectedComponent* component, HoleRecord* table, int count, int x,
                     int y);

// The overlap's area, negative when the rectangles are apart (0 when they only touch);
// out (when given) gets the rectangle between the two rectangles' facing edges.
int IntersectRects(const cv::Rect& a, const cv::Rect& b, cv::Rect* out = nullptr);

// How well a region with three holes fits a face: 0 unless the holes' total area is 1%
// to 50% of the region's, the two smaller holes are within a factor 2 of each other,
// apart, and their midpoint lies outside the largest hole's central box; then the size
// factor weighed by the colour distance to referenceColour (blue bits 0-7, green 8-15,
// red 16-23). *angle (when given and count is 3) gets the direction from the largest hole
// to the pair in degrees, 0 for the pair straight above in a bottom-up frame.
float ScoreRegion(const HoleRecord* holeTable, int count, const ConnectedComponent& region,
                  int referenceColour, float* angle);

// atan2 in degrees in single precision, 90 for dx = 0 and dy >= 0, -90 for dx = 0 and dy < 0.
float Atan2Degrees(float dy, float dx);
