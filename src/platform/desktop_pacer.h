#pragma once
// The desktop's frame loop: it steps the front end's clock by wall time. Frames run at a fixed 60
// per second while the application is active; while it is not, no frame is drawn and the loop
// only keeps the timers, ten times a second. Banner frames are met on time while inactive, and
// shown with the next frame while frames run (one wake and one repaint for both). After a stall
// (a suspended laptop, a debugger) the clock jumps ahead rather than racing through the missed
// frames. The policy is plain logic on a clock and a one-shot timer it is given: the desktop's
// are the wall clock and a precise timer (qt_pace_clock.h), a test's a counter.
//
// A screen at rest: once frames have changed nothing on screen for half a second, the loop stops
// waking for each frame. It wakes for the front end's timers (a banner's frame, the rotation) and
// every tenth of a second, and runs the frames that fell due since, every one of them, in order;
// the first that changes the screen brings the loop back to a wake per frame. Input ends the rest
// before it reaches the front end (Input()): the frames due up to it run first, as they would
// have, so the front end sees the same frames, timers and input in the same order either way.
// Only what changes the screen with no input and no timer (a page arriving, a count running out)
// may come up to a tenth of a second late, after half a second of a still screen.

#include <functional>

namespace kestrova {

class FrontEnd;

// What the loop runs on.
class PaceClock {
  public:
    virtual ~PaceClock() = default;
    // Milliseconds since the loop's start; never goes back.
    virtual long long NowMs() const = 0;
    // The loop's next pass comes after `ms` milliseconds; a later call replaces an earlier one.
    virtual void WakeAfter(int ms) = 0;
};

class DesktopPacer {
  public:
    // How often the loop looks at the clock while the application is inactive.
    static constexpr int kInactivePaceMs = 100;
    // The longest a pass may sleep while frames run: one frame period, rounded up.
    static constexpr int kFramePaceMs = 17;
    // A wall clock this far ahead of the front end's means the loop stalled.
    static constexpr long long kStallMs = 250;
    // The longest the loop waits for the window to be exposed before it starts anyway (a window
    // that starts minimised is never exposed, and its timers still run).
    static constexpr int kExposeWaitMs = 250;
    // Frames in a row that changed nothing on screen before the loop rests (half a second), and
    // how often it looks at the clock while it rests.
    static constexpr int kRestAfterFrames = 30;
    static constexpr int kRestPaceMs = 100;

    // With `firstFrameExit` the application counts as active, and the loop ends once the first
    // frame is on screen. `framesShown` counts the frames that changed the screen so far; without
    // it every frame counts as a change and the loop never rests.
    DesktopPacer(FrontEnd& engine, PaceClock& clock, bool firstFrameExit = false,
                 std::function<long long()> framesShown = {});

    // The loop waits for the window: its first pass comes when the window is first exposed, or
    // after kExposeWaitMs at the latest.
    void Start();
    // The window is on screen: the first pass comes at once. The front end's clock is read from
    // the loop's first pass on, set so that its first frame falls due then, not up to a frame
    // period later; its timers keep their pace from there. Later calls do nothing. True when the
    // first pass is still to come: the caller may run it at once, before the window paints.
    bool WindowExposed();
    // The application gained or lost activation: the next pass comes at once (once the loop has
    // started).
    void ActivationChanged();
    // Input is about to reach the front end (the pointer, a key, a game controller): a resting
    // loop stops resting. True when it was resting: the caller runs a pass at once, before the
    // input, so the frames due up to now come first.
    bool Input();
    // Whether the loop sleeps past the frames while nothing on screen changes.
    bool Resting() const { return resting_; }

    struct Pass {
        bool firstFrame = false; // the first frame has just been drawn (once)
        bool quit = false;       // the loop is over: the window closed, or the first frame is out
    };
    // One pass of the loop, `active` telling whether the application has the keyboard: the
    // front end's clock is brought to the wall clock's time and the next pass is set.
    Pass Run(bool active);

  private:
    FrontEnd& engine_;
    PaceClock& clock_;
    bool firstFrameExit_ = false;
    std::function<long long()> framesShown_;
    long long stillFrames_ = 0; // frames in a row that changed nothing on screen
    bool resting_ = false;
    int passDepth_ = 0; // passes under way
    bool reportedFirstFrame_ = false;
    bool started_ = false;   // the first pass has run
    long long originMs_ = 0; // the loop's clock when the front end's read 0
};

} // namespace kestrova
