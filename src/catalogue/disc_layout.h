#pragma once
// The layout of the disc data file in one place: its key lines, the lines of an entry's record,
// the folders its paths are read in, the forms a menu target takes, and the sections of the
// menu with what each one lists. The front end, the linter, the disc editor and the sample-disc
// maker all read it from here.

#include <array>
#include <cstddef>
#include <string_view>

namespace kestrova {

// The catalogue's files, as the disc writes them (relative to its root, "\\" separated): the
// disc data file, the demos' panel pictures and their thumbnails.
inline constexpr const char* kDiscDataFile = "engine\\data\\discdata.kvx";
inline constexpr const char* kPanelPictureListFile = "engine\\images\\slider.dxg";
inline constexpr const char* kThumbnailListFile = "engine\\images\\slider2.dxg";

// Key lines, compared ignoring case.
inline constexpr const char* kSpriteCountKey = "*Spritecount";
inline constexpr const char* kTechSupportKey = "*techsupport";
inline constexpr const char* kSystemRequirementsKey = "*systemrequirements";
inline constexpr const char* kDiscTwoKey = "*disctwo";
inline constexpr const char* kBeginUtilitiesKey = "*BEGINUTILITIES";
inline constexpr const char* kEndUtilitiesKey = "*ENDUTILITIES";
inline constexpr const char* kBeginAddOnsKey = "*BEGINADDONS";
inline constexpr const char* kEndAddOnsKey = "*ENDADDONS";

// Numbered keys: the text followed by the number in decimal, without sign or leading zeros.
inline constexpr const char* kBeginPrefix = "*BEGIN";     // an entry's start line, from 0
inline constexpr const char* kEndPrefix = "*END";         // and its end line
inline constexpr const char* kSupportPrefix = "*SUPPORT"; // support menu records
inline constexpr const char* kTobrikPrefix = "*TOBRIK";   // mascot menu records
inline constexpr const char* kBannerPrefix = "*BANNER";   // banner targets

// "*Spritecount": the start panel and one per demo, so entries 1 .. count - 1 are the demos.
inline constexpr int kMinSpriteCount = 1;
inline constexpr int kMaxSpriteCount = 21;
inline constexpr int kMaxRecordNumber = 20; // support and mascot records 1..20
inline constexpr int kMaxBannerNumber = 8;  // banners 0..8

// The lines of entry n's record, counted from its start line "*BEGIN" n.
inline constexpr int kRecordTitle = 1;
inline constexpr int kRecordDescription = 2; // three lines, +2 to +4
inline constexpr int kRecordDescriptionLines = 3;
inline constexpr int kRecordInstall = 5;          // a program path from the disc root, or "no"
inline constexpr int kRecordUnused = 6;           // read by nobody; kRecordNone by convention
inline constexpr int kRecordSecondProgram = 7;    // a program path in kSecondProgramFolder
inline constexpr int kRecordReadme = 8;           // a file name in kReadmeFolder
inline constexpr int kRecordSupport = 9;          // the support contact
inline constexpr int kRecordRequirements = 10;    // from here up to the line before "*END" n
inline constexpr int kRecordRequirementLines = 3; // as many as the editor reads and writes
inline constexpr int kRecordStandardEnd = 13;     // the end line of a standard 14-line record

// A record's word for none: an install line of exactly this keeps the entry out of the demos
// menu; +6, and +7 when there is no second program, hold it by convention.
inline constexpr const char* kRecordNone = "no";

// Folders the record's paths are read in, and the database zone's program.
inline constexpr const char* kSecondProgramFolder = "Exes/";
inline constexpr const char* kReadmeFolder = "databases/";
inline constexpr const char* kDatabaseProgram = "Databases/Databases.exe";

// The forms of a menu or banner target.
inline constexpr std::string_view kWebAddressPrefix = "htt";    // a web address
inline constexpr std::string_view kProgramTargetPrefix = "*X";  // then a program path
inline constexpr std::string_view kShowGameTarget = "showgame"; // the mascot's adventure

// The line before a chosen menu caption is read as an entry's start line when it is this long:
// its 7th, or 7th and 8th, characters are the entry number.
inline constexpr std::size_t kShortStartLineLength = 7;
inline constexpr std::size_t kLongStartLineLength = 8;

// Where a section's drop-down menu takes its lines from.
enum class MenuSource {
    None,    // the section has no menu
    Demos,   // the titles of the demo entries
    Pairs,   // name and target pairs between two keys
    Records, // numbered records: label, then target
};

// A section of the top of the screen: its key, the top button that is its hot zone, the banner
// it shows in "top_panels", and its menu. A Pairs menu lies between `menuKey` and `menuEndKey`;
// a Records menu reads the records numbered after `menuKey`, and a "showgame" target among them
// starts the game only where `playsGame` is set.
struct Section {
    const char* key;
    const char* button;
    const char* topPanel;
    MenuSource menu = MenuSource::None;
    const char* menuKey = nullptr;
    const char* menuEndKey = nullptr;
    bool playsGame = false;
};

// In the order their banners are asked for.
inline constexpr std::array<Section, 7> kSections = {{
    {"utility", "SpeedButton6", "panel_top_utilities", MenuSource::Pairs, kBeginUtilitiesKey,
     kEndUtilitiesKey},
    {"demos", "SpeedButton1", "panel_top_demos", MenuSource::Demos},
    {"support", "SpeedButton5", "panel_top_support", MenuSource::Records, kSupportPrefix},
    {"exit", "SpeedButtonExit", "panel_top_exit"},
    {"add-ons", "SpeedButton2", "panel_top_add-ons", MenuSource::Pairs, kBeginAddOnsKey,
     kEndAddOnsKey},
    {"database", "SpeedButton7", "panel_top_database"},
    {"tobrik", "SpeedButton8", "panel_top_tobrik", MenuSource::Records, kTobrikPrefix, nullptr,
     true},
}};

// The section of a key, or nullptr (action keys such as "*installnow", "none").
constexpr const Section* SectionForKey(std::string_view key) {
    for (const Section& s : kSections) {
        if (std::string_view(s.key) == key) {
            return &s;
        }
    }
    return nullptr;
}

// The section whose hot zone is a top button, or nullptr.
constexpr const Section* SectionForButton(std::string_view button) {
    for (const Section& s : kSections) {
        if (std::string_view(s.button) == button) {
            return &s;
        }
    }
    return nullptr;
}

// Whether the key opens a drop-down menu.
constexpr bool HasMenu(std::string_view key) {
    const Section* s = SectionForKey(key);
    return s != nullptr && s->menu != MenuSource::None;
}

} // namespace kestrova
