#pragma once
// The menu model: the menus the front end builds from the disc data lines, and what choosing a
// line of one does. The front end acts on these answers and the linter judges them, so the two
// cannot part.

#include "catalogue/disc_layout.h"
#include "catalogue/line_list.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrova {

// The lines of a section's menu, read afresh from the disc data; nothing for a key without one.
//  - demos: for n = 1 .. spriteCount - 1 (at most kMaxSpriteCount - 1), entry n's title unless
//    its install line is exactly "no". As every lookup does, a missing start line counts from
//    line -1 and a line outside the file reads as blank: a missing record lists line 0.
//  - pair menus: every other line of the block, the names.
//  - record menus: for n = 1..20, the label after the key numbered n when it stands above
//    line 0 ("" when the file ends there).
std::vector<std::string> MenuCaptions(const LineList& lines, std::string_view sectionKey,
                                      int spriteCount);

enum class ChoiceAction { Nothing, StartProgram, OpenPage, StartGame };

// What choosing a menu line does.
struct MenuChoice {
    // The caption's first line in the file; the choice acts only when it is above line 0.
    int captionLine = -1;
    // The line after the caption as written; "" past the end of the file or when the caption is
    // not found.
    std::string target;
    // Every section but the record menus takes the panel step: the shown panel becomes the one
    // chosen before, and `panel`, when set, the one to show next. The line before the caption is
    // read as a start line for it (see EntryNumberFromStartLine); a number the disc has no panel
    // for selects nothing.
    bool panelStep = false;
    std::optional<int> panel;
    ChoiceAction action = ChoiceAction::Nothing;
    // StartProgram: the file handed to the shell ("" for a heading); OpenPage: the page, relative
    // to the disc root, or the web address.
    std::string opens;
};

// Choosing `caption` from the menu of `sectionKey` on a disc of `spriteCount` panels:
//  - record menus ("support", "tobrik"): the target after the caption. "showgame" starts the
//    game from the mascot's menu and does nothing from the support menu; "*X" and a program path
//    (more than four characters in all) starts the program; a web address ("htt...") or any
//    other text opens that page; a blank target does nothing.
//  - pair menus ("utility", "add-ons"): the panel step, then the target is started.
//  - any other key ("demos", an action key): the panel step alone.
MenuChoice ChooseCaption(const LineList& lines, std::string_view sectionKey,
                         std::string_view caption, int spriteCount);
// The same for a caption whose first line is `captionLine`, found by the caller.
MenuChoice ChooseCaptionAt(const LineList& lines, std::string_view sectionKey, int captionLine,
                           int spriteCount);

// The entry a line names when it is read as a start line: 7 characters long, its 7th character;
// 8 long, its 7th and 8th ("*BEGIN5" is 5, "*BEGIN12" 12). nullopt for any other length, and
// when those characters are not all digits: a target such as "run.exe" before a name keeps the
// panel as it is.
std::optional<int> EntryNumberFromStartLine(std::string_view line);
// Whether a line has a start line's length, so that choosing the name after it reads it.
bool HasStartLineLength(std::string_view line);

enum class TargetKind { Web, Program, ShowGame, Page };

// Support and mascot targets: "showgame"; "*X" and a program path (more than four characters in
// all); a web address ("htt..."); anything else is a page on the disc.
TargetKind ClassifyTarget(std::string_view target);

// Banner and launch targets open in the web pane when they begin "htt".
bool IsWebAddress(std::string_view target);

// The program path of a "*X" target.
std::string_view ProgramOfTarget(std::string_view target);

// "*SUPPORT" n and friends: n for a line that is `prefix` (ignoring case) followed by a decimal
// number written without sign or leading zeros; nullopt otherwise.
std::optional<int> NumberedKey(std::string_view line, std::string_view prefix);

// Lines of an entry's record that never fail: "" where the line lands outside the file, and a
// missing start line counts from line -1, as every lookup does.
//
// The title of an entry (its line +1).
std::string EntryTitle(const LineList& lines, int entry);
// The install program of an entry (its line +5) as handed to the shell.
std::string EntryInstallProgram(const LineList& lines, int entry);
// "Exes/" and the entry's second program (+7); nullopt when its start line is not above line 0.
std::optional<std::string> EntrySecondProgram(const LineList& lines, int entry);
// "databases/" and the entry's readme name (+8).
std::string EntryReadmePath(const LineList& lines, int entry);

} // namespace kestrova
