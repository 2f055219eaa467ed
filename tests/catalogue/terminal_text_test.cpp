// Text from a disc reaches a terminal only as characters, never as its control sequences.

#include "catalogue/terminal_text.h"

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

} // namespace
} // namespace kestrova
