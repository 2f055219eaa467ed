// The replay runner's lines: every comparison form of `expect` and `expect-pixel`, holding and
// failing, and a malformed line answered with the forms its command accepts.

#include "app/replay.h"
#include "support/fixture_disc.h"
#include "ui/main_form.h"

#include <gtest/gtest.h>

#include <memory>

namespace kestrova {
namespace {

struct ReplayTest : ::testing::Test {
    FixtureDiscFolder disc;
    std::unique_ptr<TMainForm> form;

    void SetUp() override {
        MainFormOptions o;
        o.lightWebPane = true;
        o.replay = true;
        form = std::make_unique<TMainForm>(o);
        form->Initialize();
        form->Engine().SetActive(true);
    }
    ReplayResult Run(const char* text) {
        return RunReplayText(*form, QString::fromUtf8(text), QStringLiteral("t.replay"),
                             QString::fromStdString(disc.Path().string()));
    }
};

TEST_F(ReplayTest, ExpectTakesEveryComparison) {
    const ReplayResult r = Run("frames 1\n"
                               "expect spriteCount 5\n"
                               "expect spriteCount == 5\n"
                               "expect spriteCount != 6\n"
                               "expect spriteCount < 6\n"
                               "expect spriteCount <= 5\n"
                               "expect spriteCount > 4\n"
                               "expect spriteCount >= 5\n"
                               "expect menuKey \"none\"\n");
    EXPECT_TRUE(r.ok) << r.error;
}

// Each comparison that does not hold ends the run at its line, saying what was expected and
// what was found; the lines after it are not run.
TEST_F(ReplayTest, EveryComparisonThatDoesNotHoldFailsTheRun) {
    const std::pair<const char*, const char*> cases[] = {
        {"expect spriteCount 6", "expected spriteCount == 6, got 5"},
        {"expect spriteCount == 4", "expected spriteCount == 4, got 5"},
        {"expect spriteCount != 5", "expected spriteCount != 5, got 5"},
        {"expect spriteCount < 5", "expected spriteCount < 5, got 5"},
        {"expect spriteCount > 5", "expected spriteCount > 5, got 5"},
        {"expect spriteCount <= 4", "expected spriteCount <= 4, got 5"},
        {"expect spriteCount >= 6", "expected spriteCount >= 6, got 5"},
        {"expect menuKey \"demos\"", "expected menuKey == demos, got none"},
        {"expect menuKey != none", "expected menuKey != none, got none"},
        {"expect-pixel 5 5 #000000", "pixel 5,5 is #3C0A3C, expected #000000"},
        {"expect-pixel 5 5 != #3C0A3C", "pixel 5,5 is #3C0A3C, expected anything else"},
    };
    // The top panel of the fixture disc lies under the pixel probed.
    ASSERT_TRUE(Run("frames 1\nexpect-pixel 5 5 #3C0A3C\nexpect-pixel 5 5 != #000000\n").ok);
    for (const auto& [line, message] : cases) {
        const std::string script = std::string("frames 1\n") + line + "\nset targetPanel 3\n";
        form->State().targetPanel = 0;
        const ReplayResult r = Run(script.c_str());
        EXPECT_FALSE(r.ok) << line;
        EXPECT_EQ(r.error, std::string("t.replay:2: ") + message) << line;
        EXPECT_NE(form->State().targetPanel, 3) << line << ": a line after the failure ran";
    }
}

TEST_F(ReplayTest, AFailedExpectationNamesTheLineAndWhatWasFound) {
    const ReplayResult r = Run("frames 1\n\nexpect spriteCount == 106\n");
    ASSERT_FALSE(r.ok);
    EXPECT_EQ(r.error, "t.replay:3: expected spriteCount == 106, got 5");
}

TEST_F(ReplayTest, MalformedLinesNameTheAcceptedForms) {
    const std::pair<const char*, const char*> cases[] = {
        {"expect spriteCount ==", "usage: expect FIELD [==|!=|<|<=|>|>=] VALUE"},
        {"expect spriteCount", "usage: expect FIELD [==|!=|<|<=|>|>=] VALUE"},
        {"move 10", "usage: move X Y"},
        {"click 10", "usage: click [X Y]"},
        {"frames many", "usage: frames N"},
        {"key Whatever", "usage: key NAME [alt] [shift] [ctrl]"},
        {"click-banner middle", "usage: click-banner left|centre|right"},
        {"set targetPanel 40", "usage: set FIELD VALUE"},
        {"expect-pixel 1 2 red", "usage: expect-pixel X Y [!=] #RRGGBB"},
    };
    for (const auto& [line, usage] : cases) {
        const ReplayResult r = Run(line);
        ASSERT_FALSE(r.ok) << line;
        EXPECT_EQ(r.error.rfind("t.replay:1: ", 0), 0u) << r.error;
        EXPECT_NE(r.error.find(usage), std::string::npos) << line << " -> " << r.error;
    }
    const ReplayResult unknown = Run("jump 3");
    EXPECT_NE(unknown.error.find("unknown line: jump\n"), std::string::npos) << unknown.error;
    EXPECT_NE(unknown.error.find("\n  frames N"), std::string::npos) << unknown.error;
}

TEST_F(ReplayTest, SetReachesTheHandlerVariablesAndNothingElse) {
    EXPECT_TRUE(Run("set targetPanel 2\nexpect targetPanel 2\n").ok);
    EXPECT_TRUE(Run("set menusource Glider|Comet\nexpect menusource[1] Comet\n").ok);
    EXPECT_FALSE(Run("set spriteCount 9").ok);
    EXPECT_EQ(form->State().spriteCount, 5);
}

} // namespace
} // namespace kestrova
