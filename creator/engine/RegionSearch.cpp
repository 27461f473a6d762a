#include "creator/engine/RegionSearch.h"

#include "creator/engine/RegionSearchInternals.h"
#include "media/image/FloodFill.h"
#include "media/image/RectOps.h"

#include <cstdint>
#include <optional>

namespace {

constexpr int kSpanMargin = 4;
constexpr int kHoleTableSize = 3;

// The caller's fill mask when it fits the picture, else one made for this call.
Image* FillMaskFor(Image* given, int width, int height, ImagePtr& owned)
{
    if (given && IsFillMaskOf(*given, width, height))
        return given;
    owned = Image::Create(width + 2, height + 2, 1);
    return owned.get();
}

cv::Rect SubjectBounds(Image& invertedFill, const cv::Rect& background)
{
    invertedFill.setRoi(ToFillMask(background));
    const cv::Rect bounds = BoundingRectOfMask(invertedFill);
    invertedFill.resetRoi();
    if (bounds.empty())
        return cv::Rect();
    return bounds + background.tl();
}

ImagePtr CopyOut(const cv::Mat& from, int channels, ImageOrigin origin)
{
    ImagePtr copy = Image::Create(from.cols, from.rows, channels, origin);
    if (copy)
        from.copyTo(copy->fullMat());
    return copy;
}

}  // namespace

bool FindMarkedRegion(const Image* picture, Image* subjectMask, Image* scratchA, Image* scratchB,
                      ImagePtr* cutOut, ImagePtr* cutOutMask, cv::Rect* subjectRect,
                      cv::Scalar* backgroundColour, int* backgroundArea)
{
    if (backgroundArea)
        *backgroundArea = 0;
    if (!picture || !picture->hasData())
        return false;
    const int w = picture->width();
    const int h = picture->height();
    ImagePtr ownA;
    ImagePtr ownB;
    Image* fillMask = FillMaskFor(scratchA, w, h, ownA);
    Image* visitedMask = FillMaskFor(scratchB, w, h, ownB);
    if (!fillMask || !visitedMask)
        return false;

    ClearMask(*visitedMask, cv::Rect(0, 0, visitedMask->width(), visitedMask->height()));
    ReusedMask fill(*fillMask, true);
    const BorderColours border(*picture);
    ConnectedComponent component;
    bool found = false;
    int area = 0;
    // A border pixel that an earlier candidate took is never a seed again.
    auto tryFrom = [&](int x, int y) {
        std::uint8_t* visited = visitedMask->pixel(x + 1, y + 1);
        if (*visited != 0)
            return false;
        FillMarkedRegion(*picture, x, y, &component, fill, border);
        MarkRegionVisited(*fillMask, *visitedMask, visited, nullptr, component);
        found = component.rect.width >= w - kSpanMargin && component.rect.height >= h - kSpanMargin;
        if (found)
            area = static_cast<int>(component.area);
        return found;
    };
    for (int x = 0; x < w && !found; ++x) {
        if (!tryFrom(x, 0))
            tryFrom(x, h - 1);
    }
    for (int y = 0; y < h && !found; ++y) {
        if (!tryFrom(0, y))
            tryFrom(w - 1, y);
    }
    if (!found)
        return false;

    // Inverted, the fill mask holds 1 on every pixel that is not background.
    cv::Mat inverted = fillMask->fullMat();
    cv::bitwise_xor(inverted, cv::Scalar(1), inverted);
    const cv::Rect background = component.rect;
    const cv::Rect subject = SubjectBounds(*fillMask, background);
    if (subjectMask && IsMaskOf(*subjectMask, w, h)) {
        cv::Mat out = subjectMask->fullMat();
        out.setTo(0);
        inverted(ToFillMask(background)).copyTo(out(background));
    }
    if (cutOut) {
        *cutOut = subject.empty() ? nullptr
                                  : CopyOut(picture->fullMat()(subject), picture->channels(),
                                            picture->origin());
    }
    if (cutOutMask) {
        *cutOutMask = subject.empty()
                          ? nullptr
                          : CopyOut(inverted(ToFillMask(subject)), 1, picture->origin());
    }
    if (subjectRect)
        *subjectRect = subject;
    if (backgroundColour)
        *backgroundColour =
            cv::Scalar(component.value[0], component.value[1], component.value[2], 0);
    if (backgroundArea)
        *backgroundArea = area;
    return true;
}

