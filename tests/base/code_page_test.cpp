#include "base/code_page.h"
#include "base/text.h"

#include <gtest/gtest.h>

using namespace kestrova;

namespace {

CodePage Page(int number) {
    const std::optional<CodePage> page = CodePage::FromNumber(number);
    EXPECT_TRUE(page) << number;
    return page.value_or(CodePage{});
}

} // namespace

TEST(CodePage, EveryPageOfOursIsReadableHereAndOthersAreNot) {
    for (int number : CodePage::Numbers()) {
        EXPECT_TRUE(CodePage::FromNumber(number)) << number;
    }
    EXPECT_FALSE(CodePage::FromNumber(65001));
    EXPECT_FALSE(CodePage::FromNumber(0));
    EXPECT_FALSE(CodePage::FromNumber(1259));
    EXPECT_EQ(CodePage{}.Number(), 1252);
}

TEST(CodePage, SingleBytePagesDecodeTheirOwnLetters) {
    EXPECT_EQ(DecodeText("\xCF\xF0\xE8\xE2\xE5\xF2", Page(1251)), "Привет");
    EXPECT_EQ(DecodeText("\x8A\x9A\xB9\xE8\xF8", Page(1250)), "Šš\u0105čř");
    EXPECT_EQ(DecodeText("\xC1\xE8\xE2\xEB\xDF\xEF", Page(1253)), "Αθβλίο");
    EXPECT_EQ(DecodeText("\xD0\xFE\xDD\xF0", Page(1254)), "Ğşİğ");
    EXPECT_EQ(DecodeText("\xF9\xE5\xEC\xE5\xED", Page(1255)), "שולום");
    EXPECT_EQ(DecodeText("\xC7\xE1\xD3\xE1\xC7\xE3", Page(1256)), "السلام");
    EXPECT_EQ(DecodeText("\xC0\xE0", Page(1257)), "Ąą");
    EXPECT_EQ(DecodeText("\xD0\xF0\xC3", Page(1258)), "Đđ\u0102");
    EXPECT_EQ(DecodeText("\xA1\xD2", Page(874)), "กา");
    EXPECT_EQ(DecodeText("\x80\x9A\xB0\xDB", Page(437)), "ÇÜ░█");
    EXPECT_EQ(DecodeText("\x80\xD0\xB5", Page(850)), "ÇðÁ");
    EXPECT_EQ(DecodeText("\x80\x8E\xA5", Page(10000)), "Äé•");
    EXPECT_EQ(DecodeText("plain ASCII \\ ~", Page(1251)), "plain ASCII \\ ~");
}

TEST(CodePage, DoubleBytePagesPairLeadAndTrail) {
    EXPECT_EQ(DecodeText("\x93\xFA\x96\x7B\xB1", Page(932)), "日本ｱ"); // and a half-width kana
    EXPECT_EQ(DecodeText("\\", Page(932)), "\\");                      // not a yen sign
    EXPECT_EQ(DecodeText("\xD6\xD0\xCE\xC4", Page(936)), "中文");
    EXPECT_EQ(DecodeText("\xC7\xD1\xB1\xB9", Page(949)), "한국");
    EXPECT_EQ(DecodeText("\xA4\xA4\xA4\xE5", Page(950)), "中文");
    // A trail byte in the ASCII range is part of its pair, never a letter of its own.
    EXPECT_EQ(DecodeText("\x83\x41", Page(932)), "ア");
}

TEST(CodePage, UndefinedBytesBecomeReplacementsAndKeepTheirNeighbours) {
    EXPECT_EQ(DecodeText("a\xAA"
                         "b",
                         Page(1253)),
              "a\uFFFD"
              "b");
    EXPECT_EQ(DecodeText("\x98", Page(1251)), "\uFFFD");
    // A lone lead byte at the end.
    EXPECT_EQ(DecodeText("x\x93", Page(932)), "x\uFFFD");
    // A lead byte before a byte that is no trail: the next byte is read on its own.
    EXPECT_EQ(DecodeText("\x93\x0A"
                         "A",
                         Page(932)),
              "\uFFFD\nA");
    EXPECT_EQ(DecodeText("\x81\xB1", Page(932)), "\uFFFDｱ");
    EXPECT_EQ(DecodeText("\xA4\x30", Page(950)), "\uFFFD0");
    const CodePageChar lone = DecodeAt("\x93", 0, Page(932));
    EXPECT_FALSE(lone.defined);
    EXPECT_EQ(lone.length, 1u);
    // 1252's undefined bytes are reported but still read as they always were.
    const CodePageChar c1 = DecodeAt("\x81", 0, CodePage{});
    EXPECT_FALSE(c1.defined);
    EXPECT_EQ(c1.cp, 0x81u);
    EXPECT_TRUE(DecodeAt("\x80", 0, CodePage{}).defined);
}

