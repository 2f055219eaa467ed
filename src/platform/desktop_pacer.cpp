#include "platform/desktop_pacer.h"

#include "engine/front_end.h"

#include <algorithm>
#include <utility>

namespace kestrova {

DesktopPacer::DesktopPacer(FrontEnd& engine, PaceClock& clock, bool firstFrameExit,
                           std::function<long long()> framesShown)
    : engine_(engine), clock_(clock), firstFrameExit_(firstFrameExit),
      framesShown_(std::move(framesShown)) {}

void DesktopPacer::Start() {
    clock_.WakeAfter(kExposeWaitMs);
}

bool DesktopPacer::WindowExposed() {
    if (!started_) {
        clock_.WakeAfter(0);
    }
    return !started_;
}

void DesktopPacer::ActivationChanged() {
    stillFrames_ = 0;
    resting_ = false;
    if (started_) {
        clock_.WakeAfter(0); // before the first pass, the first pass reads it
    }
}

bool DesktopPacer::Input() {
    // Input handled inside a pass (a message box a timer put up) waits for that pass.
    const bool wasResting = resting_ && passDepth_ == 0;
    stillFrames_ = 0;
    resting_ = false;
    return wasResting;
}

DesktopPacer::Pass DesktopPacer::Run(bool active) {
    active = active || firstFrameExit_;
    engine_.SetActive(active);
    if (!started_) {
        started_ = true;
        originMs_ = clock_.NowMs() - engine_.NextFrameMs();
    }
    const long long now = clock_.NowMs() - originMs_;
    if (now - engine_.ClockMs() > kStallMs) {
        engine_.SkipTo(now - kFramePaceMs);
    }
    const long long framesBefore = engine_.FrameCount();
    const long long shownBefore = framesShown_ ? framesShown_() : 0;
    ++passDepth_; // a message box in a pass may run another pass
    engine_.AdvanceTo(now);
    --passDepth_;
    if (!framesShown_ || framesShown_() != shownBefore) {
        stillFrames_ = 0;
    } else {
        stillFrames_ += engine_.FrameCount() - framesBefore;
    }
    resting_ = active && stillFrames_ >= kRestAfterFrames;

    // Sleep until the next frame is due; the time the pass took counts. A banner frame due
    // before it is shown with it, in the same pass and the same repaint: on a screen refreshed
    // with the frames it would show no sooner. While inactive no frame is drawn, so the loop only
    // keeps the timers, at a slower pace, and wakes for a banner frame due before its next look.
    // At rest it looks at its own pace, and wakes for any timer due before that.
    const long long after = clock_.NowMs() - originMs_;
    const bool eachFrame = active && !resting_;
    const int longest = eachFrame ? kFramePaceMs : resting_ ? kRestPaceMs : kInactivePaceMs;
    long long due = eachFrame ? engine_.NextFrameMs() : after + longest;
    const long long timer = resting_ ? engine_.NextTimerMs() : engine_.NextBannerFrameMs();
    if (!eachFrame && timer >= 0) {
        due = std::min(due, timer);
    }
    clock_.WakeAfter(static_cast<int>(std::clamp<long long>(due - after, 1, longest)));

    Pass pass;
    pass.quit = engine_.State().closed;
    if (!reportedFirstFrame_ && !engine_.State().curtainUp) {
        reportedFirstFrame_ = true;
        pass.firstFrame = true;
        pass.quit = pass.quit || firstFrameExit_;
    }
    return pass;
}

} // namespace kestrova
