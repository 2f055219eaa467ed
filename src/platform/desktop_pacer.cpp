#include "platform/desktop_pacer.h"

#include "engine/front_end.h"

#include <algorithm>

namespace kestrova {

DesktopPacer::DesktopPacer(FrontEnd& engine, PaceClock& clock, bool firstFrameExit)
    : engine_(engine), clock_(clock), firstFrameExit_(firstFrameExit) {}

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
    if (started_) {
        clock_.WakeAfter(0); // before the first pass, the first pass reads it
    }
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
    engine_.AdvanceTo(now);

    // Sleep until the next frame is due; the time the pass took counts. A banner frame due
    // before it is shown with it, in the same pass and the same repaint: on a screen refreshed
    // with the frames it would show no sooner. While inactive no frame is drawn, so the loop only
    // keeps the timers, at a slower pace, and wakes for a banner frame due before its next look.
    const long long after = clock_.NowMs() - originMs_;
    long long due = active ? engine_.NextFrameMs() : after + kInactivePaceMs;
    const long long banner = engine_.NextBannerFrameMs();
    if (!active && banner >= 0) {
        due = std::min(due, banner);
    }
    const int longest = active ? kFramePaceMs : kInactivePaceMs;
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
