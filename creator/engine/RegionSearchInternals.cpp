#include "creator/engine/RegionSearchInternals.h"

#include "media/image/ColourBlock.h"
#include "media/image/RectOps.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int kSmallestHole = 4;

bool SameLayout(const Image& a, const Image& b)
{
    return ImagesMatch(a, b) && a.hasData() && b.hasData();
}

// Eight bytes at a time, where the compiler would go byte by byte.
void OrRow(std::uint8_t* to, const std::uint8_t* from, int width)
{
    int i = 0;
    for (; i + 8 <= width; i += 8) {
        std::uint64_t a;
        std::uint64_t b;
        std::memcpy(&a, to + i, sizeof a);
        std::memcpy(&b, from + i, sizeof b);
        a |= b;
        std::memcpy(to + i, &a, sizeof a);
    }
    for (; i < width; ++i)
        to[i] |= from[i];
}

// Adds 1 to every byte, saturating: eight at a time while none of them is 128 or more.
void IncrementRow(std::uint8_t* bytes, int width)
{
    constexpr std::uint64_t kOnes = 0x0101010101010101;
    constexpr std::uint64_t kHighBits = 0x8080808080808080;
    int i = 0;
    for (; i + 8 <= width; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, bytes + i, sizeof word);
        if ((word & kHighBits) != 0)
            break;
        word += kOnes;
        std::memcpy(bytes + i, &word, sizeof word);
    }
    for (; i < width; ++i)
        bytes[i] = static_cast<std::uint8_t>(bytes[i] == 255 ? 255 : bytes[i] + 1);
}

}  // namespace

int NextSeed(const std::uint8_t* subject, const std::uint8_t* visited, int x, int end)
{
    constexpr std::uint64_t kOnes = 0x0101010101010101;
    constexpr std::uint64_t kHighBits = 0x8080808080808080;
    while (x < end) {
        // Eight at a time while none of them can be a seed: no subject byte set, or every
        // visited byte set (a word without a zero byte).
        if (x + 8 <= end) {
            const std::uint64_t s = ColourBlock<1>::Load8(subject + x);
            const std::uint64_t v = ColourBlock<1>::Load8(visited + x);
            if (s == 0 || ((v - kOnes) & ~v & kHighBits) == 0) {
                x += 8;
                continue;
            }
        }
        if (subject[x] != 0 && visited[x] == 0)
            return x;
        ++x;
    }
    return end;
}

void FillMarkedRegion(const Image& picture, int x, int y, ConnectedComponent* component,
                      ReusedMask& fillMask, const BorderColours& border)
{
    if (!component)
        return;
    *component = ConnectedComponent();
    if (!picture.hasData() || !fillMask.valid() ||
        !IsFillMaskOf(fillMask.image(), picture.width(), picture.height()))
        return;
    fillMask.Clear();
    const cv::Mat pixels = picture.fullMat();
    *component = FloodFillMaskOnly(pixels, cv::Point(x, y), kRegionTolerance, kRegionTolerance,
                                   fillMask.mat(), FillMaskRing::Leave);
    if (component->area <= 0)
        return;
    const Image& mask = fillMask.image();
    // Every fill runs with the same range around the same colour, so the areas they take
    // are disjoint and their sum counts no pixel twice.
    for (const cv::Point& p : border.Matching(x, y)) {
        if (mask.pixel(p.x + 1, p.y + 1)[0] != 0)
            continue;
        const ConnectedComponent more = FloodFillMaskOnly(
            pixels, p, kRegionTolerance, kRegionTolerance, fillMask.mat(), FillMaskRing::Leave);
        component->area += more.area;
        component->rect = MaxRect(component->rect, more.rect);
    }
    fillMask.Touch(ToFillMask(component->rect));
}

void MarkRegionVisited(const Image& regionMask, Image& visitedMask, std::uint8_t* seedByte,
                       cv::Rect* rectOut, const ConnectedComponent& component)
{
    const cv::Rect rect = ToFillMask(component.rect);
    if (rectOut)
        *rectOut = rect;
    if (component.area > 1) {
        if (!SameLayout(regionMask, visitedMask))
            return;
        const cv::Rect part = rect & cv::Rect(0, 0, regionMask.width(), regionMask.height());
        if (part.empty())
            return;
        ForRows(part, [&](int y, int x, int width) {
            OrRow(visitedMask.row(y) + x, regionMask.row(y) + x, width);
        });
    } else if (seedByte) {
        *seedByte = 1;
    }
}

