// The main window as the engine's window: its curtain and caption follow the engine, and
// closing it stops the engine and destroys its controls in order.

#include "support/fixture_disc.h"
#include "ui/full_screen_view.h"
#include "ui/game_panel.h"
#include "ui/main_form.h"

#include "engine/readme.h"
#include "platform/program_icon.h"
#include "platform/program_icon_sizes.h"
#include "platform/readme_pane.h"
#include "platform/web_pane.h"

#include <QPlainTextEdit>

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
    // The icon comes once the first frame is drawn: handing the window system every size of it
    // would hold that frame up.
    const QList<QSize> sizes = ProgramIcon().availableSizes();
    EXPECT_EQ(sizes.size(), static_cast<qsizetype>(kProgramIconSizes.size()));
    EXPECT_NE(form.windowIcon().availableSizes(), sizes);
    form.ShowProgramIcon();
    EXPECT_EQ(form.windowIcon().availableSizes(), sizes);
    EXPECT_EQ(form.FullScreen()->windowIcon().availableSizes(), sizes);
}

// The hidden readme pane and game panel are built when first wanted, not before the first
// frame; built late they sit where they always did, and the game panel shows the transcript the
// game started out with.
TEST_F(MainFormTest, TheReadmePaneAndTheGamePanelAreBuiltWhenFirstWanted) {
    TMainForm form(Headless());
    form.Initialize();
    form.show();
    form.Engine().SetActive(true);
    form.Engine().RunOneFrame();
    ASSERT_TRUE(form.Curtains()->isHidden());
    EXPECT_FALSE(form.PanelsBuilt()) << "nothing before or at the first frame wanted them";

    form.State().shownPanel = 2;
    ViewReadme(form.State(), form.Engine().GetPorts());
    ASSERT_TRUE(form.PanelsBuilt());
    ReadmePaneWidget* pane = form.Panel4();
    GamePanel* game = form.gamepanel();
    EXPECT_TRUE(pane->Visible());
    EXPECT_EQ(pane->PlainText(), "Readme of demo 2.");
    EXPECT_FALSE(game->Visible());
    EXPECT_EQ(game->geometry(), QRect(800, 107, 800, 392));

    // Over the banners and the web pane, under the curtain, as when they were built first.
    const QObjectList& children = form.children();
    const auto at = [&children](QObject* child) { return children.indexOf(child); };
    EXPECT_EQ(at(pane), at(form.Curtains()) - 2);
    EXPECT_EQ(at(game), at(form.Curtains()) - 1);
    EXPECT_LT(at(form.WebBrowser1()), at(pane));

    QStringList transcript;
    for (const std::string& line : form.Engine().Game().Console().screenie()) {
        transcript << QString::fromStdString(line);
    }
    EXPECT_EQ(game->screenie()->toPlainText(), transcript.join(QLatin1Char('\n')));
}

// Asked for, they are built; asking whether they show builds nothing.
TEST_F(MainFormTest, AskingWhetherTheHiddenPanelsShowBuildsNothing) {
    TMainForm form(Headless());
    form.Initialize();
    Ports& ports = form.Engine().GetPorts();
    EXPECT_FALSE(ports.readme->Visible());
    EXPECT_FALSE(ports.game->Visible());
    EXPECT_FALSE(form.PanelsBuilt());
    ports.game->ShowPanel();
    ASSERT_TRUE(form.PanelsBuilt());
    EXPECT_TRUE(ports.game->Visible());
    EXPECT_TRUE(form.gamepanel()->Visible());
    EXPECT_FALSE(ports.readme->Visible());
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
