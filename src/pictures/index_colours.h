#pragma once
// The colours of palette indices as rows of them are decoded, looked up without a check per
// pixel: a colour for every index a byte can hold, and for 4-bit rows the two colours of every
// byte at once. Internal to the pictures library.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace kestrova::dib {

// Every index as its colour; one past the colour table is opaque black.
class IndexColours {
  public:
    explicit IndexColours(const std::vector<uint32_t>& table) {
        colours_.fill(0xFF000000u);
        std::copy_n(table.begin(), std::min(table.size(), colours_.size()), colours_.begin());
    }
    uint32_t operator[](uint8_t index) const { return colours_[index]; }

  private:
    std::array<uint32_t, 256> colours_;
};

// The two pixels of every byte of a 4-bit row, high nibble first, ready to be stored together.
class NibblePairs {
  public:
    explicit NibblePairs(const IndexColours& colours) {
        for (size_t b = 0; b < pairs_.size(); ++b) {
            pairs_[b] = {colours[static_cast<uint8_t>(b >> 4)],
                         colours[static_cast<uint8_t>(b & 0xFu)]};
        }
    }
    // Writes the pixels of `count` bytes of indices to `out` (2 * count pixels).
    void Expand(const uint8_t* in, size_t count, uint32_t* out) const;

  private:
    std::array<std::array<uint32_t, 2>, 256> pairs_;
};

// out[i] = colours[in[i]] for n pixels of 8-bit indices.
void ExpandBytes(const IndexColours& colours, const uint8_t* in, size_t n, uint32_t* out);

// n pixels of 4-bit indices, high nibble first, starting at the first pixel of `in`.
inline void ExpandNibbles(const IndexColours& colours, const NibblePairs& pairs, const uint8_t* in,
                          size_t n, uint32_t* out) {
    pairs.Expand(in, n / 2, out);
    if (n % 2) {
        out[n - 1] = colours[static_cast<uint8_t>(in[n / 2] >> 4)];
    }
}

} // namespace kestrova::dib
