#include "base/error.h"
#include "catalogue/line_list.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using kestrova::Error;
using kestrova::LineList;

namespace {

LineList Lines(std::string_view text) {
    LineList list;
    list.LoadFromBytes(text);
    return list;
}

std::string ErrorText(const std::function<void()>& f) {
    try {
        f();
    } catch (const Error& e) {
        return e.what();
    }
    return "(no error)";
}

} // namespace

TEST(LineListLoad, AllLineEndsGiveTheSameLines) {
    const std::vector<std::string> want = {"", "a", "", "b"};
    EXPECT_EQ(Lines("\r\na\r\n\r\nb").Lines(), want);
    EXPECT_EQ(Lines("\na\n\nb\n").Lines(), want);
    EXPECT_EQ(Lines("\ra\r\rb\r").Lines(), want);
    EXPECT_EQ(Lines("\ra\n\r\nb\r\n").Lines(), want);
}

TEST(LineListLoad, FinalTerminatorAddsNoLineButABlankLastLineCounts) {
    EXPECT_EQ(Lines("a\r\n").Count(), 1);
    EXPECT_EQ(Lines("a\r\n\r\n").Count(), 2);
    EXPECT_EQ(Lines("").Count(), 0);
    // LF CR is two line ends, not one.
    EXPECT_EQ(Lines("a\n\rb").Lines(), (std::vector<std::string>{"a", "", "b"}));
}

TEST(LineListLoad, NulEndsTheTextAndNothingIsTrimmed) {
    const std::string bytes("  a \t\r\n*BEGIN1\0\r\nhidden", 22);
    EXPECT_EQ(Lines(bytes).Lines(), (std::vector<std::string>{"  a \t", "*BEGIN1"}));
}

TEST(LineListLoad, HighBytesAndOverlongLinesAreKeptWhole) {
    const std::string longLine(LineList::kMaxLineLength * 3, '\xE9');
    LineList list = Lines("\x80\xFF\n" + longLine + "\nend");
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Get(0), "\x80\xFF");
    EXPECT_EQ(list.Get(1), longLine);
}

TEST(LineListLoad, LoadingReplacesTheOldLines) {
    LineList list = Lines("a\nb\nc");
    list.LoadFromBytes("x");
    EXPECT_EQ(list.Lines(), std::vector<std::string>{"x"});
}

TEST(LineListLookup, IndexOfMatchesWholeLinesIgnoringCaseFirstMatchWins) {
    LineList list = Lines("\n*begin3\n*BEGIN3 \nTitle\n*Begin3\n\xC9t\xE9\n");
    EXPECT_EQ(list.IndexOf("*BEGIN3"), 1);
    EXPECT_EQ(list.IndexOf("*BEGIN3 "), 2);
    EXPECT_EQ(list.IndexOf("*BEGIN"), -1);
    EXPECT_EQ(list.IndexOf("title"), 3);
    EXPECT_EQ(list.IndexOf("\xE9T\xC9"), 5);
    EXPECT_EQ(list.IndexOf(""), 0);
}

TEST(LineListLookup, KeyValueOfAMissingKeyReadsLineZero) {
    LineList list = Lines("first\n*techsupport\nCall us\n*last");
    EXPECT_EQ(list.KeyValue("*TECHSUPPORT"), "Call us");
    EXPECT_EQ(list.KeyValue("*systemrequirements"), "first");
    EXPECT_EQ(ErrorText([&] { list.KeyValue("*last"); }), "List index out of bounds (4)");
}

TEST(LineListLookup, HasKeyIgnoresLineZero) {
    EXPECT_FALSE(Lines("*disctwo\n\n").HasKey("*disctwo"));
    EXPECT_TRUE(Lines("\n*DiscTwo").HasKey("*disctwo"));
    EXPECT_FALSE(Lines("\n*disctwo ").HasKey("*disctwo"));
}

