#pragma once
// The disc data file is Windows-1252 text. These helpers decode it for display, encode typed
// text back, and compare lines ignoring case the way the disc's authors expect (ASCII and the
// Latin-1 letters, plus the few extra letters of the code page).

#include <string>
#include <string_view>

namespace kestrova {

// Each byte becomes its character. The five bytes the code page leaves undefined map to the
// control characters of the same value, so that decoding and encoding round-trip.
std::string Cp1252ToUtf8(std::string_view bytes);

// Characters outside the code page, and malformed UTF-8 sequences, become '?'.
std::string Utf8ToCp1252(std::string_view utf8);

// Upper-case letters to lower case; every other byte unchanged.
char FoldCase(char c);

bool EqualsIgnoreCase(std::string_view a, std::string_view b);

// The line folded byte by byte; equal keys mean EqualsIgnoreCase.
std::string FoldedKey(std::string_view text);

} // namespace kestrova
