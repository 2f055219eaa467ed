#pragma once
// The front end as one object: the main window's state, the ports it draws and acts through,
// and the clock that runs its timers. The window forwards what happens to it here; the desktop
// steps the clock by wall time, the replay harness by its virtual clock.

#include "engine/game.h"
#include "engine/main_state.h"
#include "engine/navigation_keys.h"
#include "engine/ports.h"

#include <memory>
#include <string>

namespace kestrova {

class PicturesAhead;

// The front end hears from its launcher how each start ended (see launch_notice.h).
class FrontEnd : private LaunchReports {
  public:
    // Ports left empty get their do-nothing versions.
    explicit FrontEnd(const Ports& ports);
    ~FrontEnd() override;
    FrontEnd(const FrontEnd&) = delete;
    FrontEnd& operator=(const FrontEnd&) = delete;

    // Loads the disc and lays out the sprites, then sets the start values. Throws kestrova::Error
    // with the reader's message; no frame runs then. The pictures come from `ahead` when given.
    void Initialize(PicturesAhead* ahead = nullptr);
    bool Initialized() const { return initialized_; }

    // Advances the clock: timers that fall due fire in time order and frames run at a fixed 60
    // per second while the application is active.
    void AdvanceTo(long long nowMs);
    // Moves the clock on without drawing the frames that fall in between (after a stall);
    // timers still fire, and the banners take up their animation from there.
    void SkipTo(long long nowMs);
    // Advances the clock to the next frame time (a frame is drawn there when active).
    void RunOneFrame();
    long long ClockMs() const { return state_.timers.NowMs(); }
    long long NextFrameMs() const { return state_.timers.NextDueMs(TimerId::DXTimer); }
    // When a banner next shows another frame, or -1 while none animates.
    long long NextBannerFrameMs() const;
    // When a timer other than the frame's next fires (a banner's frame among them), or -1 while
    // none runs.
    long long NextTimerMs() const;
    long long FrameCount() const { return frames_; }

    // The application gained or lost activation; frames run only while it is active.
    void SetActive(bool active);
    bool IsActive() const { return active_; }

    // Pointer over the surface, in back-buffer pixels. A press acts on what the last movement
    // and the last frame left; one away from the last movement is first a movement to it.
    void DxDrawMouseMove(int x, int y);
    void DxDrawMouseDown(int x, int y);

    // Keys, seen before any control of the window (see keys.h). None is consumed.
    void FormKeyDown(int key, bool alt);
    void FormKeyPress(const std::string& character);
    // A key that works the front end without the pointer, after the two above; true when it was
    // used and the control with the focus is not to get it (see navigation_keys.h).
    bool NavigationKeyDown(NavigationKey key, KeyPlace place);

    // The banners' clicks: the centre one, and either side one.
    void adbannerClick();
    void GIFImage1Click();
    void GIFImage2Click();

    // The web pane is about to follow an address; returns true to stop it (see web_commands.h).
    bool WebBrowser1BeforeNavigate2(const std::string& address);

    // The window is closing: the timers stop and nothing runs any more.
    void FormClose();
    // The window destroyed its surface, pane and banners: the engine lets go of them.
    void ForgetControls();

    // The adventure in the game panel.
    FrontEndGame& Game() { return *game_; }
    const FrontEndGame& Game() const { return *game_; }

    MainState& State() { return state_; }
    const MainState& State() const { return state_; }
    Ports& GetPorts() { return ports_; }
    const Ports& GetPorts() const { return ports_; }

    // The current directory string, ending with the separator.
    static std::string CurrentDirectory();

  private:
    ClickContext Clicks();
    void LaunchEnded(long long ticket, LaunchResult result) override;
    void OnTimer(TimerId id);
    void RunFrame();

    MainState state_;
    Ports ports_;
    long long frames_ = 0;
    bool active_ = false;
    bool initialized_ = false;

    NullCanvas nullCanvas_;
    NullWebPane nullWeb_;
    NullGif nullGifs_[3];
    RecordingLauncher nullLauncher_;
    RecordingSound nullSound_;
    RecordingMessages nullMessages_;
    NullWindow nullWindow_;
    NullGame nullGame_;
    NullReadme nullReadme_;
    RecordingLog nullLog_;

    std::unique_ptr<FrontEndGame> game_; // after the ports it plays through
};

} // namespace kestrova
