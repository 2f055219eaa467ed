#pragma once
// Text from a disc printed to a terminal. A disc could otherwise send escape sequences to the
// user's terminal (move the cursor, retitle the window, rewrite what was printed before).

#include <string>
#include <string_view>
#include <vector>

namespace kestrova {

// `text` with every control character shown escaped: C0 controls and DEL as "\xHH" (also tab
// and line ends, so one message stays one line), C1 controls as "\u00HH" when written in UTF-8
// (U+0080 to U+009F) and as "\xHH" when they stand alone as bytes 0x80 to 0x9F; a backslash
// stays as it is. Everything else, UTF-8 and other high bytes included, is kept.
std::string TerminalSafe(std::string_view text);

// `text` broken into lines of at most `width` characters (UTF-8 characters counted once) at the
// spaces between words; a word longer than a line is cut. A text that fits stays exactly as it
// is; the spaces where a line breaks are dropped. Width 0 leaves the text whole.
std::vector<std::string> WrapWords(std::string_view text, size_t width);

} // namespace kestrova
