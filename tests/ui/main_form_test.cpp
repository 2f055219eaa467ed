// The main window as the engine's window: its curtain and caption follow the engine, and
// closing it stops the engine and destroys its controls in order.

#include "support/fixture_disc.h"
#include "ui/full_screen_view.h"
#include "ui/main_form.h"

#include "engine/readme.h"
#include "platform/program_icon.h"
#include "platform/readme_pane.h"

#include <gtest/gtest.h>

namespace kestrova {
namespace {

struct MainFormTest : ::testing::Test {
    FixtureDiscFolder disc;
};

MainFormOptions Headless() {
    MainFormOptions o;
    o.lightWebPane = true;
    o.replay = true;
    return o;
}

TEST_F(MainFormTest, TheFirstFrameTakesTheCurtainDownAndSetsTheCaption) {
    TMainForm form(Headless());
    form.Initialize();
    EXPECT_FALSE(form.Curtains()->isHidden());
    form.Engine().SetActive(true);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Kestrova CD-ROM"));
    form.Engine().RunOneFrame();
    EXPECT_TRUE(form.Curtains()->isHidden());
}

// Started full screen, the view is what the desktop shows of the program: it takes the caption
// the first activation gives the window, as the window does.
TEST_F(MainFormTest, StartedFullScreenTheViewHasTheWindowsCaption) {
    TMainForm form(Headless());
    form.Initialize();
    form.StartFullScreen();
    ASSERT_NE(form.FullScreen(), nullptr);
    form.Engine().SetActive(true);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Kestrova CD-ROM"));
    EXPECT_EQ(form.FullScreen()->windowTitle(), QStringLiteral("Kestrova CD-ROM"));
    form.Engine().SetActive(false);
    form.Engine().FormKeyDown('A', true);
    form.Engine().SetActive(true);
    EXPECT_EQ(form.FullScreen()->windowTitle(), QStringLiteral("ALT STARTUP"));
}

// Before any activation the desktop already shows the program's title, never the design-time
// caption the state keeps until then; and the windows carry the program's icon.
TEST_F(MainFormTest, BeforeTheFirstActivationTheDesktopShowsTheProgramsTitle) {
    TMainForm form(Headless());
    form.Initialize();
    form.StartFullScreen();
    EXPECT_EQ(form.State().caption, "i");
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Kestrova CD-ROM"));
    ASSERT_NE(form.FullScreen(), nullptr);
    EXPECT_EQ(form.FullScreen()->windowTitle(), QStringLiteral("Kestrova CD-ROM"));
    EXPECT_FALSE(ProgramIcon().isNull()) << "the SVG icon engine is part of the set-up";
    EXPECT_FALSE(form.windowIcon().isNull());
    EXPECT_FALSE(form.FullScreen()->windowIcon().isNull());
}

TEST_F(MainFormTest, ClosingStopsEverything) {
    TMainForm form(Headless());
    form.Initialize();
    form.Engine().SetActive(true);
    form.Engine().AdvanceTo(500);
    form.close();
    EXPECT_TRUE(form.State().closed);
    EXPECT_FALSE(form.State().timers.Enabled(TimerId::bannerpush));
    EXPECT_FALSE(form.State().timers.Enabled(TimerId::DXTimer));
    EXPECT_EQ(form.WebBrowser1(), nullptr);
    const long long frames = form.Engine().FrameCount();
    form.Engine().AdvanceTo(5000);
    EXPECT_EQ(form.Engine().FrameCount(), frames);
}

} // namespace
} // namespace kestrova

namespace kestrova {
namespace {

struct ReadmeInWindow : ::testing::Test {
    FixtureDiscFolder disc;
};

TEST_F(ReadmeInWindow, TheEngineShowsAnEntrysReadmeInPanel4AtItsPlace) {
    TMainForm form(Headless());
    form.Initialize();
    form.show();
    ReadmePaneWidget* pane = form.Panel4();
    EXPECT_FALSE(pane->Visible());
    EXPECT_EQ(pane->geometry(), QRect(437, 137, 283, 208));
    form.State().shownPanel = 2;
    ViewReadme(form.State(), form.Engine().GetPorts());
    EXPECT_TRUE(pane->Visible());
    EXPECT_EQ(pane->Path(), "databases/readme2.rtf");
    EXPECT_EQ(pane->PlainText(), "Readme of demo 2.");
    // Printing under the harness is answered "cancel", and the pane still shows the readme.
    pane->SetVisible(false);
    PrintReadme(form.State(), form.Engine().GetPorts());
    EXPECT_TRUE(pane->Visible());
}

} // namespace
} // namespace kestrova
