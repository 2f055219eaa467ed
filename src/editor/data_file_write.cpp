// Writing the editor's lines to the disc data file, so that an author's edits outlive the
// program. The file is written as it is read: each line's Windows-1252 bytes as they stand, each
// ended by CR LF, and it replaces the old file only once it is complete.

#include "editor/disc_editor.h"

#include "catalogue/disc_file_system.h"

#include <optional>
#include <string>
#include <vector>

namespace kestrova {

std::vector<uint8_t> DataFileBytes(const LineList& lines) {
    std::vector<uint8_t> bytes;
    for (const std::string& line : lines.Lines()) {
        bytes.insert(bytes.end(), line.begin(), line.end());
        bytes.push_back('\r');
        bytes.push_back('\n');
    }
    return bytes;
}

bool DiscEditor::WriteDataFile() {
    const std::string shownPath = link_.discRoot + kDiscDataFile;
    // Before an opening the editor holds no lines, and an empty file would lose the disc's data.
    if (state_.source.Count() == 0) {
        ShowMessage("The editor holds no disc data lines; " + shownPath + " was not written");
        return false;
    }
    std::string reason;
    // A CD image is read-only: nothing is written, and never anywhere else instead.
    const std::optional<std::string> local = CurrentDisc().LocalPath(shownPath);
    if (!local) {
        reason = "the disc is a CD image, which cannot be written";
    }
    if (!local || ports_.files == nullptr ||
        !ports_.files->Replace(*local, DataFileBytes(state_.source), reason)) {
        ShowMessage("Cannot write the disc data file " + shownPath +
                    (reason.empty() ? std::string() : ": " + reason));
        return false;
    }
    return true;
}

} // namespace kestrova
