#pragma once
// The disc editor's own state: its working copy of the disc data lines, the title list, the texts
// of its boxes and pictures, and which record line each box edits. The editor window shows this
// state and forwards what the user does to the editor's logic.

#include "catalogue/line_list.h"
#include "pictures/picture.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrova {

// A line of the title list and the entry whose record it shows. Positions and entry numbers part
// once a record other than the last is deleted, so every use goes through the entry number.
struct TitleLine {
    std::string text; // Windows-1252, as the lines
    int entry = 0;
};

// The boxes of the editor in the window's order: the title box, then Edit1 to Edit9 as they
// stand on the record (Edit9, Edit8, Edit7 hold the requirements lines top to bottom).
enum BoxIndex : int {
    kTitleBox = 0,
    kEdit1,
    kEdit2,
    kEdit3,
    kEdit4,
    kEdit5,
    kEdit6,
    kEdit9,
    kEdit8,
    kEdit7,
    kBoxCount
};

struct EditorState {
    // The caption until the first store; from then on the number of the entry stored.
    static constexpr const char* kStartCaption = "Kestrova Disc Editor";

    LineList source;      // the editor's working copy; the front end's lines change only on SAVE
    int currentEntry = 0; // the entry the boxes show and store into; 0 is the feature-demo block
    int lastEntry = 0;    // the highest entry number found by the last scan

    std::vector<TitleLine> features; // the title list
    int selected = -1;               // the selected line of `features`; -1 for none
    std::array<std::string, kBoxCount> boxes{};
    std::string label2 = "Game Title";
    std::string caption = kStartCaption;
    Picture subz;   // the current entry's thumbnail
    Picture imagez; // the current entry's panel picture
    // The colour (0xRRGGBB) the menu leaves out when it draws each picture, none when it draws
    // the picture whole: the previews show the pictures as the menu does.
    std::optional<uint32_t> subzKey;
    std::optional<uint32_t> imagezKey;
    // Whether the boxes hold the record of `currentEntry`. Until a title is chosen after an
    // opening they hold nothing of it, and storing them would blank the record.
    bool recordLoaded = false;
    std::vector<std::string> messages; // every message shown so far
    // The lines as the disc data file holds them: as the front end had them when the editor was
    // first opened, and then as last written. Unknown before the first opening.
    std::optional<std::vector<std::string>> written;
    // Lines the person chose to close without writing.
    std::optional<std::vector<std::string>> declined;
};

// A box of the editor and the record line it edits, as an offset from the entry's "*BEGIN" line.
struct RecordBox {
    const char* control;
    int offset;
};

// The title box and the nine boxes under it, in the window's order (indexed by BoxIndex).
const std::array<RecordBox, kBoxCount>& RecordBoxes();
// The box a control name stands for ("title", "Edit1" ... "Edit9"); -1 for none.
int BoxByName(std::string_view control);

// The index in `lines` of record line `offset` of entry `entry`, looked up afresh each time as
// every record access is; -1 + offset when the entry has no "*BEGIN" line.
int RecordLineIndex(const LineList& lines, int entry, int offset);

// Where an entry's record lies: its begin marker and the line that ends it. `end` is the end
// marker when the record has one; otherwise the next begin or end marker of any record, or the
// end of the list, and `complete` is false.
struct RecordSpan {
    int begin = -1;
    int end = -1;
    bool complete = false;
    bool Exists() const { return begin >= 0; }
    // The line at `offset` lies inside the record, between its markers.
    bool Holds(int offset) const { return begin >= 0 && offset > 0 && begin + offset < end; }
};
RecordSpan FindRecord(const LineList& lines, int entry);

// The text typed into a box as a line of the disc data file: no line breaks or NUL, which would
// split or cut the line when the file is read again, and no longer than a line may be.
std::string AsRecordLine(std::string text);

} // namespace kestrova
