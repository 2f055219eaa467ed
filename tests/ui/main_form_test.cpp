// The main window as the engine's window: its curtain and caption follow the engine, and
// closing it stops the engine and destroys its controls in order.

#include "support/fixture_disc.h"
#include "ui/main_form.h"

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
