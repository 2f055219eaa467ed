// Who may ask the web pane for a file of the disc: the front end and the disc's own pages, on a
// folder disc and on a CD image (through the disc scheme under this run's host); everyone else
// is refused, and the disc scheme under any other host, or on a folder disc, belongs to no disc.

#include "engine/web_origin.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace kestrova {
namespace {

const std::string kFolderRoot = "/media/kestrova/";
const std::string kImageRoot = "/home/reader/issue27.iso/";
const std::string kToken = "d41d8cd98f00b204e9800998ecf8427e";
const DiscOrigin kFolder{kFolderRoot, ""};
const DiscOrigin kImage{kImageRoot, kToken};

std::string File(const std::string& path) {
    return "file:/" + path;
}
std::string Scheme(const std::string& host, const std::string& path) {
    return "kestrova-disc://" + host + "/" + path;
}

struct Row {
    const char* what;
    const DiscOrigin* disc;
    std::optional<std::string> asker; // none: the front end
    std::string target;
    bool refused;
    std::string address; // what the front end reads, when not refused
};

TEST(WebOrigin, OnlyTheFrontEndAndPagesOfTheDiscAskForFilesOfTheDisc) {
    const std::string folderCommand = File(kFolderRoot + "claunch_exes/helix_play.exe");
    const std::string folderPage = File(kFolderRoot + "pages/support.html");
    const std::string folderAsker = File(kFolderRoot + "pages/demos.html");
    const std::string imageCommand = File(kImageRoot + "claunch_exes/helix_play.exe");
    const std::string imagePage = File(kImageRoot + "pages/support.html");
    const std::string imageAsker = Scheme(kToken, "pages/demos.html");
    const std::string web = "http://www.example.com/pages/claunch_exes/x.exe";
    const std::string webAsker = "http://www.example.com/pages/demos.html";
    const std::string offDisc = File("/tmp/evil.html");
    const std::vector<Row> rows = {
        // A folder disc.
        {"front end, command", &kFolder, std::nullopt, folderCommand, false, folderCommand},
        {"front end, page", &kFolder, std::nullopt, folderPage, false, folderPage},
        {"front end, web", &kFolder, std::nullopt, web, false, web},
        {"disc page, command", &kFolder, folderAsker, folderCommand, false, folderCommand},
        {"disc page, page", &kFolder, folderAsker, folderPage, false, folderPage},
        {"disc page, web", &kFolder, folderAsker, web, false, web},
        {"web page, command", &kFolder, webAsker, folderCommand, true, ""},
        {"web page, page", &kFolder, webAsker, folderPage, true, ""},
        {"web page, web", &kFolder, webAsker, web, false, web},
        {"file off the disc, command", &kFolder, offDisc, folderCommand, true, ""},
        {"file off the disc, page", &kFolder, offDisc, folderPage, true, ""},
        {"file off the disc, web", &kFolder, offDisc, web, false, web},
        {"data page, command", &kFolder, "data:text/html,<a href=x>x</a>", folderCommand, true, ""},
        {"blank page, command", &kFolder, "about:blank", folderCommand, true, ""},
        {"blank page, web", &kFolder, "about:blank", web, false, web},
        {"no page at all, command", &kFolder, "", folderCommand, true, ""},
        {"a file that climbs out of the root", &kFolder, File(kFolderRoot + "pages/../../x.html"),
         folderCommand, true, ""},
        {"a folder whose name starts like the root", &kFolder, File("/media/kestrova2/x.html"),
         folderCommand, true, ""},
        {"the root without its mark", &kFolder, kFolderRoot + "pages/demos.html", folderCommand,
         true, ""},
        // A folder disc has no disc scheme: refused whoever asks, the front end too.
        {"front end, scheme", &kFolder, std::nullopt, Scheme("disc", "command_exit"), true, ""},
        {"disc page, scheme", &kFolder, folderAsker,
         Scheme("anything", "claunch_exes/helix_play.exe"), true, ""},
        {"web page, scheme", &kFolder, webAsker, "KESTROVA-DISC://x/Command_Exit", true, ""},
        {"a page of the scheme asks", &kFolder, Scheme("x", "pages/demos.html"), folderCommand,
         true, ""},
        // A CD image: its pages come through the disc scheme under this run's host.
        {"front end, scheme command", &kImage, std::nullopt,
         Scheme(kToken, "claunch_exes/helix_play.exe"), false, imageCommand},
        {"image page, scheme command", &kImage, imageAsker,
         Scheme(kToken, "claunch_exes/helix_play.exe"), false, imageCommand},
        {"image page, scheme page", &kImage, imageAsker, Scheme(kToken, "pages/support.html"),
         false, imagePage},
        {"image page, the root as a file", &kImage, imageAsker, imageCommand, false, imageCommand},
        {"image page, web", &kImage, imageAsker, web, false, web},
        {"host in capitals", &kImage, imageAsker,
         "KESTROVA-DISC://D41D8CD98F00B204E9800998ECF8427E"
         "//claunch_exes/helix_play.exe",
         false, imageCommand},
        {"web page, scheme command", &kImage, webAsker,
         Scheme(kToken, "claunch_exes/helix_play.exe"), true, ""},
        {"file off the disc, scheme page", &kImage, offDisc, Scheme(kToken, "pages/support.html"),
         true, ""},
        {"blank page, scheme command", &kImage, "about:blank", Scheme(kToken, "command_exit"), true,
         ""},
        // Under any other host the scheme belongs to no disc: refused whoever asks.
        {"front end, another host", &kImage, std::nullopt, Scheme("disc", "command_exit"), true,
         ""},
        {"image page, another host", &kImage, imageAsker,
         Scheme("anything", "claunch_exes/helix_play.exe"), true, ""},
        {"the host and more", &kImage, imageAsker, Scheme(kToken + "x", "command_exit"), true, ""},
        {"the host with a port", &kImage, imageAsker, Scheme(kToken + ":80", "command_exit"), true,
         ""},
        {"the host with a user", &kImage, imageAsker, Scheme("me@" + kToken, "command_exit"), true,
         ""},
        {"no host", &kImage, imageAsker, "kestrova-disc:" + kToken + "/command_exit", true, ""},
        {"empty host", &kImage, std::nullopt, "kestrova-disc:///command_exit", true, ""},
        {"a page under another host asks", &kImage, Scheme("disc", "pages/demos.html"),
         Scheme(kToken, "command_exit"), true, ""},
        {"a page of the scheme that climbs out", &kImage, Scheme(kToken, "pages/../../x.html"),
         Scheme(kToken, "command_exit"), true, ""},
    };
    for (const Row& row : rows) {
        const std::optional<std::string_view> asker =
            row.asker ? std::optional<std::string_view>(*row.asker) : std::nullopt;
        const NavigationVerdict verdict = JudgeNavigation(row.target, asker, *row.disc);
        EXPECT_EQ(verdict.refused, row.refused) << row.what;
        if (row.refused) {
            EXPECT_FALSE(verdict.reason.empty()) << row.what;
        } else {
            EXPECT_EQ(verdict.address, row.address) << row.what;
        }
    }
}

TEST(WebOrigin, APageOfTheDiscIsAFileUnderTheRootOrOfThisRunsScheme) {
    EXPECT_TRUE(IsDiscPage(File(kFolderRoot + "engine\\loading.html"), kFolder));
    EXPECT_TRUE(IsDiscPage(File(kFolderRoot + "pages/demos.html"), kFolder));
    EXPECT_TRUE(IsDiscPage(File(kFolderRoot + "pages/..x.html"), kFolder)) << "a name, no step";
    EXPECT_FALSE(IsDiscPage(File(kFolderRoot + "pages\\..\\..\\x.html"), kFolder));
    EXPECT_FALSE(IsDiscPage(File(kFolderRoot + "pages/. ./x.html"), kFolder));
    EXPECT_FALSE(IsDiscPage(File(kFolderRoot + "./x.html"), kFolder));
    EXPECT_TRUE(IsDiscPage(Scheme(kToken, "pages/demos.html"), kImage));
    EXPECT_FALSE(IsDiscPage(Scheme(kToken, "pages/demos.html"), kFolder));
    EXPECT_FALSE(IsDiscPage(Scheme("disc", "pages/demos.html"), kImage));
    EXPECT_FALSE(IsDiscPage("", kFolder));
    EXPECT_FALSE(IsDiscPage("kestrova-disc:", kImage));
    EXPECT_FALSE(IsDiscPage(File(kFolderRoot + "x.html"), DiscOrigin{"", ""})) << "no root";
}

} // namespace
} // namespace kestrova
