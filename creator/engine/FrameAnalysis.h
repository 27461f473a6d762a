#pragma once

#include "creator/engine/ColourClustering.h"
#include "media/image/Image.h"
#include "media/image/RowWorkers.h"

// The first steps of a frame's analysis in one: smooths raw into frame (SmoothBilateral)
// and clusters frame's colours into table (ClusterColours without a destination), with
// the same bytes and the same table. The clustering's streaming pass takes each band of
// rows as soon as it is smoothed, on the calling thread, while the workers smooth the
// bands after it.
// raw: 8 bits, 3 channels; frame: the same size and channels, not sharing raw's pixels.
// table: caller-owned, capacity entries. Gives the active clusters (0 when the pictures
// break the rules above; the table is then only reset).
int SmoothAndCluster(const Image& raw, Image& frame, double colourSigma, double spaceSigma,
                     ColourCluster* table, int capacity, RowWorkers& workers);
