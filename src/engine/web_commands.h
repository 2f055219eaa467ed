#pragma once
// Page requests for the web pane. Every handler asks for a page the same way: it names the
// address and the next frame loads it and brings the pane on screen. The pane's link commands
// land here.

#include "engine/main_state.h"
#include "engine/ports.h"

#include <string>

namespace kestrova {

void RequestPage(MainState& state, const std::string& address);

// The pane is about to follow `address` (a link, or a page the front end asked for). Acts on a
// command prefix in it and returns true when the pane must not follow it. `currentDirectory`
// ends with the separator. Only files of the disc carry a command (see engine/web_address.h), and
// the pane hands one here only when the front end or a page of the disc asked for it (see
// engine/web_origin.h).
bool WebBrowser1BeforeNavigate2(MainState& state, Ports& ports, const std::string& currentDirectory,
                                const std::string& address);

} // namespace kestrova
