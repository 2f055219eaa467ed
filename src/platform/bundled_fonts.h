#pragma once
// The faces bundled with the program, so text looks the same everywhere: Liberation Sans stands
// in for the list font, DejaVu Sans Condensed for the small menu font.

#include <QString>

namespace kestrova {

struct BundledFontFamilies {
    QString sans;
    QString small;
};

// Registers the six faces from the program's resources the first time it is called, from any
// thread once the application exists; a caller that comes while another thread registers them
// waits until every face is in. Returns the families to ask for.
const BundledFontFamilies& BundledFonts();

} // namespace kestrova
