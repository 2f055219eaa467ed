#include "engine/front_end.h"

#include "engine/banners.h"
#include "engine/frame.h"
#include "engine/input.h"
#include "engine/keys.h"
#include "engine/launch.h"
#include "engine/launch_notice.h"
#include "engine/startup.h"
#include "engine/web_commands.h"

#include "disc/disc_file_system.h"

#include <algorithm>
#include <cstddef>

namespace kestrova {

namespace {

template <typename T> void Fill(T*& port, T& fallback) {
    if (!port) {
        port = &fallback;
    }
}

} // namespace

FrontEnd::FrontEnd(const Ports& ports) : ports_(ports) {
    Fill<Canvas>(ports_.canvas, nullCanvas_);
    Fill<WebPane>(ports_.web, nullWeb_);
    Fill<GifControl>(ports_.adbanner, nullGifs_[0]);
    Fill<GifControl>(ports_.GIFImage1, nullGifs_[1]);
    Fill<GifControl>(ports_.GIFImage2, nullGifs_[2]);
    Fill<Launcher>(ports_.launcher, nullLauncher_);
    Fill<SoundPlayer>(ports_.sounds, nullSound_);
    Fill<MessageSink>(ports_.messages, nullMessages_);
    Fill<WindowView>(ports_.window, nullWindow_);
    Fill<GameView>(ports_.game, nullGame_);
    Fill<ReadmePane>(ports_.readme, nullReadme_);
    Fill<Log>(ports_.log, nullLog_);
    game_ = std::make_unique<FrontEndGame>(state_, ports_);
    ports_.launcher->SetReports(this);
}

FrontEnd::~FrontEnd() {
    // The launcher may outlive the front end, with a copy still under way.
    ports_.launcher->SetReports(nullptr);
}

void FrontEnd::LaunchEnded(long long ticket, LaunchResult result) {
    if (!state_.closed) {
        kestrova::LaunchEnded(state_, ticket, result);
    }
}

std::string FrontEnd::CurrentDirectory() {
    return CurrentDisc().Root();
}

void FrontEnd::Initialize(PicturesAhead* ahead) {
    DxDrawInitialize(state_, ports_, CurrentDirectory(), ahead);
    FormCreate(state_);
    initialized_ = true;
}

void FrontEnd::SetActive(bool active) {
    if (active == active_) {
        return;
    }
    active_ = active;
    if (active && state_.timers.Enabled(TimerId::DXTimer)) {
        DXTimerActivate(state_);
        ports_.window->SetCaption(state_.caption);
    }
}

// Every timer's handler, in one place.
void FrontEnd::OnTimer(TimerId id) {
    switch (id) {
    case TimerId::DXTimer:
        if (active_) {
            ++frames_;
            RunFrame();
        }
        break;
    case TimerId::launchit:
        launchitTimer(state_, ports_, CurrentDirectory());
        break;
    case TimerId::bannerpush:
        bannerpushTimer(state_, ports_);
        break;
    case TimerId::Timer1:
        Timer1Timer(state_);
        break;
    case TimerId::decellerator:
        break;
    case TimerId::bannerframes:
        bannerframesTimer(state_, ports_);
        break;
    case TimerId::launchnotice:
        launchnoticeTimer(state_);
        break;
    }
}

void FrontEnd::AdvanceTo(long long nowMs) {
    if (!initialized_ || state_.closed) {
        state_.timers.MoveTo(nowMs);
        return;
    }
    state_.timers.RunUntil(nowMs, true, [this](TimerId id) { OnTimer(id); });
}

void FrontEnd::SkipTo(long long nowMs) {
    if (!initialized_ || state_.closed) {
        state_.timers.MoveTo(nowMs);
        return;
    }
    state_.timers.RunUntil(nowMs, false, [this](TimerId id) { OnTimer(id); });
    ResumeBannerFrames(state_);
}

long long FrontEnd::NextBannerFrameMs() const {
    return state_.timers.Enabled(TimerId::bannerframes)
               ? state_.timers.NextDueMs(TimerId::bannerframes)
               : -1;
}

long long FrontEnd::NextTimerMs() const {
    long long next = -1;
    for (std::size_t i = 0; i < kTimerCount; ++i) {
        const auto id = static_cast<TimerId>(i);
        if (id != TimerId::DXTimer && state_.timers.Enabled(id)) {
            const long long due = state_.timers.NextDueMs(id);
            next = next < 0 ? due : std::min(next, due);
        }
    }
    return next;
}

void FrontEnd::RunOneFrame() {
    AdvanceTo(NextFrameMs());
}

void FrontEnd::RunFrame() {
    FrameContext ctx{*ports_.canvas, ports_.web, [] { return CurrentDirectory(); },
                     [this] { ports_.window->HideCurtain(); }};
    DXTimerTimer(state_, ctx);
}

void FrontEnd::DxDrawMouseMove(int x, int y) {
    kestrova::DxDrawMouseMove(state_, x, y);
}

void FrontEnd::DxDrawMouseDown(int x, int y) {
    // A pointer always reaches a press by moving there: a press away from the last movement (a
    // touch screen, a tablet, a warped pointer) is that movement first.
    if (x != state_.mouseX || y != state_.mouseY) {
        kestrova::DxDrawMouseMove(state_, x, y);
    }
    // A click puts the last start's notice away; what it starts may put up another.
    DismissNotice(state_);
    kestrova::DxDrawMouseDown(state_, ports_, Clicks());
}

ClickContext FrontEnd::Clicks() {
    return ClickContext{CurrentDirectory(), [this] { game_->StartAdventure(); }};
}

bool FrontEnd::NavigationKeyDown(NavigationKey key, KeyPlace place) {
    if (!initialized_ || state_.closed) {
        return false;
    }
    return kestrova::NavigationKeyDown(state_, ports_, Clicks(), key, place);
}

void FrontEnd::FormKeyDown(int key, bool alt) {
    kestrova::FormKeyDown(state_, ports_, key, alt);
}

void FrontEnd::FormKeyPress(const std::string& character) {
    kestrova::FormKeyPress(state_, character);
}

void FrontEnd::adbannerClick() {
    DismissNotice(state_);
    kestrova::adbannerClick(state_);
}

void FrontEnd::GIFImage1Click() {
    DismissNotice(state_);
    SideBannerClick(state_);
}

void FrontEnd::GIFImage2Click() {
    DismissNotice(state_);
    SideBannerClick(state_);
}

bool FrontEnd::WebBrowser1BeforeNavigate2(const std::string& address) {
    return kestrova::WebBrowser1BeforeNavigate2(state_, ports_, CurrentDirectory(), address);
}

void FrontEnd::FormClose() {
    kestrova::FormClose(state_);
}

void FrontEnd::ForgetControls() {
    ports_.canvas = &nullCanvas_;
    ports_.web = &nullWeb_;
    ports_.adbanner = &nullGifs_[0];
    ports_.GIFImage1 = &nullGifs_[1];
    ports_.GIFImage2 = &nullGifs_[2];
}

} // namespace kestrova
