#include "media/image/RowWorkers.h"

#include <gtest/gtest.h>

#include <atomic>
#include <vector>

TEST(RowWorkers, EveryBandRunsOnceAndAllAreDoneWhenRunReturns)
{
    for (const int threads : {1, 2, 4}) {
        RowWorkers workers(threads);
        EXPECT_EQ(workers.threadCount(), threads);
        // Many jobs in a row, so that workers that were still looking for the last one
        // meet the next.
        for (int job = 0; job < 200; ++job) {
            const int bands = job % 17;
            std::vector<std::atomic<int>> runs(static_cast<std::size_t>(bands));
            workers.Run(bands, [&](int band) { runs[static_cast<std::size_t>(band)]++; });
            for (int band = 0; band < bands; ++band)
                ASSERT_EQ(runs[static_cast<std::size_t>(band)].load(), 1)
                    << threads << " threads, job " << job << ", band " << band;
        }
    }
}

TEST(RowWorkers, RowsAreCutIntoBandsThatCoverThemOnce)
{
    RowWorkers workers(3);
    std::vector<int> covered(101, 0);
    workers.RunRows(101, 16, [&](int first, int end) {
        EXPECT_LE(end - first, 16);
        for (int row = first; row < end; ++row)
            covered[static_cast<std::size_t>(row)]++;
    });
    for (int row = 0; row < 101; ++row)
        EXPECT_EQ(covered[static_cast<std::size_t>(row)], 1) << row;
    bool ran = false;
    workers.RunRows(0, 16, [&](int, int) { ran = true; });
    EXPECT_FALSE(ran);
}

TEST(RowWorkers, InOrderBandsAreConsumedOneAfterAnotherOnceDone)
{
    for (const int threads : {1, 4}) {
        RowWorkers workers(threads);
        for (int job = 0; job < 50; ++job) {
            const int bands = 1 + job % 13;
            std::vector<std::atomic<int>> done(static_cast<std::size_t>(bands));
            std::vector<int> consumed;
            workers.RunInOrder(
                bands, [&](int band) { done[static_cast<std::size_t>(band)]++; },
                [&](int band) {
                    EXPECT_EQ(done[static_cast<std::size_t>(band)].load(), 1) << band;
                    consumed.push_back(band);
                });
            ASSERT_EQ(static_cast<int>(consumed.size()), bands);
            for (int band = 0; band < bands; ++band) {
                EXPECT_EQ(consumed[static_cast<std::size_t>(band)], band);
                EXPECT_EQ(done[static_cast<std::size_t>(band)].load(), 1);
            }
        }
    }
}
