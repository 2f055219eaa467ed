#pragma once
// The disc data file is Windows-1252 text. These helpers decode it for display, encode typed
// text back, and compare lines ignoring case the way the disc's authors expect (ASCII and the
// Latin-1 letters, plus the few extra letters of the code page).

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace kestrova {

// Each byte becomes its character. The five bytes the code page leaves undefined map to the
// control characters of the same value, so that decoding and encoding round-trip.
std::string Cp1252ToUtf8(std::string_view bytes);

// Characters outside the code page, and malformed UTF-8 sequences, become '?'.
std::string Utf8ToCp1252(std::string_view utf8);

// Appends a code point (up to U+10FFFF) in UTF-8.
void AppendUtf8(std::string& out, char32_t cp);

// The UTF-8 sequence starting at `pos`: its code point and its length. A byte that cannot start a
// sequence, or a sequence cut short, gives nothing; an overlong form, a surrogate or a value past
// U+10FFFF gives its length with `valid` false.
struct Utf8Char {
    char32_t cp = 0;
    std::size_t length = 0;
    bool valid = false;
};
std::optional<Utf8Char> ReadUtf8(std::string_view s, std::size_t pos);

// Each code point of `utf8` in turn, nothing for a byte that starts no well-formed character (a
// broken sequence gives up only its first byte, so the next character still reads); what
// `encode` appends for each becomes the text in another encoding.
template <class Encode> std::string EncodeEachCodePoint(std::string_view utf8, Encode encode) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const std::optional<Utf8Char> c = ReadUtf8(utf8, i);
        if (!c) {
            encode(out, std::optional<char32_t>());
            ++i;
            continue;
        }
        encode(out, c->valid ? std::optional<char32_t>(c->cp) : std::nullopt);
        i += c->length;
    }
    return out;
}

// Upper-case letters to lower case; every other byte unchanged.
char FoldCase(char c);

bool EqualsIgnoreCase(std::string_view a, std::string_view b);

// The line folded byte by byte; equal keys mean EqualsIgnoreCase.
std::string FoldedKey(std::string_view text);

} // namespace kestrova
