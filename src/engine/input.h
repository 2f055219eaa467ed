#pragma once
// Pointer input over the drawing surface. Handlers only set state, start programs and request
// pages; the next frame draws what they left.

#include "engine/main_state.h"
#include "engine/ports.h"

#include <functional>
#include <string>
#include <string_view>

namespace kestrova {

// What a click may reach beyond the state and the ports.
struct ClickContext {
    std::string currentDirectory;         // prefixed to disc pages
    std::function<void()> startAdventure; // the mascot's game
};

// The hot zone under back-buffer pixel (x, y): "none", a section key, or an action key ("*...").
// Rectangles include their right and bottom edges; where they overlap the later one wins.
std::string HotZoneAt(const MainState& state, int x, int y);

// The rectangle of the hot zone a key names, edges included as the pointer meets them; an empty
// one at the origin for a key with no zone.
Rect HotZoneRect(const MainState& state, std::string_view key);

// What the pointer at (x, y) hovers: the menu line and the hot zone under it and the action
// pictures lit under it. The pointer's own position is left as it is.
void HoverAt(MainState& state, int x, int y);

// The pointer moved to back-buffer pixel (x, y): what it hovers, and the position. The keyboard's
// focus ring goes; a pointer that has not left its place while the ring shows changes nothing.
void DxDrawMouseMove(MainState& state, int x, int y);

// A button went down over the surface. The position is not read: the click acts on what the
// last movement and the last frame left. After the keyboard's focus it acts where the pointer
// is, not where the ring was.
void DxDrawMouseDown(MainState& state, Ports& ports, const ClickContext& context);

// A click on what is hovered now, whoever put it there (the pointer, or the keyboard acting on
// its focus).
void ClickOnHover(MainState& state, Ports& ports, const ClickContext& context);

} // namespace kestrova
