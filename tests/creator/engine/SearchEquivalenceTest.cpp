// The fills of the region search and the blends of the composition, in tight loops,
// against the plain per-pixel ones they replaced: the same components, masks and bytes.

#include "creator/engine/EquivalenceFrames.h"
#include "creator/engine/FaceBlend.h"
#include "creator/engine/reference/ReferenceSteps.h"
#include "media/image/FloodFill.h"

#include <gtest/gtest.h>

#include <string>

namespace {

bool SameComponent(const ConnectedComponent& a, const ConnectedComponent& b)
{
    return a.area == b.area && a.rect == b.rect && a.value == b.value;
}

bool SameMat(const cv::Mat& a, const cv::Mat& b)
{
    return a.size() == b.size() && a.type() == b.type() && cv::norm(a, b, cv::NORM_INF) == 0;
}

// Fills from a grid of seeds one after the other into one mask, as the searches do, so
// that later fills meet the pixels earlier ones took.
void ExpectSameFills(const cv::Mat& picture, int tolerance, const std::string& name)
{
    cv::Mat expectedMask(picture.rows + 2, picture.cols + 2, CV_8UC1, cv::Scalar(0));
    cv::Mat fastMask = expectedMask.clone();
    const int stepX = std::max(picture.cols / 9, 1);
    const int stepY = std::max(picture.rows / 7, 1);
    for (int y = 0; y < picture.rows; y += stepY) {
        for (int x = 0; x < picture.cols; x += stepX) {
            const cv::Point seed(x, y);
            const ConnectedComponent expected =
                reference::FloodFillMaskOnly(picture, seed, tolerance, tolerance, expectedMask);
            const ConnectedComponent fast =
                FloodFillMaskOnly(picture, seed, tolerance, tolerance, fastMask);
            ASSERT_TRUE(SameComponent(fast, expected)) << name << " at " << x << ", " << y;
            ASSERT_TRUE(SameMat(fastMask, expectedMask)) << name << " at " << x << ", " << y;
        }
    }
}

}  // namespace

TEST(SearchEquivalence, MaskedFillsTakeTheReferencePixelsAndReportTheReferenceComponents)
{
    for (const NamedFrame& f : EquivalenceFrames()) {
        const cv::Mat picture = f.frame->fullMat();
        ExpectSameFills(picture, 10, f.name);
        ExpectSameFills(picture, 0, f.name);
        cv::Mat grey;
        cv::extractChannel(picture, grey, 1);
        ExpectSameFills(grey, 10, f.name + ", one channel");
    }
    // Tolerances that run beyond 0 and 255, and a range that takes nothing.
    const ImagePtr noise = NoiseFrame(60, 40, 8);
    ExpectSameFills(noise->fullMat(), 200, "noise");
    ExpectSameFills(noise->fullMat(), -1, "noise");
}

TEST(SearchEquivalence, ValueFillsRelabelTheReferencePixels)
{
    for (const NamedFrame& f : EquivalenceFrames()) {
        cv::Mat labels;
        cv::extractChannel(f.frame->fullMat(), labels, 0);
        labels = labels / 64;
        cv::Mat expected = labels.clone();
        cv::Mat fast = labels.clone();
        for (int y = 0; y < labels.rows; y += std::max(labels.rows / 5, 1)) {
            for (int x = 0; x < labels.cols; x += std::max(labels.cols / 5, 1)) {
                const auto value = static_cast<std::uint8_t>((x + y) % 5);
                const ConnectedComponent e = reference::FloodFillValue(expected, {x, y}, value);
                const ConnectedComponent g = FloodFillValue(fast, {x, y}, value);
                ASSERT_TRUE(SameComponent(g, e)) << f.name << " at " << x << ", " << y;
                ASSERT_TRUE(SameMat(fast, expected)) << f.name << " at " << x << ", " << y;
            }
        }
    }
}

namespace {

// A mask of w x h: blobs from noise, so that most set pixels lie on an edge, with a solid
// block so that some are inner ones.
ImagePtr BlobMask(int w, int h, unsigned seed)
{
    const ImagePtr noise = NoiseFrame(w, h, seed);
    ImagePtr mask = Image::Create(w, h, 1);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            mask->pixel(x, y)[0] = noise->pixel(x, y)[0] > 100 ? noise->pixel(x, y)[1] | 1 : 0;
    mask->fullMat()(cv::Rect(w / 4, h / 4, w / 2, h / 2)).setTo(255);
    return mask;
}

void ExpectSameBlend(const Image& source, const Image& destination, const Image& mask,
                     const cv::Rect& place, const std::string& name)
{
    ImagePtr expected = destination.Clone();
    ImagePtr fast = destination.Clone();
    reference::BlendFaceIntoFrame(source, *expected, mask, place.x, place.y, place.width,
                                  place.height);
    BlendFaceIntoFrame(source, *fast, mask, place.x, place.y, place.width, place.height);
    EXPECT_TRUE(SameBytes(*fast, *expected)) << name << " at " << place.x << ", " << place.y << ", "
                                             << place.width << " x " << place.height;
}

}  // namespace

TEST(SearchEquivalence, BlendsDrawTheReferenceBytes)
{
    for (const NamedFrame& f : EquivalenceFrames()) {
        const Image& frame = *f.frame;
        const int w = frame.width();
        const int h = frame.height();
        const ImagePtr base = NoiseFrame(w, h, 9);
        // The figure over a background, through a mask of the whole frame.
        ExpectSameBlend(frame, *base, *BlobMask(w, h, 10), cv::Rect(0, 0, w, h), f.name);
        // A face reaching beyond every side, and one that ends on the last column and row.
        const ImagePtr face = NoiseFrame(w / 2 + 3, h / 2 + 2, 11);
        const ImagePtr faceMask = BlobMask(face->width(), face->height(), 12);
        const cv::Size size(face->width(), face->height());
        for (const cv::Point at :
             {cv::Point(-3, -2), cv::Point(w - size.width / 2, h - 4),
              cv::Point(w - size.width, h - size.height), cv::Point(w / 3, h / 5)})
            ExpectSameBlend(*face, frame, *faceMask, cv::Rect(at, size), f.name);
    }
}
