#pragma once
// The readme pane: an entry's readme, a rich-text file under "databases/", viewed beside its
// panel or printed.

#include "engine/main_state.h"
#include "engine/ports.h"

#include <string>

namespace kestrova {

// "databases/" followed by the readme name of an entry (line 8 of its record; "" when there is
// no such line).
std::string ReadmePath(const MainState& state, int entry);

// Shows the readme of the shown entry; a missing file shows nothing and leaves the pane as it is.
void ViewReadme(MainState& state, Ports& ports);

// Prints the readme of the shown entry through the print dialog, then shows it in the pane
// whether or not the reader printed; a missing file shows neither.
void PrintReadme(MainState& state, Ports& ports);

} // namespace kestrova
