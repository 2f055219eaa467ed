// The timer table on its own: fixed frame times, due order, enabling and disabling, and a clock
// that reads each tick's time while its handler runs. No window and no real clock.

#include "engine/timers.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace kestrova {
namespace {

using Ticks = std::vector<std::pair<TimerId, long long>>;

Ticks Step(TimerTable& t, long long until, bool frames = true) {
    Ticks ticks;
    t.RunUntil(until, frames, [&](TimerId id) { ticks.emplace_back(id, t.NowMs()); });
    return ticks;
}

// The timers that fired at `ms`, in their order.
std::vector<TimerId> At(const Ticks& ticks, long long ms) {
    std::vector<TimerId> ids;
    for (const auto& [which, at] : ticks) {
        if (at == ms) {
            ids.push_back(which);
        }
    }
    return ids;
}

long long Count(const Ticks& ticks, TimerId id) {
    long long n = 0;
    for (const auto& [which, at] : ticks) {
        n += which == id ? 1 : 0;
    }
    return n;
}

TEST(Timers, FramesFallOnAFixedGridWhetherTheFrameTimerRunsOrNot) {
    TimerTable t;
    EXPECT_EQ(Count(Step(t, 1000), TimerId::DXTimer), 0) << "the frame timer starts disabled";
    EXPECT_EQ(t.FrameTicks(), 60) << "its grid ticks on regardless";
    t.Enable(TimerId::DXTimer);
    const Ticks ticks = Step(t, 2000);
    EXPECT_EQ(Count(ticks, TimerId::DXTimer), 60);
    // Frame k falls at k * 1000 / 60 ms exactly: 1016, 1033, 1050, ...
    EXPECT_EQ(ticks.front(), std::make_pair(TimerId::DXTimer, 1016LL));
    EXPECT_EQ(ticks[1].second, 1033);
    EXPECT_EQ(t.NextDueMs(TimerId::DXTimer), 2016);
    EXPECT_EQ(t.NowMs(), 2000);
}

TEST(Timers, TheFourSecondTimerRunsFromTheStartAndOthersFromTheirEnabling) {
    TimerTable t;
    Step(t, 100);
    t.Enable(TimerId::bannerpush);
    const Ticks ticks = Step(t, 20100);
    const Ticks expected = {{TimerId::Timer1, 4000},      {TimerId::Timer1, 8000},
                            {TimerId::bannerpush, 10100}, {TimerId::Timer1, 12000},
                            {TimerId::Timer1, 16000},     {TimerId::Timer1, 20000},
                            {TimerId::bannerpush, 20100}};
    EXPECT_EQ(ticks, expected);
}

TEST(Timers, TiesGoToTheTimerStartedFirstAndTheFrameLast) {
    using Ids = std::vector<TimerId>;
    TimerTable t;
    t.Enable(TimerId::DXTimer);
    // The 4-second timer runs from the start; the rotation is started later, so when both fall
    // due together the 4-second timer goes first, whatever their places in the table.
    t.Enable(TimerId::bannerpush);
    EXPECT_EQ(At(Step(t, 20000), 20000),
              (Ids{TimerId::Timer1, TimerId::bannerpush, TimerId::DXTimer}));

    // A new interval starts a timer again: it then comes after the ones started before it.
    t.SetInterval(TimerId::Timer1, 50);
    t.Enable(TimerId::launchit);
    t.SetInterval(TimerId::launchit, 50);
    EXPECT_EQ(At(Step(t, 20050), 20050),
              (Ids{TimerId::Timer1, TimerId::launchit, TimerId::DXTimer}));
    t.SetInterval(TimerId::Timer1, 50);
    EXPECT_EQ(At(Step(t, 20100), 20100),
              (Ids{TimerId::launchit, TimerId::Timer1, TimerId::DXTimer}));

    // Stopped and started again, a timer queues behind the others; enabling a running one does
    // not move it.
    t.Disable(TimerId::launchit);
    t.Enable(TimerId::launchit);
    t.Enable(TimerId::Timer1);
    EXPECT_EQ(At(Step(t, 20150), 20150),
              (Ids{TimerId::Timer1, TimerId::launchit, TimerId::DXTimer}));
}

TEST(Timers, EnablingKeepsARunningTimersPaceAndRestartsAStoppedOne) {
    TimerTable t;
    Step(t, 3000);
    t.Enable(TimerId::Timer1);
    EXPECT_EQ(t.NextDueMs(TimerId::Timer1), 4000);
    t.Disable(TimerId::Timer1);
    EXPECT_TRUE(Step(t, 5000).empty());
    t.Enable(TimerId::Timer1);
    EXPECT_EQ(t.NextDueMs(TimerId::Timer1), 9000);
}

TEST(Timers, AHandlerThatStopsItsOwnTimerFiresOnce) {
    TimerTable t;
    t.Enable(TimerId::launchit);
    int fired = 0;
    t.RunUntil(5000, true, [&](TimerId id) {
        if (id == TimerId::launchit) {
            ++fired;
            t.Disable(TimerId::launchit);
        }
    });
    EXPECT_EQ(fired, 1);
}

TEST(Timers, SkippedFramesPassSilentlyWhileOtherTimersFire) {
    TimerTable t;
    t.Enable(TimerId::DXTimer);
    const Ticks ticks = Step(t, 60000, false);
    EXPECT_EQ(Count(ticks, TimerId::DXTimer), 0);
    EXPECT_EQ(Count(ticks, TimerId::Timer1), 15);
    EXPECT_EQ(t.FrameTicks(), 3600);
}

TEST(Timers, ABannerFrameTimerFallsDueWhenToldAndPassesSilentlyInASkip) {
    TimerTable t;
    Step(t, 100);
    t.StartAt(TimerId::bannerframes, 160);
    EXPECT_TRUE(t.Enabled(TimerId::bannerframes));
    EXPECT_EQ(t.NextDueMs(TimerId::bannerframes), 160);
    t.StartAt(TimerId::bannerframes, 50); // a time already past falls due at once
    EXPECT_EQ(t.NextDueMs(TimerId::bannerframes), 101);
    t.StartAt(TimerId::bannerframes, 120);
    EXPECT_EQ(Count(Step(t, 5000, false), TimerId::bannerframes), 0);
    EXPECT_EQ(Count(Step(t, 5100), TimerId::bannerframes), 5);
}

TEST(Timers, AZeroIntervalNeverHangsTheClock) {
    TimerTable t;
    t.SetInterval(TimerId::Timer1, 0);
    t.Enable(TimerId::decellerator);
    t.SetInterval(TimerId::decellerator, 0);
    EXPECT_EQ(Count(Step(t, 1000), TimerId::Timer1), 0);
    EXPECT_EQ(t.NowMs(), 1000);
}

} // namespace
} // namespace kestrova
