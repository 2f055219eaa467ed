#pragma once
// The main window's timers in one table, stepped by whoever owns the clock: the wall clock on
// the desktop, the harness's virtual clock under replay. Nothing here waits or reads a real
// clock, so every timer runs the same on both.

#include <algorithm>
#include <array>
#include <cstddef>
#include <string>

namespace kestrova {

// The window's timers; their order here is only the layout of the table (see RunUntil for the
// order in which timers due together fire).
enum class TimerId {
    DXTimer,      // frames at a fixed 60 per second
    launchit,     // a delayed program start
    bannerpush,   // banner rotation
    Timer1,       // the 4-second draw from the shared generator
    decellerator, // never enabled
    bannerframes, // the banners' next animation frame, due when the earliest banner's is
    launchnotice, // the launch notice's end
};
constexpr std::size_t kTimerCount = 7;

struct TimerSlot {
    const char* name = "";
    // Period in milliseconds as a fraction, so 60 frames a second fall at exact times:
    // the n-th tick after `baseMs` is due at baseMs + n * periodMs / periodDiv.
    long long periodMs = 0;
    long long periodDiv = 1;
    bool enabled = false;
    long long baseMs = 0;
    long long ticks = 0;
    // A grid timer ticks on its fixed grid whether enabled or not; enabling only lets its
    // handler run. The frame timer is one: its pace never shifts.
    bool grid = false;
    // A timer that only changes what is shown (the frame, the banners' frames): its ticks pass
    // silently while the clock skips ahead after a stall.
    bool showsOnly = false;
    // When the timer was last started, as a count of starts: of two timers due at the same
    // moment, the one started first fires first.
    long long startOrder = 0;

    long long NextDueMs() const { return baseMs + (ticks + 1) * periodMs / periodDiv; }
};

class TimerTable {
  public:
    // The window's timers as created: only `Timer1` is enabled, from time 0.
    TimerTable();

    long long NowMs() const { return nowMs_; }

    // Enabling a disabled timer starts its interval from now; an enabled one keeps its pace.
    void Enable(TimerId id);
    void Disable(TimerId id);
    bool Enabled(TimerId id) const { return Slot(id).enabled; }
    // A new interval starts the timer again from now.
    void SetInterval(TimerId id, long long ms);
    // Starts the timer so that its next tick falls at `dueMs` (at least 1 ms from now); it ticks
    // on at that interval until started again or disabled.
    void StartAt(TimerId id, long long dueMs);
    long long IntervalMs(TimerId id) const { return Slot(id).periodMs / Slot(id).periodDiv; }
    long long NextDueMs(TimerId id) const { return Slot(id).NextDueMs(); }
    // Frame times passed so far, drawn or not.
    long long FrameTicks() const { return Slot(TimerId::DXTimer).ticks; }

    const TimerSlot& Slot(TimerId id) const { return slots_[static_cast<std::size_t>(id)]; }
    const std::array<TimerSlot, kTimerCount>& Slots() const { return slots_; }

    // Steps the clock to `untilMs`, calling `fire(id)` for every tick that falls due on the way,
    // in time order; the clock reads the tick's time while its handler runs. Timers due at the
    // same moment fire in the order they were started, the frame after them all. The ticks of a
    // timer that only changes what is shown reach `fire` only when `frames` is true (otherwise
    // they pass silently, as after a stall).
    template <typename Fire> void RunUntil(long long untilMs, bool frames, Fire&& fire) {
        for (;;) {
            TimerSlot* next = nullptr;
            for (auto& s : slots_) {
                if (!(s.enabled || s.grid) || s.periodMs <= 0 || s.NextDueMs() > untilMs) {
                    continue;
                }
                if (!next || s.NextDueMs() < next->NextDueMs() ||
                    (s.NextDueMs() == next->NextDueMs() && FiresBefore(s, *next))) {
                    next = &s;
                }
            }
            if (!next) {
                break;
            }
            nowMs_ = std::max(nowMs_, next->NextDueMs());
            ++next->ticks;
            if (next->enabled && (frames || !next->showsOnly)) {
                fire(static_cast<TimerId>(next - slots_.data()));
            }
        }
        nowMs_ = std::max(nowMs_, untilMs);
    }

    // Moves the clock without running anything (before start-up, after closing).
    void MoveTo(long long ms) { nowMs_ = std::max(nowMs_, ms); }

  private:
    TimerSlot& Slot(TimerId id) { return slots_[static_cast<std::size_t>(id)]; }
    // Of two timers due together: the frame goes last, the others by when they were started.
    static bool FiresBefore(const TimerSlot& a, const TimerSlot& b) {
        if (a.grid != b.grid) {
            return !a.grid;
        }
        return a.startOrder < b.startOrder;
    }
    void Start(TimerSlot& s);

    std::array<TimerSlot, kTimerCount> slots_;
    long long nowMs_ = 0;
    long long starts_ = 0;
};

} // namespace kestrova
