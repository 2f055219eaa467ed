// The desktop's frame loop on a clock the test moves: the first frame as the window is first
// exposed; 60 frames a second while active, sleeping to the next frame; a stall skipped rather
// than raced through; a slower pace while inactive that still meets the banners' frames, and
// banner frames shown with the next frame while active;
// activation waking the loop at once; the first-frame exit; a still screen letting the loop rest
// without losing a frame, and input ending the rest before it arrives.

#include "platform/desktop_pacer.h"

#include "engine/engine_fixture.h"
#include "engine/front_end.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace kestrova {
namespace {

class FakePaceClock : public PaceClock {
  public:
    long long NowMs() const override { return now; }
    void WakeAfter(int ms) override {
        wakeAt = now + ms;
        sleeps.push_back(ms);
    }
    long long now = 0;
    long long wakeAt = -1;
    std::vector<int> sleeps;
};

// A banner of two frames of `delayMs` each.
class TwoFrameBanner : public GifControl {
  public:
    explicit TwoFrameBanner(int delayMs) : delayMs_(delayMs) {}
    bool LoadFromFile(const std::string&) override { return true; }
    std::string FileName() const override { return {}; }
    bool Animated() const override { return true; }
    int FrameDelayMs() const override { return delayMs_; }
    void ShowNextFrame() override { ++changes; }
    int changes = 0;

  private:
    int delayMs_;
};

struct DesktopPacerTest : ::testing::Test {
    FixtureDiscFolder disc;
    testing::RecordingCanvas canvas;
    NullWindow window;

    Ports MakePorts(GifControl* centre = nullptr) {
        Ports p;
        p.canvas = &canvas;
        p.window = &window;
        p.adbanner = centre;
        return p;
    }

    // Runs every pass that falls due up to `untilMs`, as the desktop's timer would; returns the
    // passes' results.
    static std::vector<DesktopPacer::Pass> RunUntil(DesktopPacer& pacer, FakePaceClock& clock,
                                                    long long untilMs, bool active) {
        std::vector<DesktopPacer::Pass> passes;
        while (clock.wakeAt >= 0 && clock.wakeAt <= untilMs) {
            clock.now = clock.wakeAt;
            clock.wakeAt = -1;
            passes.push_back(pacer.Run(active));
        }
        clock.now = untilMs;
        return passes;
    }

