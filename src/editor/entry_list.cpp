// Opening the editor, the title list, and the buttons that work on the list of records: REFRESH,
// NEW, DELETE and SAVE.

#include "editor/disc_editor.h"

#include "catalogue/disc_layout.h"

#include <string>

namespace kestrova {

namespace {

// The slot after the last demo gets the look a new entry's pictures start from.
void PrepareNewEntrySlot(const FrontEndLink& link) {
    const int slot = link.spriteCount;
    if (slot < 1) {
        return;
    }
    if (PictureCollection* panels = link.sliderlistA; panels && slot < panels->Count()) {
        PictureCollectionItem& item = panels->Items(slot);
        item.SetTransparentColor(panels->Items(slot - 1).TransparentColor);
        item.Transparent = true;
        item.SystemMemory = true;
        item.Rebuild();
    }
    if (PictureCollection* thumbs = link.SubSliderA; thumbs && slot < thumbs->Count()) {
        PictureCollectionItem& item = thumbs->Items(slot);
        item.SetPicture(thumbs->Items(slot - 1).GetPicture());
        item.Transparent = false;
        item.SystemMemory = true;
        item.Rebuild();
    }
}

} // namespace

void DiscEditor::OpenEditor(const FrontEndLink& link) {
    link_ = link;
    // The window is shown before the lines are copied, so it looks at the title list that the
    // previous opening left.
    FormShow();
    PrepareNewEntrySlot(link_);
    state_.source.Clear();
    if (link_.source != nullptr) {
        state_.source.Assign(*link_.source);
    }
    if (!state_.written) {
        state_.written = state_.source.Lines();
    }
    TitleScan();
    // The copied lines may differ from those the boxes were filled from.
    state_.recordLoaded = false;
}

void DiscEditor::FormShow() {
    if (state_.features.size() < 3) {
        state_.currentEntry = 0;
        return;
    }
    state_.currentEntry = 1;
    ShowEntryPictures(1);
}

void DiscEditor::TitleScan() {
    state_.features.clear();
    state_.selected = -1;
    const LineList& lines = state_.source;
    for (int n = 0; n <= kHighestEntry; ++n) {
        const int begin = lines.IndexOf(BeginKey(n));
        if (begin < 0) {
            continue;
        }
        // A begin marker on the last line has a blank title rather than none.
        std::string title = begin + 1 < lines.Count() ? lines.Get(begin + 1) : std::string();
        state_.features.push_back({std::move(title), n});
        state_.lastEntry = n;
    }
}

void DiscEditor::Button1Click() {
    TitleScan();
}

void DiscEditor::Button2Click() {
    if (state_.lastEntry >= kHighestEntry) {
        // A record numbered above the highest would never be listed, and the next NEW would add
        // a second record under the same number.
        ShowMessage("No entry number above " + std::to_string(kHighestEntry) +
                    " can be edited; no entry was added");
        return;
    }
    state_.lastEntry += 1;
    LineList& lines = state_.source;
    lines.Add("");
    lines.Add(BeginKey(state_.lastEntry));
    lines.Add("UNTITLED");
    // Every other line of a standard record blank, so the new entry is listed in the demos menu.
    for (int i = kRecordTitle + 1; i < kRecordStandardEnd; ++i) {
        lines.Add("");
    }
    lines.Add(EndKey(state_.lastEntry));
    TitleScan();
}

void DiscEditor::Button3Click() {
    const RecordSpan span = FindRecord(state_.source, state_.currentEntry);
    // A record without its end marker has no known extent: nothing is removed rather than lines
    // of whatever follows it.
    if (!span.complete) {
        return;
    }
    if (const int line = FeatureLineOf(state_.currentEntry); line >= 0) {
        state_.features.erase(state_.features.begin() + line);
    }
    for (int i = span.end; i >= span.begin; --i) {
        state_.source.Delete(i);
    }
    state_.selected = -1;
    LoadEntry();
}

void DiscEditor::Button4Click() {
    if (link_.source != nullptr) {
        link_.source->Assign(state_.source);
    }
}

int DiscEditor::FeatureLineOf(int entry) const {
    for (std::size_t i = 0; i < state_.features.size(); ++i) {
        if (state_.features[i].entry == entry) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void DiscEditor::ShowMessage(const std::string& text) {
    state_.messages.push_back(text);
    if (ports_.messages != nullptr) {
        ports_.messages->ShowMessage(text);
    }
}

} // namespace kestrova
