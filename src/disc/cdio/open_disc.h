#pragma once
// A disc given on the command line: a folder, or a CD image file (an ISO 9660 image, with or
// without Joliet and Rock Ridge; a raw .bin of Mode 1 or Mode 2 Form 1 frames; a .cue sheet with
// the file it names). Images are read in place, never mounted.

#include "disc/disc_file_system.h"
#include "disc/image_file_system.h"
#include "disc/iso9660_volume.h"

#include <memory>
#include <string>
#include <vector>

namespace kestrova {

// Whether `path` names a regular file (an image) rather than a folder.
bool IsDiscImageFile(const std::string& path);

// The sectors of the image file `path`. Fails with kestrova::Error("Cannot open disc image
// PATH", reason) when it is not a regular file, its cue sheet is bad, its raw frames are neither
// Mode 1 nor Mode 2 Form 1, or it holds no volume to read. `files`, when given, gets every file
// the sectors are read from (the image, or the cue sheet and the files it names) as opened.
std::unique_ptr<SectorSource> OpenImageSectors(const std::string& path,
                                               std::vector<ImageSourceFile>* files = nullptr);

// The image file `path` as a disc; its root is the image's absolute path followed by "/".
// Fails as OpenImageSectors, or when the image holds no readable ISO 9660 volume.
std::shared_ptr<DiscFileSystem> OpenDiscImage(const std::string& path);
// The same, as the image it is (for copying files out of it).
std::shared_ptr<ImageFileSystem> OpenImageFileSystem(const std::string& path);

} // namespace kestrova
