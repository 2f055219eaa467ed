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
    entries_.push_back({movie, AlignUp(NowMs() + DelayOf(*movie))});
    Schedule();
}

void BannerClock::Remove(QMovie* movie) {
    entries_.erase(std::remove_if(entries_.begin(), entries_.end(),
                                  [movie](const Entry& e) { return e.movie == movie || !e.movie; }),
                   entries_.end());
    Schedule();
}

qint64 BannerClock::NowMs() const {
    return stepped_ ? steppedNowMs_ : clock_.elapsed();
}

qint64 BannerClock::NextDueMs() const {
    qint64 next = -1;
    for (const Entry& e : entries_) {
        // A movie that is gone falls due too: its entry is dropped then.
        if (next < 0 || e.dueMs < next) {
            next = e.dueMs;
        }
    }
    return next;
}

void BannerClock::UseSteppedTime(qint64 startMs) {
    stepped_ = true;
    steppedNowMs_ = startMs;
    Restart();
}

void BannerClock::UseWallTime() {
    stepped_ = false;
    Restart();
}

void BannerClock::Restart() {
    for (Entry& e : entries_) {
        if (e.movie) {
            e.dueMs = AlignUp(NowMs() + DelayOf(*e.movie));
        }
    }
    Schedule();
}

void BannerClock::AdvanceTo(qint64 ms) {
    if (!stepped_) {
        return;
    }
    // Each step moves every due movie's next change past the time it was made at, so this ends.
    for (qint64 next = NextDueMs(); next >= 0 && next <= ms; next = NextDueMs()) {
        steppedNowMs_ = std::max(steppedNowMs_, next);
        Tick();
    }
    steppedNowMs_ = std::max(steppedNowMs_, ms);
}

void BannerClock::Tick() {
    const qint64 now = NowMs();
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
    const qint64 next = NextDueMs();
    if (next < 0 || stepped_) {
        timer_.stop(); // stepped time moves only when the one who steps it says
        return;
    }
    timer_.start(static_cast<int>(std::max<qint64>(0, next - clock_.elapsed())));
}

} // namespace kestrova
