#pragma once
// The drop-down menus of the top sections as the front end shows them: their lines, read from
// the disc data each time one opens (the menu model, catalogue/disc_rules.h, says what they are
// and what choosing one does), and how high their lines stand.

#include "engine/disc_requirements.h"
#include "engine/main_state.h"

#include <cstddef>
#include <string>
#include <vector>

namespace kestrova {

// Menu lines take a click only up to this many (the destinations list holds eleven items).
inline constexpr int kMenuDestinations = static_cast<int>(kMenuChoosableLines);

// The lines of a section's menu; nothing for a key that has no menu.
std::vector<std::string> MenuLines(const MainState& state, const std::string& key);

// The left edge of the menu lines' hit area while the box is not fully open: past the window, so
// no line can be hovered.
inline constexpr int kMenuLinesAwayLeft = 801;

// The menu font, "Small Fonts" at 7 points on a screen of 96 pixels per inch.
inline constexpr int kMenuFontPoints = 7;
inline constexpr int kMenuPixelsPerInch = 96;

// One menu line, 9 pixels: lines are drawn and hit this far apart, and the box unrolls and
// shrinks by it.
constexpr int MenuLineHeight() {
    return kMenuFontPoints * kMenuPixelsPerInch / 72;
}

// How high `lines` menu lines reach as the box measures them, in floating point (9 1/3 pixels a
// line): the box is fully open at this height, and the pointer finds lines down to it.
constexpr double MenuLinesHeight(std::size_t lines) {
    return static_cast<double>(lines) * kMenuFontPoints * kMenuPixelsPerInch / 72.0;
}

} // namespace kestrova
