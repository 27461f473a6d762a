#include "platform/text/NoCase.h"
#include "platform/text/Utf16.h"
#include "platform/text/Utf8Copy.h"

#include <gtest/gtest.h>

#include <string>

TEST(TextNoCase, OnlyAsciiLettersFoldAndASuffixLongerThanTheTextNeverMatches)
{
    EXPECT_TRUE(EqualNoCase("MPEG Layer-3", "mpeg LAYER-3"));
    EXPECT_FALSE(EqualNoCase("Caf\xC3\xA9", "CAF\xC3\x89"));
    EXPECT_FALSE(EqualNoCase("abc", "abcd"));
    EXPECT_LT(CompareNoCase("abc", "ABCD"), 0);
    EXPECT_GT(CompareNoCase("Z", "["), 0);  // letters fold to lower case, which sorts after [
    EXPECT_TRUE(EndsWithNoCase(u"C:\\Music\\Song.MID", u".mid"));
    EXPECT_TRUE(EndsWithNoCase(u"x", u""));
    EXPECT_FALSE(EndsWithNoCase(u"mid", u".mid"));
    EXPECT_EQ(FoldNoCase("MPEG Layer-3 CAF\xC3\x89"), "mpeg layer-3 caf\xC3\x89");
}

TEST(TextWide, CutCopyAlwaysEndsTheBufferAndNeverWritesIntoAnEmptyOne)
{
    char16_t buffer[4] = {u'x', u'x', u'x', u'x'};
    EXPECT_EQ(CopyWideCut(buffer, 0, u"Input"), 0u);
    EXPECT_EQ(buffer[0], u'x');
    EXPECT_EQ(CopyWideCut(buffer, 4, u"Input"), 3u);
    EXPECT_EQ(std::u16string(buffer), u"Inp");
    EXPECT_EQ(CopyWideCut(buffer, 4, u""), 0u);
    EXPECT_EQ(buffer[0], 0);
    EXPECT_EQ(WideToUtf8(Utf8ToWide("caf\xC3\xA9 \xF0\x9F\x8E\xB5")),
              "caf\xC3\xA9 \xF0\x9F\x8E\xB5");
    EXPECT_EQ(WideFrom(nullptr), u"");
}

TEST(TextWide, AnyBytesComeBackWholeFromUtf16)
{
    // A Latin-1 name, a cut sequence, an encoded surrogate, an overlong slash, bytes that
    // start nothing, and an escaped byte right after a pair.
    const std::string names[] = {"caf\xE9.avi", "x\xE2\x82", "\xED\xA0\x80",
                                 "\xC0\xAF",    "\xFF\xFE",  "\xF0\x9F\x8E\xB5\xB5"};
    for (const std::string& name : names)
        EXPECT_EQ(WideToUtf8(Utf8ToWide(name)), name);
    EXPECT_EQ(Utf8ToWide("caf\xE9"), u"caf\xDCE9");
    EXPECT_EQ(Utf8ToWide("\xE2\x82x"), u"\xDCE2\xDC82x");
    // Unpaired surrogates that stand for no byte have no UTF-8 form.
    EXPECT_EQ(WideToUtf8(u"a\xD83C"
                         u"b\xDC41"),
              "a?b?");
}

TEST(TextUtf8Copy, ACutKeepsCharactersWholeAndBytesOfNoUtf8AreCharactersOfTheirOwn)
{
    EXPECT_EQ(Utf8PrefixLength("ab\xC3\xA9", 3), 2u);
    EXPECT_EQ(Utf8PrefixLength("a\xF0\x9F\x8E\xB5x", 4), 1u);
    EXPECT_EQ(Utf8PrefixLength("a\xF0\x9F\x8E\xB5x", 5), 5u);
    // A lead byte without its continuation, and Latin-1 letters that look like
    // continuations, each stand alone: the cut comes where the limit says.
    EXPECT_EQ(Utf8PrefixLength("a\xC3x", 2), 2u);
    EXPECT_EQ(Utf8PrefixLength("caf\xE9 \xB5\xB5\xB5\xB5\xB5\xB5", 8), 8u);
    EXPECT_EQ(Utf8PrefixLength(std::string(600, '\xB5'), 523), 523u);
}
