#include "engine/launch.h"

namespace kestrova {

void launchitTimer(MainState& s, Ports&) {
    s.timers.Disable(TimerId::launchit);
}

} // namespace kestrova
