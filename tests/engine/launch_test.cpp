// Program starts and the readme pane: the one launch routine and its limits, the delayed launch
// of a banner's target, and viewing and printing an entry's readme.

#include "engine/engine_fixture.h"
#include "engine/front_end.h"
#include "engine/launch.h"
#include "engine/readme.h"

#include <gtest/gtest.h>

namespace kestrova {
namespace {

const std::string kRoot = "/media/kestrova/";

struct Recorded {
    RecordingLauncher launcher;
    RecordingLog log;
    NullReadme readme;
    Ports ports = [this] {
        Ports p;
        p.launcher = &launcher;
        p.log = &log;
        p.readme = &readme;
        return p;
    }();
};

TEST(RunProgram, HandsTheTextsToTheDesktopWithTheNormalShowCommand) {
    Recorded r;
    MainState s;
    EXPECT_TRUE(RunProgram(s, r.ports, kRoot, {.file = "Databases/Databases.exe"}));
    ASSERT_EQ(r.launcher.launches.size(), 1u);
    EXPECT_EQ(r.launcher.launches[0].file, "Databases/Databases.exe");
    EXPECT_EQ(r.launcher.launches[0].parameters, "");
    EXPECT_EQ(r.launcher.launches[0].directory, "");
    EXPECT_EQ(r.launcher.launches[0].showCommand, 5);
}

TEST(RunProgram, ATextLongerThanTheLaunchBuffersIsRefusedNeverCut) {
    Recorded r;
    MainState s;
    const std::string fits(79, 'a');
    const std::string tooLong(80, 'a');
    EXPECT_TRUE(
        RunProgram(s, r.ports, kRoot, {.file = fits, .parameters = fits, .directory = fits}));
    EXPECT_FALSE(RunProgram(s, r.ports, kRoot, {.file = tooLong}));
    EXPECT_FALSE(RunProgram(s, r.ports, kRoot, {.file = "setup.exe", .parameters = tooLong}));
    EXPECT_FALSE(RunProgram(s, r.ports, kRoot, {.file = "setup.exe", .directory = tooLong}));
    EXPECT_EQ(r.launcher.launches.size(), 1u);
    EXPECT_EQ(r.log.warnings.size(), 3u);
}

TEST(RunProgram, APathInTheDiscRootCountsTheRootAsADriveRoot) {
    Recorded r;
    MainState s;
    const std::string deep = "/home/reader/Downloads/kestrova-cover-disc/April/";
    ASSERT_GE(deep.size(), 47u);
    const std::string fits(76, 'a');
    EXPECT_TRUE(RunProgram(s, r.ports, deep, {.file = deep + fits}));
    EXPECT_FALSE(RunProgram(s, r.ports, deep, {.file = deep + fits + "a"}));
    // Only the root at the start counts so; elsewhere it is text like any other.
    EXPECT_FALSE(RunProgram(s, r.ports, deep, {.file = "x" + deep + std::string(30, 'a')}));
    EXPECT_TRUE(RunProgram(s, r.ports, "D:\\", {.file = "D:\\" + fits}));
    EXPECT_EQ(r.launcher.launches.size(), 2u);
    EXPECT_EQ(r.launcher.launches[0].file, deep + fits);
}

TEST(DelayedLaunch, AWebAddressOpensInThePaneAndAnythingElseStarts) {
    Recorded r;
    MainState s;
    s.timers.Enable(TimerId::launchit);
    s.pendingLaunch = "http://www.example.com/";
    launchitTimer(s, r.ports, kRoot);
    EXPECT_TRUE(s.navigatePending);
    EXPECT_EQ(s.pendingUrl, "http://www.example.com/");
    EXPECT_EQ(s.slideState, 1);
    EXPECT_TRUE(s.pendingLaunch.empty());
    EXPECT_FALSE(s.timers.Enabled(TimerId::launchit));
    EXPECT_TRUE(r.launcher.launches.empty());

    MainState t;
    t.pendingLaunch = "Exes/demo.exe";
    launchitTimer(t, r.ports, kRoot);
    ASSERT_EQ(r.launcher.launches.size(), 1u);
    EXPECT_EQ(r.launcher.launches[0].file, "Exes/demo.exe");
    EXPECT_FALSE(t.navigatePending);
    EXPECT_TRUE(t.pendingLaunch.empty());

    // A banner whose key the disc lacks leaves nothing to start.
    MainState u;
    for (const char* text : {"", "h", "ht"}) {
        u.pendingLaunch = text;
        launchitTimer(u, r.ports, kRoot);
    }
    EXPECT_EQ(r.launcher.launches.size(), 3u) << "\"h\" and \"ht\" are programs, not addresses";
    EXPECT_FALSE(u.navigatePending);
}

TEST(DelayedLaunch, FiresOnce600MillisecondsAfterItIsArmed) {
    testing::StartedDisc d;
    RecordingLauncher launcher;
    Ports ports;
    ports.launcher = &launcher;
    FrontEnd fe(ports);
    fe.Initialize();
    fe.AdvanceTo(1000);
    fe.State().pendingLaunch = "Exes/run1.exe";
    fe.State().timers.Enable(TimerId::launchit);
    fe.AdvanceTo(1599);
    EXPECT_TRUE(launcher.launches.empty());
    fe.AdvanceTo(1600);
    ASSERT_EQ(launcher.launches.size(), 1u);
    fe.AdvanceTo(5000);
    EXPECT_EQ(launcher.launches.size(), 1u);
}

TEST(Readme, ViewShowsTheShownEntrysReadme) {
    testing::StartedDisc d;
    Recorded r;
    d.state.shownPanel = 1;
    ViewReadme(d.state, r.ports);
    EXPECT_EQ(d.state.menuKey, "*viewreadme");
    EXPECT_EQ(r.readme.path, "databases/readme1.rtf");
    EXPECT_TRUE(r.readme.visible);
    EXPECT_TRUE(r.readme.printed.empty());
}

TEST(Readme, AMissingOrEmptyNameShowsNothingAndKeepsThePaneAsItWas) {
    testing::StartedDisc d;
    Recorded r;
    d.state.shownPanel = 3;
    std::filesystem::remove("databases/readme3.rtf");
    ViewReadme(d.state, r.ports);
    EXPECT_FALSE(r.readme.visible);
    r.readme.visible = true;
    ViewReadme(d.state, r.ports);
    EXPECT_TRUE(r.readme.visible) << "the pane keeps its visibility";

    d.state.shownPanel = 0; // the feature block has no readme line: "databases/" is no file
    EXPECT_EQ(ReadmePath(d.state, 0).rfind("databases/", 0), 0u);
    r.readme.visible = false;
    PrintReadme(d.state, r.ports);
    EXPECT_FALSE(r.readme.visible);
    EXPECT_TRUE(r.readme.printed.empty()) << "no dialog without a file";
}

TEST(Readme, PrintTitlesTheJobWithThePathAndShowsThePaneEvenWhenCancelled) {
    testing::StartedDisc d;
    Recorded r;
    d.state.shownPanel = 4;
    r.readme.confirmPrint = false;
    PrintReadme(d.state, r.ports);
    EXPECT_EQ(d.state.menuKey, "*printreadme");
    EXPECT_EQ(r.readme.printed, std::vector<std::string>{"databases/readme4.rtf"});
    EXPECT_TRUE(r.readme.visible);
}

TEST(Readme, AnEmptyReadmeNameGivesTheBareFolder) {
    MainState s;
    s.source.LoadFromBytes("x\r\n*BEGIN1\r\n1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n\r\n*END1\r\n");
    EXPECT_EQ(ReadmePath(s, 1), "databases/");
    Recorded r;
    s.shownPanel = 1;
    ViewReadme(s, r.ports);
    EXPECT_FALSE(r.readme.visible);
}

} // namespace
} // namespace kestrova
