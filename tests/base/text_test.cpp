#include "base/text.h"

#include <gtest/gtest.h>

using namespace kestrova;

TEST(Cp1252, DecodesTheCodePageSpecialsAndLatin1) {
    EXPECT_EQ(Cp1252ToUtf8("Caf\xE9 \x80 \x93q\x94 \x9F"), "Café € “q” Ÿ");
    EXPECT_EQ(Cp1252ToUtf8("plain"), "plain");
}

TEST(Cp1252, EveryByteRoundTrips) {
    std::string all;
    for (int b = 1; b < 256; ++b) {
        all += static_cast<char>(b);
    }
    EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
}

TEST(Cp1252, UnmappableAndMalformedBecomeQuestionMarks) {
    EXPECT_EQ(Utf8ToCp1252("a\xE2\x82\xAC b"), "a\x80 b");
    EXPECT_EQ(Utf8ToCp1252("漢x"), "?x");
    EXPECT_EQ(Utf8ToCp1252("\xF0\x9F\x98\x80"), "?");
    EXPECT_EQ(Utf8ToCp1252("\xC3"), "?");     // cut short
    EXPECT_EQ(Utf8ToCp1252("\xC3z"), "?z");   // bad continuation keeps the next character
    EXPECT_EQ(Utf8ToCp1252("\xC0\xAF"), "?"); // overlong
    EXPECT_EQ(Utf8ToCp1252("\xFF\xFE"), "??");
    EXPECT_EQ(Utf8ToCp1252("\xC2\x85"), "?"); // a C1 control the code page uses for "…"
}

TEST(FoldCase, FoldsAsciiLatin1AndTheCodePageExtras) {
    EXPECT_EQ(FoldCase('A'), 'a');
    EXPECT_EQ(FoldCase('z'), 'z');
    EXPECT_EQ(FoldCase('@'), '@');
    EXPECT_EQ(FoldCase('['), '[');
    EXPECT_EQ(FoldCase('\xC0'), '\xE0');
    EXPECT_EQ(FoldCase('\xDE'), '\xFE');
    EXPECT_EQ(FoldCase('\xD7'), '\xD7'); // multiplication sign is no letter
    EXPECT_EQ(FoldCase('\xDF'), '\xDF'); // sharp s has no capital here
    EXPECT_EQ(FoldCase('\x8A'), '\x9A');
    EXPECT_EQ(FoldCase('\x8C'), '\x9C');
    EXPECT_EQ(FoldCase('\x8E'), '\x9E');
    EXPECT_EQ(FoldCase('\x9F'), '\xFF');
    EXPECT_EQ(FoldCase('\x80'), '\x80');
}

TEST(FoldCase, EqualsIgnoreCaseComparesWholeTexts) {
    EXPECT_TRUE(EqualsIgnoreCase("*BEGIN1", "*begin1"));
    EXPECT_TRUE(EqualsIgnoreCase("\xC9T\xC9 \x8A", "\xE9t\xE9 \x9A"));
    EXPECT_FALSE(EqualsIgnoreCase("*BEGIN1", "*BEGIN1 "));
    EXPECT_FALSE(EqualsIgnoreCase("\xD7", "\xF7"));
    EXPECT_TRUE(EqualsIgnoreCase("", ""));
}
