#pragma once

#include "media/image/Image.h"

#include <vector>

class RowWorkers;

// N turned copies of one face and its mask, made once when a creation opens so that the
// frame composition only picks a ready face per frame. Entry i is the face turned by
// -360 i / N degrees (entry 0 the face as given), entry i + N/2 entry i turned over by 180
// degrees; with N = 16 entry i answers a measured face direction of 22.5 i degrees.
//
// Ownership: the set owns every entry, entry 0 included (it is the very image and mask
// given to Build). Pointers handed out stay valid until the next Build, Clear or the
// set's destruction; callers must not release them.
// Threads: built and cleared on one thread while nobody reads it; in between any number
// of threads may read it. The set takes no lock.
class CRotatedImageSet {
public:
    CRotatedImageSet() = default;
    ~CRotatedImageSet();
    CRotatedImageSet(const CRotatedImageSet&) = delete;
    CRotatedImageSet& operator=(const CRotatedImageSet&) = delete;

    // image: 8 bits, 3 channels; mask: 8 bits, 1 channel, the image's size, or null (then
    // only entry 0 and entry n/2 exist, without masks: turning needs a mask).
    // n: number of entries, at least 1; with an odd n the last entry stays empty.
    // crop: cut entries 1 .. n/2 - 1 (and their turned-over copies) to the bounding
    // rectangle of their turned mask; entries 0 and n/2 keep the given size.
    // On success the set first releases all earlier entries, then takes image and mask
    // (the caller's pointers become null) and gives 1. With no image or n < 1 it gives 0
    // and changes nothing; when the entry arrays cannot be obtained it gives 0, the set is
    // empty and the caller keeps its pointers. A turn that fails, or whose mask has no set
    // pixel, leaves its entry and the turned-over copy empty.
    // workers: optional; each turn then has its rows shared among its threads (the same
    // bytes either way).
    int Build(ImagePtr& image, ImagePtr& mask, int n, bool crop, RowWorkers* workers = nullptr);

    // The entry at index, or null for an empty entry or an index outside 0 .. count-1.
    Image* GetImage(int index) const;
    Image* GetMask(int index) const;

    // Releases every entry; gives 1.
    int Clear();

    int count() const { return count_; }

private:
    // Turns entry 0 by angle into entry i, cut to its mask when crop is set.
    void MakeTurnedEntry(int i, double angle, bool crop, RowWorkers* workers);

    std::vector<ImagePtr> images_;
    std::vector<ImagePtr> masks_;
    int count_ = 0;
};
