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
    // 15 frames a second: 75 frames past 127.
    EXPECT_FALSE(IsOverLong(202, 127, 0.0666666));
    EXPECT_TRUE(IsOverLong(203, 127, 0.0666666));
    EXPECT_FALSE(IsOverLong(177, 127, 0.1));
    EXPECT_TRUE(IsOverLong(178, 127, 0.1));
    // The count is the creator's cap: the frame that reaches it is the file's last.
    EXPECT_EQ(OverLongCount(127, 0.1), 178);
    EXPECT_EQ(OverLongCount(127, 0.0), 1);
    // One frame at time 0 gives no spacing: over-long at once.
    EXPECT_TRUE(IsOverLong(1, 1, 0.0));
    EXPECT_TRUE(IsOverLong(1, 127, std::numeric_limits<double>::quiet_NaN()));
    EXPECT_TRUE(IsOverLong(1, 127, 5.0 / 2147483648.0));
    // The largest count a 32-bit integer holds, added to the limit, does not wrap round.
    EXPECT_FALSE(IsOverLong(1, 127, 5.0 / 2147483647.0));
    EXPECT_FALSE(IsOverLong(std::numeric_limits<std::int32_t>::max(), 127, 5.0 / 2147483647.0));
}
