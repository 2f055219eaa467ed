// The keyboard over the drawn front end: the order and places of the focus, what Return, Space,
// Escape and going back do, which keys stay with the controls, and how the frame and the pointer
// meet the focus.

#include "engine/game.h"
#include "engine/keyboard_focus.h"
#include "engine/menus.h"
#include "engine/navigation_keys.h"
#include "engine_fixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kestrova {
namespace {

// Three demos, a utilities block opening with a heading, and mascot and support items of which
// one leads nowhere.
std::string DiscData() {
    std::string d = "\r\n*BEGIN0\r\nStart text\r\n*END0\r\n";
    const char* titles[] = {"Helix Corsairs", "Gravel Kings", "Castle Ombrevale"};
    for (int n = 1; n <= 3; ++n) {
        d += "*BEGIN" + std::to_string(n) + "\r\n" + titles[n - 1] + "\r\nA\r\nB\r\nC\r\n" +
             "Demos/setup" + std::to_string(n) + ".exe\r\nreq\r\nplay" + std::to_string(n) +
             ".exe\r\nreadme.rtf\r\n*END" + std::to_string(n) + "\r\n";
    }
    d += "*BEGINUTILITIES\r\nPATCHES\r\n\r\n";
    for (int i = 0; i < 13; ++i) {
        d += "Tool " + std::to_string(i) + "\r\nUtils/tool" + std::to_string(i) + ".exe\r\n";
    }
    d += "*ENDUTILITIES\r\n";
    d += "*SUPPORT1\r\nHelp page\r\npages/help.html\r\n*SUPPORT2\r\nSay hello\r\nshowgame\r\n"
         "*SUPPORT3\r\nOn the web\r\nhttp://www.example.com/\r\n";
    d += "*TOBRIK1\r\nPlay the game\r\nshowgame\r\n";
    return d;
}

struct Keyboard : testing::RecordedPorts {
    MainState state;
    int adventures = 0;
    ClickContext context{"/disc/", [this] {
                             ++adventures;
                             game.ShowPanel();
                         }};

