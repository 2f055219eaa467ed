#pragma once
// The disc's readmes are rich-text (RTF) files as the word processors of the day wrote them. This
// reader keeps what a reader of a readme sees: the text, its fonts, sizes, bold, italic,
// underline, colours and paragraph alignment. Everything else (style sheets, pictures, headers,
// document information, field codes) is skipped.
//
// Nothing in a file makes it fail: unknown control words are ignored, a broken or cut-short file
// gives what could be read, and a file that is not rich text at all comes back as its plain text,
// one paragraph per line. Table rows become one paragraph each, their cells separated by a tab,
// so the columns of a small table still line up on the pane's tab stops. Eight-bit text and
// "\'hh" escapes are read in the code page the file names ("\ansicpgN", "\mac", "\pc", "\pca"),
// or the one its font names ("\fcharsetN", "\cpgN"), or else the disc's; in a double-byte page a
// lead byte and its trail make one character, escaped or not. Unicode escapes ("\uN") carry
// everything else.

#include "base/code_page.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrova {

enum class RichAlignment { Left, Centre, Right, Justify };

struct RichRun {
    // UTF-8. '\t' is a tab, '\n' a line break inside the paragraph.
    std::string text;
    // Family name from the file's font table; empty: the pane's own font.
    std::string font;
    // Points; 0 when the file does not say (plain text): the pane's own size.
    double size = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    // 0xRRGGBB; empty: the pane's default text colour.
    std::optional<uint32_t> colour;
};

struct RichParagraph {
    std::vector<RichRun> runs; // none is empty
    RichAlignment alignment = RichAlignment::Left;
};

struct RichText {
    std::vector<RichParagraph> paragraphs;
    // A limit below stopped the reading; what came before it is kept.
    bool truncated = false;
    // The text of every paragraph, joined by '\n'.
    std::string PlainText() const;
};

// Limits that keep a hostile file's cost bounded, here and in laying the text out: a readme is a
// few pages, far below them. Groups nested deeper than the depth are read as if they were not
// there (their content is dropped); the others stop the reading.
inline constexpr std::size_t kRichTextMaxDepth = 256;
inline constexpr std::size_t kRichTextMaxTextBytes = std::size_t{1} << 20;
inline constexpr std::size_t kRichTextMaxRuns = std::size_t{1} << 16;
inline constexpr std::size_t kRichTextMaxParagraphs = std::size_t{1} << 16;

// Reads rich text, or plain text when `bytes` does not begin with "{\rtf". `page` is the code
// page of the disc's Windows: plain text that is not UTF-8 is read in it, and so is rich text
// that names no code page of its own.
RichText ParseRtf(std::string_view bytes, CodePage page = {});

} // namespace kestrova
