#pragma once
// The words of the sample disc: its demos, the disc data file, the HTML pages, the readmes and
// the stand-in programs. All invented for this disc.

#include <string>
#include <vector>

namespace kestrova::sampledisc {

enum class Scene {
    Spaceship,
    RallyCar,
    Castle,
    Submarine,
    SteamTank,
    Pinball,
    Biplane,
    Market,
    NeonAlley,
    Mountain,
};

struct Demo {
    std::string title;
    std::string description[3];
    std::string install;   // +5, relative to the disc root, or "no"
    std::string secondExe; // +7, relative to "Exes/", or "no"
    std::string readme;    // +8, relative to "databases/"
    std::string support;   // +9
    std::string requirements[3];
    std::string maker;
    std::string genre;
    std::string tag; // short word painted on the thumbnail
    std::string blurb[3];
    Scene scene;
    unsigned themeRgb; // 0xRRGGBB, the colour of the demo's panel art
};

struct MenuTarget {
    std::string caption;
    std::string target; // empty for a heading
};

struct DiscIssue {
    std::string magazine = "Kestrova";
    int number = 27;
    std::string month = "June 1999";
};

const DiscIssue& Issue();
const std::vector<Demo>& Demos();
int SpriteCount(); // demos + 1

// The words of a menu heading without the dashes around it; empty for a line of blanks.
std::string MenuHeadingWords(const std::string& caption);

const std::vector<MenuTarget>& Utilities();
const std::vector<MenuTarget>& AddOns();
const std::vector<MenuTarget>& SupportLinks(); // "*SUPPORT" 1..n
const std::vector<MenuTarget>& TobrikLinks();  // "*TOBRIK" 1..n

struct BannerTarget {
    int number;
    std::string target;
    std::string headline; // painted on the banner
    std::string strap;
};
const std::vector<BannerTarget>& Banners();

// The lines of the disc data file (without line ends).
std::vector<std::string> DiscDataLines();
// The file itself: CR LF line ends.
std::string DiscDataText();

struct TextFile {
    std::string path; // relative to the disc root, "/" separated
    std::string text;
    bool executable = false;
};
std::vector<TextFile> Pages();    // engine/loading.html and pages/*.html
std::vector<TextFile> Readmes();  // databases/*.rtf
std::vector<TextFile> Programs(); // every program the disc names, as harmless shell scripts

} // namespace kestrova::sampledisc
