#include "app/cli.h"

#include "base/code_page.h"

#include <charconv>
#include <cstddef>
#include <string>

namespace kestrova {

std::optional<std::string> ParseCommandLine(const std::vector<std::string>& args,
                                            CommandLine& out) {
    std::vector<std::string> paths; // given without an option: a disc, or folders to list
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](std::string& into) -> std::optional<std::string> {
            if (i + 1 >= args.size()) {
                return a + " needs a value";
            }
            into = args[++i];
            return std::nullopt;
        };
        if (a == "--disc") {
            if (auto e = value(out.disc)) {
                return e;
            }
        } else if (a == "--replay") {
            if (auto e = value(out.replay)) {
                return e;
            }
        } else if (a == "--no-launch") {
            out.noLaunch = true;
        } else if (a == "--version") {
            out.version = true;
        } else if (a == "--help" || a == "-h") {
            out.help = true;
        } else if (a == "--adventure") {
            out.adventure = true;
        } else if (a == "--web-engine") {
            out.webEngine = true;
        } else if (a == "--light-web") {
            out.lightWeb = true;
        } else if (a == "--first-frame-exit") {
            out.firstFrameExit = true;
        } else if (a == "--empty-window") {
            out.emptyWindow = true;
        } else if (a == "--verbose") {
            out.verbose = true;
        } else if (a == "--editor") {
            out.editor = true;
        } else if (a == "--fullscreen") {
            out.fullScreen = true;
        } else if (a == "--editor-station") {
            out.editorStation = true;
        } else if (a == "--no-controller") {
            out.noController = true;
        } else if (a == "--scale") {
            std::string n;
            if (auto e = value(n)) {
                return e;
            }
            // One or two digits, no sign, no blanks: "2", not "+2" or "2x".
            const bool digits = !n.empty() && n.size() <= 2 &&
                                n.find_first_not_of("0123456789") == std::string::npos;
            const int scale = digits ? std::stoi(n) : 0;
            if (scale < 1 || scale > kLargestWindowScale) {
                return "--scale takes a whole number from 1 to " +
                       std::to_string(kLargestWindowScale) + ", not " + n;
            }
            out.scale = scale;
        } else if (a == "--codepage") {
            std::string number;
            if (auto e = value(number)) {
                return e;
            }
            int n = 0;
            const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), n);
            if (ec != std::errc() || end != number.data() + number.size() ||
                !CodePage::FromNumber(n)) {
                return "--codepage " + number + " is not a code page this program reads";
            }
            out.codePage = n;
        } else if (a == "--list-discs") {
            out.listDiscs = true;
        } else if (a == "--probe-disc") {
            if (auto e = value(out.probeDisc)) {
                return e;
            }
        } else if (a == "--probe-out") {
            if (auto e = value(out.probeOut)) {
                return e;
            }
        } else if (a == "--") {
            paths.insert(paths.end(), args.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                         args.end());
            break;
        } else if (a.size() > 1 && a.front() == '-') {
            return "unknown option " + a;
        } else {
            paths.push_back(a);
        }
    }
    if (out.probeDisc.empty() != out.probeOut.empty()) {
        return std::string("--probe-disc and --probe-out go together");
    }
    if (out.listDiscs) {
        if (!out.disc.empty()) {
            return std::string("--list-discs takes folders, not --disc");
        }
        out.listFolders = std::move(paths);
        return std::nullopt;
    }
    if (paths.size() > 1) {
        return "one disc at a time: " + paths[0] + " and " + paths[1] + " were both given";
    }
    if (paths.size() == 1) {
        if (!out.disc.empty()) {
            return "the disc is named twice: " + paths[0] + " and --disc " + out.disc;
        }
        out.disc = paths[0];
    }
    return std::nullopt;
}

std::string UsageText() {
    return "Usage: kestrova [[--disc] DIR|IMAGE] [--replay SCRIPT] [--no-launch] [--adventure]\n"
           "                [--fullscreen] [--scale N] [--editor] [--editor-station]\n"
           "                [--codepage N] [--no-controller] [--verbose] [--version] [--help]\n"
           "       kestrova --list-discs [FOLDER...]\n"
           "\n"
           "The Kestrova CD-ROM front end.\n"
           "\n"
           "  --disc DIR        the disc root (becomes the current directory); DIR alone\n"
           "                    says the same\n"
           "  --disc IMAGE      a CD image (.iso, .bin, .cue), read in place without mounting\n"
           "  --list-discs      print every disc found in the FOLDERs (default: ~/Kestrova and\n"
           "                    $XDG_DATA_HOME/kestrova/discs), a line each: its path, its\n"
           "                    name, and \"ok\" or why it would not start (tab-separated)\n"
           "  --replay SCRIPT   run SCRIPT headless on a virtual clock, then exit\n"
           "  --no-launch       record program starts instead of performing them, and print\n"
           "                    each on standard output\n"
           "  --adventure       play Tobrik's text adventure on standard input and output\n"
           "  --fullscreen      start in full screen (Alt+Enter switches back and forth)\n"
           "  --scale N         show the window N times as large (1 to 8), each pixel a\n"
           "                    whole block of N x N screen pixels; without it the screen's\n"
           "                    density decides, as a whole number (1.5 gives 1, 1.75 gives 2)\n"
           "  --editor          open the disc editor beside the front end\n"
           "  --editor-station  let Alt+Up open the disc editor, as the editor-station marker\n"
           "                    file does (~/.config/kestrova/editorstation.txt)\n"
           "  --codepage N      the code page the disc's texts (disc data file, readmes without\n"
           "                    their own) are written in, as the Windows it was made on read\n"
           "                    them: 1250-1258, 874, 437, 850, 10000 (Mac Roman), 932\n"
           "                    (Japanese), 936 (simplified Chinese), 949 (Korean), 950\n"
           "                    (traditional Chinese); default 1252, or the disc's entry in\n"
           "                    ~/.config/kestrova/kestrova.conf ([discs], see the README)\n"
           "  --no-controller   leave game controllers alone (the d-pad or left stick, A, B,\n"
           "                    the shoulders and Back otherwise work the menu like the keys)\n"
           "  --web-engine      use the browser engine for the web pane under --replay\n"
           "  --light-web       use the light web pane on the desktop\n"
           "  --first-frame-exit  print the time to the first drawn frame and quit\n"
           "  --empty-window    show an empty window instead (start-up baseline)\n"
           "  --verbose         let the browser engine log as it likes (also KESTROVA_VERBOSE=1)\n"
           "  --version         print the version\n"
           "  --help            print this text\n"
           "\n"
           "Settings ($XDG_CONFIG_HOME/kestrova/kestrova.conf, else "
           "~/.config/kestrova/kestrova.conf;\n"
           "not read under --replay):\n"
           "  [window] scale=N          as --scale N (the option wins)\n"
           "  [fullscreen] smooth=true  full screen scaled smoothly to fit, instead of by whole\n"
           "                            pixels\n"
           "  [controller] enabled=false  as --no-controller\n"
           "  [wine] command=PROGRAM    the program that starts Windows programs (default: wine\n"
           "                            on the path; KESTROVA_WINE names it too, and wins)\n"
           "  [wine] prefix=FOLDER      WINEPREFIX for the programs it starts (an absolute path\n"
           "                            or one under ~/; default: Wine's own)\n";
}

std::string VersionText() {
    return "Kestrova CD-ROM front end 0.1.0\n";
}

} // namespace kestrova
