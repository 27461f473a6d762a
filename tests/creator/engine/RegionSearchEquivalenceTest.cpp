// The search clears and relabels only what each fill touched; this checks it against
// the plain way of clearing and labelling whole masks for every seed.

#include "creator/engine/RegionSearch.h"

#include "creator/engine/RegionSearchInternals.h"

#include <gtest/gtest.h>
#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <climits>
#include <cmath>
#include <random>
#include <string>

namespace {

// The bounds of the pixels for which `inside` holds, row by row and column by column.
template <class Inside>
cv::Rect BoundsOf(const cv::Rect& area, Inside inside)
{
    int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;
    for (int y = area.y; y < area.y + area.height; ++y)
        for (int x = area.x; x < area.x + area.width; ++x)
            if (inside(x, y)) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    return right < left ? cv::Rect() : cv::Rect(left, top, right - left + 1, bottom - top + 1);
}

struct BestRegion {
    bool found = false;
    cv::Rect rect;
    float angle = -1000.0f;
    cv::Mat face;
};

BestRegion WholeMaskSearch(const Image& picture, const Image& subject, const cv::Rect& scan)
{
    const int w = picture.width();
    const int h = picture.height();
    BestRegion result;
    result.face = cv::Mat::zeros(h, w, CV_8UC1);
    auto visited = Image::Create(w + 2, h + 2, 1);
    HoleRecord holes[3];
    float best = 0.0f;
    for (int y = scan.y; y < scan.y + scan.height; ++y) {
        for (int x = scan.x; x < scan.x + scan.width; ++x) {
            std::uint8_t* seed = visited->pixel(x + 1, y + 1);
            if (subject.pixel(x, y)[0] == 0 || *seed != 0)
                continue;
            auto fill = Image::Create(w + 2, h + 2, 1);
            const ConnectedComponent region =
                FloodFillMaskOnly(picture.fullMat(), cv::Point(x, y), 10, 10, fill->fullMat());
            cv::Rect regionRect;
            MarkRegionVisited(*fill, *visited, seed, &regionRect, region);
            if (region.area < 64)
                continue;
            FillBorderRegions(*fill, cv::Rect(1, 1, w, h));
            ReusedMask holeUnion(w + 2, h + 2, false);
            HoleScratch scratch(w, h);
            const bool holesFound =
                MeasureRegion(&picture, *fill, holeUnion, regionRect, holes, 3, scratch);
            float angle = 0.0f;
            const float score = holesFound ? ScoreRegion(holes, 3, region, 0, &angle) : 0.0f;
            MarkRegionVisited(holeUnion.image(), *visited, nullptr, nullptr, region);
            if (holesFound && score > best) {
                best = score;
                result.angle = angle;
                result.face.setTo(0);
                fill->fullMat()(regionRect).copyTo(result.face(region.rect));
            }
        }
    }
    result.found = best > 0.0f;
    result.rect = BoundsOf(cv::Rect(0, 0, w, h),
                           [&](int x, int y) { return result.face.at<std::uint8_t>(y, x) != 0; });
    return result;
}

struct Background {
    bool found = false;
    double area = 0;
    cv::Rect rect;
    cv::Rect subject;  // what lies inside rect and is not background
};

// The border walk of every candidate and a cleared mask for each.
Background WholeMaskBackground(const Image& picture)
{
    const int w = picture.width();
    const int h = picture.height();
    const cv::Mat pixels = picture.fullMat();
    auto visited = Image::Create(w + 2, h + 2, 1);
    auto candidate = [&](int x, int y, Background& result) {
        std::uint8_t* seed = visited->pixel(x + 1, y + 1);
        if (*seed != 0)
            return false;
        auto fill = Image::Create(w + 2, h + 2, 1);
        ConnectedComponent region =
            FloodFillMaskOnly(pixels, cv::Point(x, y), 10, 10, fill->fullMat());
        auto grow = [&](int bx, int by) {
            if (fill->pixel(bx + 1, by + 1)[0] == 0 &&
                std::equal(picture.pixel(bx, by), picture.pixel(bx, by) + 3, picture.pixel(x, y))) {
                const ConnectedComponent more =
                    FloodFillMaskOnly(pixels, cv::Point(bx, by), 10, 10, fill->fullMat());
                region.area += more.area;
                const cv::Point low(std::min(region.rect.x, more.rect.x),
                                    std::min(region.rect.y, more.rect.y));
                const cv::Point high(std::max(region.rect.br().x, more.rect.br().x),
                                     std::max(region.rect.br().y, more.rect.br().y));
                region.rect = cv::Rect(low, high);
            }
        };
        for (int bx = 0; bx < w; ++bx) {
            grow(bx, 0);
            grow(bx, h - 1);
        }
        for (int by = 0; by < h; ++by) {
            grow(0, by);
            grow(w - 1, by);
        }
        MarkRegionVisited(*fill, *visited, seed, nullptr, region);
        result = {region.rect.width >= w - 4 && region.rect.height >= h - 4, region.area,
                  region.rect, BoundsOf(region.rect, [&](int px, int py) {
                      return fill->pixel(px + 1, py + 1)[0] == 0;
                  })};
        return result.found;
    };
    Background result;
    for (int x = 0; x < w && !result.found; ++x) {
        if (!candidate(x, 0, result))
            candidate(x, h - 1, result);
    }
    for (int y = 0; y < h && !result.found; ++y) {
        if (!candidate(0, y, result))
            candidate(w - 1, y, result);
    }
    return result;
}

void PaintFace(cv::Mat& frame, cv::Point at, int size, double turn)
{
    const cv::Point2d centre(at.x + size / 2.0, at.y + size / 2.0);
    auto place = [&](double dx, double dy) {
        return cv::Point(cvRound(centre.x + dx * std::cos(turn) - dy * std::sin(turn)),
                         cvRound(centre.y + dx * std::sin(turn) + dy * std::cos(turn)));
    };
    cv::circle(frame, place(0, 0), size / 2, cv::Scalar(20, 25, 30), cv::FILLED);
    const int eye = std::max(2, size / 10);
    cv::circle(frame, place(-size / 5.0, size / 6.0), eye, cv::Scalar(240, 240, 240), cv::FILLED);
    cv::circle(frame, place(size / 5.0, size / 6.0), eye, cv::Scalar(240, 240, 240), cv::FILLED);
    cv::ellipse(frame, place(0, -size / 5.0), cv::Size(size / 5, size / 10), turn * 180 / CV_PI, 0,
                360, cv::Scalar(200, 200, 240), cv::FILLED);
}

// Frames from seed 100 on have a border of many small regions around the background;
// from 103 on the background no longer spans the frame.
ImagePtr SyntheticFrame(unsigned seed)
{
    std::mt19937 random(seed);
    auto uniform = [&](int lo, int hi) {
        return std::uniform_int_distribution<int>(lo, hi)(random);
    };
    auto frame = Image::Create(160, 120, 3, ImageOrigin::BottomLeft);
    cv::Mat pixels = frame->fullMat();
    pixels.setTo(cv::Scalar(40, 200, 60));
    cv::rectangle(pixels, cv::Rect(50, 0, 60, 80), cv::Scalar(150, 90, 40), cv::FILLED);
    for (int i = 0; i < 12; ++i) {
        const cv::Scalar colour(uniform(0, 255), uniform(0, 255), uniform(0, 255));
        cv::circle(pixels, cv::Point(uniform(45, 115), uniform(0, 90)), uniform(2, 12), colour,
                   cv::FILLED);
    }
    PaintFace(pixels, cv::Point(uniform(50, 70), uniform(70, 80)), uniform(26, 36),
              uniform(-60, 60) * CV_PI / 180);
    PaintFace(pixels, cv::Point(uniform(10, 30), uniform(10, 30)), uniform(20, 30), 0.0);
    for (int i = 0; i < 300; ++i) {
        std::uint8_t* p = frame->pixel(uniform(40, 120), uniform(0, 100));
        p[uniform(0, 2)] = static_cast<std::uint8_t>(uniform(0, 255));
    }
    if (seed >= 100) {
        for (int i = 0; i < 400; ++i) {
            const int along = uniform(0, 2 * (160 + 120) - 1);
            const cv::Point at = along < 160   ? cv::Point(along, 0)
                                 : along < 320 ? cv::Point(along - 160, 119)
                                 : along < 440 ? cv::Point(0, along - 320)
                                               : cv::Point(159, along - 440);
            cv::circle(pixels, at, uniform(0, seed % 2 ? 3 : 6),
                       cv::Scalar(uniform(0, 3) * 80, uniform(0, 3) * 80, 60), cv::FILLED);
        }
    }
    if (seed >= 103) {
        // A band of small cells in four colours along the left edge keeps the background
        // from spanning the frame.
        for (int y = 0; y < 120; y += 3) {
            for (int x = 0; x < 6; x += 3)
                cv::rectangle(pixels, cv::Rect(x, y, 3, 3), cv::Scalar(uniform(0, 3) * 60, 0, 250),
                              cv::FILLED);
        }
    }
    return frame;
}

}  // namespace

