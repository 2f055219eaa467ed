// Readmes from every country: the reader follows the code page a file names for itself, for the
// document and for each font, pairs the bytes of the double-byte pages, and falls back on the
// disc's page for files that name none.

#include "rich_text/rich_text.h"

#include <gtest/gtest.h>

#include <string>

namespace kestrova {
namespace {

CodePage Page(int number) {
    return CodePage::FromNumber(number).value_or(CodePage{});
}

std::string Text(std::string_view rtf, CodePage disc = {}) {
    return ParseRtf(rtf, disc).PlainText();
}

TEST(RtfCodePages, TheDocumentsCharacterSetAndCodePage) {
    // "\ansicpg" names the page, escaped or raw bytes alike.
    EXPECT_EQ(Text("{\\rtf1\\ansi\\ansicpg1251 \\'cf\\'f0\\'e8\xE2\xE5\xF2}"), "Привет");
    EXPECT_EQ(Text("{\\rtf1\\ansi\\ansicpg1250 \\'8a\\'e8\\'f8}"), "Ščř");
    EXPECT_EQ(Text("{\\rtf1\\ansi\\ansicpg1253 \\'c1\\'e8\\'e2}"), "Αθβ");
    EXPECT_EQ(Text("{\\rtf1\\ansi\\ansicpg874 \\'a1\\'d2}"), "กา");
    // The Mac's and DOS's own character sets.
    EXPECT_EQ(Text("{\\rtf1\\mac \\'80\\'8e\\'a5}"), "Äé•");
    EXPECT_EQ(Text("{\\rtf1\\pc \\'80\\'9a\\'b0}"), "ÇÜ░");
    EXPECT_EQ(Text("{\\rtf1\\pca \\'80\\'d0}"), "Çð");
    // "\ansi" alone is the character set of the Windows the disc was made on.
    EXPECT_EQ(Text("{\\rtf1\\ansi \\'cf\\'f0}", Page(1251)), "Пр");
    EXPECT_EQ(Text("{\\rtf1\\ansi \\'e9}"), "é");
    // A page the reader does not know leaves the one before it.
    EXPECT_EQ(Text("{\\rtf1\\ansi\\ansicpg1251\\ansicpg65001 \\'cf}"), "П");
}

TEST(RtfCodePages, EachFontsCharacterSetForTheTextInThatFont) {
    const std::string rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0"
                            "{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}"
                            "{\\f1\\fswiss\\fcharset204 Arial Cyr;}"
                            "{\\f2\\froman\\fcharset161 Times Greek;}"
                            "{\\f3\\fcharset238 Arial CE;}"
                            "{\\f4\\fcharset128 \\'82\\'6c\\'82\\'72 Gothic;}"
                            "{\\f5\\fcharset0\\cpg1251 Code Page Wins;}}"
                            "Caf\\'e9 {\\f1 \\'cf\\'f0\\'e8} {\\f2 \\'c1\\'e8} {\\f3 \\'8a} "
                            "{\\f4 \\'93\\'fa} {\\f5 \\'cf} \\'e9}";
    const RichText doc = ParseRtf(rtf);
    EXPECT_EQ(doc.PlainText(), "Café При Αθ Š 日 П é");
    // The font's own name is read in its character set too.
    bool gothic = false;
    for (const RichRun& run : doc.paragraphs.at(0).runs) {
        gothic = gothic || run.font == "ＭＳ Gothic";
    }
    EXPECT_TRUE(gothic);
}

TEST(RtfCodePages, DoubleBytePairsEscapedOrRaw) {
    // Japanese as Word writes it: both bytes escaped, or a trail byte that is a plain letter.
    EXPECT_EQ(Text("{\\rtf1\\ansi\\ansicpg932 \\'93\\'fa\\'96\\'7b}"), "日本");
    EXPECT_EQ(Text("{\\rtf1\\ansi\\ansicpg932 \\'83A\\'83N}"), "アク");
    EXPECT_EQ(Text("{\\rtf1\\ansi\\ansicpg932 \\'b1}"), "ｱ"); // half-width kana: one byte
    EXPECT_EQ(Text("{\\rtf1\\ansi\\ansicpg936 \\'d6\\'d0\\'ce\\'c4}"), "中文");
    EXPECT_EQ(Text("{\\rtf1\\ansi\\ansicpg949 \\'c7\\'d1\\'b1\\'b9}"), "한국");
    EXPECT_EQ(Text("{\\rtf1\\ansi\\ansicpg950 \\'a4\\'a4\\'a4\\'e5}"), "中文");
    // The disc's page for a file that names none.
    EXPECT_EQ(Text("{\\rtf1\\ansi \\'93\\'fa}", Page(932)), "日");
}

TEST(RtfCodePages, ALeadByteWithoutItsTrailLosesNothingAfterIt) {
    // A lead byte before a byte that is no trail: the byte stands on its own after a
    // replacement character.
    EXPECT_EQ(Text("{\\rtf1\\ansicpg932 \\'93\\'0a}"), "\uFFFD\n");
    EXPECT_EQ(Text("{\\rtf1\\ansicpg932 \\'81\\'b1}"), "\uFFFDｱ");
    EXPECT_EQ(Text("{\\rtf1\\ansicpg950 \\'a4"
                   "0}"),
              "\uFFFD"
              "0");
    // Cut off by a control word, a group or the end.
    EXPECT_EQ(Text("{\\rtf1\\ansicpg932 \\'93\\par x}"), "\uFFFD\nx");
    EXPECT_EQ(Text("{\\rtf1\\ansicpg932 a{\\'93}b}"), "a\uFFFDb");
    EXPECT_EQ(Text("{\\rtf1\\ansicpg932 z\\'93"), "z\uFFFD");
    // An undefined byte of a single-byte page.
    EXPECT_EQ(Text("{\\rtf1\\ansicpg1253 a\\'aab}"), "a\uFFFDb");
}

TEST(RtfCodePages, UnicodeEscapesSkipTheirFallbackAsBefore) {
    // "\uc2" skips both bytes of a double-byte fallback; "\uc1" one escaped byte.
    EXPECT_EQ(Text("{\\rtf1\\ansicpg932\\uc2 \\u26085\\'93\\'fa\\u26412\\'96\\'7b!}"), "日本!");
    EXPECT_EQ(Text("{\\rtf1\\ansicpg1251\\uc1 \\u1055\\'cf\\u1088\\'f0}"), "Пр");
}

TEST(RtfCodePages, PlainTextReadmesInTheDiscsPage) {
    EXPECT_EQ(Text("\xCF\xF0\xE8\xE2\xE5\xF2\r\n", Page(1251)), "Привет");
    EXPECT_EQ(Text("\x93\xFA\x96\x7B\r\n\x83\x41", Page(932)), "日本\nア");
    EXPECT_EQ(Text("\xCF\xF0"), "Ïð");
    // UTF-8 stays UTF-8 whatever the disc's page.
    EXPECT_EQ(Text("Привет", Page(1253)), "Привет");
}

} // namespace
} // namespace kestrova
