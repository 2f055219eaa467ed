#pragma once
// Program starts: everything the front end starts outside itself goes through `RunProgram`, and
// a banner's program or page waits for the delayed-launch timer.

#include "engine/main_state.h"
#include "engine/ports.h"

#include <string>

namespace kestrova {

// The show command every caller passes: show the started window normally.
inline constexpr int kShowNormal = 5;

// Hands a file (a program, a document or a web address) to the desktop. Each text is limited to
// what the launch buffers held, a text in `discRoot` (the current directory string) measured as
// on a drive root (see ShellTextLength): a longer one is refused, with a warning, and nothing
// starts. Returns whether the desktop was asked; what it then does is never reported to the
// reader.
bool RunProgram(Ports& ports, const std::string& discRoot, const std::string& file,
                const std::string& parameters = "", const std::string& directory = "",
                int showCommand = kShowNormal);

// The delayed launch, 600 ms after a banner click: a web address opens in the pane, anything
// else is started; either way once.
void launchitTimer(MainState& state, Ports& ports, const std::string& discRoot);

} // namespace kestrova
