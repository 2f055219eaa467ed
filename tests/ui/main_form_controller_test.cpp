// A game controller's keys reach the main window as the keyboard's do: they move and use the
// focus ring while the window is the active one, go nowhere while another window is, and a key
// the front end leaves alone goes on to the control with the focus without reaching the
// keyboard's shortcuts.

#include "support/fixture_disc.h"
#include "ui/game_panel.h"
#include "ui/main_form.h"

#include "catalogue/disc_layout.h"
#include "engine/keyboard_focus.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace kestrova {
namespace {

MainFormOptions Headless() {
    MainFormOptions o;
    o.lightWebPane = true;
    o.replay = true;
    return o;
}

// Shows `w` and waits until the desktop has made it the active window.
bool Activate(QWidget& w) {
    w.show();
    w.activateWindow();
    QElapsedTimer waited;
    waited.start();
    while (QApplication::activeWindow() != &w && waited.elapsed() < 5000) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return QApplication::activeWindow() == &w;
}

struct MainFormController : ::testing::Test {
    FixtureDiscFolder disc;
    TMainForm form{Headless()};

    void SetUp() override {
        form.Initialize();
        form.Engine().SetActive(true);
        form.Engine().AdvanceTo(2000);
        ASSERT_TRUE(Activate(form));
    }
};

TEST_F(MainFormController, ShouldersAndAMoveAndClickTheFocusAndBClosesTheMenu) {
    const std::vector<std::string> zones = FocusZones(form.State());
    ASSERT_GE(zones.size(), 3u);
    EXPECT_TRUE(form.ControllerKeyDown(NavigationKey::Tab));
    ASSERT_TRUE(form.State().focus.Shown());
    EXPECT_EQ(form.State().focus.zone, zones[0]);
    EXPECT_TRUE(form.ControllerKeyDown(NavigationKey::Tab, true));
    EXPECT_EQ(form.State().focus.zone, zones[1]);
    EXPECT_TRUE(form.ControllerKeyDown(NavigationKey::BackTab));
    EXPECT_EQ(form.State().focus.zone, zones[0]);

    // The same keys from the keyboard and from the controller land alike.
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier, QStringLiteral("\t"));
    QApplication::sendEvent(form.KeyReceiver(), &tab);
    EXPECT_EQ(form.State().focus.zone, zones[1]);

    // A opens the focused button's menu; B closes it and leaves the ring on its button.
    const auto withMenu =
        std::find_if(zones.begin(), zones.end(), [](const std::string& z) { return HasMenu(z); });
    ASSERT_NE(withMenu, zones.end()) << "no zone of the fixture opens a menu";
    while (form.State().focus.zone != *withMenu) {
        ASSERT_TRUE(form.ControllerKeyDown(NavigationKey::Tab));
    }
    EXPECT_TRUE(form.ControllerKeyDown(NavigationKey::Return));
    ASSERT_EQ(form.State().menuKey, *withMenu);
    const std::string button = form.State().menuKey;
    EXPECT_TRUE(form.ControllerKeyDown(NavigationKey::Escape));
    EXPECT_FALSE(HasMenu(form.State().menuKey));
    EXPECT_EQ(form.State().focus.zone, button);
}

TEST_F(MainFormController, KeysWaitWhileAnotherWindowIsActive) {
    QWidget other;
    ASSERT_TRUE(Activate(other));
    EXPECT_FALSE(form.ControllerKeyDown(NavigationKey::Tab));
    EXPECT_FALSE(form.State().focus.Shown());
    ASSERT_TRUE(Activate(form));
    EXPECT_TRUE(form.ControllerKeyDown(NavigationKey::Tab));
    EXPECT_TRUE(form.State().focus.Shown());
}

TEST_F(MainFormController, UnusedKeyGoesToTheFocusedControlPastTheShortcuts) {
    form.State().altHeld = false;
    form.gamepanel()->StartAdventure();
    form.gamepanel()->FocusCommandLine();
    QLineEdit* line = form.gamepanel()->lineinput();
    ASSERT_EQ(form.KeyReceiver(), line);
    line->setText(QStringLiteral("look"));
    line->setCursorPosition(4);
    // Left is the command line's own: its cursor moves, as a typed Left moves it.
    EXPECT_FALSE(form.ControllerKeyDown(NavigationKey::Left));
    EXPECT_EQ(line->cursorPosition(), 3);
    // Back is Alt+Left to the engine, yet the window does not take it as Alt held.
    EXPECT_FALSE(form.ControllerKeyDown(NavigationKey::AltLeft));
    EXPECT_FALSE(form.State().altHeld);
    // B puts the game away, as Escape does.
    EXPECT_TRUE(form.ControllerKeyDown(NavigationKey::Escape));
    EXPECT_FALSE(form.gamepanel()->Visible());
}

} // namespace
} // namespace kestrova
