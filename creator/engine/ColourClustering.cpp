#include "creator/engine/ColourClustering.h"

#include "media/image/ColourBlock.h"
#include "media/image/RowWorkers.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {

constexpr double kJoinDistance = 32.0;
// Farther than any two 8-bit colours can be: "no cluster found yet".
constexpr double kFarAway = 4096.0;
constexpr std::int32_t kLargestCount = std::numeric_limits<std::int32_t>::max();
// Rows per band of the threaded quantising pass.
constexpr int kBandRows = 16;

double SquaredDistance(const ColourCluster& cluster, double a0, double a1, double a2)
{
    const double d0 = cluster.c0 - a0;
    const double d1 = cluster.c1 - a1;
    const double d2 = cluster.c2 - a2;
    return d0 * d0 + d1 * d1 + d2 * d2;
}

// The square of the distance to another cluster's means truncated to integers, as the
// merges measure it.
double SquaredDistanceToTruncated(const ColourCluster& cluster, const ColourCluster& other)
{
    return SquaredDistance(cluster, std::trunc(other.c0), std::trunc(other.c1),
                           std::trunc(other.c2));
}

// The smallest square whose root is not below the distance: a square below it is the
// only one whose root can be.
double SquareBound(double distance)
{
    double square = distance * distance;
    while (std::sqrt(square) < distance)
        square = std::nextafter(square, std::numeric_limits<double>::infinity());
    return square;
}

// Squares this much apart have roots apart too, however the roots round: the root of
// a square below b x kSafelyBelow is below the root of b. (Correctly rounded roots of two
// squares a relative 2^-51 apart already differ; the margin is far above that.)
constexpr double kSafelyBelow = 1.0 - 0x1p-40;

// Whether the root of square is below limit, a limit whose own square is exact and has it
// as its root (1 and 32 are). Only a square within rounding of the limit's needs its root.
bool RootBelow(double square, double limit)
{
    const double limitSquare = limit * limit;
    if (square < limitSquare * kSafelyBelow)
        return true;
    if (square >= limitSquare)
        return false;
    return std::sqrt(square) < limit;
}

// The best of the distances met so far, kept as its square: roots are monotonic, so a
// square at or above the best's has a root at or above the best, and a square safely
// below it has a smaller root. Only squares within rounding of the best's need their roots
// taken to tell, as the distances themselves would.
class Best {
public:
    explicit Best(double start)
        : square_(SquareBound(start)), distance_(start), rootKnown_(true),
          exactSquare_(std::sqrt(square_) == start)
    {}

    double square() const { return square_; }
    // The best distance's root is below limit (see RootBelow).
    bool Below(double limit) const
    {
        return rootKnown_ ? distance_ < limit : RootBelow(square_, limit);
    }

    // Takes the distance of square candidate when it is strictly below the best.
    bool Improves(double candidate)
    {
        if (candidate >= square_)
            return false;
        // The shortcut needs the best's square to have the best as its root, which holds
        // for every square taken here and for start values such as 4096 and 32.
        if (exactSquare_ && candidate < square_ * kSafelyBelow) {
            square_ = candidate;
            rootKnown_ = false;
            return true;
        }
        const double d = std::sqrt(candidate);
        if (!(d < Distance()))
            return false;
        square_ = candidate;
        distance_ = d;
        rootKnown_ = true;
        exactSquare_ = true;
        return true;
    }

private:
    double Distance()
    {
        if (!rootKnown_) {
            distance_ = std::sqrt(square_);
            rootKnown_ = true;
        }
        return distance_;
    }

    double square_;
    double distance_;
    bool rootKnown_;
    bool exactSquare_;
};

// FindNearestCluster's scan over active clusters, which are never empty: the first
// closer than 1, else the first of the nearest. nearestSquare gets the found one's square.
int ScanActive(const ColourCluster* table, int n, const std::uint8_t* pixel, double* nearestSquare)
{
    Best best(kFarAway);
    int result = -1;
    for (int k = 0; k < n; ++k) {
        if (best.Improves(SquaredDistance(table[k], pixel[0], pixel[1], pixel[2]))) {
            result = k;
            if (best.Below(1))
                break;
        }
    }
    *nearestSquare = best.square();
    return result;
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
    if (cluster.count >= kLargestCount)
        return;
    const double c = cluster.count;
    cluster.c0 = (c * cluster.c0 + pixel[0]) / (c + 1);
    cluster.c1 = (c * cluster.c1 + pixel[1]) / (c + 1);
    cluster.c2 = (c * cluster.c2 + pixel[2]) / (c + 1);
    cluster.count += 1;
}

