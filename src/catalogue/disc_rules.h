#pragma once
// The menus and targets the front end builds from the disc data lines.

#include "catalogue/line_list.h"

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kestrova {

// Titles of entries 1 .. spriteCount - 1, in that order, leaving out those whose install line
// (+5) is exactly "no". An entry without a record, or whose record is cut off by the end of the
// file, is left out too instead of listing whatever lines the lookup would land on.
std::vector<std::string> DemosMenu(const LineList& lines, int spriteCount);

// The entry a chosen menu line selects: the line before the chosen line's first occurrence (which
// must be above line 0) is read as a start line, and its 7th, or 7th and 8th, characters are the
// number when it is 7 or 8 characters long. nullopt leaves the chosen panel as it is. Characters
// there that are no integer fail with "'%s' is not a valid integer value". The number is not
// checked against the disc's entries: the caller must.
std::optional<int> EntryNumberFromChosenLine(const LineList& lines, std::string_view chosen);
// The same reading of one line taken as a start line.
std::optional<int> EntryNumberFromMarker(std::string_view marker);

// The support ("*SUPPORT") or mascot ("*TOBRIK") records that exist, by increasing n = 1..20:
// label line and the record's own target line ("" when the file ends after the label).
std::vector<std::pair<std::string, std::string>> RecordMenu(const LineList& lines,
                                                            std::string_view prefix);

// The name and target pairs of the utilities or add-ons block; a name on the block's last line
// has the target "".
std::vector<std::pair<std::string, std::string>>
PairMenu(const LineList& lines, std::string_view beginKey, std::string_view endKey);

// What choosing a menu caption acts on: the line after its first occurrence, which must be above
// line 0. nullopt when there is no such line.
std::optional<std::string> TargetOfCaption(const LineList& lines, std::string_view caption);

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

} // namespace kestrova
