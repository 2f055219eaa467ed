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
    EXPECT_TRUE(ParseCommandLine({"sample-disc"}, cl).has_value()) << "a bare word is no option";
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
          "[wine] command=", "[wine] prefix="}) {
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
