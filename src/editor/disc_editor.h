#pragma once
// The disc editor's handlers and routines on its state. The window calls one of these for each
// thing the user does and then shows the state again.
//
// The handlers live in one file per family: opening and the title list (entry_list.cpp), loading
// and storing the boxes (entry_records.cpp), the entry pictures (entry_pictures.cpp) and writing
// the disc data file (data_file_write.cpp).

#include "editor/editor_ports.h"
#include "editor/editor_state.h"

#include "catalogue/disc_layout.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace kestrova {

// The picture-open dialog's filter: pairs of description and pattern separated by vertical bars.
// Next to the Windows kinds it offers the modern ones the program also reads.
inline constexpr const char* kPictureFilter =
    "All (*.dib;*.bmp;*.ico;*.emf;*.wmf;*.png;*.jpg;*.jpeg;*.gif)|"
    "*.dib;*.bmp;*.ico;*.emf;*.wmf;*.png;*.jpg;*.jpeg;*.gif|"
    "Device Independent Bitmap (*.dib)|*.dib|Bitmaps (*.bmp)|*.bmp|Icons (*.ico)|*.ico|"
    "Enhanced Metafiles (*.emf)|*.emf|Metafiles (*.wmf)|*.wmf|"
    "Portable Network Graphics (*.png)|*.png|JPEG Images (*.jpg;*.jpeg)|*.jpg;*.jpeg|"
    "GIF Images (*.gif)|*.gif";

// The disc data file's bytes for `lines`: each line as it stands, ended by CR LF.
std::vector<uint8_t> DataFileBytes(const LineList& lines);

// Why nothing can be written on a CD image.
inline constexpr const char* kReadOnlyDisc = "the disc is a CD image, which is read-only";

// The highest entry number the editor handles.
inline constexpr int kHighestEntry = 100;

class DiscEditor {
  public:
    explicit DiscEditor(EditorPorts ports) : ports_(ports) {}

    EditorState& State() { return state_; }
    const EditorState& State() const { return state_; }
    const FrontEndLink& Link() const { return link_; }

    // Opening: shows the window's state for the front end's current lines.
    void OpenEditor(const FrontEndLink& link);
    void FormShow();
    void TitleScan();

    // The boxes.
    void ClearBoxes();
    void LoadEntry();
    void StoreEntry();
    void featuresClick(int line);
    // The user changed the title box to `text` (UTF-8 is the window's business: Windows-1252 here).
    void titleChange(const std::string& text);
    void titleKeyUp();
    // The user changed another box.
    void SetBox(int box, const std::string& text);

    // The buttons.
    void Button1Click(); // REFRESH
    void Button2Click(); // NEW
    void Button3Click(); // DELETE
    void Button4Click(); // SAVE
    void Button5Click(); // Load Thumbnail
    void Button6Click(); // Load Game Image

    // Writes the editor's lines to the disc data file; false (with a message) when it cannot.
    bool WriteDataFile();
    // Whether the lines hold edits the disc data file lacks, which closing would lose; edits the
    // person chose to discard no longer count, until the lines change again.
    bool HasUnwrittenEdits() const;
    void DeclineUnwrittenEdits();
    // A disc file as the desktop names it: its local path, or the disc root and "/" separators.
    std::string ShownPath(const char* file) const;

  private:
    // The title-list line that shows `entry`; -1 when none does.
    int FeatureLineOf(int entry) const;
    // The text of record line `offset` of `entry`; blank outside the record.
    std::string RecordText(int entry, int offset) const;
    // Shows the thumbnail and panel picture of `entry` (from 1) as the menu draws them.
    void ShowEntryPictures(int entry);
    void LoadEntryPicture(PictureCollection* list, Picture& shown, const char* listFile);
    // Replaces a file of the disc; nothing on success, else the reason.
    std::optional<std::string> WriteToDisc(const char* file, std::span<const uint8_t> bytes);
    void ShowMessage(const std::string& text);

    EditorPorts ports_;
    FrontEndLink link_;
    EditorState state_;
};

} // namespace kestrova
