#pragma once
// Keys the main window sees before any of its controls: Alt combinations for the display and the
// disc editor, and the hidden phrases typed anywhere in the window. No key is consumed.

#include "engine/main_state.h"
#include "engine/ports.h"

#include <string>

namespace kestrova {

inline constexpr int kKeyEnter = 13;
inline constexpr int kKeyUp = 38;
// The typed characters kept for the phrases; the buffer empties when it has passed this.
inline constexpr std::size_t kTypedTextLimit = 254;

// A key went down. Alt+Enter switches between the window and full screen, keeping everything as
// it is; Alt+Up opens the disc editor on an editor's workstation; `altHeld` remembers Alt.
void FormKeyDown(MainState& state, Ports& ports, int key, bool alt);

// A character was typed (`character`, UTF-8; a longer text counts as its characters typed one
// after the other). A phrase anywhere in what was typed since the last one opens its page in the
// web pane. `typedText` keeps the characters in the disc's Windows-1252 bytes.
void FormKeyPress(MainState& state, const std::string& character);

// The page a phrase opens, or nullptr: phrases are compared with their exact capitals.
const char* PhrasePage(const std::string& typed);

} // namespace kestrova
