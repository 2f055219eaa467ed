#pragma once
// The sizes, in pixels, at which the program carries its icon drawn ahead as PNG files
// (packaging/icons/kestrova-<N>.png, made from packaging/kestrova.svg).

#include <array>

namespace kestrova {

inline constexpr std::array<int, 7> kProgramIconSizes = {16, 24, 32, 48, 64, 128, 256};

} // namespace kestrova
