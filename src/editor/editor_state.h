#pragma once
// The disc editor's own state: its working copy of the disc data lines, the entry its boxes show,
// and which record line each box edits. The editor window forwards to the logic here.

#include "catalogue/line_list.h"

#include <array>

namespace kestrova {

struct EditorState {
    LineList source;      // the editor's working copy; the front end's lines change only on SAVE
    int currentEntry = 0; // the entry the boxes show and store into; 0 is the feature-demo block
    int lastEntry = 0;    // the highest entry number found by the last scan
};

// A box of the editor and the record line it edits, as an offset from the entry's "*BEGIN" line.
struct RecordBox {
    const char* control;
    int offset;
};

// The title box and the nine boxes under it, in the window's order.
const std::array<RecordBox, 10>& RecordBoxes();

// The index in `lines` of record line `offset` of entry `entry`, looked up afresh each time as
// every record access is; -1 + offset when the entry has no "*BEGIN" line.
int RecordLineIndex(const LineList& lines, int entry, int offset);

} // namespace kestrova
