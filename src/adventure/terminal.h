#pragma once
// The adventure without a window: the same world, parser and console on a text stream.

#include <istream>
#include <ostream>

namespace kestrova {

// Prints the console's opening lines and the intro, then reads one command per line until the end
// of the input. Transcript lines are written as they appear and each message box as a line of its
// own, after which play goes on; the hidden phrase's page address is written as a line too.
// Returns 0.
int RunTerminalAdventure(std::istream& in, std::ostream& out);

} // namespace kestrova
