#include "creator/engine/reference/ReferenceSteps.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace reference {
namespace {

constexpr double kJoinDistance = 32.0;
// Farther than any two 8-bit colours can be: "no cluster found yet".
constexpr double kFarAway = 4096.0;
constexpr std::int32_t kLargestCount = std::numeric_limits<std::int32_t>::max();

double Distance(const ColourCluster& cluster, double a0, double a1, double a2)
{
    const double d0 = cluster.c0 - a0;
    const double d1 = cluster.c1 - a1;
    const double d2 = cluster.c2 - a2;
    return std::sqrt(d0 * d0 + d1 * d1 + d2 * d2);
}

// Distance to another cluster's means truncated to integers, as the merges measure it.
double DistanceToTruncated(const ColourCluster& cluster, const ColourCluster& other)
{
    return Distance(cluster, std::trunc(other.c0), std::trunc(other.c1), std::trunc(other.c2));
}

void SetZero(ColourCluster& cluster)
{
    cluster.c0 = cluster.c1 = cluster.c2 = 0.0;
    cluster.count = 0;
}

// Frees slot `freed` after its cluster was absorbed elsewhere: the last active cluster
// moves in (unless it is that very slot) and the last slot becomes empty.
void CloseGap(ColourCluster* table, int* count, int freed)
{
    SetZero(table[freed]);
    *count -= 1;
    if (freed != *count)
        table[freed].Merge(&table[*count]);
    table[*count].SetEmpty();
}

void JoinPixel(ColourCluster& cluster, const std::uint8_t* pixel)
{
    const double c = cluster.count;
    cluster.c0 = (c * cluster.c0 + pixel[0]) / (c + 1);
    cluster.c1 = (c * cluster.c1 + pixel[1]) / (c + 1);
    cluster.c2 = (c * cluster.c2 + pixel[2]) / (c + 1);
    cluster.count += 1;
}

// Puts one pixel into the table of `active` clusters out of `capacity`. The active
// clusters fill a prefix, so the first empty entry, where a new colour opens its
// cluster, is the one at index active.
void AddPixel(ColourCluster* table, int capacity, int* active, const std::uint8_t* pixel)
{
    const int nearest = reference::FindNearestCluster(table, *active, pixel[0], pixel[1], pixel[2]);
    if (nearest >= 0 && Distance(table[nearest], pixel[0], pixel[1], pixel[2]) < kJoinDistance) {
        if (table[nearest].count < kLargestCount)
            JoinPixel(table[nearest], pixel);
        return;
    }
    if (*active >= capacity)
        return;
    ColourCluster& opened = table[*active];
    SetZero(opened);
    JoinPixel(opened, pixel);
    *active += 1;
    // Keep a free slot for the next new colour.
    if (*active >= capacity && !reference::MergeClosestClusters(table, active, kJoinDistance))
        reference::MergeSmallestCluster(table, active);
}

}  // namespace

int MergeClosestClusters(ColourCluster* table, int* count, double threshold)
{
    if (!table || !count)
        return 0;
    const int n = *count;
    double best = threshold;
    int first = -1;
    int second = -1;
    for (int i = 0; i < n; ++i) {
        for (int j = i + 1; j < n; ++j) {
            const double d = DistanceToTruncated(table[j], table[i]);
            if (d < best) {
                best = d;
                first = i;
                second = j;
            }
        }
    }
    if (first < 0)
        return 0;
    table[second].Merge(&table[first]);
    CloseGap(table, count, first);
    return 1;
}

int MergeSmallestCluster(ColourCluster* table, int* count)
{
    if (!table || !count)
        return 0;
    const int n = *count;
    int smallest = -1;
    for (int k = 0; k < n; ++k) {
        if (smallest < 0 || table[k].count < table[smallest].count)
            smallest = k;
    }
    if (smallest < 0)
        return 0;

    double best = kFarAway;
    int target = -1;
    for (int j = 0; j < n; ++j) {
        if (j == smallest)
            continue;
        const double d = DistanceToTruncated(table[j], table[smallest]);
        if (d < best) {
            best = d;
            target = j;
        }
    }
    if (target < 0)
        return 0;
    table[target].Merge(&table[smallest]);
    CloseGap(table, count, smallest);
    return 1;
}

int FindNearestCluster(const ColourCluster* table, int n, int b0, int b1, int b2)
{
    if (!table)
        return -1;
    double best = kFarAway;
    int result = -1;
    for (int k = 0; k < n; ++k) {
        if (table[k].IsEmpty() || best < 1)
            break;
        const double d = Distance(table[k], b0, b1, b2);
        if (d < best) {
            best = d;
            result = k;
        }
    }
    return result;
}

int ClusterColours(const Image& source, Image* destination, ColourCluster* table, int* count)
{
    if (!count)
        return 0;
    const int capacity = std::max(*count, 0);
    *count = 0;
    if (!source.hasData() || source.channels() != 3 || (capacity > 0 && !table))
        return 0;
    if (destination &&
        (!destination->hasData() || destination->channels() != 3 ||
         destination->width() < source.width() || destination->height() < source.height()))
        return 0;

    for (int k = 0; k < capacity; ++k)
        table[k].SetEmpty();
    int active = 0;
    for (int y = 0; y < source.height(); ++y)
        for (int x = 0; x < source.width(); ++x)
            AddPixel(table, capacity, &active, source.pixel(x, y));

    while (reference::MergeClosestClusters(table, &active, kJoinDistance)) {
    }
    if (active > 0)
        std::sort(table, table + active, [](const ColourCluster& a, const ColourCluster& b) {
            return CompareClusterCount(a, b) < 0;
        });

    if (destination) {
        for (int y = 0; y < source.height(); ++y) {
            for (int x = 0; x < source.width(); ++x) {
                const std::uint8_t* pixel = source.pixel(x, y);
                const int k =
                    reference::FindNearestCluster(table, active, pixel[0], pixel[1], pixel[2]);
                if (k < 0)
                    continue;
                std::uint8_t* out = destination->pixel(x, y);
                out[0] = static_cast<std::uint8_t>(table[k].c0);
                out[1] = static_cast<std::uint8_t>(table[k].c1);
                out[2] = static_cast<std::uint8_t>(table[k].c2);
            }
        }
    }
    *count = active;
    return 1;
}

}  // namespace reference