bool FillBorderRegions(Image& fillMask, const cv::Rect& regionRect)
{
    if (!fillMask.hasData() || fillMask.channels() != 1)
        return false;
    // Pixels beyond one pixel around the region's rectangle are 0 and reach the border
    // on their own side of it, so they stay 0; only this band and the rectangle change.
    const cv::Rect band =
        cv::Rect(regionRect.x - 1, regionRect.y - 1, regionRect.width + 2, regionRect.height + 2) &
        InnerArea(fillMask);
    if (band.empty())
        return true;
    ForRows(band, [&](int y, int x, int width) { IncrementRow(fillMask.row(y) + x, width); });
    cv::Mat view = fillMask.fullMat()(band);
    // Every outside pixel that reaches the border reaches the band's edge first: there it
    // is either just outside the region's rectangle or on the picture's border.
    auto clearFrom = [&](int x, int y) {
        if (view.at<std::uint8_t>(y, x) == 1)
            FloodFillValue(view, cv::Point(x, y), 0);
    };
    for (int x = 0; x < view.cols; ++x) {
        clearFrom(x, 0);
        clearFrom(x, view.rows - 1);
    }
    for (int y = 0; y < view.rows; ++y) {
        clearFrom(0, y);
        clearFrom(view.cols - 1, y);
    }
    return true;
}

bool MeasureRegion(const Image* picture, Image& regionMask, ReusedMask& holeUnion,
                   const cv::Rect& regionRect, HoleRecord* holeTable, int count,
                   HoleScratch& scratch)
{
    if (!picture || !regionMask.hasData() || regionMask.channels() != 1 || !holeUnion.valid() ||
        !scratch.valid() || regionMask.width() < 2 || regionMask.height() < 2)
        return false;
    const int w = regionMask.width() - 2;
    const int h = regionMask.height() - 2;
    if (!IsFillMaskOf(holeUnion.image(), w, h) || !IsFillMaskOf(scratch.fill.image(), w, h) ||
        !IsFillMaskOf(scratch.visited.image(), w, h))
        return false;
    // The fills run on the picture-sized part, so they never enter the ring.
    const cv::Mat labels = regionMask.fullMat()(InnerArea(regionMask));
    holeUnion.Clear();
    scratch.visited.Clear();
    if (holeTable) {
        for (int i = 0; i < count; ++i)
            holeTable[i] = HoleRecord();
    }
    Image& holeFill = scratch.fill.image();
    Image& holeVisited = scratch.visited.image();
    const cv::Rect scan = regionRect & InnerArea(regionMask);
    int accepted = 0;
    for (int y = scan.y; y < scan.y + scan.height; ++y) {
        for (int x = scan.x; x < scan.x + scan.width; ++x) {
            std::uint8_t* visited = holeVisited.pixel(x, y);
            if (regionMask.pixel(x, y)[0] != 1 || *visited != 0)
                continue;
            scratch.fill.Clear();
            const ConnectedComponent hole = FloodFillMaskOnly(
                labels, cv::Point(x - 1, y - 1), 0, 0, scratch.fill.mat(), FillMaskRing::Leave);
            cv::Rect holeRect;
            MarkRegionVisited(holeFill, holeVisited, visited, &holeRect, hole);
            scratch.fill.Touch(holeRect);
            scratch.visited.Touch(holeRect);
            if (hole.area >= kSmallestHole &&
                IsEnclosedHole(regionMask, holeFill, regionRect, holeRect)) {
                MarkRegionVisited(holeFill, holeUnion.image(), nullptr, &holeRect, hole);
                holeUnion.Touch(holeRect);
                InsertTopRegion(&hole, holeTable, count, x, y);
                ++accepted;
            }
        }
    }
    return accepted >= count;
}

bool IsEnclosedHole(const Image& regionMask, const Image& holeMask, const cv::Rect& regionRect,
                    const cv::Rect& holeRect)
{
    const bool inside = IntersectRects(regionRect, holeRect) >= holeRect.width * holeRect.height;
    if (!inside)
        return false;
    if (!regionMask.hasData() || !holeMask.hasData())
        return true;
    if (!SameLayout(regionMask, holeMask) || regionMask.channels() != 1)
        return false;
    const int lastX = regionMask.width() - 1;
    const int lastY = regionMask.height() - 1;
    const cv::Rect scan = holeRect & cv::Rect(0, 0, holeMask.width(), holeMask.height());
    for (int y = scan.y; y < scan.y + scan.height; ++y) {
        for (int x = scan.x; x < scan.x + scan.width; ++x) {
            if (holeMask.pixel(x, y)[0] == 0)
                continue;
            for (int ny = std::max(y - 1, 0); ny <= std::min(y + 1, lastY); ++ny) {
                for (int nx = std::max(x - 1, 0); nx <= std::min(x + 1, lastX); ++nx) {
                    if (regionMask.pixel(nx, ny)[0] == 0)
                        return false;
                }
            }
        }
    }
    return true;
}

