#include "engine/input.h"

#include "engine/web_pane_capture.h"

namespace kestrova {

void DxDrawMouseMove(MainState& s, int x, int y) {
    s.mouseX = x;
    s.mouseY = y;
}

void DxDrawMouseDown(MainState& s, Ports& ports, int, int) {
    // While the pane is up it covers its part of the surface, so a click that reaches the surface
    // is outside it and dismisses it.
    if (ports.web && ports.web->Left() == -3) {
        CapturePage(s, ports);
    }
    // A click on the drawn front end puts the game away.
    ports.game->HidePanel();
}

} // namespace kestrova
