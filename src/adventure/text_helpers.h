#pragma once
// Small string routines of the game: the command line's case folding and word split, and the
// comma lists of the exit table.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrova {

// Lower-cases the ASCII letters only. Every phrase, exit word and object name is plain ASCII, so
// folding other bytes could never make a line match, and leaving them alone keeps UTF-8 intact.
std::string LowerAscii(std::string_view text);

// Equal ignoring ASCII case, as list lookups compare.
bool SameText(std::string_view a, std::string_view b);

// Index of the first entry equal to word ignoring case, or -1.
int IndexOfText(const std::vector<std::string>& list, std::string_view word);

// Splits at every blank: two blanks in a row give an empty word, a trailing blank gives an empty
// last word, and an empty line gives no words at all.
std::vector<std::string> SplitWords(std::string_view line);

// Splits a comma list: commas, blanks and control characters separate, leading separators are
// skipped, and a double-quoted part (with "" for a quote) is one entry.
std::vector<std::string> SplitCommaText(std::string_view text);

// A whole decimal number with an optional sign, nothing else; empty when the text is not one or
// does not fit an int.
std::optional<int> ParseWholeNumber(std::string_view text);

} // namespace kestrova
