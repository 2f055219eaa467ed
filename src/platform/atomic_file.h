#pragma once
// Replacing a whole file so that readers only ever see the old file or the complete new one: the
// bytes go to a temporary file beside it, which is renamed over it once everything is written.

#include <cstdint>
#include <span>
#include <string>

namespace kestrova {

// False, with the system's reason, when the file cannot be written; the old file is then left as
// it was and no temporary file stays behind.
bool ReplaceFileAtomically(const std::string& path, std::span<const uint8_t> bytes,
                           std::string& reason);

} // namespace kestrova
