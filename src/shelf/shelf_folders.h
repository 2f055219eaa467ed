#pragma once
// Where the shelf looks for discs when it is given no folder.

#include <string>
#include <vector>

namespace kestrova {

// ~/Kestrova, and $XDG_DATA_HOME/kestrova/discs ($HOME/.local/share/kestrova/discs when the
// variable is not an absolute path); those that cannot be formed (no absolute HOME) are left out.
std::vector<std::string> DefaultShelfFolders();

} // namespace kestrova
