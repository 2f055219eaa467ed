#pragma once
// The program's icon, the one the desktop entry installs, built into the program so that every
// window carries it wherever the program runs from.

#include <QIcon>

namespace kestrova {

// The icon, at every size of kProgramIconSizes (program_icon_sizes.h).
QIcon ProgramIcon();

} // namespace kestrova
