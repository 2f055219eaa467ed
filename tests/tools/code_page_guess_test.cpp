// Which code page a disc's texts read like: each script read in its own page reads as words, and
// in the wrong one as a reader would see garbage.

#include "common/code_page_guess.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kestrova {
namespace {

CodePage Page(int number) {
    return *CodePage::FromNumber(number);
}

std::optional<int> Guess(const std::vector<std::string>& utf8, int writtenIn, int readIn) {
    std::vector<std::string> bytes;
    for (const std::string& line : utf8) {
        bytes.push_back(EncodeText(line, Page(writtenIn)));
    }
    const std::optional<CodePage> better = BetterCodePage(bytes, Page(readIn));
    return better ? std::optional<int>(better->Number()) : std::nullopt;
}

TEST(CodePageGuess, EachScriptIsFoundFromTheDefaultPage) {
    EXPECT_EQ(Guess({"Демоверсии игр", "Гонки на выживание", "Системные требования"}, 1251, 1252),
              1251);
    EXPECT_EQ(Guess({"Αγώνας ταχύτητας", "Απαιτήσεις συστήματος", "Καλή διασκέδαση"}, 1253, 1252),
              1253);
    EXPECT_EQ(Guess({"Wyścigi samochodowe", "Żółta łódź", "Wymagania systemowe"}, 1250, 1252),
              1250);
    EXPECT_EQ(Guess({"ゲームの体験版", "必要なシステム"}, 932, 1252), 932);
    EXPECT_EQ(Guess({"게임 데모", "시스템 요구 사항"}, 949, 1252), 949);
}

TEST(CodePageGuess, TextReadInItsOwnPageNeedsNoOther) {
    EXPECT_EQ(Guess({"Café crème", "Système requis: Pentium", "Über alles schön"}, 1252, 1252),
              std::nullopt);
    EXPECT_EQ(Guess({"Демоверсии игр", "Гонки на выживание"}, 1251, 1251), std::nullopt);
    EXPECT_EQ(Guess({"Plain ASCII only", "Pentium 100"}, 1252, 1251), std::nullopt);
    // A Western disc read as Cyrillic is told to go back.
    EXPECT_EQ(Guess({"Café crème brûlée", "Système requis", "Überraschung für später"}, 1252, 1251),
              1252);
}

TEST(CodePageGuess, ReadingsCountWhatAReaderSees) {
    const std::vector<std::string> russian = {EncodeText("Привет мир", Page(1251))};
    const CodePageReading wrong = ReadIn(russian, Page(1252));
    EXPECT_EQ(wrong.words, 2);
    EXPECT_EQ(wrong.broken, 2); // "Ïðèâåò" and "ìèð": accented Latin letters only
    const CodePageReading right = ReadIn(russian, Page(1251));
    EXPECT_EQ(right.broken, 0);
    EXPECT_GT(right.vowels, 0.3);
    EXPECT_EQ(ReadIn({"\xAA"}, Page(1253)).undefined, 1);
    EXPECT_EQ(CodePageName(Page(1251)), "Cyrillic");
}

} // namespace
} // namespace kestrova