    // Starts the loop with the window exposed at 16 ms, the first frame's time: from there the
    // front end's clock reads as the loop's.
    static void StartExposedAtFirstFrame(DesktopPacer& pacer, FakePaceClock& clock) {
        pacer.Start();
        clock.now = 16;
        pacer.WindowExposed();
    }
};

TEST_F(DesktopPacerTest, TheFirstFrameIsDrawnAsTheWindowIsFirstExposed) {
    FrontEnd fe(MakePorts());
    fe.Initialize();
    FakePaceClock clock;
    DesktopPacer pacer(fe, clock);
    pacer.Start();
    EXPECT_EQ(clock.wakeAt, DesktopPacer::kExposeWaitMs) << "the loop waits for the window";
    clock.now = 3;
    pacer.ActivationChanged();
    EXPECT_EQ(clock.wakeAt, DesktopPacer::kExposeWaitMs) << "activation does not start it";

    clock.now = 40;
    EXPECT_TRUE(pacer.WindowExposed()) << "the first pass may run at once";
    EXPECT_EQ(clock.wakeAt, 40);
    const auto passes = RunUntil(pacer, clock, 40, true);
    EXPECT_EQ(fe.FrameCount(), 1) << "the pass at the exposure draws the first frame";
    EXPECT_TRUE(passes.front().firstFrame && !passes.front().quit)
        << "it says so, and the loop goes on";
    EXPECT_EQ(fe.ClockMs(), 16) << "the front end's clock reads the first frame's time";
    EXPECT_EQ(clock.wakeAt, 57) << "the next frame a period later";
    // The loop's clock runs 24 ms ahead of the front end's from now on; a later exposure (the
    // window shown again) changes nothing.
    EXPECT_FALSE(pacer.WindowExposed());
    EXPECT_EQ(clock.wakeAt, 57);
    const auto later = RunUntil(pacer, clock, 1040, true);
    EXPECT_TRUE(std::none_of(later.begin(), later.end(), [](const auto& p) {
        return p.firstFrame;
    })) << "once only";
    EXPECT_EQ(fe.FrameCount(), 61);
    EXPECT_EQ(fe.ClockMs(), 1016);
}

TEST_F(DesktopPacerTest, AWindowNeverExposedStillStartsTheLoop) {
    FrontEnd fe(MakePorts());
    fe.Initialize();
    FakePaceClock clock;
    DesktopPacer pacer(fe, clock);
    pacer.Start();
    RunUntil(pacer, clock, DesktopPacer::kExposeWaitMs, false);
    EXPECT_EQ(fe.ClockMs(), 16) << "the first pass reads the first frame's time";
    EXPECT_EQ(fe.FrameCount(), 0) << "inactive: no frame";
    RunUntil(pacer, clock, 4300, false);
    EXPECT_GT(fe.State().timers.NextDueMs(TimerId::Timer1), 4000) << "the timers ran";
}

TEST_F(DesktopPacerTest, WhileActiveFramesRunSixtyASecondAndTheLoopSleepsToTheNext) {
    FrontEnd fe(MakePorts());
    fe.Initialize();
    FakePaceClock clock;
    DesktopPacer pacer(fe, clock);
    StartExposedAtFirstFrame(pacer, clock);
    const auto passes = RunUntil(pacer, clock, 1000, true);
    EXPECT_EQ(fe.FrameCount(), 60);
    EXPECT_EQ(fe.ClockMs(), 1000);
    // One pass per frame, each sleeping until the next frame is due.
    EXPECT_EQ(passes.size(), 60u);
    for (std::size_t i = 2; i < clock.sleeps.size(); ++i) {
        EXPECT_GE(clock.sleeps[i], 16);
        EXPECT_LE(clock.sleeps[i], 17);
    }
    EXPECT_FALSE(passes.back().quit);
}

TEST_F(DesktopPacerTest, AfterAStallTheClockSkipsAheadInsteadOfRacingThroughTheFrames) {
    FrontEnd fe(MakePorts());
    fe.Initialize();
    FakePaceClock clock;
    DesktopPacer pacer(fe, clock);
    StartExposedAtFirstFrame(pacer, clock);
    RunUntil(pacer, clock, 1000, true);

    // A pass 200 ms late still draws every frame it missed...
    long long frames = fe.FrameCount();
    clock.now = 1200;
    pacer.Run(true);
    EXPECT_EQ(fe.FrameCount(), frames + 12);

    // ... but one a minute late jumps: at most the last frame period is drawn.
    frames = fe.FrameCount();
    clock.now = 61200;
    pacer.Run(true);
    EXPECT_EQ(fe.ClockMs(), 61200);
    EXPECT_LE(fe.FrameCount(), frames + 2);
    EXPECT_GT(fe.State().timers.NextDueMs(TimerId::Timer1), 61200) << "the timers kept up";
    EXPECT_LE(clock.sleeps.back(), DesktopPacer::kFramePaceMs);
}

TEST_F(DesktopPacerTest, WhileInactiveNoFrameIsDrawnAndTheTimersKeepASlowerPace) {
    FrontEnd fe(MakePorts());
    fe.Initialize();
    FakePaceClock clock;
    DesktopPacer pacer(fe, clock);
    StartExposedAtFirstFrame(pacer, clock);
    const auto passes = RunUntil(pacer, clock, 10016, false);
    EXPECT_EQ(fe.FrameCount(), 0);
    EXPECT_FALSE(fe.IsActive());
    EXPECT_EQ(passes.size(), 101u);
    EXPECT_EQ(clock.sleeps.back(), DesktopPacer::kInactivePaceMs);
    // The rotation at 10 s ran, a pass after it fell due.
    EXPECT_GT(fe.State().timers.NextDueMs(TimerId::bannerpush), 10016);
}

TEST_F(DesktopPacerTest, BannerFramesAreMetOnTimeInactiveAndWithTheNextFrameActive) {
    TwoFrameBanner centre(130);
    FrontEnd fe(MakePorts(&centre));
    fe.Initialize();
    ASSERT_EQ(fe.NextBannerFrameMs(), 140);
    FakePaceClock clock;
    DesktopPacer pacer(fe, clock);
    StartExposedAtFirstFrame(pacer, clock);
    RunUntil(pacer, clock, 116, false);
    // Inactive, the loop would look again at 216; the banner's frame is due at 140.
    EXPECT_EQ(clock.wakeAt, 140);
    RunUntil(pacer, clock, 140, false);
    EXPECT_EQ(centre.changes, 1);
    EXPECT_EQ(clock.wakeAt, 240) << "the next look, 100 ms on, comes before the next frame (280)";

    // Active, a banner frame due between two frames is shown in the next frame's pass: no pass
    // of its own, one repaint for both.
    RunUntil(pacer, clock, 270, true);
    const long long nextFrame = fe.NextFrameMs();
    ASSERT_GT(nextFrame, 280);
    EXPECT_EQ(clock.wakeAt, nextFrame);
    RunUntil(pacer, clock, 280, true);
    EXPECT_EQ(centre.changes, 1);
    const long long frames = fe.FrameCount();
    RunUntil(pacer, clock, nextFrame, true);
    EXPECT_EQ(centre.changes, 2);
    EXPECT_EQ(fe.FrameCount(), frames + 1);
}

TEST_F(DesktopPacerTest, AStillScreenRestsTheLoopWithoutLosingAFrameAndInputEndsTheRest) {
    TwoFrameBanner centre(130);
    FrontEnd fe(MakePorts(&centre));
    fe.Initialize();
    FakePaceClock clock;
    // Each frame changes the screen while `changing`; after that none does.
    bool changing = true;
    long long shown = 0;
    DesktopPacer pacer(fe, clock, false, [&] {
        if (changing) {
            shown = fe.FrameCount();
        }
        return shown;
    });
    StartExposedAtFirstFrame(pacer, clock);
    RunUntil(pacer, clock, 1000, true);
    EXPECT_FALSE(pacer.Resting());

    changing = false;
    RunUntil(pacer, clock, 1000 + 16 * DesktopPacer::kRestAfterFrames, true);
    EXPECT_FALSE(pacer.Resting()) << "not before that many still frames";
    RunUntil(pacer, clock, 1600, true);
    ASSERT_TRUE(pacer.Resting());

    // Resting, the loop wakes for the next timer or its own pace, whichever comes first, and
    // every frame still runs, late but in order.
    const long long framesAtRest = fe.FrameCount();
    const long long frameTimesAtRest = fe.State().timers.FrameTicks();
    const int banner = centre.changes;
    const auto passes = RunUntil(pacer, clock, 3600, true);
    EXPECT_GE(fe.ClockMs(), 3500);
    EXPECT_EQ(fe.FrameCount() - framesAtRest, fe.State().timers.FrameTicks() - frameTimesAtRest)
        << "a frame drawn at every frame time";
    EXPECT_LT(passes.size(), 40u) << "far fewer passes than frames";
    EXPECT_GT(centre.changes, banner + 10) << "the banner's frames on time";
    EXPECT_LE(clock.wakeAt, std::min(clock.now + DesktopPacer::kRestPaceMs, fe.NextTimerMs()));

    // Input: the frames due so far run before it, then a frame per wake again.
    clock.now = clock.wakeAt - 1;
    const long long duePassed = fe.NextFrameMs() <= clock.now;
    ASSERT_TRUE(duePassed) << "a frame fell due since the last look";
    EXPECT_TRUE(pacer.Input()) << "the caller runs a pass at once";
    pacer.Run(true);
    EXPECT_EQ(fe.ClockMs(), clock.now);
    EXPECT_FALSE(pacer.Resting());
    EXPECT_EQ(clock.wakeAt, fe.NextFrameMs());
    EXPECT_FALSE(pacer.Input()) << "not resting: nothing to catch up";

    // A frame that changes the screen during a rest ends it too.
    RunUntil(pacer, clock, clock.now + 1000, true);
    ASSERT_TRUE(pacer.Resting());
    changing = true;
    RunUntil(pacer, clock, clock.wakeAt, true);
    EXPECT_FALSE(pacer.Resting());
    EXPECT_EQ(clock.wakeAt, fe.NextFrameMs());
}

TEST_F(DesktopPacerTest, ActivationWakesTheLoopAtOnce) {
    FrontEnd fe(MakePorts());
    fe.Initialize();
    FakePaceClock clock;
    DesktopPacer pacer(fe, clock);
    StartExposedAtFirstFrame(pacer, clock);
    RunUntil(pacer, clock, 1000, false);
    ASSERT_EQ(clock.wakeAt, 1016);
    clock.now = 1010;
    pacer.ActivationChanged();
    EXPECT_EQ(clock.wakeAt, 1010);
    RunUntil(pacer, clock, 1010, true);
    EXPECT_TRUE(fe.IsActive());
    // Frames run from the next frame time on, the loop sleeping to it.
    EXPECT_EQ(clock.wakeAt, fe.NextFrameMs());
    const long long frames = fe.FrameCount();
    RunUntil(pacer, clock, 1100, true);
    EXPECT_EQ(fe.FrameCount(), frames + 6);
}

TEST_F(DesktopPacerTest, TheFirstFrameExitEndsTheLoopOnceTheFirstFrameIsOut) {
    FrontEnd fe(MakePorts());
    fe.Initialize();
    FakePaceClock clock;
    DesktopPacer pacer(fe, clock, true);
    pacer.Start();
    clock.now = 7;
    pacer.WindowExposed();
    // Counted active even without the keyboard: the loop is measured on a display without one.
    const auto passes = RunUntil(pacer, clock, 100, false);
    EXPECT_TRUE(fe.IsActive());
    int reported = 0;
    for (const auto& p : passes) {
        reported += p.firstFrame ? 1 : 0;
    }
    EXPECT_EQ(reported, 1);
    EXPECT_TRUE(passes.front().firstFrame && passes.front().quit)
        << "the pass that drew the first frame reports it";
}

TEST_F(DesktopPacerTest, AClosedWindowEndsTheLoop) {
    FrontEnd fe(MakePorts());
    fe.Initialize();
    FakePaceClock clock;
    DesktopPacer pacer(fe, clock);
    StartExposedAtFirstFrame(pacer, clock);
    RunUntil(pacer, clock, 100, true);
    fe.FormClose();
    clock.now = 117;
    EXPECT_TRUE(pacer.Run(true).quit);
}

} // namespace
} // namespace kestrova
