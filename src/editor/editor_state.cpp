#include "editor/editor_state.h"

namespace kestrova {

const std::array<RecordBox, 10>& RecordBoxes() {
    static const std::array<RecordBox, 10> boxes = {{{"title", 1},
                                                     {"Edit1", 2},
                                                     {"Edit2", 3},
                                                     {"Edit3", 4},
                                                     {"Edit4", 5},
                                                     {"Edit5", 8},
                                                     {"Edit6", 9},
                                                     {"Edit9", 10},
                                                     {"Edit8", 11},
                                                     {"Edit7", 12}}};
    return boxes;
}

int RecordLineIndex(const LineList& lines, int entry, int offset) {
    return lines.IndexOf(BeginKey(entry)) + offset;
}

} // namespace kestrova
