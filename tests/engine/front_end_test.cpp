// The front end without a window: its clock runs frames at a fixed 60 a second only while the
// application is active, skips a stall, stops when the window closes, and reaches the window,
// the game and the curtain only through its ports.

#include "engine/engine_fixture.h"
#include "engine/front_end.h"
#include "engine/random.h"
#include "engine/web_commands.h"
#include "support/fixture_disc.h"

#include <gtest/gtest.h>

namespace kestrova {
namespace {

struct RecordingWindow : NullWindow {
    void SetCaption(const std::string& caption) override { captions.push_back(caption); }
    void HideCurtain() override { ++curtainsHidden; }
    std::vector<std::string> captions;
    int curtainsHidden = 0;
};

struct RecordingGame : GameView {
    void ShowTranscript(const std::vector<std::string>& l) override { lines = l; }
    void AppendLine(const std::string& line) override { lines.push_back(line); }
    void ShowPanel() override { ++shown; }
    void HidePanel() override { ++hidden; }
    std::vector<std::string> lines;
    int shown = 0;
    int hidden = 0;
};

struct FrontEndTest : ::testing::Test {
    FixtureDiscFolder disc;
    testing::RecordingCanvas canvas;
    RecordingWindow window;
    RecordingGame game;
    RecordingMessages messages;

