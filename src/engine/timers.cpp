#include "engine/timers.h"

namespace kestrova {

TimerTable::TimerTable() {
    auto make = [](const char* name, long long ms, long long div, bool enabled, bool grid,
                   bool showsOnly = false) {
        TimerSlot s;
        s.name = name;
        s.periodMs = ms;
        s.periodDiv = div;
        s.enabled = enabled;
        s.grid = grid;
        s.showsOnly = showsOnly;
        return s;
    };
    Slot(TimerId::DXTimer) = make("DXTimer", 1000, 60, false, true, true);
    Slot(TimerId::launchit) = make("launchit", 600, 1, false, false);
    Slot(TimerId::bannerpush) = make("bannerpush", 10000, 1, false, false);
    // The 4-second timer runs from the moment the window exists, before any other is started.
    Slot(TimerId::Timer1) = make("Timer1", 4000, 1, true, false);
    Slot(TimerId::decellerator) = make("decellerator", 100, 1, false, false);
    Slot(TimerId::bannerframes) = make("bannerframes", 0, 1, false, false, true);
    Slot(TimerId::launchnotice) = make("launchnotice", 0, 1, false, false);
    Start(Slot(TimerId::Timer1));
}

void TimerTable::Start(TimerSlot& s) {
    s.baseMs = nowMs_;
    s.ticks = 0;
    s.startOrder = ++starts_;
}

void TimerTable::Enable(TimerId id) {
    TimerSlot& s = Slot(id);
    if (s.enabled) {
        return;
    }
    s.enabled = true;
    if (!s.grid) {
        Start(s);
    }
}

void TimerTable::Disable(TimerId id) {
    Slot(id).enabled = false;
}

void TimerTable::SetInterval(TimerId id, long long ms) {
    TimerSlot& s = Slot(id);
    s.periodMs = ms;
    s.periodDiv = 1;
    // A new interval counts from now, as when a running timer is given another interval.
    Start(s);
}

void TimerTable::StartAt(TimerId id, long long dueMs) {
    SetInterval(id, std::max(1LL, dueMs - nowMs_));
    Enable(id);
}

} // namespace kestrova
