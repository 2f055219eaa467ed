#pragma once
// The desktop pacer's clock: the wall clock from the loop's start, and a precise one-shot timer.

#include "platform/desktop_pacer.h"

#include <QElapsedTimer>
#include <QTimer>

namespace kestrova {

class QtPaceClock : public PaceClock {
  public:
    QtPaceClock();
    long long NowMs() const override { return clock_.elapsed(); }
    void WakeAfter(int ms) override { timer_.start(ms); }
    // Fires for each pass of the loop.
    QTimer& Timer() { return timer_; }

  private:
    QElapsedTimer clock_;
    QTimer timer_;
};

} // namespace kestrova
