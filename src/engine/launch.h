#pragma once
// Program starts. `RunProgram` and the readme actions land here.

#include "engine/main_state.h"
#include "engine/ports.h"

namespace kestrova {

// The delayed launch's tick. Until delayed launches are built it only stops its timer, so a
// stray enable never repeats.
void launchitTimer(MainState& state, Ports& ports);

} // namespace kestrova
