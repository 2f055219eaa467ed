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

  private:
    BannerClock();
    void Tick();
    void Schedule();

    struct Entry {
        QPointer<QMovie> movie;
        qint64 dueMs = 0;
    };
    std::vector<Entry> entries_;
    QTimer timer_;
    QElapsedTimer clock_;
};

} // namespace kestrova
