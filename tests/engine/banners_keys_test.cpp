// The centre banner's rotation on the shared generator and its click, the side banners, the Alt
// keys and the hidden phrases.

#include "engine/banners.h"
#include "engine/front_end.h"
#include "engine/keys.h"
#include "engine/random.h"
#include "support/fixture_disc.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

namespace kestrova {
namespace {

void Touch(const std::filesystem::path& file) {
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file) << "GIF89a";
}

// A disc folder holding only the named centre banners.
struct BannerDisc {
    FixtureDiscFolder disc{"ok"};
    MainState state;
    RecordingLauncher launcher;
    NullGif adbanner;
    NullWindow window;
    Ports ports = [this] {
        Ports p;
        p.adbanner = &adbanner;
        p.launcher = &launcher;
        p.window = &window;
        return p;
    }();

    explicit BannerDisc(std::vector<int> present) {
        std::filesystem::remove_all(disc.Path() / "engine/images/banners");
        for (const int n : present) {
            Touch(disc.Path() / ("engine/images/banners/banner" + std::to_string(n) + ".gif"));
        }
        ProgramRandom().seed = 0;
    }
};

TEST(Banners, TheRotationDrawsUntilABannerExistsInTheOrderTheTimersFire) {
    BannerDisc d({1, 2});
    // The same generator by hand: every 4 s one draw of the 4-second timer, every 10 s the
    // rotation's draws, in the order the two timers fire (4, 8, 10, 12, 16, 20, 20 ...).
    SharedRandom expected;
    std::vector<int> want, got;
    for (int second = 1; second <= 120; ++second) {
        if (second % 4 == 0) {
            expected.Draw(d.state.banners.Count());
            Timer1Timer(d.state);
        }
        if (second % 10 == 0) {
            int n = 0;
            do {
                n = expected.Draw(9);
            } while (n != 1 && n != 2);
            want.push_back(n);
            bannerpushTimer(d.state, d.ports);
            got.push_back(d.state.bannerNumber);
            EXPECT_EQ(d.adbanner.FileName(), BannerFile(n));
        }
    }
    EXPECT_EQ(got, want);
    // Both banners come up over two minutes.
    EXPECT_NE(std::find(got.begin(), got.end(), 1), got.end());
    EXPECT_NE(std::find(got.begin(), got.end(), 2), got.end());
}

TEST(Banners, OnTheClockTheFourSecondTimerDrawsFirstWhenBothFallDue) {
    BannerDisc d({0, 3, 4, 8});
    FrontEnd fe(d.ports);
    fe.Initialize();
    fe.SetActive(true);
    // The 4-second timer runs from the start, the rotation from the end of start-up: at 20, 40
    // and 60 s both fall due, and the 4-second timer, started first, draws first.
    SharedRandom expected;
    std::vector<int> want, got;
    for (long long ms = 1000; ms <= 60000; ms += 1000) {
        if (ms % 4000 == 0) {
            expected.Draw(fe.State().banners.Count());
        }
        if (ms % 10000 == 0) {
            int n = 0;
            do {
                n = expected.Draw(9);
            } while (n != 0 && n != 3 && n != 4 && n != 8);
            want.push_back(n);
            fe.AdvanceTo(ms);
            got.push_back(fe.State().bannerNumber);
            EXPECT_EQ(d.adbanner.FileName(), BannerFile(fe.State().bannerNumber));
        }
    }
    EXPECT_EQ(got, want);
    EXPECT_EQ(ProgramRandom().seed, expected.seed);
}

TEST(Banners, WithNoBannerFileTheRotationKeepsTheBannerAndDrawsNothing) {
    BannerDisc d({});
    d.state.bannerNumber = 4;
    bannerpushTimer(d.state, d.ports);
    EXPECT_EQ(d.state.bannerNumber, 4);
    EXPECT_EQ(ProgramRandom().seed, 0u);
    EXPECT_EQ(d.adbanner.FileName(), "");
}

TEST(Banners, AClickArmsTheDelayedLaunchWithTheShownBannersTarget) {
    BannerDisc d({1});
    d.state.source.LoadFromBytes("x\r\n*BANNER1\r\nhttp://www.example.com/\r\n*BANNER2\r\n"
                                 "Exes/two.exe\r\n");
    d.state.bannerNumber = 2;
    adbannerClick(d.state);
    EXPECT_EQ(d.state.pendingLaunch, "Exes/two.exe");
    EXPECT_TRUE(d.state.timers.Enabled(TimerId::launchit));
    // A second click before the launch replaces the target; the timer keeps its time.
    d.state.bannerNumber = 1;
    adbannerClick(d.state);
    EXPECT_EQ(d.state.pendingLaunch, "http://www.example.com/");
    // A banner without a key leaves the target as it is.
    d.state.bannerNumber = 7;
    adbannerClick(d.state);
    EXPECT_EQ(d.state.pendingLaunch, "http://www.example.com/");
    SideBannerClick(d.state);
    EXPECT_EQ(d.state.pendingUrl, kSubscriptionPage);
    EXPECT_TRUE(d.state.navigatePending);
    EXPECT_EQ(d.state.slideState, 0); // the shown panel stays
}

// A banner key on the file's last line has no target line after it: the click acts as for a
// banner without a record, and a target already waiting is the one launched.
TEST(Banners, AKeyOnTheFilesLastLineActsAsABannerWithoutARecord) {
    FixtureDiscFolder disc("ok");
    RecordingLauncher launcher;
    Ports ports;
    ports.launcher = &launcher;
    FrontEnd fe(ports);
    fe.Initialize();
    fe.SetActive(true);
    fe.State().source.LoadFromBytes("\r\n*BANNER1\r\nExes/one.exe\r\n*BANNER2\r\n");
    fe.State().bannerNumber = 2;
    fe.adbannerClick();
    EXPECT_EQ(fe.State().pendingLaunch, "");
    fe.AdvanceTo(fe.ClockMs() + 1000);
    EXPECT_TRUE(launcher.launches.empty());

    fe.State().bannerNumber = 1;
    fe.adbannerClick();
    fe.AdvanceTo(fe.ClockMs() + 300);
    fe.State().bannerNumber = 2;
    fe.adbannerClick();
    fe.AdvanceTo(fe.ClockMs() + 1000);
    ASSERT_EQ(launcher.launches.size(), 1u);
    EXPECT_EQ(launcher.launches[0].file, "Exes/one.exe");
}

TEST(Banners, TwoClicksWithin600MsLaunchOnceTheSecondTarget) {
    FixtureDiscFolder disc("ok");
    RecordingLauncher launcher;
    Ports ports;
    ports.launcher = &launcher;
    FrontEnd fe(ports);
    fe.Initialize();
    fe.SetActive(true);
    fe.State().source.LoadFromBytes("*BANNER1\r\nExes/one.exe\r\n*BANNER2\r\nExes/two.exe\r\n");
    fe.State().bannerNumber = 1;
    fe.adbannerClick();
    fe.AdvanceTo(fe.ClockMs() + 300);
    fe.State().bannerNumber = 2;
    fe.adbannerClick();
    fe.AdvanceTo(fe.ClockMs() + 299);
    EXPECT_TRUE(launcher.launches.empty());
    fe.AdvanceTo(fe.ClockMs() + 1000);
    ASSERT_EQ(launcher.launches.size(), 1u);
    EXPECT_EQ(launcher.launches[0].file, "Exes/two.exe");
}

TEST(Keys, PhrasesFireAnywhereInTheTypedTextWithTheirExactCapitals) {
    MainState s;
    for (const char c : std::string("hello tvOOmI")) {
        FormKeyPress(s, std::string(1, c));
    }
    EXPECT_FALSE(s.navigatePending);
    FormKeyPress(s, "k");
    EXPECT_TRUE(s.navigatePending);
    const std::string pageA = s.pendingUrl;
    EXPECT_EQ(s.typedText, "");
    MainState t;
    for (const char c : std::string("qxvzTVOOMIKxQXVZ")) {
        FormKeyPress(t, std::string(1, c));
    }
    EXPECT_EQ(t.pendingUrl, pageA); // the fourth phrase opens the first one's page
    EXPECT_EQ(PhrasePage("glimmeringfoxeswanderaway"), PhrasePage("xglimmeringfoxeswanderawayx"));
    EXPECT_NE(PhrasePage("wobbleharpon"), nullptr);
    EXPECT_NE(PhrasePage("dustyowl"), nullptr);
    EXPECT_EQ(PhrasePage("DustyOwl"), nullptr);
}

TEST(Keys, TheBufferEmptiesPast254CharactersSoASplitPhraseDoesNotFire) {
    MainState s;
    for (int i = 0; i < 251; ++i) {
        FormKeyPress(s, "x");
    }
    for (const char c : std::string("dust")) { // characters 252..255
        FormKeyPress(s, std::string(1, c));
    }
    EXPECT_EQ(s.typedText.size(), 255u);
    for (const char c : std::string("yowl")) {
        FormKeyPress(s, std::string(1, c));
    }
    EXPECT_FALSE(s.navigatePending);
    EXPECT_EQ(s.typedText, "yowl");
}

TEST(Keys, TheBufferCountsTypedCharactersNotTheirBytes) {
    MainState s;
    for (int i = 0; i < 127; ++i) {
        FormKeyPress(s, i % 2 == 0 ? "\xC3\xA9" : "\xC3\xB6"); // é, ö
    }
    for (const char c : std::string("dustyowl")) {
        FormKeyPress(s, std::string(1, c));
    }
    EXPECT_TRUE(s.navigatePending) << "127 accented letters and a phrase fit the buffer";
    EXPECT_EQ(s.pendingUrl, PhrasePage("dustyowl"));

    // The limit is 255 characters whatever they are: the next one empties the buffer first.
    // Each is kept as the disc's single byte, or '?' when the code page lacks it.
    MainState t;
    for (int i = 0; i < 254; ++i) {
        FormKeyPress(t, "\xE2\x82\xAC"); // €
    }
    FormKeyPress(t, "\xC5\x82"); // ł, not in the code page
    ASSERT_EQ(t.typedText.size(), 255u);
    EXPECT_EQ(t.typedText.front(), '\x80');
    EXPECT_EQ(t.typedText.back(), '?');
    FormKeyPress(t, "\xC3\xA9");
    EXPECT_EQ(t.typedText, "\xE9");
    // A text of several characters counts as each typed in turn.
    FormKeyPress(t, std::string(253, 'x') + "\xC3\xA9z");
    EXPECT_EQ(t.typedText, "z");
}

TEST(Keys, AltEnterSwitchesTheDisplayAndAltUpOpensTheEditorOnAWorkstation) {
    MainState s;
    NullWindow window;
    Ports ports;
    ports.window = &window;
    FormKeyDown(s, ports, kKeyEnter, false);
    EXPECT_FALSE(window.fullScreen);
    FormKeyDown(s, ports, kKeyEnter, true);
    EXPECT_TRUE(window.fullScreen);
    EXPECT_TRUE(s.fullScreen);
    EXPECT_TRUE(s.altHeld);
    FormKeyDown(s, ports, 40, true); // Alt+Down does nothing here
    EXPECT_TRUE(s.fullScreen);
    FormKeyDown(s, ports, kKeyUp, true);
    EXPECT_EQ(window.editorsOpened, 0);
    window.editorStation = true;
    FormKeyDown(s, ports, kKeyUp, false);
    EXPECT_FALSE(s.altHeld);
    EXPECT_EQ(window.editorsOpened, 0);
    FormKeyDown(s, ports, kKeyUp, true);
    EXPECT_EQ(window.editorsOpened, 1);
    FormKeyDown(s, ports, kKeyEnter, true);
    EXPECT_FALSE(window.fullScreen);
}

} // namespace
} // namespace kestrova
