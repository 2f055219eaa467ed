#include "engine/web_pane_capture.h"

namespace kestrova {

void CapturePage(MainState& s, Ports& ports) {
    if (s.browzerz.Count() == 0) {
        s.browzerz.Add();
    }
    PictureCollectionItem& item = s.browzerz.Items(0);
    // An empty grab leaves nothing to draw; the slide still runs and the pane still goes.
    item.SetPicture(ports.web->Grab());
    item.Transparent = false;
    item.SystemMemory = true;
    item.Rebuild();
    SetSpriteImage(s.pageSprite, s.browzerz, 0, "browzerz");
    s.pageSprite.x = 0;
    s.pageSprite.y = ports.web->Top();
    s.pageSprite.dx = 0;
    s.pageSprite.dy = 0;
    s.pageSliding = true;
}

} // namespace kestrova
