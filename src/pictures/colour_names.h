#pragma once
// Colour identifiers as the image-list file stores them ("clBlack", "clFuchsia", ...).
// The system colours ("clBtnFace", ...) resolve to the classic default scheme, so a TColor read
// from a file is always a plain 0x00BBGGRR value (or clNone / clDefault).

#include "pictures/picture.h"

#include <optional>
#include <string>
#include <string_view>

namespace kestrova {

constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

// Identifier -> colour, compared ignoring ASCII case; nullopt for an unknown identifier.
std::optional<TColor> ColourFromIdent(std::string_view ident);
// The standard name of a colour (the basic sixteen, the four extra colours, clNone, clDefault);
// nullopt when the colour has none. System colour names are never produced.
std::optional<std::string> ColourToIdent(TColor colour);
// A colour stored as a number: system colour values (0x80000000 | index, 0xFF000000 | index)
// resolve to the classic scheme; everything else is kept.
TColor ResolveColour(int64_t stored);

} // namespace kestrova
