// The boxes and the record they show: loading a record into them, storing them back, and the
// title list line that follows the title box.

#include "editor/disc_editor.h"

#include <string>

namespace kestrova {

namespace {

constexpr const char* kFeatureDemoTitle = "--FEATURE DEMO--";
constexpr const char* kFeatureDemoLinePrefix = " - FEATURE DEMO - ";
// The feature-demo block's text: three lines from the one after "*BEGIN0".
constexpr int kFeatureLine = 1;

} // namespace

std::string DiscEditor::RecordText(int entry, int offset) const {
    const RecordSpan span = FindRecord(state_.source, entry);
    return span.Holds(offset) ? state_.source.Get(span.begin + offset) : std::string();
}

void DiscEditor::ClearBoxes() {
    for (int box = kEdit1; box < kBoxCount; ++box) {
        state_.boxes[static_cast<std::size_t>(box)].clear();
    }
}

void DiscEditor::LoadEntry() {
    const int line = state_.selected;
    state_.currentEntry = line >= 0 && line < static_cast<int>(state_.features.size())
                              ? state_.features[static_cast<std::size_t>(line)].entry
                              : 0;
    state_.label2 = "Game Title";
    auto& boxes = state_.boxes;
    if (state_.currentEntry == 0) {
        boxes[kTitleBox] = kFeatureDemoTitle;
        boxes[kEdit1] = RecordText(0, kFeatureLine);
        boxes[kEdit2] = RecordText(0, kFeatureLine + 1);
        boxes[kEdit3] = RecordText(0, kFeatureLine + 2);
    } else {
        const auto& layout = RecordBoxes();
        for (std::size_t box = 0; box < layout.size(); ++box) {
            boxes[box] = RecordText(state_.currentEntry, layout[box].offset);
        }
    }
    state_.recordLoaded = true;
}

void DiscEditor::StoreEntry() {
    if (!state_.recordLoaded) {
        return;
    }
    const int entry = state_.currentEntry;
    state_.caption = std::to_string(entry);
    // Found once: a box's new text must not move the record while it is written.
    const RecordSpan span = FindRecord(state_.source, entry);
    auto put = [&](int offset, const std::string& text) {
        if (span.Holds(offset)) {
            state_.source.Put(span.begin + offset, text);
        }
    };
    const auto& boxes = state_.boxes;
    const int line = FeatureLineOf(entry);
    if (entry == 0) {
        if (line >= 0) {
            state_.features[static_cast<std::size_t>(line)].text =
                kFeatureDemoLinePrefix + boxes[kEdit1];
        }
        put(kFeatureLine, boxes[kEdit1]);
        put(kFeatureLine + 1, boxes[kEdit2]);
        put(kFeatureLine + 2, boxes[kEdit3]);
        return;
    }
    ShowEntryPictures(entry);
    if (line >= 0) {
        state_.features[static_cast<std::size_t>(line)].text = boxes[kTitleBox];
    }
    const auto& layout = RecordBoxes();
    for (std::size_t box = 0; box < layout.size(); ++box) {
        put(layout[box].offset, boxes[box]);
    }
}

void DiscEditor::featuresClick(int line) {
    state_.selected = line >= 0 && line < static_cast<int>(state_.features.size()) ? line : -1;
    ClearBoxes();
    LoadEntry();
    StoreEntry();
}

void DiscEditor::titleChange(const std::string& text) {
    state_.boxes[kTitleBox] = AsRecordLine(text);
    StoreEntry();
}

void DiscEditor::titleKeyUp() {
    // The feature demo has no title line: its title-list line follows Edit1 as stored.
    if (!state_.recordLoaded || state_.currentEntry == 0) {
        return;
    }
    if (const int line = FeatureLineOf(state_.currentEntry); line >= 0) {
        state_.features[static_cast<std::size_t>(line)].text = state_.boxes[kTitleBox];
    }
}

void DiscEditor::SetBox(int box, const std::string& text) {
    if (box == kTitleBox) {
        titleChange(text);
    } else if (box > kTitleBox && box < kBoxCount) {
        // Every box stores the record as the title box does, so no edit waits on a title change.
        state_.boxes[static_cast<std::size_t>(box)] = AsRecordLine(text);
        StoreEntry();
    }
}

} // namespace kestrova
