#include "shell/pictures/colour_names.h"

namespace kestrova {

std::optional<TColor> ColourFromIdent(std::string_view) {
    return std::nullopt;
}
std::optional<std::string> ColourToIdent(TColor) {
    return std::nullopt;
}
TColor ResolveColour(int64_t stored) {
    return static_cast<TColor>(stored);
}

} // namespace kestrova
