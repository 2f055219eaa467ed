#include "engine/menus.h"

#include "catalogue/disc_rules.h"

namespace kestrova {

std::vector<std::string> MenuLines(const MainState& s, const std::string& key) {
    return MenuCaptions(s.source, key, s.spriteCount);
}

} // namespace kestrova
