#pragma once
// The advertising banners' timers. Rotation and banner clicks land here.

#include "engine/main_state.h"
#include "engine/ports.h"

namespace kestrova {

// The 4-second timer: one draw of a `banners` item for a sprite that no frame shows. It changes
// nothing on screen but moves the shared generator on, which the banner rotation draws from.
void Timer1Timer(MainState& state);

// The banner rotation's 10-second tick. The rotation itself is not built yet: the tick keeps its
// place in the timer order and does nothing.
void bannerpushTimer(MainState& state, Ports& ports);

} // namespace kestrova
