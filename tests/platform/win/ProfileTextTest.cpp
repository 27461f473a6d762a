#include "platform/win/ProfileText.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

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

}  // namespace
