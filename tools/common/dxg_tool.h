#pragma once
// kestrova-dxg: lists image-list files, extracts them to PNG pictures and a manifest, and packs
// them again, so that disc authors can edit the artwork with ordinary tools.

#include "pictures/image_list_file.h"
#include "pictures/picture_collection.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace kestrova {

// One line per item: index, name, size, pattern and gaps, transparency and its colour, system
// memory, picture form and bit depth.
std::string ListImageList(const PictureCollection& collection);
// The same lines from the headers alone (what `list` prints: nothing is decoded).
std::string ListImageList(const std::vector<ImageListEntry>& entries);

// The colour as a manifest or listing shows it: its standard name, else "#RRGGBB".
std::string ColourText(TColor colour);

// Writes one PNG per item with a picture and "manifest.json" into `dir` (created when missing).
// A PNG is named after the item's index and the start of its name in safe characters; the
// manifest holds the whole name. Fails with kestrova::Error.
void ExtractImageList(const std::string& file, const std::string& dir);

// Builds an image-list file from a manifest and its PNG pictures (paths relative to the manifest).
// Fails with kestrova::Error, for example when a picture has more colours than its depth holds.
void PackImageList(const std::string& manifest, const std::string& out);

// The whole tool: arguments without the program name. Returns 0, or 2 with a message on `err`.
int RunDxgTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace kestrova
