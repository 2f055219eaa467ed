#include "engine/banners.h"

#include "engine/random.h"

namespace kestrova {

void Timer1Timer(MainState& s) {
    ProgramRandom().Draw(s.banners.Count());
}

void bannerpushTimer(MainState&, Ports&) {}

} // namespace kestrova
