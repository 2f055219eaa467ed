#include "engine/input.h"

namespace kestrova {

void DxDrawMouseMove(MainState& s, int x, int y) {
    s.mouseX = x;
    s.mouseY = y;
}

void DxDrawMouseDown(MainState&, Ports& ports, int, int) {
    // A click on the drawn front end puts the game away.
    ports.game->HidePanel();
}

} // namespace kestrova
