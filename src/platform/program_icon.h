#pragma once
// The program's icon, the one the desktop entry installs, built into the program so that every
// window carries it wherever the program runs from.

#include <QIcon>

namespace kestrova {

// The icon; an empty one where the toolkit cannot read it (no SVG support installed), which
// windows simply go without.
QIcon ProgramIcon();

} // namespace kestrova
