// Writing the editor's lines to the disc data file, so that an author's edits outlive the
// program. The file is written as it is read: each line's Windows-1252 bytes as they stand, each
// ended by CR LF, and it replaces the old file only once it is complete.

#include "editor/disc_editor.h"

#include <optional>
#include <span>
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

std::optional<WriteFailure> DiscFileWriter::Replace(const std::string& path,
                                                    std::span<const uint8_t> bytes,
                                                    const std::string& discRoot) {
    SafeWriteOptions options;
    options.confineTo = discRoot;
    return WriteFileSafely(path, bytes, options);
}

std::string DiscEditor::ShownPath(const char* file) const {
    const std::string shown = link_.discRoot + file;
    if (const std::optional<std::string> local = link_.LocalPath(shown)) {
        return *local;
    }
    // As the desktop names files: "/" between folders, whatever the disc's own spelling.
    std::string path = link_.discRoot;
    for (const char* c = file; *c != '\0'; ++c) {
        path += *c == '\\' ? '/' : *c;
    }
    return path;
}

std::optional<std::string> DiscEditor::WriteToDisc(const char* file,
                                                   std::span<const uint8_t> bytes) {
    // A CD image is read-only: nothing is written, and never anywhere else instead.
    const std::optional<std::string> local = link_.LocalPath(link_.discRoot + file);
    if (!local) {
        return std::string(kReadOnlyDisc);
    }
    if (ports_.files == nullptr) {
        return std::string("the editor cannot write files here");
    }
    if (const std::optional<WriteFailure> failure =
            ports_.files->Replace(*local, bytes, link_.discRoot)) {
        return failure->reason;
    }
    return std::nullopt;
}

bool DiscEditor::WriteDataFile() {
    const std::string shownPath = ShownPath(kDiscDataFile);
    // Before an opening the editor holds no lines, and an empty file would lose the disc's data.
    if (state_.source.Count() == 0) {
        ShowMessage("The editor holds no disc data lines; " + shownPath + " was not written");
        return false;
    }
    if (const std::optional<std::string> reason =
            WriteToDisc(kDiscDataFile, DataFileBytes(state_.source))) {
        ShowMessage("Cannot write the disc data file " + shownPath + ": " + *reason);
        return false;
    }
    state_.written = state_.source.Lines();
    state_.declined.reset();
    return true;
}

bool DiscEditor::HasUnwrittenEdits() const {
    if (!state_.written || state_.source.Count() == 0) {
        return false;
    }
    const std::vector<std::string>& lines = state_.source.Lines();
    return lines != *state_.written && (!state_.declined || lines != *state_.declined);
}

void DiscEditor::DeclineUnwrittenEdits() {
    state_.declined = state_.source.Lines();
}

} // namespace kestrova
