// Replacing an entry's thumbnail or panel picture: the picture goes into the front end's list at
// once, and the whole list is written to its image-list file.

#include "editor/disc_editor.h"

#include "base/error.h"

#include <optional>
#include <vector>

namespace kestrova {

namespace {

// The key the front end draws an item with: its own colour while the item is keyed.
std::optional<uint32_t> DrawnKey(const PictureCollectionItem& item) {
    if (!item.Transparent) {
        return std::nullopt;
    }
    return ColourToRgb(item.TransparentColor) & 0xFFFFFFu;
}

} // namespace

void DiscEditor::ShowEntryPictures(int entry) {
    const auto show = [entry](const PictureCollection* list, Picture& picture,
                              std::optional<uint32_t>& key) {
        if (list == nullptr || entry < 1 || entry - 1 >= list->Count()) {
            picture = Picture{};
            key.reset();
            return;
        }
        const PictureCollectionItem& item = list->Items(entry - 1);
        picture = item.GetPicture();
        key = DrawnKey(item);
    };
    show(link_.SubSliderA, state_.subz, state_.subzKey);
    show(link_.sliderlistA, state_.imagez, state_.imagezKey);
}

void DiscEditor::Button5Click() {
    LoadEntryPicture(link_.SubSliderA, state_.subz, kThumbnailListFile);
}

void DiscEditor::Button6Click() {
    LoadEntryPicture(link_.sliderlistA, state_.imagez, kPanelPictureListFile);
}

void DiscEditor::LoadEntryPicture(PictureCollection* list, Picture& shown, const char* listFile) {
    if (state_.currentEntry <= 0 || list == nullptr) {
        return;
    }
    // Said before any dialog: a picture chosen for a read-only disc could only be lost.
    if (!link_.LocalPath(link_.discRoot + listFile)) {
        ShowMessage("Cannot change " + ShownPath(listFile) + ": " + kReadOnlyDisc);
        return;
    }
    std::optional<std::string> chosen;
    if (ports_.dialog != nullptr) {
        chosen = ports_.dialog->Choose();
    }
    try {
        // A cancelled dialog writes the picture already shown.
        Picture picture =
            chosen && ports_.pictures != nullptr ? ports_.pictures->Load(*chosen) : shown;
        PictureCollectionItem& item = list->Items(state_.currentEntry - 1);
        const Picture old = item.GetPicture();
        item.SetPicture(picture);
        std::vector<uint8_t> bytes;
        try {
            bytes = list->SaveToBytes();
        } catch (...) {
            item.SetPicture(old);
            throw;
        }
        if (const std::optional<std::string> reason = WriteToDisc(listFile, bytes)) {
            // The list on screen stays as the file on disc still has it.
            item.SetPicture(old);
            throw Error("Cannot create file " + ShownPath(listFile) + ": " + *reason);
        }
        item.Rebuild();
        shown = std::move(picture);
    } catch (const Error& e) {
        ShowMessage(e.what());
    }
}

} // namespace kestrova
