#pragma once
// The code pages a disc's texts may be written in, as the Windows of the reader who made the disc
// read them: the single-byte Windows pages (874, 1250 to 1258), the DOS pages 437 and 850, Mac
// Roman (10000), and the double-byte pages of Japanese (932), simplified Chinese (936), Korean
// (949) and traditional Chinese (950), whose lead bytes take a trail byte after them. The tables
// are taken once from the C library's converters (glibc has every one of these pages); 1252 is
// our own, so the default never depends on them.
//
// Texts stay in the disc's bytes wherever the disc's rules count or compare them (line lengths,
// the menu's width, the lookups); they become UTF-8 only where they are shown. Windows-1252 is
// the default and reads exactly as text.h's Cp1252ToUtf8 does.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrova {

class CodePage {
  public:
    static constexpr int kDefaultNumber = 1252;

    CodePage() = default;
    // The page of that Windows number, when it is one of ours and this system can read it.
    static std::optional<CodePage> FromNumber(int number);
    // Every page of ours, by number.
    static const std::vector<int>& Numbers();

    int Number() const { return number_; }
    bool DoubleByte() const {
        return number_ == 932 || number_ == 936 || number_ == 949 || number_ == 950;
    }
    bool operator==(const CodePage&) const = default;

  private:
    explicit CodePage(int number) : number_(number) {}
    int number_ = kDefaultNumber;
};

// One character of `bytes` at `pos` (which must be inside): one byte, or a lead byte and its
// trail. A byte the page leaves undefined, a lead byte at the very end, and a lead byte whose
// next byte makes no character of the page are one byte long with U+FFFD and `defined` false,
// so the byte after them is read again on its own. Windows-1252 alone keeps its five undefined
// bytes as the C1 controls of the same value (not defined, but they round-trip through the
// editor as they always have).
struct CodePageChar {
    char32_t cp = 0;
    std::size_t length = 1;
    bool defined = true;
};
CodePageChar DecodeAt(std::string_view bytes, std::size_t pos, CodePage page);

// Whether `b` opens a two-byte character on the page (never on a single-byte page).
bool IsLeadByte(unsigned char b, CodePage page);

// The bytes as UTF-8.
std::string DecodeText(std::string_view bytes, CodePage page);

// UTF-8 back into the page's bytes: characters the page lacks, and malformed sequences, become
// '?'.
std::string EncodeText(std::string_view utf8, CodePage page);

// The longest start of `bytes` no longer than `maxBytes` that does not cut a character in two.
std::size_t CharacterPrefix(std::string_view bytes, std::size_t maxBytes, CodePage page);

// Case-insensitive equality as a reader of that page's Windows would see it: letters of the
// page (Latin, Greek, Cyrillic ...) fold to lower case; in the double-byte pages only the ASCII
// letters fold, and trail bytes are never taken for letters.
bool EqualsIgnoreCase(std::string_view a, std::string_view b, CodePage page);
std::string FoldedKey(std::string_view text, CodePage page);

} // namespace kestrova
