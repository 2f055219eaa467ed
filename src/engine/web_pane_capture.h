#pragma once
// Dismissing the web pane: the page is photographed and the picture slides away, drawn by the
// frame, while the real pane leaves the screen at once.

#include "engine/main_state.h"
#include "engine/ports.h"

namespace kestrova {

// Takes the pane's own pixels into `browzerz` item 0 and starts the slide: `pageSprite` shows the
// picture where the pane stands and `pageSliding` is set; the frame does the rest.
void CapturePage(MainState& state, Ports& ports);

} // namespace kestrova