void InsertTopRegion(const ConnectedComponent* component, HoleRecord* table, int count, int x,
                     int y)
{
    if (!component || !table || count <= 0)
        return;
    // Larger than any picture's area, so the first smaller entry is always taken.
    int bound = 12000000;
    int chosen = -1;
    for (int i = 0; i < count; ++i) {
        if (bound > table[i].component.area && table[i].component.area < component->area) {
            chosen = i;
            bound = static_cast<int>(table[i].component.area);
        }
    }
    if (chosen < 0)
        return;
    table[chosen].component = *component;
    table[chosen].x = x;
    table[chosen].y = y;
}

int IntersectRects(const cv::Rect& a, const cv::Rect& b, cv::Rect* out)
{
    const int left = std::max(a.x, b.x);
    const int right = std::min(a.x + a.width, b.x + b.width);
    const int top = std::max(a.y, b.y);
    const int bottom = std::min(a.y + a.height, b.y + b.height);
    const int w = std::abs(right - left);
    const int h = std::abs(bottom - top);
    if (out)
        *out = cv::Rect(std::min(left, right), std::min(top, bottom), w, h);
    const int area = w * h;
    return (right < left || bottom < top) ? -area : area;
}

float ScoreRegion(const HoleRecord* holeTable, int count, const ConnectedComponent& region,
                  int referenceColour, float* angle)
{
    if (!holeTable || count != 3 || region.area <= 0)
        return 0.0f;
    int largest = 0;
    for (int i = 1; i < 3; ++i) {
        if (holeTable[i].component.area > holeTable[largest].component.area)
            largest = i;
    }
    const ConnectedComponent& l = holeTable[largest].component;
    const ConnectedComponent& p = holeTable[largest == 0 ? 1 : 0].component;
    const ConnectedComponent& q = holeTable[largest == 2 ? 1 : 2].component;
    const double ratio = (l.area + p.area + q.area) / region.area;

    const int lx = l.rect.x + l.rect.width / 2;
    const int ly = l.rect.y + l.rect.height / 2;
    const int mx = (2 * (p.rect.x + q.rect.x) + p.rect.width + q.rect.width) / 4;
    const int my = (2 * (p.rect.y + q.rect.y) + p.rect.height + q.rect.height) / 4;
    if (angle)
        *angle = Atan2Degrees(static_cast<float>(my - ly), static_cast<float>(mx - lx)) - 90.0f;

    const double pairGap = std::abs(p.area - q.area);
    const bool inCentralBox = lx - l.rect.width / 4 < mx && mx < lx + l.rect.width / 4 &&
                              ly - l.rect.height / 4 < my && my < ly + l.rect.height / 4;
    if (ratio < 0.01 || ratio > 0.5 || pairGap > p.area || pairGap > q.area ||
        IntersectRects(p.rect, q.rect) >= 1 || inCentralBox)
        return 0.0f;

    float distance =
        std::fabs(static_cast<float>(region.value[0]) - (referenceColour & 0xFF)) +
        std::fabs(static_cast<float>(region.value[1]) - ((referenceColour >> 8) & 0xFF)) +
        std::fabs(static_cast<float>(region.value[2]) - ((referenceColour >> 16) & 0xFF));
    distance = std::min(distance, 255.0f);
    const float product = static_cast<float>(p.area * q.area * l.area);
    const float size = static_cast<float>(product / region.area);
    return (1.0f - distance / 255.0f) * size;
}

float Atan2Degrees(float dy, float dx)
{
    if (dx == 0.0f)
        return dy >= 0.0f ? 90.0f : -90.0f;
    const float slope = dy / dx;
    const float t = static_cast<float>(std::atan(slope)) * 180.0f / 3.141592f;
    if (dx < 0.0f)
        return t > 0.0f ? t - 180.0f : t + 180.0f;
    return t;
}
