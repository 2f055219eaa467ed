#pragma once
// The control words the rich-text reader acts on, by what they do. Words it does not know are
// ignored. Internal to the rich_text library.

#include "rich_text/rich_text.h"

#include <string_view>
#include <unordered_map>

namespace kestrova::rtf {

// By family, as the reader takes them.
enum class Op {
    // Destinations, the font and colour tables' own words, the group's "\uc".
    SkipDestination,
    FontTable,
    ColourTable,
    Red,
    Green,
    Blue,
    UnicodeSkip,
    // The document's character set and code page, a font's character set and code page.
    CharacterSet,
    AnsiCodePage,
    FontCharset,
    FontCodePage,
    // Character formatting.
    DefaultFont,
    Font,
    Size,
    Bold,
    Italic,
    Underline,
    UnderlineNone,
    Colour,
    Hidden,
    Plain,
    // Paragraphs, table cells and rows, and the words that stand for characters.
    Pard,
    Align,
    Par,
    Cell,
    Row,
    Unicode,
    Character,
};

// What a control word means to the reader; `Words()` is the table of the words it knows.
struct Word {
    Op op;
    char32_t character = 0; // Character; CharacterSet: the page, 0 the disc's
    RichAlignment alignment = RichAlignment::Left; // Align
};

const std::unordered_map<std::string_view, Word>& Words();

} // namespace kestrova::rtf
