#include "creator/app/CreationProgress.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

TEST(CreationProgress, TheTextHoldsTheFrameToTheCountAndThePercentToAHundred)
{
    EXPECT_EQ(ProgressText(1, 3), "Frame 1 of 3 (33%)");
    EXPECT_EQ(ProgressText(126, 127), "Frame 126 of 127 (99%)");
    EXPECT_EQ(ProgressText(127, 127), "Frame 127 of 127 (100%)");
    EXPECT_EQ(ProgressText(203, 127), "Frame 127 of 127 (100%)");
    EXPECT_EQ(ProgressText(1, 0), "Frame 0 of 0 (100%)");
    EXPECT_EQ(ProgressText(std::numeric_limits<std::int32_t>::max(), 127),
              "Frame 127 of 127 (100%)");
}

TEST(CreationProgress, ACreationStopsFiveSecondsOfTheSlowestFramesPastTheLimit)
{
    // 15 frames a second: the 203rd frame is 75 past 127, and the first over-long one.
    EXPECT_EQ(OverLongCount(127, 0.0666666), 203);
    EXPECT_EQ(OverLongCount(127, 0.1), 178);
    // As measured: 1/15 s between times rounded to 100 ns, 1/10 s with the noise of a
    // difference of seconds.
    EXPECT_EQ(OverLongCount(127, 0.0666667), 203);
    EXPECT_EQ(OverLongCount(127, 12.8 - 12.7), 178);
    EXPECT_EQ(OverLongCount(127, 0.0666668), 202);
    // One frame at time 0 gives no spacing: over-long at once.
    EXPECT_EQ(OverLongCount(1, 0.0), 1);
    EXPECT_EQ(OverLongCount(127, 0.0), 1);
    EXPECT_EQ(OverLongCount(127, std::numeric_limits<double>::quiet_NaN()), 1);
    EXPECT_EQ(OverLongCount(127, 5.0 / 2147483648.0), 1);
    // The largest count a 32-bit integer holds, added to the limit, does not wrap round.
    EXPECT_GT(OverLongCount(127, 5.0 / 2147483647.0),
              std::int64_t{std::numeric_limits<std::int32_t>::max()});
}
