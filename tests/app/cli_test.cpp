// The command line: every option, values, and the errors that end with status 2.

#include "app/cli.h"

#include <gtest/gtest.h>

namespace kestrova {
namespace {

TEST(CommandLine, ReadsEveryOption) {
    CommandLine cl;
    EXPECT_FALSE(ParseCommandLine({"--disc", "d", "--replay", "s.replay", "--no-launch",
                                   "--web-engine", "--first-frame-exit"},
                                  cl)
                     .has_value());
    EXPECT_EQ(cl.disc, "d");
    EXPECT_EQ(cl.replay, "s.replay");
    EXPECT_TRUE(cl.noLaunch);
    EXPECT_TRUE(cl.webEngine);
    EXPECT_TRUE(cl.firstFrameExit);
    EXPECT_FALSE(cl.verbose);
    EXPECT_FALSE(ParseCommandLine({"--verbose"}, cl).has_value());
    EXPECT_TRUE(cl.verbose);
    EXPECT_FALSE(cl.adventure);
    EXPECT_FALSE(cl.noController);
    EXPECT_FALSE(ParseCommandLine({"--no-controller"}, cl).has_value());
    EXPECT_TRUE(cl.noController);

    CommandLine other;
    EXPECT_FALSE(ParseCommandLine({"--version", "--help", "--adventure"}, other).has_value());
    EXPECT_TRUE(other.version && other.help && other.adventure);
}

TEST(CommandLine, UnknownOptionsAndMissingValuesAreErrors) {
    CommandLine cl;
    auto e = ParseCommandLine({"--bogus"}, cl);
    ASSERT_TRUE(e.has_value());
    EXPECT_EQ(*e, "unknown option --bogus");
    e = ParseCommandLine({"--disc"}, cl);
    ASSERT_TRUE(e.has_value());
    EXPECT_EQ(*e, "--disc needs a value");
}

// A path alone names the disc (as a file manager hands one over); naming it twice is an error,
// not a choice between the two.
TEST(CommandLine, APathAloneIsTheDisc) {
    CommandLine alone;
    EXPECT_FALSE(ParseCommandLine({"sample-disc", "--no-launch"}, alone).has_value());
    EXPECT_EQ(alone.disc, "sample-disc");
    EXPECT_TRUE(alone.noLaunch);

    CommandLine dashed;
    EXPECT_FALSE(ParseCommandLine({"--", "-odd name.iso"}, dashed).has_value());
    EXPECT_EQ(dashed.disc, "-odd name.iso");

    CommandLine both;
    auto e = ParseCommandLine({"a.iso", "--disc", "b"}, both);
    ASSERT_TRUE(e.has_value());
    EXPECT_EQ(*e, "the disc is named twice: a.iso and --disc b");
    CommandLine two;
    e = ParseCommandLine({"a.iso", "b.iso"}, two);
    ASSERT_TRUE(e.has_value());
    EXPECT_EQ(*e, "one disc at a time: a.iso and b.iso were both given");
}

TEST(CommandLine, ListDiscsTakesFolders) {
    CommandLine none;
    EXPECT_FALSE(ParseCommandLine({"--list-discs"}, none).has_value());
    EXPECT_TRUE(none.listDiscs);
    EXPECT_TRUE(none.listFolders.empty());
    EXPECT_TRUE(none.disc.empty());

    CommandLine some;
    EXPECT_FALSE(ParseCommandLine({"--list-discs", "a", "b"}, some).has_value());
    EXPECT_EQ(some.listFolders, (std::vector<std::string>{"a", "b"}));
    EXPECT_TRUE(some.disc.empty()) << "folders to list are no disc";

    CommandLine withDisc;
    EXPECT_TRUE(ParseCommandLine({"--list-discs", "--disc", "d"}, withDisc).has_value());
}

TEST(CommandLine, TheProbeNeedsBothHalves) {
    CommandLine probe;
    EXPECT_FALSE(ParseCommandLine({"--probe-disc", "d.iso", "--probe-out", "/tmp/x"}, probe));
    EXPECT_EQ(probe.probeDisc, "d.iso");
    EXPECT_EQ(probe.probeOut, "/tmp/x");
    CommandLine half;
    EXPECT_TRUE(ParseCommandLine({"--probe-disc", "d.iso"}, half).has_value());
    EXPECT_EQ(UsageText().find("--probe"), std::string::npos) << "the shelf's own, not the user's";
}

TEST(CommandLine, ScaleIsAWholeNumberFromOneToEight) {
    CommandLine cl;
    EXPECT_EQ(cl.scale, 0) << "not given";
    EXPECT_FALSE(ParseCommandLine({"--scale", "2"}, cl).has_value());
    EXPECT_EQ(cl.scale, 2);
    EXPECT_FALSE(ParseCommandLine({"--scale", "8"}, cl).has_value());
    EXPECT_EQ(cl.scale, 8);
    for (const char* bad : {"0", "9", "-1", "+2", "2x", "1.5", "", "02 ", "100"}) {
        CommandLine other;
        const auto e = ParseCommandLine({"--scale", bad}, other);
        ASSERT_TRUE(e.has_value()) << bad;
        EXPECT_EQ(*e, std::string("--scale takes a whole number from 1 to 8, not ") + bad);
        EXPECT_EQ(other.scale, 0);
    }
    EXPECT_EQ(*ParseCommandLine({"--scale"}, cl), "--scale needs a value");
}

TEST(CommandLine, UsageNamesTheOptions) {
    const std::string usage = UsageText();
    for (const char* option :
         {"--disc", "--replay", "--no-launch", "--version", "--help", "--scale N",
          "[window] scale=N", "[fullscreen] smooth=true", "KESTROVA_WINE", "kestrova.conf",
          "[wine] command=", "[wine] prefix=", "--no-controller", "[controller] enabled=false"}) {
        EXPECT_NE(usage.find(option), std::string::npos) << option;
    }
}

TEST(CommandLine, CodePageIsOneOfTheReadablePages) {
    CommandLine cl;
    EXPECT_FALSE(cl.codePage);
    EXPECT_FALSE(ParseCommandLine({"--codepage", "1251"}, cl).has_value());
    EXPECT_EQ(cl.codePage, 1251);
    EXPECT_FALSE(ParseCommandLine({"--codepage", "932"}, cl).has_value());
    EXPECT_EQ(cl.codePage, 932);
    for (const char* bad : {"65001", "12x", "", "-1252", "99999999999"}) {
        CommandLine other;
        const auto e = ParseCommandLine({"--codepage", bad}, other);
        ASSERT_TRUE(e.has_value()) << bad;
        EXPECT_EQ(*e, std::string("--codepage ") + bad + " is not a code page this program reads");
    }
    EXPECT_EQ(*ParseCommandLine({"--codepage"}, cl), "--codepage needs a value");
    EXPECT_NE(UsageText().find("--codepage N"), std::string::npos);
}

} // namespace
} // namespace kestrova