TEST(CodePage, EncodingGoesBackToTheSameBytes) {
    for (int number : CodePage::Numbers()) {
        const CodePage page = Page(number);
        std::string all;
        for (int b = 0x20; b < 0x100; ++b) {
            const char byte = static_cast<char>(b);
            const CodePageChar c = DecodeAt(std::string_view(&byte, 1), 0, page);
            if (c.defined && c.length == 1) {
                all += byte;
            }
        }
        EXPECT_EQ(EncodeText(DecodeText(all, page), page), all) << number;
    }
    EXPECT_EQ(EncodeText("日本語", Page(932)), "\x93\xFA\x96\x7B\x8C\xEA");
    EXPECT_EQ(EncodeText("Привет", Page(1251)), "\xCF\xF0\xE8\xE2\xE5\xF2");
    EXPECT_EQ(EncodeText("Привет €", Page(1253)), "?????? \x80");
    EXPECT_EQ(EncodeText("\xC3z", Page(1251)), "?z");
    // The default page is the one text.h always spoke.
    EXPECT_EQ(EncodeText("Café €", CodePage{}), Utf8ToCp1252("Café €"));
    EXPECT_EQ(DecodeText("Caf\xE9\x81", CodePage{}), Cp1252ToUtf8("Caf\xE9\x81"));
}

TEST(CodePage, PrefixesNeverCutACharacter) {
    const std::string text = "ab\x93\xFA\x96\x7B";
    EXPECT_EQ(CharacterPrefix(text, 3, Page(932)), 2u);
    EXPECT_EQ(CharacterPrefix(text, 4, Page(932)), 4u);
    EXPECT_EQ(CharacterPrefix(text, 49, Page(932)), 6u);
    EXPECT_EQ(CharacterPrefix(text, 3, Page(1251)), 3u);
    EXPECT_EQ(CharacterPrefix("\x93", 1, Page(932)), 1u); // a lone lead byte is a character
}

TEST(CodePage, CaseFoldsThePagesOwnLetters) {
    EXPECT_TRUE(EqualsIgnoreCase("\xCF\xD0\xC8", "\xEF\xF0\xE8", Page(1251))); // ПРИ / при
    EXPECT_TRUE(EqualsIgnoreCase("\xC1\xC8", "\xE1\xE8", Page(1253)));         // ΑΘ / αθ
    EXPECT_TRUE(EqualsIgnoreCase("\x8A\xA5", "\x9A\xB9", Page(1250)));         // ŠĄ / šą
    EXPECT_TRUE(EqualsIgnoreCase("*BEGIN1", "*begin1", Page(932)));
    EXPECT_FALSE(EqualsIgnoreCase("\xCF", "\xD0", Page(1251)));
    // 0x83 0x41 and 0x83 0x61 are two different katakana, not one letter in two cases.
    EXPECT_FALSE(EqualsIgnoreCase("\x83\x41", "\x83\x61", Page(932)));
    EXPECT_EQ(FoldedKey("\x83\x41"
                        "A",
                        Page(932)),
              "\x83\x41"
              "a");
    // After a lead byte that found no trail, a capital stays: folded, it would make a pair.
    EXPECT_EQ(FoldedKey("\x82I", Page(932)), "\x82I");
    EXPECT_FALSE(EqualsIgnoreCase("\x82I", "\x82i", Page(932)));
    EXPECT_EQ(FoldedKey("\xFC\x82I", Page(932)), "\xFC\x82I"); // two lone leads in a row
    EXPECT_EQ(FoldedKey("\xCF\xF0", Page(1251)), "\xEF\xF0");
    EXPECT_EQ(FoldedKey("\xC9\x8A", CodePage{}), FoldedKey("\xC9\x8A"));
}
