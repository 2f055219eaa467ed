#pragma once
// What a character of a readme becomes on the pane, for the rich-text and the plain-text reader
// alike. Internal to the rich_text library.

#include <optional>
#include <string>
#include <string_view>

namespace kestrova::rtf {

// Control characters have no business on the pane; tabs and line breaks are the text's own.
bool Shown(char32_t cp);

// The UTF-8 of a character the pane shows; empty for one it does not.
std::string Utf8Of(char32_t cp);

// The code page a font's character set ("\fcharsetN") stands for; nothing for the default and
// symbol sets and for sets without a page of ours (the text then stays in the document's page).
std::optional<int> CodePageOfCharset(int charset);

} // namespace kestrova::rtf
