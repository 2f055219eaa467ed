#pragma once
// What a character of a readme becomes on the pane, for the rich-text and the plain-text reader
// alike. Internal to the rich_text library.

#include <string>
#include <string_view>

namespace kestrova::rtf {

// Control characters have no business on the pane; tabs and line breaks are the text's own.
bool Shown(char32_t cp);

// The UTF-8 of a character the pane shows; empty for one it does not.
std::string Utf8Of(char32_t cp);

// The UTF-8 of a byte of Windows-1252, the code page of the discs' readmes; empty for bytes that
// stand for control characters.
std::string_view DecodeByte(unsigned char b);

} // namespace kestrova::rtf
