#include "app/cli.h"

#include "base/code_page.h"

#include <charconv>

namespace kestrova {

std::optional<std::string> ParseCommandLine(const std::vector<std::string>& args,
                                            CommandLine& out) {
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
        } else {
            return "unknown option " + a;
        }
    }
    return std::nullopt;
}

std::string UsageText() {
    return "Usage: kestrova [--disc DIR|IMAGE] [--replay SCRIPT] [--no-launch] [--adventure]\n"
           "                [--fullscreen] [--editor] [--editor-station] [--codepage N]\n"
           "                [--verbose] [--version] [--help]\n"
           "\n"
           "The Kestrova CD-ROM front end.\n"
           "\n"
           "  --disc DIR        the disc root (becomes the current directory)\n"
           "  --disc IMAGE      a CD image (.iso, .bin, .cue), read in place without mounting\n"
           "  KESTROVA_WINE     the program that starts Windows programs (default: wine)\n"
           "  --replay SCRIPT   run SCRIPT headless on a virtual clock, then exit\n"
           "  --no-launch       record program starts instead of performing them\n"
           "  --adventure       play Tobrik's text adventure on standard input and output\n"
           "  --fullscreen      start in full screen (Alt+Enter switches back and forth)\n"
           "  --editor          open the disc editor beside the front end\n"
           "  --editor-station  let Alt+Up open the disc editor, as the editor-station marker\n"
           "                    file does (~/.config/kestrova/editorstation.txt)\n"
           "  --codepage N      the code page the disc's texts (disc data file, readmes without\n"
           "                    their own) are written in, as the Windows it was made on read\n"
           "                    them: 1250-1258, 874, 437, 850, 10000 (Mac Roman), 932\n"
           "                    (Japanese), 936 (simplified Chinese), 949 (Korean), 950\n"
           "                    (traditional Chinese); default 1252, or the disc's entry in\n"
           "                    ~/.config/kestrova/kestrova.conf ([discs], see the README)\n"
           "  --web-engine      use the browser engine for the web pane under --replay\n"
           "  --light-web       use the light web pane on the desktop\n"
           "  --first-frame-exit  print the time to the first drawn frame and quit\n"
           "  --empty-window    show an empty window instead (start-up baseline)\n"
           "  --verbose         let the browser engine log as it likes (also KESTROVA_VERBOSE=1)\n"
           "  --version         print the version\n"
           "  --help            print this text\n";
}

std::string VersionText() {
    return "Kestrova CD-ROM front end 0.1.0\n";
}

} // namespace kestrova
