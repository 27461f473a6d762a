#include "editor/engine/NumberedName.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Named(const char* pattern, long long number, std::size_t size = 520)
{
    std::string buffer(size, '?');
    if (!FormatNumberedName(pattern, number, buffer.data(), size))
        return "<refused:" + std::string(buffer.c_str()) + ">";
    return buffer.c_str();
}

TEST(NumberedName, FormatsOnlyTheLastNumberConversion)
{
    EXPECT_EQ(Named("D:\\out\\shot%05d.bmp", 10), "D:\\out\\shot00010.bmp");
    EXPECT_EQ(Named("D:\\100%\\shot%05d.bmp", 12), "D:\\100%\\shot00012.bmp");
    EXPECT_EQ(Named("/a%d/%s%%/x%03d.bmp", 7), "/a%d/%s%%/x007.bmp");
    EXPECT_EQ(Named("%05d.bmp", 123456), "123456.bmp");
    EXPECT_EQ(Named("frame.bmp", 3), "frame.bmp");
    EXPECT_EQ(Named("", 3), "");
}

TEST(NumberedName, FollowsTheConversionsFlagsAndWidth)
{
    EXPECT_EQ(Named("[%5d]", 42), "[   42]");
    EXPECT_EQ(Named("[%-4i]", 42), "[42  ]");
    EXPECT_EQ(Named("[%+d]", 42), "[+42]");
    EXPECT_EQ(Named("[%05d]", -42), "[-0042]");
    EXPECT_EQ(Named("[%d]", -9223372036854775807LL - 1), "[-9223372036854775808]");
}

TEST(NumberedName, RefusesANameThatDoesNotFitRatherThanCuttingIt)
{
    EXPECT_EQ(Named("abc%02d", 5, 6), "abc05");
    EXPECT_EQ(Named("abc%02d", 5, 5), "<refused:>");
    EXPECT_EQ(Named("x%999999999d", 1), "<refused:>");
    EXPECT_EQ(Named(nullptr, 1), "<refused:>");
}

}  // namespace
