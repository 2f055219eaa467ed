#include "common/code_page_guess.h"

#include <array>
#include <string_view>

namespace kestrova {

namespace {

enum class Script { None, Latin, Greek, Cyrillic, Hebrew, Arabic, Thai, Cjk };

Script ScriptOf(char32_t c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
        (c >= 0xC0 && c <= 0x24F && c != 0xD7 && c != 0xF7)) {
        return Script::Latin;
    }
    if ((c >= 0x386 && c <= 0x3CE && c != 0x387)) {
        return Script::Greek;
    }
    if (c >= 0x400 && c <= 0x4FF) {
        return Script::Cyrillic;
    }
    if (c >= 0x5D0 && c <= 0x5EA) {
        return Script::Hebrew;
    }
    if (c >= 0x620 && c <= 0x64A) {
        return Script::Arabic;
    }
    if (c >= 0xE01 && c <= 0xE4E) {
        return Script::Thai;
    }
    if ((c >= 0x3040 && c <= 0x30FF) || (c >= 0x4E00 && c <= 0x9FFF) ||
        (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xFF66 && c <= 0xFF9D)) {
        return Script::Cjk;
    }
    return Script::None;
}

bool IsVowel(char32_t c) {
    static constexpr std::u32string_view kVowels =
        U"aeiouyAEIOUYàáâãäåæèéêëìíîïòóôõöøùúûüýÿÀÁÂÃÄÅÆÈÉÊËÌÍÎÏÒÓÔÕÖØÙÚÛÜÝąęĄĘěĚůŮőűŐŰ"
        U"αεηιουωάέήίόύώϊϋΐΰΑΕΗΙΟΥΩΆΈΉΊΌΎΏ"
        U"аеёиоуыэюяєіїАЕЁИОУЫЭЮЯЄІЇ";
    return kVowels.find(c) != std::u32string_view::npos;
}

// Letters that may stand inside a word without being letters: apostrophes and hyphens.
bool JoinsWords(char32_t c) {
    return c == '\'' || c == '-' || c == 0x2019 || c == 0xB4;
}

// Marks that stand before a word in real text: quotes and the Spanish question and exclamation.
bool OpensWords(char32_t c) {
    static constexpr std::u32string_view kOpeners = U"«»‹›‘’‚“”„¿¡(";
    return kOpeners.find(c) != std::u32string_view::npos;
}

struct Word {
    Script script = Script::None;
    bool mixed = false;
    int letters = 0;
    int high = 0; // letters outside ASCII
    int vowels = 0;
};

} // namespace

CodePageReading ReadIn(const std::vector<std::string>& lines, CodePage page) {
    CodePageReading r;
    int letters = 0;
    int vowels = 0;
    auto endWord = [&](Word& w) {
        if (w.high > 0) {
            ++r.words;
            letters += w.letters;
            vowels += w.vowels;
            const bool accentedOnly =
                w.script == Script::Latin && w.high == w.letters && w.letters >= 3;
            if (w.mixed || accentedOnly) {
                ++r.broken;
            }
        }
        w = {};
    };
    for (const std::string& line : lines) {
        Word w;
        bool symbolAfterLetter = false;
        bool symbolBeforeLetter = false;
        for (std::size_t pos = 0; pos < line.size();) {
            const CodePageChar c = DecodeAt(line, pos, page);
            const bool high = static_cast<unsigned char>(line[pos]) >= 0x80;
            pos += c.length;
            if (!c.defined) {
                ++r.undefined;
            }
            r.kana += (c.cp >= 0x3040 && c.cp <= 0x30FF) || (c.cp >= 0xFF66 && c.cp <= 0xFF9D);
            r.hangul += c.cp >= 0xAC00 && c.cp <= 0xD7A3;
            const Script s = ScriptOf(c.cp);
            if (s == Script::None) {
                // A symbol of a high byte between two letters splits what was one word.
                // And one glued to the front of a word is no mark a writer puts there.
                symbolAfterLetter = high && c.defined && w.letters > 0 && !JoinsWords(c.cp);
                symbolBeforeLetter = high && c.defined && !JoinsWords(c.cp) && !OpensWords(c.cp);
                endWord(w);
                continue;
            }
            if (symbolAfterLetter || symbolBeforeLetter) {
                ++r.broken;
                symbolAfterLetter = false;
                symbolBeforeLetter = false;
            }
            if (w.script != Script::None && w.script != s) {
                w.mixed = true;
            }
            w.script = s;
            ++w.letters;
            w.high += high ? 1 : 0;
            w.vowels += IsVowel(c.cp) ? 1 : 0;
        }
        endWord(w);
    }
    r.vowels = letters > 0 ? static_cast<double>(vowels) / letters : 0;
    return r;
}

std::optional<CodePage> BetterCodePage(const std::vector<std::string>& lines, CodePage chosen) {
    const CodePageReading now = ReadIn(lines, chosen);
    if (now.broken + now.undefined < 2) {
        return std::nullopt;
    }
    // Single-byte pages first: a double-byte page reads almost any run of high bytes as
    // characters, so it is only the answer when no single-byte page reads well.
    std::optional<CodePage> best;
    double bestVowels = -1;
    for (int number : {1250, 1251, 1252, 1253, 1254, 1257, 1255, 1256, 874}) {
        const CodePage page = *CodePage::FromNumber(number);
        const CodePageReading r = ReadIn(lines, page);
        if (page != chosen && r.broken == 0 && r.undefined == 0 && r.words > 0 &&
            r.vowels > bestVowels) {
            best = page;
            bestVowels = r.vowels;
        }
    }
    if (best) {
        return best;
    }
    // Japanese has its kana and Korean its Hangul; Chinese reads whole in one of its pages.
    for (int number : {932, 949, 936, 950}) {
        const CodePage page = *CodePage::FromNumber(number);
        const CodePageReading r = ReadIn(lines, page);
        if (page == chosen || r.undefined > 0 || r.broken > 0 || r.words == 0) {
            continue;
        }
        const bool ownScript = (number == 932 && r.kana > 0) || (number == 949 && r.hangul > 0) ||
                               number == 936 || number == 950;
        if (ownScript) {
            return page;
        }
    }
    return std::nullopt;
}

std::string CodePageName(CodePage page) {
    switch (page.Number()) {
    case 874:
        return "Thai";
    case 932:
        return "Japanese";
    case 936:
        return "simplified Chinese";
    case 949:
        return "Korean";
    case 950:
        return "traditional Chinese";
    case 1250:
        return "Central European";
    case 1251:
        return "Cyrillic";
    case 1253:
        return "Greek";
    case 1254:
        return "Turkish";
    case 1255:
        return "Hebrew";
    case 1256:
        return "Arabic";
    case 1257:
        return "Baltic";
    case 1258:
        return "Vietnamese";
    case 437:
    case 850:
        return "DOS";
    case 10000:
        return "Mac Roman";
    default:
        return "Western European";
    }
}

} // namespace kestrova