// FindMarkedRegion's answer against the whole border walk; true when both found one.
bool BackgroundMatches(const Image& frame, const std::string& name)
{
    SCOPED_TRACE(name);
    auto scratchA = Image::Create(frame.width() + 2, frame.height() + 2, 1);
    scratchA->fullMat().setTo(1);
    cv::Rect subjectRect;
    int area = -1;
    const bool found = FindMarkedRegion(&frame, nullptr, scratchA.get(), nullptr, nullptr, nullptr,
                                        &subjectRect, nullptr, &area);
    const Background expected = WholeMaskBackground(frame);
    EXPECT_EQ(found, expected.found);
    EXPECT_EQ(area, expected.found ? static_cast<int>(expected.area) : 0);
    if (expected.found) {
        EXPECT_EQ(subjectRect, expected.subject);
    }
    return found && expected.found;
}

TEST(RegionSearchEquivalence, BackgroundMatchesTheWholeBorderWalk)
{
    int found = 0;
    for (const unsigned seed : {1u, 2u, 100u, 101u, 102u, 103u, 104u, 105u})
        found += BackgroundMatches(*SyntheticFrame(seed), "seed " + std::to_string(seed));
    EXPECT_GT(found, 2);
    EXPECT_LT(found, 8);

    // A figure in the frame's first three columns only.
    auto edge = Image::Create(160, 120, 3, ImageOrigin::BottomLeft);
    edge->fullMat().setTo(cv::Scalar(40, 200, 60));
    edge->fullMat()(cv::Rect(0, 30, 3, 50)).setTo(cv::Scalar(150, 90, 40));
    EXPECT_TRUE(BackgroundMatches(*edge, "figure at the left edge"));
}