bool SameColour(const std::uint8_t* a, const std::uint8_t* b)
{
    return a[0] == b[0] && a[1] == b[1] && a[2] == b[2];
}

// The quantising pass over rows first .. end - 1: the table no longer changes, so what a
// pixel becomes depends on its colour alone, and a colour met just before, or kept in a
// small cache of colours met, needs no scan.
class Quantiser {
public:
    Quantiser(const ColourCluster* table, int active) : table_(table), active_(active) {}

    void Rows(const Image& source, Image& destination, int first, int end) const
    {
        Cache cache;
        const int width = source.width();
        for (int y = first; y < end; ++y) {
            const std::uint8_t* in = source.row(y);
            std::uint8_t* out = destination.row(y);
            std::uint32_t last = kNoColour;
            std::uint32_t quantised = kNoColour;
            // Runs of one colour become runs of one colour, eight pixels at a time.
            std::uint32_t blockColour = kNoColour;
            ColourBlock<3> colourBlock;
            ColourBlock<3> quantisedBlock;
            for (int x = 0; x < width;) {
                const std::uint32_t colour = Pack(in + 3 * x);
                if (colour != last) {
                    last = colour;
                    quantised = cache.Find(colour, [&] { return Quantised(in + 3 * x); });
                }
                if (quantised != kNoColour)
                    Unpack(quantised, out + 3 * x);
                ++x;
                if (x + 8 > width || quantised == kNoColour || Pack(in + 3 * x) != last)
                    continue;
                if (blockColour != last) {
                    std::uint8_t bytes[3];
                    Unpack(last, bytes);
                    colourBlock.Set(bytes);
                    Unpack(quantised, bytes);
                    quantisedBlock.Set(bytes);
                    blockColour = last;
                }
                while (x + 8 <= width && colourBlock.Matches(in + 3 * x)) {
                    quantisedBlock.Write(out + 3 * x);
                    x += 8;
                }
            }
        }
    }

private:
    // No colour of three bytes: "none yet" and "no cluster, the pixel stays".
    static constexpr std::uint32_t kNoColour = 0xFFFFFFFF;

    static void Unpack(std::uint32_t colour, std::uint8_t* p)
    {
        p[0] = static_cast<std::uint8_t>(colour);
        p[1] = static_cast<std::uint8_t>(colour >> 8);
        p[2] = static_cast<std::uint8_t>(colour >> 16);
    }

    static std::uint32_t Pack(const std::uint8_t* p)
    {
        return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
               static_cast<std::uint32_t>(p[2]) << 16;
    }

    // Colours met and what they become, one per slot by a hash of the colour.
    class Cache {
    public:
        Cache() { colours_.fill(kNoColour); }
        template <typename Work>
        std::uint32_t Find(std::uint32_t colour, Work work)
        {
            const std::size_t slot = (colour * 2654435761u) >> (32 - kSlotBits);
            if (colours_[slot] != colour) {
                colours_[slot] = colour;
                quantised_[slot] = work();
            }
            return quantised_[slot];
        }

    private:
        static constexpr int kSlotBits = 12;
        std::array<std::uint32_t, 1 << kSlotBits> colours_;
        std::array<std::uint32_t, 1 << kSlotBits> quantised_{};
    };

    // The truncated means of the pixel's nearest cluster, packed; kNoColour for none.
    std::uint32_t Quantised(const std::uint8_t* pixel) const
    {
        double square = 0;
        const int k = ScanActive(table_, active_, pixel, &square);
        if (k < 0)
            return kNoColour;
        const std::uint8_t bytes[3] = {static_cast<std::uint8_t>(table_[k].c0),
                                       static_cast<std::uint8_t>(table_[k].c1),
                                       static_cast<std::uint8_t>(table_[k].c2)};
        return Pack(bytes);
    }

    const ColourCluster* table_;
    int active_;
};

}  // namespace

void ColourCluster::SetEmpty()
{
    c0 = c1 = c2 = -1.0;
    count = 0;
}

int ColourCluster::Merge(const ColourCluster* other)
{
    if (!other)
        return 0;
    const std::int64_t a = other->count;
    const std::int64_t b = count;
    const std::int64_t n = a + b;
    if (n == 0)
        return 1;
    const double wa = static_cast<double>(a);
    const double wb = static_cast<double>(b);
    const double wn = static_cast<double>(n);
    c0 = (wa * other->c0 + wb * c0) / wn;
    c1 = (wa * other->c1 + wb * c1) / wn;
    c2 = (wa * other->c2 + wb * c2) / wn;
    count = static_cast<std::int32_t>(std::min<std::int64_t>(n, kLargestCount));
    return 1;
}

int CompareClusterCount(const ColourCluster& a, const ColourCluster& b)
{
    return b.count - a.count;
}

