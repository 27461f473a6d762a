#pragma once

// The composition's picture steps as they were before they were made fast: plain scalar
// loops, one call per pixel. They stay here as the reference that the fast steps must
// equal byte for byte; see the equivalence tests. Each has the contract of the function
// of the same name outside this namespace, and they share the helpers that did not change
// (IsEdgePixel, SetFillMaskRing, ColourCluster::Merge, the rotation's geometry).

#include "creator/engine/ColourClustering.h"
#include "creator/engine/ImageRotation.h"
#include "creator/engine/RotationClip.h"
#include "media/image/FloodFill.h"
#include "media/image/Image.h"

#include <cstdint>

namespace reference {

bool SmoothBilateral(const Image& source, Image& destination, double colourSigma,
                     double spaceSigma);

int MergeClosestClusters(ColourCluster* table, int* count, double threshold);
int MergeSmallestCluster(ColourCluster* table, int* count);
int FindNearestCluster(const ColourCluster* table, int n, int b0, int b1, int b2);
int ClusterColours(const Image& source, Image* destination, ColourCluster* table, int* count);

// Sets the fill mask's ring, as FillMaskRing::Set does.
ConnectedComponent FloodFillMaskOnly(const cv::Mat& picture, cv::Point seed, int lo, int up,
                                     cv::Mat fillMask);
ConnectedComponent FloodFillValue(cv::Mat image, cv::Point seed, std::uint8_t newValue);

void BlendFaceIntoFrame(const Image& source, Image& destination, const Image& mask, int x, int y,
                        int w, int h);

void AccumulateCoverage(const Image& source, const Image& sourceMask,
                        const RotationGeometry& geometry, std::span<CoverageCell> grid,
                        Image& outMask);
int RotateImage(const Image& source, const Image* sourceMask, ImagePtr* outImage, ImagePtr* outMask,
                double angle, std::uint32_t fillColour, bool blend);

}  // namespace reference
