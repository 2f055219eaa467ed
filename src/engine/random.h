#pragma once
// The pseudo-random generator shared by the whole program: never seeded, so every run draws the
// same sequence, and every draw from any timer moves it on.

#include <cstdint>

namespace kestrova {

class SharedRandom {
  public:
    uint32_t seed = 0;
    // A value 0..range - 1.
    int Draw(int range);
};

SharedRandom& ProgramRandom();

} // namespace kestrova