    Keyboard() {
        state.source.LoadFromBytes(DiscData());
        state.spriteCount = 4;
        state.hoverThumb = -1;
        state.hoverKey = "none";
        state.ib = {24, 255, 60, 30};
        state.vb = {728, 168, 60, 30};
        state.pb = {732, 264, 60, 30};
        state.menusourceBounds.left = kMenuLinesAwayLeft;
    }
    bool Press(NavigationKey key, KeyPlace place = KeyPlace::Surface) {
        return NavigationKeyDown(state, ports, context, key, place);
    }
    void Press(NavigationKey key, int times) {
        for (int i = 0; i < times; ++i) {
            Press(key);
        }
    }
    // The box has unrolled under its button, as the frame leaves it.
    void Unroll() {
        state.menusourceBounds = {state.menuLeft + 5, state.menuTop, state.menuWidth, 113};
    }
    // Opens a section's menu from the keyboard: Tab to its zone, Return, the box unrolls.
    void OpenMenu(const std::string& key) {
        Press(NavigationKey::Tab);
        for (int i = 0; i < 12 && state.focus.zone != key; ++i) {
            Press(NavigationKey::Tab);
        }
        ASSERT_EQ(state.focus.zone, key);
        const TopButton* b = TopButtonForKey(key);
        state.menuLeft = kButtonPanelLeft + b->bounds.left;
        state.menuTop = kButtonPanelTop + b->bounds.top + b->bounds.height;
        state.menuWidth = b->bounds.width;
        Press(NavigationKey::Return);
        Unroll();
    }
    std::vector<std::string> TabOrder(NavigationKey key, int presses) {
        std::vector<std::string> seen;
        for (int i = 0; i < presses; ++i) {
            Press(key);
            seen.push_back(state.focus.zone);
        }
        return seen;
    }
};

using V = std::vector<std::string>;

TEST(KeyboardFocus, TabVisitsTheZonesInReadingOrderAndGoesRound) {
    Keyboard k;
    EXPECT_FALSE(k.state.focus.Shown());
    EXPECT_EQ(FocusRingRect(k.state), std::nullopt);
    // No demo shown yet: the action pictures are not drawn, so the focus skips their zones.
    EXPECT_EQ(k.TabOrder(NavigationKey::Tab, 8),
              (V{"demos", "add-ons", "database", "exit", "utility", "support", "tobrik", "demos"}));
    Keyboard back;
    EXPECT_EQ(back.TabOrder(NavigationKey::BackTab, 3), (V{"tobrik", "support", "utility"}));

    Keyboard shown;
    shown.state.targetPanel = shown.state.shownPanel = 2;
    EXPECT_EQ(shown.TabOrder(NavigationKey::Tab, 11),
              (V{"demos", "add-ons", "database", "exit", "utility", "support", "tobrik",
                 "*installnow", "*viewreadme", "*printreadme", "demos"}));
}

TEST(KeyboardFocus, ArrowsGoToTheNearestZoneThatWayAndStayAtAnEdge) {
    Keyboard k;
    k.state.targetPanel = k.state.shownPanel = 1;
    k.Press(NavigationKey::Down); // the first key only shows the ring
    EXPECT_EQ(k.state.focus.zone, "demos");
    const struct {
        NavigationKey key;
        const char* to;
    } walk[] = {{NavigationKey::Down, "utility"},      {NavigationKey::Right, "support"},
                {NavigationKey::Right, "tobrik"},      {NavigationKey::Down, "*viewreadme"},
                {NavigationKey::Down, "*printreadme"}, {NavigationKey::Down, "*printreadme"},
                {NavigationKey::Left, "*installnow"},  {NavigationKey::Left, "*installnow"},
                {NavigationKey::Up, "utility"},        {NavigationKey::Up, "demos"},
                {NavigationKey::Up, "demos"},          {NavigationKey::Left, "demos"},
                {NavigationKey::Right, "add-ons"}};
    for (const auto& step : walk) {
        k.Press(step.key);
        EXPECT_EQ(k.state.focus.zone, step.to);
    }
}

TEST(KeyboardFocus, TheFocusedZoneIsHoveredAndRingedAsThePointerSeesIt) {
    Keyboard k;
    k.state.mouseX = 10;
    k.state.mouseY = 500;
    k.Press(NavigationKey::Tab, 5);
    EXPECT_EQ(k.state.focus.zone, "utility");
    EXPECT_EQ(k.state.hoverKey, "utility");
    EXPECT_EQ(k.state.menuHover, -1);
    // The ring takes in the zone's right and bottom edges, as the pointer's test does.
    const auto ring = FocusRingRect(k.state);
    ASSERT_TRUE(ring.has_value());
    EXPECT_EQ(ring->left, 328);
    EXPECT_EQ(ring->top, 50);
    EXPECT_EQ(ring->left + ring->width, 446);
    EXPECT_EQ(ring->top + ring->height, 87);
    // The pointer's own place is untouched.
    EXPECT_EQ(k.state.mouseX, 10);
    EXPECT_EQ(k.state.mouseY, 500);
}

TEST(KeyboardFocus, PointerMovementTakesTheRingAwayAndThePointerClicksWhereItIs) {
    Keyboard k;
    k.state.mouseX = 700;
    k.state.mouseY = 30; // over "database"
    k.Press(NavigationKey::Tab);
    EXPECT_EQ(k.state.hoverKey, "demos");
    // The window repeating the pointer's resting place is no movement.
    DxDrawMouseMove(k.state, 700, 30);
    EXPECT_TRUE(k.state.focus.Shown());
    // A click without a movement is the pointer's: it acts on "database", not on the ring.
    DxDrawMouseDown(k.state, k.ports, k.context);
    EXPECT_FALSE(k.state.focus.Shown());
    EXPECT_EQ(k.state.menuKey, "none");
    ASSERT_EQ(k.launcher.launches.size(), 1u);
    EXPECT_EQ(k.launcher.launches[0].file, "Databases/Databases.exe");

    k.Press(NavigationKey::Tab);
    DxDrawMouseMove(k.state, 701, 30);
    EXPECT_FALSE(k.state.focus.Shown());
    EXPECT_EQ(k.state.hoverKey, "database");
}

TEST(KeyboardActions, ReturnOrSpaceOnAZoneIsAClickThere) {
    Keyboard k;
    // Without the ring, Return is left to whoever has the keyboard.
    EXPECT_FALSE(k.Press(NavigationKey::Return));
    k.state.hoverThumb = 3; // a thumbnail under the resting pointer is not what the key clicks
    k.Press(NavigationKey::Tab, 3);
    EXPECT_EQ(k.state.focus.zone, "database");
    EXPECT_TRUE(k.Press(NavigationKey::Space));
    ASSERT_EQ(k.launcher.launches.size(), 1u);
    EXPECT_EQ(k.launcher.launches[0].file, "Databases/Databases.exe");
    EXPECT_EQ(k.state.targetPanel, 0);
    EXPECT_EQ(k.sounds.played, (V{"rollover"}));

    k.Press(NavigationKey::Tab);
    EXPECT_TRUE(k.Press(NavigationKey::Return));
    EXPECT_EQ(k.window.terminations, 1);
}

TEST(KeyboardActions, AMenuOpenedFromTheKeyboardIsWorkedByItsActingLines) {
    Keyboard k;
    k.state.mouseX = 5;
    k.state.mouseY = 590; // the pointer rests far from the box
    k.OpenMenu("utility");
    EXPECT_EQ(k.state.menuKey, "utility");
    ASSERT_EQ(k.state.menusource.size(), 14u);
    // The heading "PATCHES" starts nothing, and lines past the eleventh take no click.
    std::vector<int> acting;
    for (int i = 1; i <= 10; ++i) {
        acting.push_back(i);
    }
    EXPECT_EQ(ActingMenuLines(k.state), acting);
    EXPECT_EQ(k.state.focus.kind, FocusKind::Line);
    EXPECT_EQ(k.state.focus.line, 1);
    EXPECT_EQ(k.state.menuHover, 1);
    k.Press(NavigationKey::Up);
    EXPECT_EQ(k.state.focus.line, 10);
    k.Press(NavigationKey::Tab);
    EXPECT_EQ(k.state.focus.line, 1);
    k.Press(NavigationKey::Down);
    EXPECT_EQ(k.state.focus.line, 2);
    const auto ring = FocusRingRect(k.state);
    ASSERT_TRUE(ring.has_value());
    EXPECT_EQ(ring->top, k.state.menuTop + 2 * 9 - 1);

    k.Press(NavigationKey::Return);
    ASSERT_EQ(k.launcher.launches.size(), 1u);
    EXPECT_EQ(k.launcher.launches[0].file, "Utils/tool1.exe");
    EXPECT_EQ(k.state.menuKey, "none");
    // The focus is back on the menu's button.
    EXPECT_EQ(k.state.focus.kind, FocusKind::Zone);
    EXPECT_EQ(k.state.focus.zone, "utility");
}

TEST(KeyboardActions, ALineTakesNoKeyUntilTheBoxHasUnrolled) {
    Keyboard k;
    k.OpenMenu("demos");
    k.state.menusourceBounds.left = kMenuLinesAwayLeft;
    EXPECT_EQ(FocusRingRect(k.state), std::nullopt);
    EXPECT_TRUE(k.Press(NavigationKey::Return));
    EXPECT_EQ(k.state.menuKey, "demos");
    k.Unroll();
    k.Press(NavigationKey::Down);
    k.Press(NavigationKey::Return);
    EXPECT_EQ(k.state.targetPanel, 2);
    EXPECT_EQ(k.state.focus.zone, "demos");
}

TEST(KeyboardActions, TheMascotsLineStartsTheGameAndSidewaysLeavesAMenu) {
    Keyboard k;
    k.OpenMenu("support");
    // "Say hello" leads to the game, which the support menu does not start.
    std::vector<int> support{0, 2};
    EXPECT_EQ(ActingMenuLines(k.state), support);
    k.Press(NavigationKey::Right);
    EXPECT_EQ(k.state.menuKey, "none");
    EXPECT_EQ(k.state.focus.zone, "tobrik");

    k.Press(NavigationKey::Return);
    k.Unroll();
    k.Press(NavigationKey::Return);
    EXPECT_EQ(k.adventures, 1);
    EXPECT_TRUE(k.game.visible);
}

TEST(KeyboardEscape, ClosesTheMenuThenTheGameThenThePaneThenTheReadmeOneAPress) {
    Keyboard k;
    k.OpenMenu("demos");
    k.game.visible = true;
    k.web.SetLeft(kWebPaneOnScreenLeft);
    k.readme.visible = true;

    EXPECT_TRUE(k.Press(NavigationKey::Escape));
    EXPECT_EQ(k.state.menuKey, "none");
    EXPECT_EQ(k.state.focus.zone, "demos");
    EXPECT_TRUE(k.game.visible);

    EXPECT_TRUE(k.Press(NavigationKey::Escape, KeyPlace::GameLine));
    EXPECT_FALSE(k.game.visible);
    EXPECT_FALSE(k.state.pageSliding);

    EXPECT_TRUE(k.Press(NavigationKey::Escape));
    EXPECT_TRUE(k.state.pageSliding); // the page slides away as a click sends it
    EXPECT_TRUE(k.readme.visible);

    // The pane is on its way out: the next press is the readme's.
    EXPECT_TRUE(k.Press(NavigationKey::Escape));
    EXPECT_FALSE(k.readme.visible);
    EXPECT_FALSE(k.Press(NavigationKey::Escape));
}

TEST(KeyboardBack, AltLeftAndBackspaceTakeTheShownPaneBackButNotWhileTyping) {
    Keyboard k;
    EXPECT_FALSE(k.Press(NavigationKey::AltLeft));
    EXPECT_FALSE(k.Press(NavigationKey::Backspace));
    k.web.SetLeft(kWebPaneOnScreenLeft);
    EXPECT_TRUE(k.Press(NavigationKey::AltLeft));
    EXPECT_TRUE(k.Press(NavigationKey::Backspace, KeyPlace::WebPage));
    EXPECT_FALSE(k.Press(NavigationKey::Backspace, KeyPlace::GameLine));
    EXPECT_TRUE(k.Press(NavigationKey::AltLeft, KeyPlace::GameLine));
    EXPECT_EQ(k.web.backs, 3);
}

TEST(KeyboardPlaces, TheControlsKeepTheKeysTheyUse) {
    for (const KeyPlace place : {KeyPlace::GameLine, KeyPlace::ReadmePane, KeyPlace::WebPage}) {
        Keyboard k;
        for (const NavigationKey key :
             {NavigationKey::Tab, NavigationKey::BackTab, NavigationKey::Left, NavigationKey::Up,
              NavigationKey::Return, NavigationKey::Space}) {
            EXPECT_FALSE(k.Press(key, place));
        }
        EXPECT_FALSE(k.state.focus.Shown());
    }
    // Return in the command line plays even while the ring shows on the surface.
    Keyboard k;
    k.Press(NavigationKey::Tab);
    EXPECT_FALSE(k.Press(NavigationKey::Return, KeyPlace::GameLine));
    EXPECT_EQ(k.state.menuKey, "none");
}

TEST(KeyboardGame, OpeningTheGameGivesItsCommandLineTheKeyboard) {
    MainState state;
    NullGame game;
    Ports ports;
    ports.game = &game;
    NullWebPane web;
    ports.web = &web;
    RecordingMessages messages;
    ports.messages = &messages;
    FrontEndGame adventure(state, ports);
    adventure.StartAdventure();
    EXPECT_EQ(game.commandLineFocused, 1);
    EXPECT_TRUE(game.visible);
}

TEST(KeyboardFrame, TheKeyboardsMenuStaysOpenUntilThePointerMovesAndTheRingIsDrawnOnTop) {
    testing::StartedDisc disc;
    disc.Activate();
    disc.Frames(40);
    DxDrawMouseMove(disc.state, 5, 590);
    disc.Frame();
    Keyboard k; // its ports, on the started disc's state
    NavigationKeyDown(disc.state, k.ports, k.context, NavigationKey::Tab, KeyPlace::Surface);
    NavigationKeyDown(disc.state, k.ports, k.context, NavigationKey::Return, KeyPlace::Surface);
    ASSERT_EQ(disc.state.menuKey, "demos");
    disc.Frames(30);
    EXPECT_EQ(disc.state.menuKey, "demos");
    ASSERT_EQ(disc.state.focus.kind, FocusKind::Line);
    const auto ring = FocusRingRect(disc.state);
    ASSERT_TRUE(ring.has_value());
    EXPECT_TRUE(disc.canvas.HasFrame(ring->left, ring->top, ring->left + ring->width,
                                     ring->top + ring->height, 0xFFFFFF));
    EXPECT_EQ(disc.canvas.ops.back().kind, testing::DrawOp::Frame);

    // The pointer moves, away from the box: the ring goes and the pointer's rule closes it.
    DxDrawMouseMove(disc.state, 6, 590);
    disc.Frame();
    EXPECT_EQ(disc.state.menuKey, "none");
    EXPECT_FALSE(disc.canvas.HasFrame(ring->left, ring->top, ring->left + ring->width,
                                      ring->top + ring->height, 0xFFFFFF));
}

} // namespace
} // namespace kestrova
