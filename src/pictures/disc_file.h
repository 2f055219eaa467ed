#pragma once
// Whole-file reads for the picture files.

#include "catalogue/disc_limits.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kestrova {

// The bytes of a disc file, at most kind.maxBytes; "Cannot open file %s" (the path as given) when
// it cannot be read (see ReadBoundedFile).
std::vector<uint8_t> ReadDiscFile(const std::string& discPath, const FileKind& kind);

} // namespace kestrova
