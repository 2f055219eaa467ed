#pragma once
// Program starts: everything the front end starts outside itself goes through `RunProgram`, and
// a banner's program or page waits for the delayed-launch timer. Each start the reader asked for
// leaves a notice over the menu (see launch_notice.h).

#include "engine/main_state.h"
#include "engine/ports.h"

#include <string>

namespace kestrova {

// The show command every caller passes: show the started window normally.
inline constexpr int kShowNormal = 5;

// A start as its caller asks for it.
// Every field has its default, so a caller names only what it gives.
struct ProgramStart {
    std::string file{};
    // The title of the entry the start comes from; empty names the start after its file.
    std::string title{};
    std::string parameters{};
    std::string directory{};
    int showCommand = kShowNormal;
};

// Hands a file (a program, a document or a web address) to the desktop, and puts up its notice.
// Each text is limited to what the launch buffers held, a text in `discRoot` (the current
// directory string) measured as on a drive root (see ShellTextLength): a longer one is refused,
// with a warning and a notice that says so, and nothing starts. An empty file is handed on with
// no notice: it names nothing to tell of. Returns whether the desktop was asked; how the start
// ends, the launcher reports later (see launch_notice.h).
bool RunProgram(MainState& state, Ports& ports, const std::string& discRoot,
                const ProgramStart& start);

// The delayed launch, 600 ms after a banner click: a web address opens in the pane, anything
// else is started; either way once.
void launchitTimer(MainState& state, Ports& ports, const std::string& discRoot);

} // namespace kestrova
