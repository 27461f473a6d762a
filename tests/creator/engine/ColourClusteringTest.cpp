#include "creator/engine/ColourClustering.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <vector>

namespace {

ColourCluster Cluster(double c0, double c1, double c2, int count)
{
    ColourCluster cluster;
    cluster.c0 = c0;
    cluster.c1 = c1;
    cluster.c2 = c2;
    cluster.count = count;
    return cluster;
}

void SetPixel(Image& image, int x, int y, int b, int g, int r)
{
    std::uint8_t* p = image.pixel(x, y);
    p[0] = static_cast<std::uint8_t>(b);
    p[1] = static_cast<std::uint8_t>(g);
    p[2] = static_cast<std::uint8_t>(r);
}

// Left half one colour, right half the other.
ImagePtr TwoColours(int b0, int b1)
{
    auto image = Image::Create(8, 4, 3);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x)
            SetPixel(*image, x, y, x < 4 ? b0 : b1, 50, 60);
    return image;
}

}  // namespace

TEST(ColourCluster, MergeWeighsTheMeansByCountSaturatesTheCountAndKeepsEmptyClusters)
{
    ColourCluster a = Cluster(10, 20, 30, 3);
    const ColourCluster b = Cluster(50, 60, 70, 1);
    EXPECT_EQ(a.Merge(&b), 1);
    EXPECT_DOUBLE_EQ(a.c0, 20);
    EXPECT_DOUBLE_EQ(a.c2, 40);
    EXPECT_EQ(a.count, 4);
    EXPECT_EQ(a.Merge(nullptr), 0);

    ColourCluster big = Cluster(0, 0, 0, INT_MAX);
    const ColourCluster other = Cluster(100, 100, 100, INT_MAX);
    big.Merge(&other);
    EXPECT_EQ(big.count, INT_MAX);
    EXPECT_DOUBLE_EQ(big.c0, 50);

    // Two clusters without members stay as they were instead of getting means of 0 / 0.
    ColourCluster zero = Cluster(0, 0, 0, 0);
    EXPECT_EQ(zero.Merge(&zero), 1);
    EXPECT_EQ(zero.c0, 0.0);
    EXPECT_EQ(zero.c2, 0.0);
    ColourCluster empty = Cluster(-1, -1, -1, 0);
    EXPECT_EQ(empty.Merge(&zero), 1);
    EXPECT_EQ(empty.c1, -1.0);
    EXPECT_EQ(empty.count, 0);
}

TEST(MergeClosestClusters, MergesTheFirstClosestPairAndMovesTheLastIntoTheGap)
{
    ColourCluster table[5] = {Cluster(0, 0, 0, 5), Cluster(100, 100, 100, 1), Cluster(10, 0, 0, 3),
                              Cluster(200, 0, 0, 2)};
    int count = 4;
    ASSERT_EQ(MergeClosestClusters(table, &count, 32.0), 1);
    ASSERT_EQ(count, 3);
    EXPECT_DOUBLE_EQ(table[0].c0, 200);
    EXPECT_DOUBLE_EQ(table[2].c0, 3.75);
    EXPECT_EQ(table[2].count, 8);
    EXPECT_TRUE(table[3].IsEmpty());
    EXPECT_EQ(MergeClosestClusters(table, &count, 32.0), 0);

    // (0, 1) and (1, 2) are both 20 apart: the first pair found merges.
    ColourCluster tie[3] = {Cluster(0, 0, 0, 1), Cluster(20, 0, 0, 1), Cluster(40, 0, 0, 1)};
    count = 3;
    ASSERT_EQ(MergeClosestClusters(tie, &count, 32.0), 1);
    EXPECT_DOUBLE_EQ(tie[0].c0, 40);
    EXPECT_DOUBLE_EQ(tie[1].c0, 10);

    // 32.9 truncates to 32, 31.5 from 0.5: merged. Measured untruncated, or truncating the
    // other side, they would be 32.4 or 32.9 apart. Exactly 32 apart is not merged.
    ColourCluster truncated[2] = {Cluster(32.9, 0, 0, 1), Cluster(0.5, 0, 0, 1)};
    count = 2;
    EXPECT_EQ(MergeClosestClusters(truncated, &count, 32.0), 1);
    ColourCluster apart[2] = {Cluster(32, 0, 0, 1), Cluster(0, 0, 0, 1)};
    count = 2;
    EXPECT_EQ(MergeClosestClusters(apart, &count, 32.0), 0);
}

TEST(MergeSmallestCluster, JoinsTheFirstSmallestToTheFirstNearest)
{
    // Clusters 1 and 2 are the smallest: the first goes. Clusters 0 and 2 are both 50 from
    // it: cluster 0 takes it, and the last cluster moves into slot 1.
    ColourCluster table[4] = {Cluster(0, 0, 0, 5), Cluster(50, 0, 0, 2), Cluster(100, 0, 0, 2),
                              Cluster(200, 0, 0, 9)};
    int count = 4;
    ASSERT_EQ(MergeSmallestCluster(table, &count), 1);
    ASSERT_EQ(count, 3);
    EXPECT_DOUBLE_EQ(table[0].c0, 100.0 / 7);
    EXPECT_EQ(table[0].count, 7);
    EXPECT_EQ(table[1].count, 9);
    EXPECT_DOUBLE_EQ(table[2].c0, 100);
    EXPECT_TRUE(table[3].IsEmpty());

    // The smallest in the last slot just leaves it; a single cluster stays.
    ColourCluster pair[2] = {Cluster(0, 0, 0, 5), Cluster(100, 0, 0, 1)};
    count = 2;
    ASSERT_EQ(MergeSmallestCluster(pair, &count), 1);
    EXPECT_EQ(count, 1);
    EXPECT_EQ(pair[0].count, 6);
    EXPECT_TRUE(pair[1].IsEmpty());
    EXPECT_EQ(MergeSmallestCluster(pair, &count), 0);
}

