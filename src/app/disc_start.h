#pragma once
// Putting the disc named on the command line in, the one way the front end, the shelf's probe and
// --list-discs all do it: an image is read in place, a folder becomes the current directory.

#include <optional>
#include <string>

namespace kestrova {

// Why start-up ended: the message start-up shows in its box and prints first, and the line it
// prints after it (the file and the reason), when there is one.
struct StartFault {
    std::string message;
    std::string detail;
};

// Puts `disc` in (a folder or a CD image file). Nothing on success.
std::optional<StartFault> PutDiscIn(const std::string& disc);

// The fault's lines as start-up prints them on standard error, terminal-safe.
void PrintStartFault(const StartFault& fault);

} // namespace kestrova
