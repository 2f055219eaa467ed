#pragma once
// The desktop pacer's clock: the wall clock from the loop's start, and a precise one-shot timer;
// and the watch that tells it of input before any control sees it.

#include "platform/desktop_pacer.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <functional>
#include <utility>

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

// Installed on the application: calls `input` before each event of the pointer, the keyboard, a
// touch screen or a tablet reaches any window of the program. The event itself goes on as it was.
class QtInputWatch : public QObject {
  public:
    explicit QtInputWatch(std::function<void()> input) : input_(std::move(input)) {}
    static bool IsInput(const QEvent& event);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    std::function<void()> input_;
};

} // namespace kestrova