// Most pixels have the colour of the pixel before them; such a pixel needs no scan when
// that one joined a cluster (or opened one) and the table did not change otherwise. Only
// that cluster moved, so for this pixel all other distances are what they were, and the
// cluster stays the scan's answer as long as it did not move away: the first of the
// nearest stays first when it only gets nearer, and the first closer than 1 stays so. A
// square at or below the last one proves that.
void ColourClusterer::Add(const std::uint8_t* pixel)
{
    if (lastKnown_ && SameColour(pixel, last_)) {
        const double square = SquaredDistance(table_[lastCluster_], pixel[0], pixel[1], pixel[2]);
        if (square <= lastSquare_) {
            JoinPixel(table_[lastCluster_], pixel);
            lastSquare_ = square;
            return;
        }
    }
    lastKnown_ = false;
    last_[0] = pixel[0];
    last_[1] = pixel[1];
    last_[2] = pixel[2];
    double square = 0;
    const int nearest = ScanActive(table_, active_, pixel, &square);
    if (nearest >= 0 && RootBelow(square, kJoinDistance)) {
        JoinPixel(table_[nearest], pixel);
        Remember(nearest, square);
        return;
    }
    if (active_ >= capacity_)
        return;
    ColourCluster& opened = table_[active_];
    SetZero(opened);
    JoinPixel(opened, pixel);
    // Its means are the pixel's bytes: the colour is at distance 0 from it.
    Remember(active_, 0.0);
    active_ += 1;
    // Keep a free slot for the next new colour; a merge moves clusters around.
    if (active_ >= capacity_) {
        lastKnown_ = false;
        if (!MergeClosestClusters(table_, &active_, kJoinDistance))
            MergeSmallestCluster(table_, &active_);
    }
}

void ColourClusterer::Remember(int cluster, double square)
{
    lastKnown_ = true;
    lastCluster_ = cluster;
    lastSquare_ = square;
}

ColourClusterer::ColourClusterer(ColourCluster* table, int capacity)
    : table_(table), capacity_(std::max(capacity, 0))
{
    for (int k = 0; k < capacity_; ++k)
        table_[k].SetEmpty();
}

void ColourClusterer::AddRows(const Image& source, int first, int end)
{
    for (int y = first; y < end; ++y) {
        const std::uint8_t* pixel = source.row(y);
        for (int x = 0; x < source.width(); ++x, pixel += 3)
            Add(pixel);
    }
}

int ColourClusterer::Finish()
{
    while (MergeClosestClusters(table_, &active_, kJoinDistance)) {
    }
    if (active_ > 0)
        std::sort(table_, table_ + active_, [](const ColourCluster& a, const ColourCluster& b) {
            return CompareClusterCount(a, b) < 0;
        });
    return active_;
}

void QuantiseColours(const Image& source, Image& destination, const ColourCluster* table,
                     int active, RowWorkers* workers)
{
    if (active <= 0)
        return;
    const Quantiser quantiser(table, active);
    auto rows = [&](int first, int end) { quantiser.Rows(source, destination, first, end); };
    if (workers)
        workers->RunRows(source.height(), kBandRows, rows);
    else
        rows(0, source.height());
}

int MergeClosestClusters(ColourCluster* table, int* count, double threshold)
{
    if (!table || !count)
        return 0;
    const int n = *count;
    Best best(threshold);
    int first = -1;
    int second = -1;
    for (int i = 0; i < n; ++i) {
        const double a0 = std::trunc(table[i].c0);
        const double a1 = std::trunc(table[i].c1);
        const double a2 = std::trunc(table[i].c2);
        for (int j = i + 1; j < n; ++j) {
            if (best.Improves(SquaredDistance(table[j], a0, a1, a2))) {
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

    Best best(kFarAway);
    int target = -1;
    for (int j = 0; j < n; ++j) {
        if (j != smallest && best.Improves(SquaredDistanceToTruncated(table[j], table[smallest])))
            target = j;
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
    Best best(kFarAway);
    int result = -1;
    for (int k = 0; k < n; ++k) {
        if (table[k].IsEmpty() || best.Below(1))
            break;
        if (best.Improves(SquaredDistance(table[k], b0, b1, b2)))
            result = k;
    }
    return result;
}

int ClusterColours(const Image& source, Image* destination, ColourCluster* table, int* count,
                   RowWorkers* workers)
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

    ColourClusterer clusterer(table, capacity);
    clusterer.AddRows(source, 0, source.height());
    const int active = clusterer.Finish();
    if (destination)
        QuantiseColours(source, *destination, table, active, workers);
    *count = active;
    return 1;
}
