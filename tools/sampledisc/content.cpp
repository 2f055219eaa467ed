#include "content.h"

#include "catalogue/disc_rules.h"
#include "engine/disc_requirements.h"

#include <cctype>
#include <set>
#include <stdexcept>

namespace kestrova::sampledisc {

const DiscIssue& Issue() {
    static const DiscIssue issue;
    return issue;
}

const std::vector<Demo>& Demos() {
    static const std::vector<Demo> demos = {
        {"Helix Corsairs",
         {"Three missions of 3D space piracy.", "Board freighters, dodge the navy",
          "and refit your battered cutter."},
         "Demos/HelixCorsairs/setup.exe",
         "helix_play.exe",
         "helix.rtf",
         "Tel 01632 960412 (weekdays 10am-6pm)",
         {"200 MHz processor, 32MB RAM, 4MB 3D card", "Windows 95 or 98 with 3D drivers",
          "4x CD-ROM drive, 85MB hard disk"},
         "Brightmoor Interactive",
         "Space combat",
         "HELIX",
         {"Our cover game is the biggest demo we have ever squeezed onto the disc: three full",
          "missions from the opening chapter, two ships and the complete refit yard.",
          "Tip: hit the cargo pods before the escorts wake up."},
         Scene::Spaceship,
         0x2B6CE0},
        {"Gravel Kings Rally",
         {"Two stages of forest rallying,", "full damage and co-driver calls.",
          "Keyboard, joypad or wheel."},
         "Demos/GravelKings/setup.exe",
         "gravel_replay.exe",
         "gravelkings.rtf",
         "support@tarnwick.example.com",
         {"166 MHz processor, 32MB RAM", "3D accelerator strongly advised",
          "Windows 95/98, 60MB free space"},
         "Tarnwick Studios",
         "Rally racing",
         "RALLY",
         {"Mud, gravel and a co-driver who never stops talking. Two forest stages, one",
          "car and the full damage model: clip a tree and you will hear about it.",
          "Tip: brake before the crest, not on it."},
         Scene::RallyCar,
         0xD9602A},
        {"Castle Ombrevale",
         {"Explore two floors of a haunted",
          "keep with a party of four:", "turn-based fights, forty spells."},
         "Demos/Ombrevale/install.exe",
         "no",
         "ombrevale.rtf",
         "http://www.example.com/quillfeather/help",
         {"133 MHz processor, 16MB RAM", "Windows 95/98, SVGA 256 colours",
          "2x CD-ROM, 40MB hard disk"},
         "Quillfeather Games",
         "Role-playing",
         "CASTLE",
         {"Candles, cobwebs and a cellar you should not open. The demo lets you build a",
          "party of four and explore the first two floors of the keep.",
          "Tip: the cook knows more than she lets on."},
         Scene::Castle,
         0x7A4FC2},
        {"Subzero Salvage",
         {"Pilot a salvage sub through", "sunken liners. Watch the air gauge",
          "and the things in the dark."},
         "Demos/Subzero/setup.exe",
         "subzero.exe",
         "subzero.rtf",
         "Tel 01632 960877 or help@deepcurrent.example.com",
         {"233 MHz processor, 32MB RAM", "Any 3D card with 8MB", "Windows 95/98, 110MB free space"},
         "Deepcurrent Software",
         "Underwater action",
         "SUBZERO",
         {"Down among the wrecks with a leaking hull and a grabber arm. Two dives, one",
          "liner full of treasure and something very large living in the ballroom.",
          "Tip: flares are cheaper than hull patches."},
         Scene::Submarine,
         0x138A9E},
        {"Ironclad Meadows",
         {"Real-time strategy with walking", "steam tanks. Two skirmish maps",
          "and the first campaign mission."},
         "Demos/Ironclad/setup.exe",
         "ironclad_maps.exe",
         "ironclad.rtf",
         "http://www.example.com/foxglove/support",
         {"166 MHz processor, 32MB RAM", "Windows 95/98, 2MB video card",
          "4x CD-ROM, 70MB, modem or LAN"},
         "Foxglove Digital",
         "Strategy",
         "IRONCLAD",
         {"Steam, cogs and very slow cavalry. Build a boiler works, roll out walking",
          "tanks and hold the meadow against the clockwork army.", "Tip: coal carts win wars."},
         Scene::SteamTank,
         0x6E8F2E},
        {"Pinball Nocturne",
         {"One full table: the haunted", "fairground. Multiball, ramps",
          "and a secret midnight mode."},
         "Demos/Nocturne/setup.exe",
         "no",
         "nocturne.rtf",
         "Tel 01632 960190 (evenings until 9pm)",
         {"90 MHz processor, 16MB RAM", "Windows 95/98, 640x480 high colour",
          "2x CD-ROM, 25MB hard disk"},
         "Marrowby Entertainment",
         "Pinball",
         "PINBALL",
         {"A complete table, free on the disc: the ghost train ramp, the hall of",
          "mirrors and a multiball that starts at midnight on the table clock.",
          "Tip: nudge, but never twice."},
         Scene::Pinball,
         0xC23A8A},
        {"Skyhook Derby",
         {"Air racing between floating", "islands: three courses, two",
          "biplanes, split-screen for two."},
         "Demos/Skyhook/setup.exe",
         "skyhook.exe",
         "skyhook.rtf",
         "skyhook@cobblestone.example.com",
         {"200 MHz processor, 32MB RAM, 3D card", "Windows 95/98, joystick advised",
          "4x CD-ROM, 55MB hard disk"},
         "Cobblestone Arts",
         "Flight racing",
         "SKYHOOK",
         {"Loop the lighthouse, thread the waterfall and mind the sheep. Three courses",
          "above the clouds with two biplanes and a split-screen race for two.",
          "Tip: dive for speed, climb for the hoops."},
         Scene::Biplane,
         0x3FA8E8},
        {"Goblin Market Tycoon",
         {"Run a market stall for goblins.", "Haggle, bribe the guards and",
          "build an empire of odd socks."},
         "Demos/GoblinMarket/setup.exe",
         "goblin_tutor.exe",
         "goblinmarket.rtf",
         "Tel 01632 960555 (24-hour hint line)",
         {"100 MHz processor, 16MB RAM", "Windows 95/98, 256 colours", "2x CD-ROM, 30MB hard disk"},
         "Harrowgate Softworks",
         "Business simulation",
         "GOBLINS",
         {"Buy low, sell lumpy. One market day in the goblin quarter with forty",
          "customers, three rival stalls and a guard captain who likes pies.",
          "Tip: socks sell best in the rain."},
         Scene::Market,
         0xB8922A},
        {"Neon Alley Brawlers",
         {"Side-scrolling street fighting", "for one or two players: two",
          "levels and six secret moves."},
         "Demos/NeonAlley/setup.exe",
         "neon_arcade.exe",
         "neonalley.rtf",
         "http://www.example.com/petrichor/brawlers",
         {"133 MHz processor, 24MB RAM", "Windows 95/98, pad for two players",
          "4x CD-ROM, 45MB hard disk"},
         "Petrichor Labs",
         "Beat 'em up",
         "BRAWL",
         {"Rain, neon and a very bad attitude. Two levels of the arcade brawler with",
          "both heroes playable, alone or with a friend on the same keyboard.",
          "Tip: down, forward, punch. Trust us."},
         Scene::NeonAlley,
         0xE0307A},
        {"Frostpeak Slalom (preview)",
         {"Rolling preview of next month's", "downhill racer. It plays from",
          "the disc pages: nothing to install."},
         "no",
         "no",
         "frostpeak.rtf",
         "Preview only: no support line",
         {"Plays in the disc's web pane", "Any machine that runs this disc",
          "No hard disk space needed"},
         "Alder & Finch",
         "Winter sports (preview)",
         "PREVIEW",
         {"A first look at next month's cover game: twelve mountains, night runs and",
          "an avalanche that chases you down the last gate.",
          "The playable demo follows in issue 28."},
         Scene::Mountain,
         0x8FB8E0},
    };
    return demos;
}

int SpriteCount() {
    return static_cast<int>(Demos().size()) + 1;
}

std::string MenuHeadingWords(const std::string& caption) {
    const std::size_t first = caption.find_first_not_of(" \x97");
    if (first == std::string::npos) {
        return {};
    }
    const std::size_t last = caption.find_last_not_of(" \x97");
    return caption.substr(first, last - first + 1);
}

// Headings stand between em dashes (0x97 in Windows-1252) with no target, so choosing one starts
// nothing; a caption of blanks before the second heading leaves a line free above it. The menu
// font is small and the boxes are as wide as their buttons, so every caption is short (the
// sample-disc maker measures them).
const std::vector<MenuTarget>& Utilities() {
    static const std::vector<MenuTarget> items = {
        {"\x97 UTILITIES \x97", ""},
        {"Squeezebox Archiver 2.1", "Utils/Squeezebox/setup.exe"},
        {"Pixelpost Viewer 4", "Utils/Pixelpost/setup.exe"},
        {"Display driver pack", "Utils/Drivers/drvpack.exe"},
        {"Starfield screensaver", "Utils/Screensaver/kstars.exe"},
        {" ", ""},
        {"\x97 PATCHES \x97", ""},
        {"Ombrevale patch 1.02", "Utils/Patches/ombrevale102.exe"},
        {"Ironclad network fix", "Utils/Patches/ironclad_netfix.exe"},
    };
    return items;
}

const std::vector<MenuTarget>& AddOns() {
    static const std::vector<MenuTarget> items = {
        {"\x97 EXTRA LEVELS \x97", ""},
        {"Helix: bonus missions", "Addons/helix_missions.exe"},
        {"Gravel Kings: night pack", "Addons/gravel_night.exe"},
        {"Ironclad: map editor", "Addons/ironclad_editor.exe"},
        {"  ", ""},
        {"\x97 BY OUR READERS \x97", ""},
        {"Ombrevale: dungeons", "Addons/ombrevale_dungeons.exe"},
        {"Nocturne: score ghosts", "Addons/nocturne_ghosts.exe"},
    };
    return items;
}

const std::vector<MenuTarget>& SupportLinks() {
    static const std::vector<MenuTarget> items = {
        {"Kestrova on the web", "http://www.example.com/kestrova/"},
        {"Help with this disc", "pages/support.html"},
        {"Run the disc doctor", "*XUtils/DiscDoctor/discdoc.exe"},
        {"Contact the CD editor", "pages/contact.html"},
    };
    return items;
}

const std::vector<MenuTarget>& TobrikLinks() {
    static const std::vector<MenuTarget> items = {
        {"Play Tobrik's adventure", std::string(kShowGameTarget)},
        {"Tobrik's page", "pages/tobrik.html"},
        {"Tobrik desktop pack", "*XExes/tobrik_desktop.exe"},
    };
    return items;
}

const std::vector<BannerTarget>& Banners() {
    static const std::vector<BannerTarget> items = {
        {1, "http://www.example.com/kestrova/subscribe.html", "SUBSCRIBE TO KESTROVA",
         "13 issues for the price of 10 - click here!"},
        {2, "Demos/GravelKings/setup.exe", "GRAVEL KINGS RALLY", "Install the demo now"},
        {3, "http://www.example.com/brightmoor/", "HELIX CORSAIRS", "In the shops this summer"},
        {5, "Exes/tobrik_desktop.exe", "TOBRIK DESKTOP PACK", "Icons, cursors and a clock"},
    };
    return items;
}

namespace {

std::string Lower(std::string s) {
    for (char& c : s) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return s;
}

void AddPairs(std::vector<std::string>& lines, const std::vector<MenuTarget>& items) {
    for (const MenuTarget& item : items) {
        lines.push_back(item.caption);
        lines.push_back(item.target);
    }
}

bool IsMenuCaptionOf(const std::string& line, const std::vector<MenuTarget>& items) {
    for (const MenuTarget& item : items) {
        if (item.caption == line) {
            return true;
        }
    }
    return false;
}

[[noreturn]] void Slip(const std::string& what, const std::string& line) {
    throw std::logic_error("disc data: " + what + ": " + line);
}

// An author's slip here would make the front end act on the wrong line or overrun a limit:
// refuse to write such a file.
void Validate(const std::vector<std::string>& lines) {
    auto repeatsEarlier = [&](size_t at) {
        for (size_t i = 0; i < at; ++i) {
            if (Lower(lines[i]) == Lower(lines[at])) {
                return true;
            }
        }
        return false;
    };
    for (size_t i = 1; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        const std::string& before = lines[i - 1];
        const bool key =
            !line.empty() && line[0] == '*' && line.rfind(kProgramTargetPrefix, 0) != 0;
        const std::optional<int> entry = EntryNumberFromStartLine(before);
        const bool title = before.rfind(kBeginPrefix, 0) == 0 && entry && *entry > 0;
        const bool caption =
            IsMenuCaptionOf(line, Utilities()) || IsMenuCaptionOf(line, AddOns()) ||
            IsMenuCaptionOf(line, SupportLinks()) || IsMenuCaptionOf(line, TobrikLinks());
        if ((key || title || caption) && repeatsEarlier(i)) {
            Slip("repeats an earlier line", line);
        }
        if ((title || caption) && line.size() > kMenuCaptionWidth) {
            Slip("menu line longer than 49 characters", line);
        }
        if (line.size() > LineList::kMaxLineLength) {
            Slip("line too long", line);
        }
    }
    for (const auto* block : {&Utilities(), &AddOns()}) {
        if (block->size() > kMenuChoosableLines) {
            Slip("menu longer than 11 lines", block->front().caption);
        }
        for (const MenuTarget& item : *block) {
            // A 7- or 8-character target before a name would be read as an entry marker.
            if (HasStartLineLength(item.target)) {
                Slip("target of 7 or 8 characters", item.target);
            }
            if (item.target.size() > kMaxShellPath) {
                Slip("program path longer than 79 characters", item.target);
            }
        }
    }
    for (const Demo& d : Demos()) {
        if (d.install.size() > kMaxShellPath ||
            (kSecondProgramFolder + d.secondExe).size() > kMaxShellPath) {
            Slip("program path longer than 79 characters", d.title);
        }
    }
}

} // namespace

std::vector<std::string> DiscDataLines() {
    const auto& issue = Issue();
    std::vector<std::string> lines;
    // Line 0 stays blank so that a missing key reads as blank.
    lines.push_back("");
    lines.push_back("Kestrova cover disc data - issue " + std::to_string(issue.number) + ", " +
                    issue.month);
    lines.push_back("Keep titles, menu names and labels unique. Lines between blocks are notes.");
    lines.push_back("");
    lines.push_back(kSpriteCountKey);
    lines.push_back(std::to_string(SpriteCount()));
    lines.push_back(kTechSupportKey);
    lines.push_back("Support:");
    lines.push_back(kSystemRequirementsKey);
    lines.push_back("You will need:");
    lines.push_back("");
    lines.push_back("Feature demo text for the start panel");
    lines.push_back(BeginKey(0));
    lines.push_back("This month: three missions of Helix Corsairs, our exclusive cover demo.");
    lines.push_back("Nine more demos, fresh patches and add-ons, and Tobrik's own adventure.");
    lines.push_back("Pick a game from the strip below, or open a menu at the top.");
    lines.push_back(EndKey(0));
    const auto& demos = Demos();
    for (size_t i = 0; i < demos.size(); ++i) {
        const Demo& d = demos[i];
        const int n = static_cast<int>(i) + 1;
        std::vector<std::string> record(kRecordStandardEnd + 1);
        record[0] = BeginKey(n);
        record[kRecordTitle] = d.title;
        for (int k = 0; k < kRecordDescriptionLines; ++k) {
            record[kRecordDescription + k] = d.description[k];
        }
        record[kRecordInstall] = d.install;
        record[kRecordUnused] = kRecordNone;
        record[kRecordSecondProgram] = d.secondExe;
        record[kRecordReadme] = d.readme;
        record[kRecordSupport] = d.support;
        for (int k = 0; k < kRecordRequirementLines; ++k) {
            record[kRecordRequirements + k] = d.requirements[k];
        }
        record[kRecordStandardEnd] = EndKey(n);
        lines.push_back("");
        lines.insert(lines.end(), record.begin(), record.end());
    }
    lines.push_back("");
    lines.push_back(kBeginUtilitiesKey);
    AddPairs(lines, Utilities());
    lines.push_back(kEndUtilitiesKey);
    lines.push_back("");
    lines.push_back(kBeginAddOnsKey);
    AddPairs(lines, AddOns());
    lines.push_back(kEndAddOnsKey);
    lines.push_back("");
    lines.push_back("Support menu");
    for (size_t i = 0; i < SupportLinks().size(); ++i) {
        lines.push_back(kSupportPrefix + std::to_string(i + 1));
        lines.push_back(SupportLinks()[i].caption);
        lines.push_back(SupportLinks()[i].target);
    }
    lines.push_back("");
    lines.push_back("Tobrik menu");
    for (size_t i = 0; i < TobrikLinks().size(); ++i) {
        lines.push_back(kTobrikPrefix + std::to_string(i + 1));
        lines.push_back(TobrikLinks()[i].caption);
        lines.push_back(TobrikLinks()[i].target);
    }
    lines.push_back("");
    lines.push_back("Banner targets");
    for (const BannerTarget& b : Banners()) {
        lines.push_back(kBannerPrefix + std::to_string(b.number));
        lines.push_back(b.target);
    }
    lines.push_back("");
    lines.push_back("End of disc data");

    Validate(lines);
    return lines;
}

std::string DiscDataText() {
    std::string text;
    for (const std::string& line : DiscDataLines()) {
        text += line;
        text += "\r\n";
    }
    return text;
}

} // namespace kestrova::sampledisc
