#pragma once
// The drop-down menus of the top sections, read from the disc data file each time one opens, and
// what a chosen line leads to.

#include "engine/main_state.h"

#include <string>
#include <vector>

namespace kestrova {

// Menu lines take a click only up to this many (the destinations list holds eleven items).
inline constexpr int kMenuDestinations = 11;
// How many support and mascot items a menu looks for ("*SUPPORT1" .. "*SUPPORT20").
inline constexpr int kNumberedMenuItems = 20;

// The lines of a section's menu; nothing for a key that has no menu.
//  - "demos": the title of every entry 1 .. spriteCount - 1 whose install line is not "no";
//  - "utility", "add-ons": every other line of their block, the captions;
//  - "support", "tobrik": the caption after each numbered key that exists.
std::vector<std::string> MenuLines(const MainState& state, const std::string& key);

// A line of the disc data, or an empty text for an index outside the file: a lookup that misses
// must not stop a handler.
const std::string& LineOrEmpty(const LineList& source, long long index);

// The entry number a demos menu caption stands for, read from its record's start line (the line
// before the caption): "*BEGIN5" gives 5, "*BEGIN12" 12. Nothing for another line.
int EntryNumberFromStartLine(const std::string& line);

} // namespace kestrova
