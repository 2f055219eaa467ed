// The look-up loops, built without the vectoriser (see CMakeLists.txt): gathering each lane's
// colour on its own costs more instructions a pixel than these plain loops.

#include "pictures/index_colours.h"

#include <cstring>

namespace kestrova::dib {

void NibblePairs::Expand(const uint8_t* in, size_t count, uint32_t* out) const {
    const auto put = [this](uint8_t b, uint32_t* to) {
        std::memcpy(to, pairs_[b].data(), 2 * sizeof(uint32_t));
    };
    size_t i = 0;
    for (; i + 4 <= count; i += 4) {
        put(in[i], out + 2 * i);
        put(in[i + 1], out + 2 * i + 2);
        put(in[i + 2], out + 2 * i + 4);
        put(in[i + 3], out + 2 * i + 6);
    }
    for (; i < count; ++i) {
        put(in[i], out + 2 * i);
    }
}

void ExpandBytes(const IndexColours& colours, const uint8_t* in, size_t n, uint32_t* out) {
    size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        for (size_t k = 0; k < 8; ++k) {
            out[i + k] = colours[in[i + k]];
        }
    }
    for (; i < n; ++i) {
        out[i] = colours[in[i]];
    }
}

} // namespace kestrova::dib
