// The smoothing and the colour clustering of a composed frame, fast and threaded, against
// the plain loops they replaced: the same bytes, the same cluster table and count.

#include "creator/engine/ColourClustering.h"
#include "creator/engine/EquivalenceFrames.h"
#include "creator/engine/FrameAnalysis.h"
#include "creator/engine/reference/ReferenceSteps.h"
#include "media/image/BilateralSmooth.h"
#include "media/image/RowWorkers.h"

#include <gtest/gtest.h>

#include <cstring>
#include <utility>
#include <vector>

namespace {

// The frame as the composition analyses it: smoothed by the reference.
ImagePtr Smoothed(const Image& frame)
{
    ImagePtr smoothed = Image::Create(frame.width(), frame.height(), 3, frame.origin());
    reference::SmoothBilateral(frame, *smoothed, 50, 5);
    return smoothed;
}

bool SameTable(const std::vector<ColourCluster>& a, const std::vector<ColourCluster>& b)
{
    for (std::size_t k = 0; k < a.size(); ++k) {
        if (std::memcmp(&a[k].c0, &b[k].c0, sizeof a[k].c0) != 0 ||
            std::memcmp(&a[k].c1, &b[k].c1, sizeof a[k].c1) != 0 ||
            std::memcmp(&a[k].c2, &b[k].c2, sizeof a[k].c2) != 0 || a[k].count != b[k].count)
            return false;
    }
    return true;
}

struct Clustered {
    ImagePtr picture;
    std::vector<ColourCluster> table;
    int count;
};

}  // namespace

TEST(AnalysisEquivalence, SmoothingGivesTheReferenceBytesAloneThreadedAndInPlace)
{
    RowWorkers workers(4);
    for (const NamedFrame& f : EquivalenceFrames()) {
        const Image& frame = *f.frame;
        ImagePtr expected = Image::Create(frame.width(), frame.height(), 3, frame.origin());
        ASSERT_TRUE(reference::SmoothBilateral(frame, *expected, 50, 5));
        ImagePtr alone = frame.Clone();
        ImagePtr threaded = frame.Clone();
        ImagePtr inPlace = frame.Clone();
        ASSERT_TRUE(SmoothBilateral(frame, *alone, 50, 5));
        ASSERT_TRUE(SmoothBilateral(frame, *threaded, 50, 5, &workers));
        ASSERT_TRUE(SmoothBilateral(*inPlace, *inPlace, 50, 5, &workers));
        EXPECT_TRUE(SameBytes(*alone, *expected)) << f.name;
        EXPECT_TRUE(SameBytes(*threaded, *expected)) << f.name;
        EXPECT_TRUE(SameBytes(*inPlace, *expected)) << f.name;
    }
}

TEST(AnalysisEquivalence, SmoothingOfOtherSigmasRegionsAndGreyPicturesGivesTheReferenceBytes)
{
    RowWorkers workers(3);
    const ImagePtr frame = NoiseFrame(90, 70, 11);
    const std::pair<double, double> sigmas[] = {{50, 5}, {0, 0}, {7.5, 30}};
    for (const auto& [colour, space] : sigmas) {
        ImagePtr expected = frame->Clone();
        ImagePtr fast = frame->Clone();
        ASSERT_TRUE(reference::SmoothBilateral(*frame, *expected, colour, space));
        ASSERT_TRUE(SmoothBilateral(*frame, *fast, colour, space, &workers));
        EXPECT_TRUE(SameBytes(*fast, *expected)) << colour;
    }

    ImagePtr source = frame->Clone();
    source->setRoi(cv::Rect(5, 7, 41, 33));
    ImagePtr expected = frame->Clone();
    ImagePtr fast = frame->Clone();
    expected->setRoi(cv::Rect(20, 3, 41, 33));
    fast->setRoi(cv::Rect(20, 3, 41, 33));
    ASSERT_TRUE(reference::SmoothBilateral(*source, *expected, 50, 5));
    ASSERT_TRUE(SmoothBilateral(*source, *fast, 50, 5, &workers));
    EXPECT_TRUE(SameBytes(*fast, *expected));

    ImagePtr grey = Image::Create(50, 40, 1);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 50; ++x)
            grey->pixel(x, y)[0] = static_cast<std::uint8_t>(x * y + 3 * x);
    ImagePtr greyExpected = grey->Clone();
    ImagePtr greyFast = grey->Clone();
    ASSERT_TRUE(reference::SmoothBilateral(*grey, *greyExpected, 50, 5));
    ASSERT_TRUE(SmoothBilateral(*grey, *greyFast, 50, 5, &workers));
    EXPECT_TRUE(SameBytes(*greyFast, *greyExpected));
}

