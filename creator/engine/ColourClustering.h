#pragma once

#include "media/image/Image.h"

#include <cstdint>

class RowWorkers;

// Reducing a frame's colours to a few clusters in one streaming pass, so that the region
// search sees flat areas as one colour. A pixel joins the nearest cluster closer than 32
// colour units or opens a new one; clusters closer than 32 are merged, and a full table
// forces a merge. Nothing here allocates: the table is the caller's.
//
// Colour distance: the Euclidean distance of two colours over the three channels, with a
// cluster's means as doubles.
//
// The table: a caller-owned array with a capacity; the active clusters always fill a
// prefix, and the entry after the last active one, if any, is empty. Operations that free
// a slot move the last active cluster into it.

// One cluster: mean of byte 0, 1 and 2 (blue, green, red) of its member pixels, and how
// many there are. Empty: all means -1 and count 0.
struct ColourCluster {
    double c0 = -1.0;
    double c1 = -1.0;
    double c2 = -1.0;
    std::int32_t count = 0;

    ColourCluster() = default;
    ~ColourCluster() { SetEmpty(); }
    ColourCluster(const ColourCluster&) = default;
    ColourCluster& operator=(const ColourCluster&) = default;

    // Takes other's members into this cluster (other is left as it was). The count stops
    // at the largest 32-bit value. Gives 0 when other is null, else 1.
    int Merge(const ColourCluster* other);

    // Count 0 or less and every mean negative.
    bool IsEmpty() const { return count <= 0 && c0 < 0 && c1 < 0 && c2 < 0; }
    void SetEmpty();
};

// For sorting by descending count: b.count - a.count.
int CompareClusterCount(const ColourCluster& a, const ColourCluster& b);

// Merges the closest pair of the first *count clusters if it is closer than threshold
// (distance of cluster j to the truncated means of cluster i, i < j; among equal distances
// the first pair found). Cluster j absorbs cluster i, the last active cluster moves into
// slot i and *count drops by one. Gives 1 when it merged, 0 otherwise (also for null).
int MergeClosestClusters(ColourCluster* table, int* count, double threshold);

// Merges the smallest of the first *count clusters (the first among equal counts) into
// the cluster nearest to its truncated means (the first among equal distances), then
// moves the last active cluster into the freed slot. Gives 1 when it merged; 0 for null
// arguments or fewer than two clusters.
int MergeSmallestCluster(ColourCluster* table, int* count);

// The index of the cluster among the first n nearest to the pixel (b0, b1, b2), the first
// among equal distances; the scan stops at an empty entry or once a cluster is closer than
// 1. Gives -1 when there is none.
int FindNearestCluster(const ColourCluster* table, int n, int b0, int b1, int b2);

// Clusters the colours of source and, when destination is given, replaces each of its
// pixels by the truncated mean of the source pixel's nearest cluster.
// source:      8 bits, 3 channels, with pixels; the whole picture is read.
// destination: optional, 3 channels, at least the source's width and height; may be the
//              source itself (quantised in place).
// table:       caller-owned, *count entries; reset at the start.
// count:       in: the capacity; out: the number of active clusters, sorted by descending
//              count. Never more than capacity - 1 for capacities of 2 and more.
// workers:     optional; the quantising pass then has its rows shared among its threads
//              (the result is the same byte for byte).
// Gives 1; 0 when an argument breaks the rules above (then table and destination are
// untouched and *count is 0).
int ClusterColours(const Image& source, Image* destination, ColourCluster* table, int* count,
                   RowWorkers* workers = nullptr);

// ClusterColours in steps, for a caller that has the source's rows one band after another:
// the frame analysis clusters each band of a frame as soon as it is smoothed. The table
// and the result are ClusterColours's.
class ColourClusterer {
public:
    // table: caller-owned, capacity entries, reset here; it must outlive the clusterer.
    ColourClusterer(ColourCluster* table, int capacity);

    // The streaming pass over rows first .. end - 1 of source (8 bits, 3 channels, whole
    // rows). Bands must come in row order and all from one picture.
    void AddRows(const Image& source, int first, int end);
    // The last merges and the sort by descending count; gives the active clusters.
    int Finish();

private:
    void Add(const std::uint8_t* pixel);
    // The pixel just added joined or opened this cluster, at this squared distance from
    // it before it joined.
    void Remember(int cluster, double square);

    ColourCluster* table_;
    int capacity_;
    int active_ = 0;
    bool lastKnown_ = false;
    std::uint8_t last_[3] = {};
    int lastCluster_ = 0;
    double lastSquare_ = 0;
};

// ClusterColours' quantising pass: each pixel of destination becomes the truncated mean
// of its source pixel's nearest cluster among the first active of a finished table.
// source: 8 bits, 3 channels; destination: 3 channels, at least the source's size, may be
// the source. workers: optional, shares the rows among its threads (same bytes).
void QuantiseColours(const Image& source, Image& destination, const ColourCluster* table,
                     int active, RowWorkers* workers = nullptr);
