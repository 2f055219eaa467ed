#include "editor/editor_state.h"

#include "base/text.h"
#include "catalogue/disc_layout.h"

namespace kestrova {

const std::array<RecordBox, kBoxCount>& RecordBoxes() {
    static const std::array<RecordBox, kBoxCount> boxes = {{{"title", kRecordTitle},
                                                            {"Edit1", kRecordDescription},
                                                            {"Edit2", kRecordDescription + 1},
                                                            {"Edit3", kRecordDescription + 2},
                                                            {"Edit4", kRecordInstall},
                                                            {"Edit5", kRecordReadme},
                                                            {"Edit6", kRecordSupport},
                                                            {"Edit9", kRecordRequirements},
                                                            {"Edit8", kRecordRequirements + 1},
                                                            {"Edit7", kRecordRequirements + 2}}};
    return boxes;
}

int BoxByName(std::string_view control) {
    const auto& boxes = RecordBoxes();
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        if (control == boxes[i].control) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int RecordLineIndex(const LineList& lines, int entry, int offset) {
    return lines.IndexOf(BeginKey(entry)) + offset;
}

namespace {

bool StartsWithIgnoreCase(const std::string& line, std::string_view prefix) {
    return line.size() >= prefix.size() &&
           EqualsIgnoreCase(std::string_view(line).substr(0, prefix.size()), prefix);
}

} // namespace

RecordSpan FindRecord(const LineList& lines, int entry) {
    RecordSpan span;
    span.begin = lines.IndexOf(BeginKey(entry));
    if (span.begin < 0) {
        return span;
    }
    // The end marker is looked for after the begin marker: a stray one earlier in the file must
    // not make the record reach backwards.
    const std::string endKey = EndKey(entry);
    const auto& all = lines.Lines();
    for (int i = span.begin + 1; i < lines.Count(); ++i) {
        const std::string& line = all[static_cast<std::size_t>(i)];
        if (EqualsIgnoreCase(line, endKey)) {
            span.end = i;
            span.complete = true;
            return span;
        }
        if (StartsWithIgnoreCase(line, kBeginPrefix) || StartsWithIgnoreCase(line, kEndPrefix)) {
            span.end = i;
            return span;
        }
    }
    span.end = lines.Count();
    return span;
}

std::string AsRecordLine(std::string text) {
    for (char& c : text) {
        if (c == '\r' || c == '\n' || c == '\0') {
            c = ' ';
        }
    }
    if (text.size() > LineList::kMaxLineLength) {
        text.resize(LineList::kMaxLineLength);
    }
    return text;
}

} // namespace kestrova
