#include "platform/text/Utf8Copy.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(CopyTextCut, EndsEveryCopyWithATerminatorAndCutsBeforeASplitCharacter)
{
    char buffer[6];
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(CopyTextCut(buffer, sizeof buffer, "abcdefgh"), 5u);
    EXPECT_STREQ(buffer, "abcde");

    // "ab" then e-acute (2 bytes) then the euro sign (3 bytes): 7 bytes.
    const char* text = "ab\xC3\xA9\xE2\x82\xAC";
    EXPECT_EQ(CopyTextCut(buffer, sizeof buffer, text), 4u);
    EXPECT_STREQ(buffer, "ab\xC3\xA9");
    EXPECT_EQ(CopyTextCut(buffer, 4, text), 2u);
    EXPECT_STREQ(buffer, "ab");
    EXPECT_EQ(CopyTextCut(buffer, 1, text), 0u);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(CopyTextCut(buffer, 0, text), 0u);
}
