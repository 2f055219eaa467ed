#pragma once
// Which code page a disc's texts were written in, judged as a reader would: read in the right
// page, the letters of a word are of one script and look like words of a language (a Latin word
// is not made of accented letters only, and words have vowels); read in a wrong one, Cyrillic
// turns into runs of accented Latin letters, Latin into a mix of scripts, and so on.

#include "base/code_page.h"

#include <optional>
#include <string>
#include <vector>

namespace kestrova {

// How the lines read in one page.
struct CodePageReading {
    int undefined = 0; // bytes the page does not define
    int broken = 0;    // words of mixed scripts, accented-only Latin words, symbols inside words
    int words = 0;     // words holding a letter outside ASCII
    double vowels = 0; // the share of vowels among those words' letters
    int kana = 0;      // Japanese syllables, which only Japanese writes
    int hangul = 0;    // Korean syllables
};

CodePageReading ReadIn(const std::vector<std::string>& lines, CodePage page);

// A page whose reading of the lines is sound where `chosen`'s is not; nothing when `chosen` reads
// well, or no page does better.
std::optional<CodePage> BetterCodePage(const std::vector<std::string>& lines, CodePage chosen);

// "Cyrillic", "Central European" ...: what a page is for, as a disc author would name it.
std::string CodePageName(CodePage page);

} // namespace kestrova
