// Commands in the addresses the web pane is about to follow: nine prefixes read at one place
// behind the disc root, in any case, acting only for pages of the disc, and a "claunch_" that can
// only start files of the disc.

#include "engine/web_commands.h"

#include <gtest/gtest.h>

#include <cctype>

#include <string>
#include <vector>

namespace kestrova {
namespace {

const std::string kDisc = "/media/kestrova/"; // d = 16
// How the web pane reports a file in the disc root: six characters, then the full path.
const std::string kRoot = "file:/" + kDisc;

struct Navigation {
    MainState state;
    RecordingLauncher launcher;
    RecordingLog log;
    NullWindow window;
    Ports ports = [this] {
        Ports p;
        p.launcher = &launcher;
        p.log = &log;
        p.window = &window;
        return p;
    }();

    bool Before(const std::string& address, const std::string& currentDirectory = kDisc) {
        return WebBrowser1BeforeNavigate2(state, ports, currentDirectory, address);
    }
    std::vector<std::string> Started() const {
        std::vector<std::string> files;
        for (const auto& l : launcher.launches) {
            files.push_back(l.file);
        }
        return files;
    }
};

TEST(WebCommands, EveryPrefixInAnyCaseReadAtDPlusSix) {
    const struct {
        const char* prefix;
        bool cancels;
    } table[] = {{"command_", true},  {"claunch_", true},  {"topbrow_", true},
                 {"htpbrow_", true},  {"nobrows_", true},  {"go2data_", false},
                 {"no2data_", false}, {"gomovie_", false}, {"fsmovie_", false}};
    for (const auto& row : table) {
        for (const bool capitals : {false, true}) {
            std::string prefix = row.prefix;
            if (capitals) {
                for (char& c : prefix) {
                    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
                }
            }
            Navigation n;
            EXPECT_EQ(n.Before(kRoot + prefix + "notes.txt"), row.cancels) << prefix;
            // One character off either way is no command: a page's own folder, a longer mark.
            EXPECT_FALSE(n.Before(kRoot + "pages/" + prefix + "notes.txt")) << prefix;
            EXPECT_FALSE(n.Before(kRoot + "x" + prefix + "notes.txt")) << prefix;
            EXPECT_FALSE(n.Before("file:" + kDisc + prefix + "notes.txt")) << prefix;
            EXPECT_EQ(n.Started().size(), std::string(row.prefix) == "claunch_" ? 1u : 0u);
            EXPECT_EQ(n.window.terminations, 0);
        }
    }
}

TEST(WebCommands, ClaunchStartsTheArgumentLowerCasedFromTheCurrentDirectory) {
    Navigation n;
    EXPECT_TRUE(n.Before(kRoot + "CLAUNCH_Exes/Helix_Play.EXE"));
    EXPECT_TRUE(n.Before(kRoot + "claunch_exes\\subzero.exe"));
    EXPECT_EQ(n.Started(), (std::vector<std::string>{kDisc + "exes/helix_play.exe",
                                                     kDisc + "exes\\subzero.exe"}));
    EXPECT_EQ(n.launcher.launches[0].showCommand, 5);
    EXPECT_TRUE(n.log.warnings.empty());
}

TEST(WebCommands, OnlyExitInAnyCaseEndsTheProgram) {
    Navigation n;
    for (const char* argument : {"exitx", "exi", "", "exit/", " exit"}) {
        EXPECT_TRUE(n.Before(kRoot + "command_" + argument)) << argument;
    }
    EXPECT_EQ(n.window.terminations, 0);
    EXPECT_TRUE(n.Before(kRoot + "command_exit"));
    EXPECT_TRUE(n.Before(kRoot + "Command_EXIT"));
    EXPECT_EQ(n.window.terminations, 2);
    EXPECT_TRUE(n.Started().empty());
}

TEST(WebCommands, AnAddressOfDPlusSixCharactersOrFewerIsNeverExamined) {
    Navigation n;
    ASSERT_EQ(kRoot.size(), kDisc.size() + 6);
    EXPECT_FALSE(n.Before(kRoot));
    EXPECT_FALSE(n.Before(kRoot + "c"));        // d + 7: examined, too short for a prefix
    EXPECT_FALSE(n.Before(kRoot + "command"));  // d + 13
    EXPECT_TRUE(n.Before(kRoot + "command_"));  // d + 14: a command with no argument
    EXPECT_TRUE(n.Before(kRoot + "claunch_"));  // nothing to start, refused
    EXPECT_FALSE(n.Before(kRoot.substr(0, 9))); // shorter than the mark and directory
    EXPECT_FALSE(n.Before(""));
    EXPECT_TRUE(n.Started().empty());
    EXPECT_EQ(n.window.terminations, 0);
}

TEST(WebCommands, TheTopbrowShapeCancelsAnyAddressAndAPrefixOnTheDiscReplacesIt) {
    Navigation n;
    EXPECT_TRUE(n.Before("http://topbrow_offers.example.com/"));
    EXPECT_TRUE(n.Before("http://topbrow_"));
    EXPECT_FALSE(n.Before("http://topbrow")); // 14 characters
    EXPECT_FALSE(n.Before("http://Topbrow_offers.example.com/"));
    EXPECT_FALSE(n.Before("https://topbrow_offers.example.com/"));
    EXPECT_FALSE(n.Before("http://www.example.com/topbrow_x"));
    // A current directory of that shape: "go2data_" at d + 6 is the command and lets it go on.
    const std::string odd = "topbrow_x/";
    EXPECT_FALSE(n.Before("file:/" + odd + "go2data_x", odd));
    EXPECT_TRUE(n.Before("file:/" + odd + "nobrows_x", odd));
}

TEST(WebCommands, PagesOffTheDiscCommandNothing) {
    Navigation n;
    // The same text as a disc link, but not under the current directory or not a local file.
    EXPECT_FALSE(n.Before("file://media/kestrovb/claunch_exes/skyhook.exe"));
    EXPECT_FALSE(n.Before("http://www.example.com/claunch_exes/skyhook.exe"));
    EXPECT_FALSE(n.Before("http://www.example.com/pages/command_exit"));
    EXPECT_FALSE(n.Before("https:" + kDisc + "claunch_exes/skyhook.exe"));
    EXPECT_FALSE(n.Before("FILE:/" + kDisc + "claunch_exes/skyhook.exe"));
    EXPECT_FALSE(n.Before(kDisc + "pages/claunch_exes/skyhook.exe"));
    EXPECT_TRUE(n.Started().empty());
    EXPECT_EQ(n.window.terminations, 0);
}

TEST(WebCommands, AClaunchArgumentThatLeavesTheDiscIsRefusedAndLogged) {
    for (const char* argument :
         {"../outside.exe", "exes/../../outside.exe", "exes\\..\\..\\outside.exe", "/bin/sh",
          "\\\\server\\share\\x.exe", "c:/windows/x.exe", "C:x.exe", "exes/.../x.exe",
          "exes/ .. /x.exe", "http://www.example.com/x.exe", "exes/x.exe\n", ""}) {
        Navigation n;
        EXPECT_TRUE(n.Before(kRoot + "claunch_" + argument)) << argument;
        EXPECT_TRUE(n.Started().empty()) << argument;
        EXPECT_EQ(n.log.warnings.size(), 1u) << argument;
    }
}

TEST(WebCommands, AHugeAddressIsRefusedWithoutCopyingIt) {
    Navigation n;
    const std::string huge = kRoot + "claunch_" + std::string(1 << 20, 'a');
    EXPECT_TRUE(n.Before(huge));
    EXPECT_TRUE(n.Started().empty());
    ASSERT_EQ(n.log.warnings.size(), 1u);
    EXPECT_LT(n.log.warnings[0].size(), 200u);
    // A launch text longer than the launch buffers is refused.
    EXPECT_TRUE(n.Before(kRoot + "claunch_" + std::string(77, 'b')));
    EXPECT_TRUE(n.Started().empty());
    EXPECT_EQ(n.log.warnings.size(), 2u);
}

TEST(WebCommands, TheLaunchLimitCountsTheDiscRootAsADriveRoot) {
    // A disc copied deep into a home folder: the link's file counts as "D:\" and its part in
    // the disc, 3 + 76 = 79 characters, however long the folder's own path is.
    const std::string deep = "/home/reader/Downloads/kestrova-cover-disc/April/";
    ASSERT_GE(deep.size(), 47u);
    const std::string fits = "exes/" + std::string(67, 'c') + ".exe";
    ASSERT_EQ(fits.size(), 76u);
    Navigation n;
    EXPECT_TRUE(n.Before("file:/" + deep + "claunch_" + fits, deep));
    EXPECT_EQ(n.Started(), std::vector<std::string>{deep + fits});
    EXPECT_TRUE(n.log.warnings.empty());
    EXPECT_TRUE(n.Before("file:/" + deep + "claunch_" + "x" + fits, deep));
    EXPECT_EQ(n.Started().size(), 1u) << "one character past the limit starts nothing";
    EXPECT_EQ(n.log.warnings.size(), 1u);
    // The drive root itself measures the same.
    Navigation d;
    EXPECT_TRUE(d.Before("file:/D:\\claunch_" + fits, "D:\\"));
    EXPECT_TRUE(d.Before("file:/D:\\claunch_x" + fits, "D:\\"));
    EXPECT_EQ(d.Started(), std::vector<std::string>{"D:\\" + fits});
}

TEST(WebCommands, ADriveRootPutsThePrefixAtTheTenthCharacter) {
    Navigation n;
    const std::string root = "D:\\";
    ASSERT_EQ(std::string("file:/D:\\cLaUnCh_").find('c', 6), 9u);
    EXPECT_TRUE(n.Before("file:/D:\\cLaUnCh_SETUP.EXE", root));
    EXPECT_FALSE(n.Before("file:/D:\\xclaunch_setup.exe", root));
    EXPECT_FALSE(n.Before("file:/E:\\claunch_setup.exe", root));
    EXPECT_EQ(n.Started(), std::vector<std::string>{"D:\\setup.exe"});
}

} // namespace
} // namespace kestrova