TEST(RegionSearchEquivalence, MatchesWholeMaskClearingOnSyntheticFrames)
{
    int faces = 0;
    for (unsigned seed = 1; seed <= 8; ++seed) {
        auto frame = SyntheticFrame(seed);
        const int w = frame->width();
        const int h = frame->height();
        auto subject = Image::Create(w, h, 1);
        auto face = Image::Create(w, h, 1);
        auto fill = Image::Create(w + 2, h + 2, 1);
        auto visited = Image::Create(w + 2, h + 2, 1);
        fill->fullMat().setTo(3);  // left over from an earlier frame
        visited->fullMat().setTo(1);
        face->fullMat().setTo(2);
        cv::Rect subjectRect;
        int area = 0;
        ASSERT_TRUE(FindMarkedRegion(frame.get(), subject.get(), fill.get(), visited.get(), nullptr,
                                     nullptr, &subjectRect, nullptr, &area))
            << seed;

        cv::Rect faceRect;
        float angle = -1000.0f;
        const bool found = FindBestRegion(frame.get(), subject.get(), face.get(), fill.get(),
                                          visited.get(), &subjectRect, &faceRect, &angle, 64, 0);
        const BestRegion expected = WholeMaskSearch(*frame, *subject, subjectRect);
        EXPECT_EQ(found, expected.found) << seed;
        EXPECT_EQ(faceRect, expected.rect) << seed;
        EXPECT_EQ(angle, expected.angle) << seed;
        EXPECT_EQ(cv::norm(face->fullMat(), expected.face, cv::NORM_INF), 0) << seed;
        faces += found;
    }
    EXPECT_GT(faces, 4);
}
