#include "platform/win/ProfileText.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace std::string_literals;

TEST(ProfileText, NamesHoldingAZeroByteAreRefused)
{
    // Name lists end each name with a zero, so such a name could never be listed back.
    ProfileText profile("[S]\nk=1\n");
    EXPECT_FALSE(profile.setValue("S\0T"s, "k", "2"));
    EXPECT_FALSE(profile.setValue("S", "k\0j"s, "2"));
    EXPECT_EQ(profile.text(), "[S]\nk=1\n");
    EXPECT_TRUE(profile.setValue("S", "k", "with\0zero"s));
    EXPECT_EQ(profile.value("S", "k"), "with\0zero"s);
}

TEST(ProfileText, ListsLeaveOutNamesHoldingAZeroByte)
{
    const ProfileText profile("[tab\0\0]\nk\0=1\nj=2\n[Tab]\n[a\0]\n"s);
    EXPECT_EQ(profile.sectionNames(), (std::vector<std::string>{"Tab"}));
    EXPECT_EQ(profile.keyNames("tab\0\0"s), (std::vector<std::string>{"j"}));
}

TEST(ProfileText, AddingALineKeepsTheCarriageReturnThatEndedTheText)
{
    ProfileText profile("[S]\nk=v\r");
    ASSERT_EQ(profile.value("S", "k"), "v\r");
    EXPECT_TRUE(profile.setValue("T", "j", "1"));
    EXPECT_EQ(profile.value("S", "k"), "v\r");
    EXPECT_EQ(ProfileText(profile.text()).value("S", "k"), "v\r");
}

}  // namespace
