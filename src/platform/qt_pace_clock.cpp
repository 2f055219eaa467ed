#include "platform/qt_pace_clock.h"

namespace kestrova {

QtPaceClock::QtPaceClock() {
    clock_.start();
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setSingleShot(true);
}

} // namespace kestrova
