#pragma once
// Programs on a CD image cannot start where they are: each is copied, with the folder it stands
// in and everything below, into a per-user cache that keeps the disc's layout, and started from
// there. Copies are reused while the image is unchanged.

#include "disc/image_file_system.h"

#include <string>

namespace kestrova {

// $XDG_CACHE_HOME/kestrova/discs, or ~/.cache/kestrova/discs.
std::string DefaultProgramCache();

struct CopiedFile {
    std::string file;     // the copy of the file asked for
    std::string discRoot; // where the disc root lies in the cache, ending with "/"
};

// Copies the file `discPath` of `image` below `cacheRoot`: with the folder it stands in and
// everything below when `withFolder` (a program), alone otherwise (a document). A file already
// there with the same size is kept. Fails with kestrova::Error naming the reason (the image's
// folders loop or nest too deep, more than the copy ceiling, a write that fails).
CopiedFile CopyOutOfImage(const ImageFileSystem& image, const std::string& discPath,
                          bool withFolder, const std::string& cacheRoot);

} // namespace kestrova
