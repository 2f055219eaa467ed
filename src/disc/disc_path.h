#pragma once
// Disc paths are written on systems where "\" and "/" both separate and letter case does not
// matter. Every reader of a disc file resolves the written path through here first.

#include <optional>
#include <string>
#include <vector>

namespace kestrova {

// The real path of the file or folder that `path` names, relative paths against the current
// directory: each component is matched ignoring case against the entries actually on disk (an
// exact match wins). When some component is not found, the path as given with every separator
// turned into "/".
std::string ResolveDiscPath(const std::string& path);

// The one rule every disc file system picks an entry of a folder by: `wanted` itself when
// present, else the smallest name equal to it ignoring case (ASCII and Latin-1 letters, spelt in
// UTF-8 or in Windows-1252).
std::optional<std::string> PickDiscEntry(const std::vector<std::string>& names,
                                         const std::string& wanted);

} // namespace kestrova