namespace {

Clustered Cluster(const Image& picture, int capacity, bool fast, RowWorkers* workers)
{
    Clustered result{picture.Clone(), std::vector<ColourCluster>(capacity), capacity};
    if (fast)
        EXPECT_EQ(ClusterColours(*result.picture, result.picture.get(), result.table.data(),
                                 &result.count, workers),
                  1);
    else
        EXPECT_EQ(reference::ClusterColours(*result.picture, result.picture.get(),
                                            result.table.data(), &result.count),
                  1);
    return result;
}

void ExpectSameClustering(const Image& picture, int capacity, RowWorkers& workers,
                          const std::string& name)
{
    const Clustered expected = Cluster(picture, capacity, false, nullptr);
    for (RowWorkers* threads : {static_cast<RowWorkers*>(nullptr), &workers}) {
        const Clustered fast = Cluster(picture, capacity, true, threads);
        EXPECT_EQ(fast.count, expected.count) << name << ", capacity " << capacity;
        EXPECT_TRUE(SameTable(fast.table, expected.table)) << name << ", capacity " << capacity;
        EXPECT_TRUE(SameBytes(*fast.picture, *expected.picture))
            << name << ", capacity " << capacity;
    }
}

}  // namespace

TEST(AnalysisEquivalence, ClusteringGivesTheReferenceBytesTableAndCount)
{
    RowWorkers workers(4);
    for (const NamedFrame& f : EquivalenceFrames()) {
        ExpectSameClustering(*Smoothed(*f.frame), 256, workers, f.name + ", smoothed");
        ExpectSameClustering(*f.frame, 256, workers, f.name);
    }
}

TEST(AnalysisEquivalence, ClusteringOfNoiseThatFillsTheTableGivesTheReferenceResult)
{
    RowWorkers workers(4);
    const ImagePtr noise = NoiseFrame(160, 120, 5);
    // Given room, its colours form far more than 256 clusters: a table of 256 fills, so
    // merges run while the pixels stream in and reorder the table.
    std::vector<ColourCluster> roomy(4096);
    int count = 4096;
    ASSERT_EQ(reference::ClusterColours(*noise, nullptr, roomy.data(), &count), 1);
    EXPECT_GT(count, 256);
    const ImagePtr runs = NoiseFrame(160, 120, 6, true);
    for (const int capacity : {256, 17, 2, 1, 0}) {
        ExpectSameClustering(*noise, capacity, workers, "noise");
        ExpectSameClustering(*runs, capacity, workers, "noise in runs");
    }
}

TEST(AnalysisEquivalence, SmoothingWhileClusteringGivesTheReferenceBytesAndTable)
{
    for (const int threads : {1, 4}) {
        RowWorkers workers(threads);
        for (const NamedFrame& f : EquivalenceFrames()) {
            const Image& raw = *f.frame;
            const ImagePtr expectedFrame = Smoothed(raw);
            std::vector<ColourCluster> expectedTable(256);
            int expectedCount = 256;
            reference::ClusterColours(*expectedFrame, nullptr, expectedTable.data(),
                                      &expectedCount);

            ImagePtr frame = raw.Clone();
            std::vector<ColourCluster> table(256);
            const int count = SmoothAndCluster(raw, *frame, 50, 5, table.data(), 256, workers);
            EXPECT_TRUE(SameBytes(*frame, *expectedFrame)) << f.name << ", " << threads;
            EXPECT_EQ(count, expectedCount) << f.name << ", " << threads;
            EXPECT_TRUE(SameTable(table, expectedTable)) << f.name << ", " << threads;
        }
    }
}
