#include "editor/app/NumberedNames.h"
#include "media/PathUtils.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

namespace {

// The helpers work in place; each case gets a path-sized buffer of its own.
struct Name {
    explicit Name(const char* text) { std::strcpy(buffer, text); }
    char buffer[520];
    std::string str() const { return buffer; }
};

int NumberOf(const char* text, int defaultValue)
{
    Name name(text);
    return GetFileNumber(name.buffer, defaultValue);
}

std::string PrefixOf(const char* text)
{
    Name name(text);
    char prefix[520] = "unchanged";
    return GetFilePrefix(name.buffer, prefix, sizeof prefix) ? prefix : "(none)";
}

}  // namespace

TEST(NumberedNames, TheNumberIsTheDigitRunBeforeTheLastFullStop)
{
    EXPECT_EQ(NumberOf("frame.bmp", -1), -1);
    EXPECT_EQ(NumberOf("frame007.bmp", -1), 7);
    EXPECT_EQ(NumberOf("12.34.bmp", -1), 34);
    EXPECT_EQ(NumberOf("  ", 5), 5);
    EXPECT_EQ(NumberOf("", 5), 5);
    EXPECT_EQ(GetFileNumber(nullptr, 5), 5);
    EXPECT_EQ(NumberOf("shot00010.bmp \t", -1), 10);
    EXPECT_EQ(NumberOf("frame12", -1), 12);
    // A run too long for an int saturates instead of wrapping into another number.
    EXPECT_EQ(NumberOf("f99999999999999999999.bmp", -1), INT_MAX);
    EXPECT_EQ(NumberOf("f2147483648.bmp", -1), INT_MAX);
}

TEST(NumberedNames, ThePrefixIsWhatComesBeforeTheNumber)
{
    EXPECT_EQ(PrefixOf("00001.bmp"), "(none)");
    EXPECT_EQ(PrefixOf("frame.bmp"), "frame");
    EXPECT_EQ(PrefixOf("shot00010.bmp  "), "shot");
    EXPECT_EQ(PrefixOf(""), "(none)");
    Name name("a b7.bmp");
    EXPECT_TRUE(GetFilePrefix(name.buffer, nullptr, 0));
    char small[3];
    Name longer("frame1.bmp");
    ASSERT_TRUE(GetFilePrefix(longer.buffer, small, sizeof small));
    EXPECT_STREQ(small, "fr");
}

TEST(NumberedNames, FoldersAreStrippedAtEitherSeparatorOrADrive)
{
    Name windows("C:\\pics\\ frame12.jpg ");
    EXPECT_TRUE(StripFolder(windows.buffer));
    EXPECT_EQ(windows.str(), "frame12.jpg");
    Name linux("/home/u/pics/shot7.jpg");
    EXPECT_TRUE(StripFolder(linux.buffer));
    EXPECT_EQ(linux.str(), "shot7.jpg");
    Name drive("D:shot.bmp");
    EXPECT_TRUE(StripFolder(drive.buffer));
    EXPECT_EQ(drive.str(), "shot.bmp");
    Name plain("shot.bmp  ");
    EXPECT_FALSE(StripFolder(plain.buffer));
    EXPECT_EQ(plain.str(), "shot.bmp");
}

TEST(NumberedNames, ExtensionNumberAndPrefixAreRewrittenInPlace)
{
    for (const char* extension : {"bmp", ".bmp", " bmp "}) {
        Name bare("frame12");
        ASSERT_TRUE(SetExtension(bare.buffer, extension, 520));
        EXPECT_EQ(bare.str(), "frame12.bmp");
        Name other("frame12.jpg");
        ASSERT_TRUE(SetExtension(other.buffer, extension, 520));
        EXPECT_EQ(other.str(), "frame12.bmp");
    }
    Name empty("");
    ASSERT_TRUE(SetExtension(empty.buffer, "bmp", 520));
    EXPECT_EQ(empty.str(), ".bmp");
    EXPECT_FALSE(SetExtension(empty.buffer, "  ", 520));
    EXPECT_FALSE(SetExtension(nullptr, "bmp", 520));

    Name grown("a7.bmp");
    ASSERT_TRUE(SetFileNumber(grown.buffer, 520, 5, 123456));
    EXPECT_EQ(grown.str(), "a123456.bmp");
    Name noExtension("a");
    ASSERT_TRUE(SetFileNumber(noExtension.buffer, 520, 3, 4));
    EXPECT_EQ(noExtension.str(), "a004");
    Name cut("frame7.bmp");
    ASSERT_TRUE(SetFileNumber(cut.buffer, 9, 5, 1));
    EXPECT_EQ(cut.str(), "frame000");
    Name blank("  ");
    EXPECT_FALSE(SetFileNumber(blank.buffer, 520, 5, 1));
    EXPECT_FALSE(SetFileNumber(grown.buffer, 520, 0, 1));

    Name renamed("pic00200.bmp");
    ASSERT_TRUE(ReplacePrefix(renamed.buffer, " frame ", 520));
    EXPECT_EQ(renamed.str(), "frame00200.bmp");
    ASSERT_TRUE(ReplacePrefix(renamed.buffer, "", 520));
    EXPECT_EQ(renamed.str(), "00200.bmp");
    EXPECT_FALSE(ReplacePrefix(renamed.buffer, nullptr, 520));
    EXPECT_FALSE(ReplacePrefix(blank.buffer, "x", 520));
}

TEST(NumberedNames, TrimRightAndIsDigit)
{
    EXPECT_EQ(TrimRight(nullptr), nullptr);
    Name text(" a b \t\r\n");
    EXPECT_STREQ(TrimRight(text.buffer), " a b");
    EXPECT_TRUE(IsDigit('0'));
    EXPECT_TRUE(IsDigit('9'));
    EXPECT_FALSE(IsDigit('a'));
    EXPECT_FALSE(IsDigit(0xB2));  // a superscript two in Latin-1 is no digit
}
