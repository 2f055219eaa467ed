#pragma once
// The animated banners step on one clock: their frames change at the same moments, so the window
// repaints them in one go instead of once per banner. That matters most when the browser engine
// shares the window, where every repaint is composed again as a whole.

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <vector>

class QMovie;

namespace kestrova {

class BannerClock : public QObject {
  public:
    // Frame changes fall on this grid.
    static constexpr int kGridMs = 20;

    static BannerClock& Shared();

    // The clock shows the movie's next frame whenever its delay has passed, and loops it. The
    // movie is paused for its own timer and stays owned by the caller.
    void Add(QMovie* movie);
    void Remove(QMovie* movie);
    int Count() const { return static_cast<int>(entries_.size()); }

    // The first grid point at or after `ms`.
    static qint64 AlignUp(qint64 ms);

    // The clock follows the wall clock, a timer waking it when a frame is due. A test or the
    // replay harness steps it instead: from `startMs` on it reads only the time AdvanceTo gives
    // it, and nothing waits in real time. The movies on the clock start their frames afresh from
    // the new time either way.
    void UseSteppedTime(qint64 startMs);
    void UseWallTime();
    bool SteppedTime() const { return stepped_; }
    // With stepped time: moves the clock on to `ms`, showing every frame change that falls due on
    // the way, in time order. Nothing otherwise.
    void AdvanceTo(qint64 ms);
    // The clock's time now, in milliseconds.
    qint64 NowMs() const;
    // When the next frame change is due, or -1 while nothing is on the clock.
    qint64 NextDueMs() const;

  private:
    BannerClock();
    void Tick();
    void Schedule();
    // Every movie's current frame stands for its whole delay from now.
    void Restart();

    struct Entry {
        QPointer<QMovie> movie;
        qint64 dueMs = 0;
    };
    std::vector<Entry> entries_;
    QTimer timer_;
    QElapsedTimer clock_;
    bool stepped_ = false;
    qint64 steppedNowMs_ = 0;
};

} // namespace kestrova
