#pragma once
// What the disc editor needs from the platform and from the running front end. The window
// supplies Qt versions; tests supply their own.

#include "base/safe_file_writer.h"
#include "catalogue/line_list.h"
#include "pictures/picture.h"
#include "pictures/picture_collection.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>

namespace kestrova {

// The picture-open dialog: the chosen file, or nothing when the user cancels.
class PictureDialog {
  public:
    virtual ~PictureDialog() = default;
    virtual std::optional<std::string> Choose() = 0;
};

// Reads a picture file of any kind the program knows. Fails with kestrova::Error carrying the
// picture system's message ("Unknown picture file extension (.%s)" or why it does not decode).
class PictureFiles {
  public:
    virtual ~PictureFiles() = default;
    virtual Picture Load(const std::string& path) = 0;
};

// Replaces a whole file so that it is either the old file or the new one, never a part. The file
// must lie inside the disc root; nothing on success, else why it failed.
class FileWriter {
  public:
    virtual ~FileWriter() = default;
    virtual std::optional<WriteFailure> Replace(const std::string& path,
                                                std::span<const uint8_t> bytes,
                                                const std::string& discRoot) = 0;
};

// The program's one safe file writer, kept inside the disc: a link in the disc that leads out of
// it is refused, so a disc folder from elsewhere cannot make the editor overwrite a user's file.
class DiscFileWriter : public FileWriter {
  public:
    std::optional<WriteFailure> Replace(const std::string& path, std::span<const uint8_t> bytes,
                                        const std::string& discRoot) override;
};

// Messages for the person editing the disc.
class EditorMessages {
  public:
    virtual ~EditorMessages() = default;
    virtual void ShowMessage(const std::string& text) = 0;
};

struct EditorPorts {
    PictureDialog* dialog = nullptr;
    PictureFiles* pictures = nullptr;
    FileWriter* files = nullptr;
    EditorMessages* messages = nullptr;
};

// The running front end as the editor sees it while open: its lines, which SAVE replaces, and the
// picture lists whose items the entries own (entry c owns item c - 1 of each).
struct FrontEndLink {
    LineList* source = nullptr;
    PictureCollection* SubSliderA = nullptr;  // thumbnails
    PictureCollection* sliderlistA = nullptr; // panel pictures
    int spriteCount = 0;
    // The folder the image-list and disc data files are written under, ending with a separator.
    std::string discRoot;
    // The file on this machine that a disc path names; nothing when the disc has none (a CD
    // image, which is read-only). Unset: the path as given, with "/" for every separator.
    std::function<std::optional<std::string>(const std::string&)> localPath;

    std::optional<std::string> LocalPath(std::string discPath) const {
        if (localPath) {
            return localPath(discPath);
        }
        std::replace(discPath.begin(), discPath.end(), '\\', '/');
        return discPath;
    }
};

} // namespace kestrova
