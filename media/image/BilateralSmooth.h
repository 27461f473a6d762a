#pragma once

#include "media/image/Image.h"

#include <opencv2/core.hpp>

#include <memory>

class RowWorkers;
class BilateralWeights;
class BilateralInterior;

// Edge-keeping smoothing over a 3 x 3 window, the one the frame analysis runs before it
// quantises a frame's colours. Each neighbour n of a pixel p gets one weight for all
// channels:
//     t = s / spaceSigma^2 + |p - n|^2 / colourSigma^2,   weight = 1 / (t^2 + 1)
// where s is 1 for the four side neighbours and 2 for the four diagonal ones and |p - n|^2
// is the squared colour distance over all channels together; p itself weighs 1. Each
// channel of the result is the weighted mean of the window, rounded to nearest.
//
// The picture is not extended at its border: a pixel of the outer ring (first and last row
// and column) is smoothed over those of its neighbours that lie inside the picture only,
// so it is written like every other pixel but from a smaller window.
//
// source:       8-bit, 1 or 3 channels, with pixels; read within its region of interest.
// destination:  caller-allocated, same channel count and the same region size as the
//               source; written within its region of interest. It may share the source's
//               pixels: the source is then copied first, so every window sees unsmoothed
//               values.
// colourSigma, spaceSigma: 0 counts as 1; negative values are refused.
// workers: optional; 3-channel pictures then have their rows shared among its threads.
// The result is the same byte for byte either way.
// Returns false, leaving the destination untouched, when a rule above is broken.
bool SmoothBilateral(const Image& source, Image& destination, double colourSigma, double spaceSigma,
                     RowWorkers* workers = nullptr);

// The same smoothing in bands of rows, for a caller that uses each band as soon as it is
// smoothed: the frame analysis clusters a frame's colours row by row while the rest of the
// frame is still being smoothed. The rules and the result are SmoothBilateral's.
class BilateralSmoothing {
public:
    // Rows per band that a caller hands out: small enough that a held-up thread delays
    // little, large enough that handing a band out costs nothing next to smoothing it.
    static constexpr int kBandRows = 16;

    // Checks the pictures as SmoothBilateral does; valid() is false when a rule is broken.
    // Both pictures must stay as they are until the last band is smoothed.
    BilateralSmoothing(const Image& source, Image& destination, double colourSigma,
                       double spaceSigma);
    ~BilateralSmoothing();
    BilateralSmoothing(const BilateralSmoothing&) = delete;
    BilateralSmoothing& operator=(const BilateralSmoothing&) = delete;

    bool valid() const { return weights_ != nullptr; }
    // Rows of the region of interest.
    int rows() const { return src_.rows; }

    // Smooths the destination's rows first .. end - 1. Bands may be smoothed in any order
    // and on several threads at once; each row is written by the call that covers it only.
    void Rows(int first, int end) const;

private:
    cv::Mat src_;
    mutable cv::Mat dst_;  // written by the bands; Rows is const so that they run at once
    std::shared_ptr<const BilateralWeights> weights_;
    std::unique_ptr<const BilateralInterior> interior_;
};
