#include "platform/banner_clock.h"

#include <QMovie>

#include <algorithm>

namespace kestrova {

namespace {

// A frame that asks for no delay (or a broken one) is shown this long, as browsers do.
constexpr int kShortestDelayMs = 20;
constexpr int kDefaultDelayMs = 100;

int DelayOf(const QMovie& movie) {
    const int d = movie.nextFrameDelay();
    return d <= 0 ? kDefaultDelayMs : std::max(d, kShortestDelayMs);
}

} // namespace

BannerClock& BannerClock::Shared() {
    static BannerClock* clock = new BannerClock; // lives as long as the application
    return *clock;
}

BannerClock::BannerClock() {
    clock_.start();
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, [this] { Tick(); });
}

qint64 BannerClock::AlignUp(qint64 ms) {
    return (ms + kGridMs - 1) / kGridMs * kGridMs;
}

void BannerClock::Add(QMovie* movie) {
    if (!movie) {
        return;
    }
    Remove(movie);
    movie->setPaused(true);
    entries_.push_back({movie, AlignUp(clock_.elapsed() + DelayOf(*movie))});
    Schedule();
}

void BannerClock::Remove(QMovie* movie) {
    entries_.erase(std::remove_if(entries_.begin(), entries_.end(),
                                  [movie](const Entry& e) { return e.movie == movie || !e.movie; }),
                   entries_.end());
    Schedule();
}

void BannerClock::Tick() {
    const qint64 now = clock_.elapsed();
    for (Entry& e : entries_) {
        if (!e.movie || e.dueMs > now) {
            continue;
        }
        if (!e.movie->jumpToNextFrame()) {
            e.movie->jumpToFrame(0); // banners loop
        }
        e.dueMs = AlignUp(now + DelayOf(*e.movie));
    }
    entries_.erase(
        std::remove_if(entries_.begin(), entries_.end(), [](const Entry& e) { return !e.movie; }),
        entries_.end());
    Schedule();
}

void BannerClock::Schedule() {
    if (entries_.empty()) {
        timer_.stop();
        return;
    }
    qint64 next = entries_.front().dueMs;
    for (const Entry& e : entries_) {
        next = std::min(next, e.dueMs);
    }
    timer_.start(static_cast<int>(std::max<qint64>(0, next - clock_.elapsed())));
}

} // namespace kestrova
