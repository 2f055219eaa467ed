#pragma once
// Page requests for the web pane. Every handler asks for a page the same way: it names the
// address and the next frame loads it and brings the pane on screen. The pane's link commands
// land here.

#include "engine/main_state.h"

#include <string>

namespace kestrova {

void RequestPage(MainState& state, const std::string& address);

} // namespace kestrova
