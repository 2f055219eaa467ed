#pragma once
// Whole-file reads and writes for the picture files.

#include "catalogue/disc_limits.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kestrova {

// The bytes of a disc file, at most kind.maxBytes; "Cannot open file %s" (the path as given) when
// it cannot be read (see ReadBoundedFile).
std::vector<uint8_t> ReadDiscFile(const std::string& discPath, const FileKind& kind);
// Replaces a file; "Cannot create file %s" when it cannot be written.
void WriteWholeFile(const std::string& path, std::span<const uint8_t> bytes);

} // namespace kestrova
