#pragma once
// The one reader of whole disc files. Every file the front end and the tools read from a disc
// comes through here, to the disc in use (a folder or an image, disc_file_system.h): only a
// regular file (after following links), never more than its kind's ceiling, and never a wait on
// a pipe or a device.

#include "disc/disc_limits.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kestrova {

// The bytes of the file `discPath` names (resolved as a disc path). Fails with kestrova::Error
// "Cannot open file " + discPath, whose Detail() names the file and the reason ("is a named
// pipe, not a regular file", "is larger than the 4 MiB limit for a disc data file", ...).
std::vector<uint8_t> ReadBoundedFile(const std::string& discPath, const FileKind& kind);

} // namespace kestrova