TEST(LineListLookup, EntryLineCountsFromTheStartLineOrFromMinusOne) {
    LineList list = Lines("zero\n*BEGIN1\nTitle one\n*BEGIN12\nTwelve");
    EXPECT_EQ(list.EntryLine(1, 1), "Title one");
    EXPECT_EQ(list.EntryLine(12, 1), "Twelve");
    // A missing record reads from line -1.
    EXPECT_EQ(list.EntryLine(2, 1), "zero");
    EXPECT_EQ(ErrorText([&] { list.EntryLine(2, 0); }), "List index out of bounds (-1)");
    EXPECT_EQ(ErrorText([&] { list.EntryLine(12, 2); }), "List index out of bounds (5)");
    EXPECT_EQ(ErrorText([&] { list.EntryLine(1, 2147483647); }),
              "List index out of bounds (2147483648)");
}

TEST(LineListLookup, BlockLinesAreStrictlyBetweenTheMarkers) {
    LineList list = Lines("\n*BEGINUTILITIES\nA\na.exe\n*ENDUTILITIES\n*ENDADDONS\n*BEGINADDONS");
    EXPECT_EQ(list.BlockLines("*beginutilities", "*endutilities"),
              (std::vector<std::string>{"A", "a.exe"}));
    EXPECT_TRUE(list.BlockLines("*BEGINADDONS", "*ENDADDONS").empty());
    EXPECT_TRUE(list.BlockLines("*BEGINX", "*ENDUTILITIES").empty());
    EXPECT_TRUE(list.BlockLines("*BEGINUTILITIES", "*ENDX").empty());
}

TEST(LineListEdit, EditsAreBoundsCheckedWithTheListError) {
    LineList list = Lines("a\nb");
    list.Put(1, "B");
    list.Add("c");
    list.Delete(0);
    EXPECT_EQ(list.Lines(), (std::vector<std::string>{"B", "c"}));
    EXPECT_EQ(ErrorText([&] { list.Put(2, "x"); }), "List index out of bounds (2)");
    EXPECT_EQ(ErrorText([&] { list.Delete(-1); }), "List index out of bounds (-1)");
    EXPECT_EQ(ErrorText([&] { list.Get(2); }), "List index out of bounds (2)");

    LineList copy;
    copy.Assign(list);
    list.Put(0, "changed");
    EXPECT_EQ(copy.Get(0), "B");
}

TEST(StrToInt, AcceptsSignedDecimal32BitOnly) {
    EXPECT_EQ(kestrova::StrToInt("21"), 21);
    EXPECT_EQ(kestrova::StrToInt("-7"), -7);
    EXPECT_EQ(kestrova::StrToInt("+05"), 5);
    EXPECT_EQ(kestrova::StrToInt("2147483647"), 2147483647);
    EXPECT_EQ(kestrova::StrToInt("-2147483648"), -2147483647 - 1);
    for (const char* bad : {"", "-", "+", " 3", "3 ", "2147483648", "-2147483649", "0x10", "1e3",
                            "99999999999999999999999"}) {
        EXPECT_EQ(ErrorText([&] { kestrova::StrToInt(bad); }),
                  std::string("'") + bad + "' is not a valid integer value")
            << bad;
    }
}

TEST(LineList, LookupsFoldTheLettersOfTheDiscsCodePage) {
    LineList lines;
    lines.LoadFromBytes("\r\n\xA8\xEB\xEA\xE0\r\nnext\r\n"); // "Ёлка" in Windows-1251
    // In the default page 0xA8 and 0xB8 are a diaeresis and a cedilla, no letters.
    EXPECT_EQ(lines.IndexOf("\xB8\xEB\xEA\xE0"), -1);
    lines.SetPage(*kestrova::CodePage::FromNumber(1251));
    EXPECT_EQ(lines.IndexOf("\xB8\xEB\xEA\xE0"), 1); // "ёлка"
    EXPECT_EQ(lines.IndexOf("\xA8\xCB\xCA\xC0"), 1); // "ЁЛКА"
    EXPECT_EQ(lines.Shown(lines.Get(1)), "Ёлка");
    LineList copy;
    copy.Assign(lines);
    EXPECT_EQ(copy.Page().Number(), 1251);
    // Loading keeps the page the list was told.
    lines.LoadFromBytes("x\r\n");
    EXPECT_EQ(lines.Page().Number(), 1251);
}
