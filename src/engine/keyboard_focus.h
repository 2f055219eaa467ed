#pragma once
// The keyboard's focus over the drawn front end: which hot zones and menu lines it visits and in
// what order, where it goes for each move, and where its ring stands. A focused place is hovered
// as the pointer there would hover it, so the frame shows it as it shows the pointer's, and a
// key acting on it is a click there.

#include "engine/main_state.h"

#include <optional>
#include <string>
#include <vector>

namespace kestrova {

enum class FocusMove { Next, Previous, Left, Right, Up, Down };

// The hot zones the focus visits, in the order Tab takes them: the top row left to right, the
// lower row, then the action pictures, these only while the frame draws them (a demo both chosen
// and shown).
std::vector<std::string> FocusZones(const MainState& state);

// The lines of the open menu a choice acts on, by index: not a heading (a caption with nothing to
// start), not a line that leads nowhere, not a line past those that take a click. Nothing when no
// menu is open.
std::vector<int> ActingMenuLines(const MainState& state);

// The focus goes to a hot zone and hovers it. Any menu, or action just taken, other than the
// zone's own ends, as when the pointer leaves it.
void FocusZone(MainState& state, const std::string& key);
// The focus goes to a line of the open menu and hovers it.
void FocusLine(MainState& state, int line);

// A navigation key. The first one only shows the ring (on the first place for a move forwards,
// the last for one backwards). With a menu open the focus stays on its acting lines, and Left or
// Right leaves it for the neighbouring zone, closing it. Among the zones Tab goes round in order
// and the arrows go to the nearest zone that way, staying put when there is none.
void MoveFocus(MainState& state, FocusMove move);

// The point a click on the focused place lands on.
std::optional<std::pair<int, int>> FocusPoint(const MainState& state);

// Where the ring is drawn, right and bottom exclusive; nothing while it is not shown, and for a
// menu line while the box is not fully open.
std::optional<Rect> FocusRingRect(const MainState& state);

// Whether the menu box is fully open, its lines taking the pointer.
bool MenuLinesOpen(const MainState& state);

} // namespace kestrova
