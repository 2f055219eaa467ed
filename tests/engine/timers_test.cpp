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

TEST(Timers, TiesGoToTheTimersInTableOrderAndTheFrameLast) {
    TimerTable t;
    t.Enable(TimerId::DXTimer);
    t.SetInterval(TimerId::Timer1, 50);
    t.Enable(TimerId::launchit);
    t.SetInterval(TimerId::launchit, 50);
    // At 50 ms the launch, the 4-second timer and the third frame all fall due.
    const Ticks ticks = Step(t, 50);
    ASSERT_EQ(ticks.size(), 5u);
    EXPECT_EQ(ticks[2], std::make_pair(TimerId::launchit, 50LL));
    EXPECT_EQ(ticks[3], std::make_pair(TimerId::Timer1, 50LL));
    EXPECT_EQ(ticks[4], std::make_pair(TimerId::DXTimer, 50LL));
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
