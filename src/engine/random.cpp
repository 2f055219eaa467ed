#include "engine/random.h"

namespace kestrova {

int SharedRandom::Draw(int range) {
    seed = seed * 134775813u + 1u;
    if (range <= 0) {
        return 0;
    }
    return static_cast<int>((static_cast<uint64_t>(seed) * static_cast<uint64_t>(range)) >> 32);
}

SharedRandom& ProgramRandom() {
    static SharedRandom random;
    return random;
}

} // namespace kestrova
