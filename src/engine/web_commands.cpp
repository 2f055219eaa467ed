#include "engine/web_commands.h"

namespace kestrova {

void RequestPage(MainState& s, const std::string& address) {
    s.pendingUrl = address;
    s.navigatePending = true;
}

} // namespace kestrova
