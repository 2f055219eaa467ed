#pragma once
// Reading the disc data file into its line list, through the disc's bounded reader.

#include "catalogue/line_list.h"

#include <string>

namespace kestrova {

// `path` as the disc writes it ("engine\data\discdata.kvx"); fails with "Cannot open file " +
// path (the Detail() says why). On failure the list keeps its lines.
void LoadDiscDataFile(LineList& lines, const std::string& path);

} // namespace kestrova