    Ports MakePorts() {
        Ports p;
        p.canvas = &canvas;
        p.window = &window;
        p.game = &game;
        p.messages = &messages;
        return p;
    }
};

TEST_F(FrontEndTest, SixtyFramesASecondOnlyWhileActive) {
    FrontEnd fe(MakePorts());
    fe.Initialize();
    fe.AdvanceTo(1000);
    EXPECT_EQ(fe.FrameCount(), 0) << "no frame before the application is active";
    EXPECT_TRUE(fe.State().curtainUp);
    fe.SetActive(true);
    EXPECT_EQ(fe.State().caption, "Kestrova CD-ROM");
    EXPECT_EQ(window.captions, std::vector<std::string>{"Kestrova CD-ROM"});
    fe.AdvanceTo(2000);
    EXPECT_EQ(fe.FrameCount(), 60);
    EXPECT_EQ(canvas.flips, 60);
    EXPECT_FALSE(fe.State().curtainUp);
    EXPECT_EQ(window.curtainsHidden, 1) << "the curtain comes down once";
    fe.SetActive(false);
    fe.AdvanceTo(3000);
    EXPECT_EQ(fe.FrameCount(), 60);
}

TEST_F(FrontEndTest, AStallIsSkippedButTimersStillFire) {
    FrontEnd fe(MakePorts());
    fe.Initialize();
    fe.SetActive(true);
    fe.AdvanceTo(100);
    const long long frames = fe.FrameCount();
    const uint32_t seed = ProgramRandom().seed;
    fe.SkipTo(60000);
    EXPECT_EQ(fe.FrameCount(), frames);
    EXPECT_EQ(fe.ClockMs(), 60000);
    EXPECT_GT(fe.State().timers.NextDueMs(TimerId::Timer1), 60000)
        << "the 4-second timer kept its pace";
    EXPECT_NE(ProgramRandom().seed, seed) << "the 4-second timer drew while frames were skipped";
    fe.RunOneFrame();
    EXPECT_EQ(fe.FrameCount(), frames + 1);
    EXPECT_LE(fe.ClockMs(), 60017);
}

TEST_F(FrontEndTest, NothingRunsBeforeStartUpOrAfterClosing) {
    FrontEnd fe(MakePorts());
    fe.SetActive(true);
    fe.AdvanceTo(5000);
    EXPECT_EQ(fe.FrameCount(), 0);
    EXPECT_EQ(fe.ClockMs(), 5000);
    fe.Initialize();
    fe.AdvanceTo(5500);
    EXPECT_GT(fe.FrameCount(), 0) << "the grid carries on from the clock";
    fe.FormClose();
    EXPECT_TRUE(fe.State().closed);
    for (const TimerSlot& t : fe.State().timers.Slots()) {
        EXPECT_FALSE(t.enabled) << t.name;
    }
    const long long frames = fe.FrameCount();
    fe.AdvanceTo(10000);
    EXPECT_EQ(fe.FrameCount(), frames);
}

TEST_F(FrontEndTest, PointerReachesTheStateAndTheGameThroughPorts) {
    FrontEnd fe(MakePorts());
    fe.Initialize();
    fe.DxDrawMouseMove(321, 123);
    EXPECT_EQ(fe.State().mouseX, 321);
    EXPECT_EQ(fe.State().mouseY, 123);
    fe.DxDrawMouseDown(321, 123);
    EXPECT_EQ(game.hidden, 1);
}

TEST_F(FrontEndTest, APressAwayFromTheLastMoveIsFirstAMoveThere) {
    RecordingLauncher launcher;
    NullReadme readme;
    Ports ports = MakePorts();
    ports.launcher = &launcher;
    ports.readme = &readme;
    FrontEnd fe(ports);
    fe.Initialize();
    fe.State().targetPanel = fe.State().shownPanel = 1;
    const Rect ib = fe.State().ib;
    const Rect vb = fe.State().vb;
    // The pointer rests on install now; a pen then lands on view readme with no move between.
    fe.DxDrawMouseMove(ib.left + 2, ib.top + 2);
    fe.DxDrawMouseDown(vb.left + 2, vb.top + 2);
    EXPECT_TRUE(launcher.launches.empty()) << "the press acts where it lands, not on install now";
    EXPECT_EQ(fe.State().hoverKey, "*viewreadme");
    EXPECT_EQ(fe.State().mouseX, vb.left + 2);
    EXPECT_EQ(readme.path, "databases/readme1.rtf");
    EXPECT_TRUE(readme.visible);
    // A press where the pointer already is acts on what the last move and frame left.
    fe.State().menuKey = "none";
    fe.State().hoverKey = "database";
    fe.DxDrawMouseDown(vb.left + 2, vb.top + 2);
    ASSERT_EQ(launcher.launches.size(), 1u);
    EXPECT_EQ(launcher.launches[0].file, "Databases/Databases.exe");
}

TEST_F(FrontEndTest, TheGamePlaysIntoItsPanelAndAsksForPagesLikeAnyHandler) {
    FrontEnd fe(MakePorts());
    fe.Initialize();
    EXPECT_EQ(game.lines, GameConsole::OpeningLines());
    fe.Game().StartAdventure();
    EXPECT_EQ(game.shown, 1);
    EXPECT_EQ(fe.Game().lineinputKeyUp(kEnterKey, "I need to find a candle"), "");
    EXPECT_EQ(game.lines.back(), "");
    EXPECT_TRUE(fe.State().navigatePending);
    EXPECT_EQ(fe.State().pendingUrl, kCandlePageAddress);
    EXPECT_EQ(fe.Game().lineinputKeyUp('A', "look"), "look") << "only Enter plays the line";
    for (const char* line : {"xxx", "west"}) {
        fe.Game().lineinputKeyUp(kEnterKey, line);
    }
    EXPECT_EQ(messages.messages, std::vector<std::string>{kGameOverText});
    EXPECT_EQ(fe.Game().Console().screenie(), game.lines) << "the panel shows what the game keeps";
}

// The pane asks the front end about every page it is asked for, as the window's pane does; the
// window's closing destroys its surface and its pane, as the real one does.
struct AskingPane : NullWebPane {
    FrontEnd* fe = nullptr;
    bool gone = false;
    int touchedWhileGone = 0;
    void Navigate(const std::string& url) override {
        touchedWhileGone += gone ? 1 : 0;
        if (!fe->WebBrowser1BeforeNavigate2("file:/" + url)) {
            NullWebPane::Navigate(url);
        }
    }
    void SetLeft(int left) override {
        touchedWhileGone += gone ? 1 : 0;
        NullWebPane::SetLeft(left);
    }
};

struct ClosingWindow : RecordingWindow {
    FrontEnd* fe = nullptr;
    AskingPane* pane = nullptr;
    testing::RecordingCanvas* canvas = nullptr;
    std::size_t opsAtClose = 0;
    int flipsAtClose = 0;
    void Terminate() override {
        fe->FormClose();
        pane->gone = true;
        canvas->canDraw = false;
        opsAtClose = canvas->ops.size();
        flipsAtClose = canvas->flips;
        fe->ForgetControls();
    }
};

TEST_F(FrontEndTest, APageRequestThatEndsTheProgramEndsTheFrameThatMadeIt) {
    AskingPane pane;
    ClosingWindow closing;
    Ports ports = MakePorts();
    ports.web = &pane;
    ports.window = &closing;
    FrontEnd fe(ports);
    pane.fe = &fe;
    closing.fe = &fe;
    closing.pane = &pane;
    closing.canvas = &canvas;
    fe.Initialize();
    fe.SetActive(true);
    fe.AdvanceTo(1000);
    EXPECT_EQ(pane.Left(), 800) << "the loading page passed the hook and stays off screen";

    RequestPage(fe.State(), FrontEnd::CurrentDirectory() + "command_exit");
    fe.RunOneFrame();
    ASSERT_TRUE(fe.State().closed);
    EXPECT_EQ(pane.touchedWhileGone, 0) << "the pane is gone once the window has closed";
    EXPECT_EQ(canvas.ops.size(), closing.opsAtClose) << "nothing is drawn on a destroyed surface";
    EXPECT_EQ(canvas.flips, closing.flipsAtClose);
    const long long frames = fe.FrameCount();
    fe.AdvanceTo(2000);
    EXPECT_EQ(fe.FrameCount(), frames);
}

TEST_F(FrontEndTest, MissingPortsGetDoNothingVersions) {
    FrontEnd fe{Ports{}};
    fe.Initialize();
    fe.SetActive(true);
    fe.AdvanceTo(1000);
    fe.DxDrawMouseDown(0, 0);
    EXPECT_EQ(fe.FrameCount(), 60);
    EXPECT_TRUE(fe.State().curtainUp) << "a canvas that cannot draw draws no frame";
}

} // namespace
} // namespace kestrova
