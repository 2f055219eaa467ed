#pragma once
// Pointer input over the drawing surface. Handlers only set state, start programs and request
// pages; the next frame draws what they left.

#include "engine/main_state.h"
#include "engine/ports.h"

#include <functional>
#include <string>

namespace kestrova {

// What a click may reach beyond the state and the ports.
struct ClickContext {
    std::string currentDirectory;         // prefixed to disc pages
    std::function<void()> startAdventure; // the mascot's game
};

// The hot zone under back-buffer pixel (x, y): "none", a section key, or an action key ("*...").
// Rectangles include their right and bottom edges; where they overlap the later one wins.
std::string HotZoneAt(const MainState& state, int x, int y);

// The pointer moved to back-buffer pixel (x, y): the menu line and the hot zone under it, the
// action pictures lit under it, and the position.
void DxDrawMouseMove(MainState& state, int x, int y);

// A button went down over the surface. The position is not read: the click acts on what the
// last movement and the last frame left.
void DxDrawMouseDown(MainState& state, Ports& ports, const ClickContext& context);

} // namespace kestrova
