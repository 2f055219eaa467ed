// Text from a disc reaches a terminal only as characters, never as its control sequences.

#include "base/terminal_text.h"

#include <gtest/gtest.h>

namespace kestrova {
namespace {

TEST(TerminalSafe, ShowsEveryControlCharacterEscaped) {
    EXPECT_EQ(TerminalSafe("title\x1b]0;owned\x07 end"), "title\\x1B]0;owned\\x07 end");
    EXPECT_EQ(TerminalSafe(std::string("a\0b\tc\r\nd\x7f", 9)), "a\\x00b\\x09c\\x0D\\x0Ad\\x7F");
    // C1 controls: written in UTF-8, and as lone bytes that an 8-bit terminal obeys.
    EXPECT_EQ(TerminalSafe("\xC2\x9B"
                           "2J"),
              "\\u009B2J");
    EXPECT_EQ(TerminalSafe("\x9B"
                           "2J"),
              "\\x9B2J");
}

TEST(TerminalSafe, KeepsPrintableTextWhole) {
    EXPECT_EQ(TerminalSafe("C:\\Demos\\setup.exe"), "C:\\Demos\\setup.exe");
    EXPECT_EQ(TerminalSafe("Caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80"),
              "Caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80");
    // A Windows-1252 letter outside UTF-8 is no control and stays as it is.
    EXPECT_EQ(TerminalSafe("Caf\xE9"), "Caf\xE9");
    // A continuation byte inside a UTF-8 character is not a lone C1 byte.
    EXPECT_EQ(TerminalSafe("\xE2\x80\x9C"
                           "quoted"
                           "\xE2\x80\x9D"),
              "\xE2\x80\x9C"
              "quoted"
              "\xE2\x80\x9D");
}

TEST(WrapWords, BreaksAtSpacesWithinTheWidth) {
    using Lines = std::vector<std::string>;
    // A text that fits is kept exactly, its spaces included.
    EXPECT_EQ(WrapWords("  two  spaces ", 80), Lines{"  two  spaces "});
    EXPECT_EQ(WrapWords("", 10), Lines{""});
    EXPECT_EQ(WrapWords("anything at all", 0), Lines{"anything at all"});
    EXPECT_EQ(WrapWords("the aliens look at you and blink", 12),
              (Lines{"the aliens", "look at you", "and blink"}));
    // A line may be exactly the width.
    EXPECT_EQ(WrapWords("abcd efgh ij", 9), (Lines{"abcd efgh", "ij"}));
    // A word wider than a line is cut; what is left of it starts the next line.
    EXPECT_EQ(WrapWords("go abcdefghij k", 4), (Lines{"go", "abcd", "efgh", "ij k"}));
    // UTF-8 characters count once and are never cut in the middle.
    EXPECT_EQ(WrapWords("\xC3\xA9t\xC3\xA9 \xC3\xA9t\xC3\xA9", 4),
              (Lines{"\xC3\xA9t\xC3\xA9", "\xC3\xA9t\xC3\xA9"}));
    EXPECT_EQ(WrapWords("\xC3\xA9\xC3\xA9\xC3\xA9", 2), (Lines{"\xC3\xA9\xC3\xA9", "\xC3\xA9"}));
}

} // namespace
} // namespace kestrova
