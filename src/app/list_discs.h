#pragma once
// `kestrova --list-discs [FOLDER...]`: the shelf on the terminal. Every disc found in the folders
// (the shelf's own folders when none is given) is probed as the shelf probes it, and printed a
// line each: its path, its name, and "ok" or the reason it would not start, tab-separated.

#include "app/cli.h"

#include <string>

namespace kestrova {

struct DiscReport;

// One line of the listing, without its line end: every field terminal-safe, so a tab or a
// control character of a disc's name cannot break the columns or reach the terminal.
std::string ListLine(const std::string& path, const DiscReport& report);

// 0, or 1 when a folder named could not be read (the others are still listed).
int RunListDiscs(int& argc, char** argv, const CommandLine& cli);

} // namespace kestrova
