// The main window's clock: a fixed 60 frames a second, frames only while active, and stalls
// skipped rather than raced through.

#include "ui/main_form.h"
#include "support/fixture_disc.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

namespace kestrova {
namespace {

struct MainFormTest : ::testing::Test {
    std::filesystem::path old = std::filesystem::current_path();
    std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("kestrova-form-" + std::to_string(::getpid()));
    void SetUp() override {
        WriteFixtureDisc(dir.string(), "ok");
        std::filesystem::current_path(dir);
    }
    void TearDown() override {
        std::filesystem::current_path(old);
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
};

MainFormOptions Headless() {
    MainFormOptions o;
    o.lightWebPane = true;
    o.replay = true;
    return o;
}

TEST_F(MainFormTest, SixtyFramesASecondOnlyWhileActive) {
    TMainForm form(Headless());
    form.Initialize();
    form.Engine().AdvanceTo(1000);
    EXPECT_EQ(form.Engine().FrameCount(), 0) << "no frame before the application is active";
    EXPECT_TRUE(form.State().curtainUp);
    form.Engine().SetActive(true);
    EXPECT_EQ(form.State().caption, "Kestrova CD-ROM");
    form.Engine().AdvanceTo(2000);
    EXPECT_EQ(form.Engine().FrameCount(), 60);
    EXPECT_FALSE(form.State().curtainUp);
    EXPECT_TRUE(form.Curtains()->isHidden());
    form.Engine().SetActive(false);
    form.Engine().AdvanceTo(3000);
    EXPECT_EQ(form.Engine().FrameCount(), 60);
}

TEST_F(MainFormTest, AStallIsSkippedButTimersStillFire) {
    TMainForm form(Headless());
    form.Initialize();
    form.Engine().SetActive(true);
    form.Engine().AdvanceTo(100);
    const long long frames = form.Engine().FrameCount();
    form.Engine().SkipTo(60000);
    EXPECT_EQ(form.Engine().FrameCount(), frames);
    EXPECT_EQ(form.Engine().ClockMs(), 60000);
    EXPECT_GT(form.State().timers.NextDueMs(TimerId::Timer1), 60000) << "the 4-second timer kept its pace";
    form.Engine().RunOneFrame();
    EXPECT_EQ(form.Engine().FrameCount(), frames + 1);
    EXPECT_LE(form.Engine().ClockMs(), 60017);
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
