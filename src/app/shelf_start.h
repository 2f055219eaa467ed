#pragma once
// The shelf, when the front end is started with no disc.

#include "app/cli.h"

namespace kestrova {

// Runs the shelf until it is closed; the application object exists. Returns the exit status.
int RunShelf(const CommandLine& cli);

} // namespace kestrova
