// The main window's clock: a fixed 60 frames a second, frames only while active, and stalls
// skipped rather than raced through.

#include "shell/main_form.h"
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
    o.noLaunch = true;
    return o;
}

TEST_F(MainFormTest, SixtyFramesASecondOnlyWhileActive) {
    TMainForm form(Headless());
    form.Initialize();
    form.AdvanceTo(1000);
    EXPECT_EQ(form.FrameCount(), 0) << "no frame before the application is active";
    EXPECT_TRUE(form.State().curtainUp);
    form.SetActive(true);
    EXPECT_EQ(form.State().caption, "Kestrova CD-ROM");
    form.AdvanceTo(2000);
    EXPECT_EQ(form.FrameCount(), 60);
    EXPECT_FALSE(form.State().curtainUp);
    EXPECT_TRUE(form.Curtains()->isHidden());
    form.SetActive(false);
    form.AdvanceTo(3000);
    EXPECT_EQ(form.FrameCount(), 60);
}

TEST_F(MainFormTest, AStallIsSkippedButTimersStillFire) {
    TMainForm form(Headless());
    form.Initialize();
    form.SetActive(true);
    form.AdvanceTo(100);
    const long long frames = form.FrameCount();
    form.SkipTo(60000);
    EXPECT_EQ(form.FrameCount(), frames);
    EXPECT_EQ(form.ClockMs(), 60000);
    EXPECT_GT(form.State().Timer1.nextDueMs, 60000) << "the 4-second timer kept its pace";
    form.RunOneFrame();
    EXPECT_EQ(form.FrameCount(), frames + 1);
    EXPECT_LE(form.ClockMs(), 60017);
}

TEST_F(MainFormTest, ClosingStopsEverything) {
    TMainForm form(Headless());
    form.Initialize();
    form.SetActive(true);
    form.AdvanceTo(500);
    form.close();
    EXPECT_TRUE(form.State().closed);
    EXPECT_FALSE(form.State().bannerpush.enabled);
    EXPECT_FALSE(form.State().dxTimerEnabled);
    EXPECT_EQ(form.WebBrowser1(), nullptr);
    const long long frames = form.FrameCount();
    form.AdvanceTo(5000);
    EXPECT_EQ(form.FrameCount(), frames);
}

} // namespace
} // namespace kestrova
