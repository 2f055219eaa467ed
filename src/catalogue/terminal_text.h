#pragma once
// Text from a disc printed to a terminal. A disc could otherwise send escape sequences to the
// user's terminal (move the cursor, retitle the window, rewrite what was printed before).

#include <string>
#include <string_view>

namespace kestrova {

// `text` with every control character shown escaped: C0 controls and DEL as "\xHH" (also tab
// and line ends, so one message stays one line), C1 controls as "\u00HH" when written in UTF-8
// (U+0080 to U+009F) and as "\xHH" when they stand alone as bytes 0x80 to 0x9F; a backslash
// stays as it is. Everything else, UTF-8 and other high bytes included, is kept.
std::string TerminalSafe(std::string_view text);

} // namespace kestrova
