#pragma once
// The adventure without a window: the same world, parser and console on a text stream.

#include <cstddef>
#include <istream>
#include <ostream>
#include <string>

namespace kestrova {

struct TerminalOptions {
    // Lines longer than this are broken at the spaces between words; 0 keeps them whole.
    size_t width = 0;
    // Written before each command is read (for a player at a terminal, not a file piped in).
    std::string prompt;
    // Each command is printed back as the game panel shows it (">> look"), so that a transcript
    // of commands read from a file says what was played. A terminal has shown what the player
    // typed already.
    bool echoCommands = true;
};

// Prints the console's opening lines and the intro, then reads one command per line until the end
// of the input. Transcript lines are written as they appear and each message box as a line of its
// own, after which play goes on; the hidden phrase's page address is written as a line too.
// Returns 0.
int RunTerminalAdventure(std::istream& in, std::ostream& out, const TerminalOptions& options = {});

} // namespace kestrova
