#pragma once
// How large the window's pixels are on the screen. The toolkit scales every window and control by
// a factor it is given before the application object exists; the drawn surface and the banners
// are pictures, which it enlarges with whole pixels (nearest neighbour) as long as the factor is
// a whole number. So the factor is always one: the one asked for, or the screen's density
// rounded.

#include <string>
#include <utility>
#include <vector>

namespace kestrova {

// The scale in force: the command line's when given, else the settings file's; 0 leaves it to
// the screen's density.
int ChosenWindowScale(int option, int setting);

struct ToolkitScale {
    // Environment variables the toolkit reads at start, set (or, with an empty value, removed).
    std::vector<std::pair<std::string, std::string>> environment;
    // The screen's own factor is rounded to a whole number: half and below down, above three
    // quarters up (a 150 % desktop gives 1, 175 % gives 2), so that a window sized for 800 x 600
    // pixels does not outgrow the screen it was sized for.
    bool roundScreenFactor = true;
};

// What the toolkit is told for `scale` (0: the screen's density).
ToolkitScale ToolkitScaleFor(int scale);

// Tells the toolkit; only before the application object exists.
void ApplyToolkitScale(const ToolkitScale& scale);

} // namespace kestrova
