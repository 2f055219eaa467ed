#pragma once
// Pointer input over the drawing surface. Handlers only set state; the next frame draws it.

#include "engine/main_state.h"
#include "engine/ports.h"

namespace kestrova {

// The pointer moved to back-buffer pixel (x, y).
void DxDrawMouseMove(MainState& state, int x, int y);

// A button went down over the surface at (x, y).
void DxDrawMouseDown(MainState& state, Ports& ports, int x, int y);

} // namespace kestrova
