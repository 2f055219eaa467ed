#include "adventure/text_helpers.h"

#include <gtest/gtest.h>

namespace kestrova {
namespace {

using Lines = std::vector<std::string>;

TEST(TextHelpers, LowerAsciiLeavesOtherBytesAlone) {
    EXPECT_EQ(LowerAscii("Go NORTH, Tobrik!"), "go north, tobrik!");
    EXPECT_EQ(LowerAscii("\xC3\x89T\xC3\x89"), "\xC3\x89t\xC3\x89");
}

TEST(TextHelpers, SplitWordsKeepsEmptyWords) {
    EXPECT_EQ(SplitWords(""), Lines{});
    EXPECT_EQ(SplitWords(" "), (Lines{"", ""}));
    EXPECT_EQ(SplitWords("go  north "), (Lines{"go", "", "north", ""}));
    EXPECT_EQ(SplitWords("go\tnorth"), Lines{"go\tnorth"}); // only the blank separates
}

TEST(TextHelpers, SplitCommaText) {
    EXPECT_EQ(SplitCommaText("n,0,e,2"), (Lines{"n", "0", "e", "2"}));
    EXPECT_EQ(SplitCommaText(""), Lines{});
    EXPECT_EQ(SplitCommaText("  a b\t,c"), (Lines{"a", "b", "c"}));
    EXPECT_EQ(SplitCommaText("a,,b"), (Lines{"a", "", "b"}));
    EXPECT_EQ(SplitCommaText("\"x, \"\"y\"\"\",1"), (Lines{"x, \"y\"", "1"}));
    EXPECT_EQ(SplitCommaText("\"unclosed"), Lines{"unclosed"});
}

TEST(TextHelpers, ParseWholeNumber) {
    EXPECT_EQ(ParseWholeNumber("42"), 42);
    EXPECT_EQ(ParseWholeNumber("-7"), -7);
    EXPECT_EQ(ParseWholeNumber("+3"), 3);
    EXPECT_EQ(ParseWholeNumber("2147483647"), 2147483647);
    for (const char* bad : {"", "-", "1x", " 1", "0x10", "2147483648", "99999999999999999999"}) {
        EXPECT_FALSE(ParseWholeNumber(bad).has_value()) << bad;
    }
}

TEST(TextHelpers, SameTextAndIndexOfText) {
    EXPECT_TRUE(SameText("Aliens", "aLIENS"));
    EXPECT_FALSE(SameText("Alien", "Aliens"));
    const Lines list = {"xxx", "Lever", "lever"};
    EXPECT_EQ(IndexOfText(list, "LEVER"), 1);
    EXPECT_EQ(IndexOfText(list, ""), -1);
}

} // namespace
} // namespace kestrova
