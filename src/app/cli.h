#pragma once
// The command line of the front end.

#include <optional>
#include <string>
#include <vector>

namespace kestrova {

struct CommandLine {
    std::string disc;            // --disc DIR, or the one PATH given alone: the disc
    std::string replay;          // --replay SCRIPT
    bool noLaunch = false;       // --no-launch
    bool version = false;        // --version
    bool help = false;           // --help
    bool adventure = false;      // --adventure: the text adventure on standard input and output
    bool webEngine = false;      // --web-engine: the real browser engine even under replay
    bool lightWeb = false;       // --light-web: the light pane even on the desktop
    bool firstFrameExit = false; // --first-frame-exit: report start-up time, then quit
    bool emptyWindow = false;    // --empty-window: the baseline for the start-up measurement
    bool verbose = false;        // --verbose: the browser engine's own logging stays on
    bool editor = false;         // --editor: the disc editor opens beside the front end
    bool fullScreen = false;     // --fullscreen: start in full screen
    bool editorStation = false;  // --editor-station: Alt+Up opens the editor without the marker
    bool noController = false;   // --no-controller: game controllers are not read
    int scale = 0;               // --scale N: the window at N times with whole pixels; 0: not given
    std::optional<int> codePage; // --codepage N: the code page the disc's texts are written in
    bool listDiscs = false;      // --list-discs [FOLDER...]: print the discs found, then quit
    std::vector<std::string> listFolders; // the folders --list-discs looks in
    std::string probeDisc; // --probe-disc PATH (the shelf's child): start PATH offscreen
    std::string probeOut;  // --probe-out FOLDER: where the child writes what it found
};

// The largest whole-pixel scale of the window.
constexpr int kLargestWindowScale = 8;

// Parses argv (without the program name). Returns an error text for an unknown option or a
// missing value.
std::optional<std::string> ParseCommandLine(const std::vector<std::string>& args, CommandLine& out);

std::string UsageText();
std::string VersionText();

} // namespace kestrova
