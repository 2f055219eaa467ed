#pragma once
// Whole-file reads and writes for the picture files.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kestrova {

// The bytes of a disc file; "Cannot open file %s" (the path as given) when it cannot be read.
std::vector<uint8_t> ReadDiscFile(const std::string& discPath);
// Replaces a file; "Cannot create file %s" when it cannot be written.
void WriteWholeFile(const std::string& path, std::span<const uint8_t> bytes);

} // namespace kestrova