TEST(FindNearestCluster, FirstAmongEqualsAndStopsAtEmptyOrVeryClose)
{
    const ColourCluster tie[2] = {Cluster(10, 10, 10, 1), Cluster(30, 10, 10, 1)};
    EXPECT_EQ(FindNearestCluster(tie, 2, 20, 10, 10), 0);
    EXPECT_EQ(FindNearestCluster(tie, 2, 29, 10, 10), 1);

    const ColourCluster gap[3] = {Cluster(200, 0, 0, 1), ColourCluster(), Cluster(20, 10, 10, 1)};
    EXPECT_EQ(FindNearestCluster(gap, 3, 20, 10, 10), 0);

    const ColourCluster close[2] = {Cluster(20.5, 10, 10, 1), Cluster(20, 10, 10, 1)};
    EXPECT_EQ(FindNearestCluster(close, 2, 20, 10, 10), 0);
    EXPECT_EQ(FindNearestCluster(close, 0, 20, 10, 10), -1);
}

TEST(ClusterColours, ColoursThirtyOneApartJoinAndThirtyTwoApartStay)
{
    ColourCluster table[256];
    int count = 256;
    auto single = TwoColours(70, 70);
    auto before = single->Clone();
    ASSERT_EQ(ClusterColours(*single, single.get(), table, &count), 1);
    ASSERT_EQ(count, 1);
    EXPECT_EQ(table[0].count, 32);
    EXPECT_DOUBLE_EQ(table[0].c0, 70);
    EXPECT_TRUE(table[1].IsEmpty());
    EXPECT_EQ(cv::norm(single->mat(), before->mat(), cv::NORM_INF), 0);

    count = 256;
    auto near = TwoColours(100, 131);
    ASSERT_EQ(ClusterColours(*near, near.get(), table, &count), 1);
    ASSERT_EQ(count, 1);
    EXPECT_DOUBLE_EQ(table[0].c0, 115.5);
    EXPECT_EQ(near->pixel(0, 0)[0], 115);
    EXPECT_EQ(near->pixel(7, 3)[0], 115);

    count = 256;
    auto apart = TwoColours(100, 132);
    auto unchanged = apart->Clone();
    ASSERT_EQ(ClusterColours(*apart, apart.get(), table, &count), 1);
    ASSERT_EQ(count, 2);
    EXPECT_EQ(table[0].count, 16);
    EXPECT_EQ(cv::norm(apart->mat(), unchanged->mat(), cv::NORM_INF), 0);
}

TEST(ClusterColours, AFullTableForcesMergesAndNeverHoldsItsCapacity)
{
    // 512 colours on a grid of step 32: no two closer than 32.
    auto image = Image::Create(32, 16, 3);
    for (int k = 0; k < 512; ++k)
        SetPixel(*image, k % 32, k / 32, 32 * (k % 8), 32 * ((k / 8) % 8), 32 * (k / 64));
    std::vector<ColourCluster> table(256);
    int count = 256;
    ASSERT_EQ(ClusterColours(*image, image.get(), table.data(), &count), 1);
    EXPECT_GT(count, 1);
    EXPECT_LE(count, 255);
    long long members = 0;
    for (int k = 0; k < count; ++k) {
        members += table[k].count;
        EXPECT_FALSE(table[k].IsEmpty()) << k;
        if (k > 0) {
            EXPECT_GE(table[k - 1].count, table[k].count);
        }
    }
    EXPECT_EQ(members, 512);
    for (int k = count; k < 256; ++k)
        EXPECT_TRUE(table[k].IsEmpty()) << k;

    // A tiny table behaves the same way.
    ColourCluster small[3];
    count = 3;
    ASSERT_EQ(ClusterColours(*image, nullptr, small, &count), 1);
    EXPECT_LE(count, 2);
}

TEST(ClusterColours, ZeroCapacityLeavesPixelsOutAndUnreadablePicturesAreRefused)
{
    auto image = TwoColours(10, 200);
    auto before = image->Clone();
    int count = 0;
    ASSERT_EQ(ClusterColours(*image, image.get(), nullptr, &count), 1);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(cv::norm(image->mat(), before->mat(), cv::NORM_INF), 0);

    auto grey = Image::Create(4, 4, 1);
    auto smaller = Image::Create(3, 4, 3);
    ColourCluster table[8];
    count = 8;
    EXPECT_EQ(ClusterColours(*grey, nullptr, table, &count), 0);
    EXPECT_EQ(count, 0);
    count = 8;
    EXPECT_EQ(ClusterColours(*image, smaller.get(), table, &count), 0);
}
