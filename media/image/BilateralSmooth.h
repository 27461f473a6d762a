#pragma once

#include "media/image/Image.h"

class RowWorkers;

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