bool FindBestRegion(const Image* picture, const Image* subjectMask, Image* faceMask,
                    Image* fillMask, Image* visitedMask, const cv::Rect* searchRect,
                    cv::Rect* faceRect, float* angle, int minArea, int referenceColour,
                    RegionSearchScratch* scratch)
{
    if (!picture || !picture->hasData() || !subjectMask || !faceMask || !fillMask || !visitedMask ||
        !searchRect)
        return false;
    const int w = picture->width();
    const int h = picture->height();
    if (!IsMaskOf(*subjectMask, w, h) || !IsMaskOf(*faceMask, w, h) ||
        !IsFillMaskOf(*fillMask, w, h) || !IsFillMaskOf(*visitedMask, w, h))
        return false;
    std::optional<RegionSearchScratch> own;
    if (!scratch || !scratch->Fits(w, h))
        scratch = &own.emplace(w, h);
    if (!scratch->valid())
        return false;
    ReusedMask& holeUnion = scratch->holeUnion;

    ClearMask(*visitedMask, cv::Rect(0, 0, visitedMask->width(), visitedMask->height()));
    ReusedMask fill(*fillMask, true);
    ReusedMask face(*faceMask, false);
    const cv::Mat pixels = picture->fullMat();
    const cv::Rect scan = *searchRect & cv::Rect(0, 0, w, h);
    HoleRecord holes[kHoleTableSize];
    float best = 0.0f;
    const int scanEnd = scan.x + scan.width;
    for (int y = scan.y; y < scan.y + scan.height; ++y) {
        const std::uint8_t* subjectRow = subjectMask->row(y);
        std::uint8_t* visitedRow = visitedMask->row(y + 1) + 1;  // picture column x at [x]
        for (int x = NextSeed(subjectRow, visitedRow, scan.x, scanEnd); x < scanEnd;
             x = NextSeed(subjectRow, visitedRow, x + 1, scanEnd)) {
            std::uint8_t* visited = visitedRow + x;
            fill.Clear();
            // Only the seed has to lie in the subject; the region may run beyond it.
            const ConnectedComponent region =
                FloodFillMaskOnly(pixels, cv::Point(x, y), kRegionTolerance, kRegionTolerance,
                                  fill.mat(), FillMaskRing::Leave);
            cv::Rect regionRect;
            MarkRegionVisited(*fillMask, *visitedMask, visited, &regionRect, region);
            fill.Touch(regionRect);
            if (region.area < minArea)
                continue;
            FillBorderRegions(*fillMask, regionRect);
            const bool holesFound = MeasureRegion(picture, *fillMask, holeUnion, regionRect, holes,
                                                  kHoleTableSize, scratch->holes);
            float score = 0.0f;
            float regionAngle = 0.0f;
            if (holesFound)
                score = ScoreRegion(holes, kHoleTableSize, region, referenceColour, &regionAngle);
            // The region's accepted holes are never seeds of their own.
            MarkRegionVisited(holeUnion.image(), *visitedMask, nullptr, nullptr, region);
            if (holesFound && score > best) {
                best = score;
                if (angle)
                    *angle = regionAngle;
                face.Clear();
                fillMask->fullMat()(regionRect).copyTo(faceMask->fullMat()(region.rect));
                face.Touch(region.rect);
            }
        }
    }
    if (best <= 0.0f)
        face.Clear();
    if (faceRect)
        *faceRect = BoundingRectOfMask(*faceMask);
    return best > 0.0f;
}

int MeanIntensity(const Image* picture, int x, int y, int w, int h)
{
    if (!picture || !picture->hasData())
        return 0;
    const cv::Rect area =
        cv::Rect(x, y, w, h) & cv::Rect(0, 0, picture->width(), picture->height());
    if (area.empty())
        return 0;
    const int channels = picture->channels();
    // Summed in single precision, one pixel at a time, as the caption's threshold expects.
    float sum = 0.0f;
    for (int row = area.y; row < area.y + area.height; ++row) {
        for (int column = area.x; column < area.x + area.width; ++column) {
            const std::uint8_t* p = picture->pixel(column, row);
            if (channels == 3)
                sum += static_cast<float>(p[0] + p[1] + p[2]);
            else if (channels == 1)
                sum += static_cast<float>(p[0]);
        }
    }
    if (channels == 3)
        sum /= 3.0f;
    return static_cast<int>(sum / static_cast<float>(area.area()) + 0.5f);
}
