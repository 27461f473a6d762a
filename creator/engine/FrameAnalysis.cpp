#include "creator/engine/FrameAnalysis.h"

#include "media/image/BilateralSmooth.h"

#include <algorithm>

int SmoothAndCluster(const Image& raw, Image& frame, double colourSigma, double spaceSigma,
                     ColourCluster* table, int capacity, RowWorkers& workers)
{
    ColourClusterer clusterer(table, capacity);
    const BilateralSmoothing smoothing(raw, frame, colourSigma, spaceSigma);
    if (!smoothing.valid() || raw.channels() != 3 || frame.hasRoi())
        return 0;
    const int rows = frame.height();
    const int bandRows = BilateralSmoothing::kBandRows;
    auto first = [&](int band) { return band * bandRows; };
    auto end = [&](int band) { return std::min(first(band) + bandRows, rows); };
    workers.RunInOrder((rows + bandRows - 1) / bandRows,
                       [&](int band) { smoothing.Rows(first(band), end(band)); },
                       [&](int band) { clusterer.AddRows(frame, first(band), end(band)); });
    return clusterer.Finish();
}
