#pragma once
// What every piece of the bitmap codec shares: the compression codes, the header as read, the row
// stride, and the reading of the header and colours that tells where the rows are. Internal to
// the pictures library; bitmap_codec.h is the codec's interface.

#include "base/byte_reader.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace kestrova::dib {

inline constexpr uint32_t kBiRgb = 0;
inline constexpr uint32_t kBiRle8 = 1;
inline constexpr uint32_t kBiRle4 = 2;
inline constexpr uint32_t kBiBitfields = 3;
inline constexpr uint32_t kBiAlphaBitfields = 6;

inline constexpr uint32_t kCoreHeaderSize = 12;
inline constexpr uint32_t kInfoHeaderSize = 40;
inline constexpr uint32_t kOs2HeaderSize = 64;
inline constexpr size_t kFileHeaderSize = 14;

struct Masks {
    uint32_t r = 0, g = 0, b = 0;
};

// The channels of 16- and 32-bit rows that name no masks of their own: 5-5-5 and 8-8-8.
inline constexpr Masks kPlainMasks16{0x7C00, 0x03E0, 0x001F};
inline constexpr Masks kPlainMasks32{0xFF0000, 0xFF00, 0xFF};

struct DibHeader {
    uint32_t headerSize = 0;
    int64_t width = 0, height = 0;
    bool topDown = false;
    int bits = 0;
    uint32_t compression = kBiRgb;
    uint32_t sizeImage = 0;
    uint32_t coloursUsed = 0;
    Masks masks;
    size_t entrySize = 4; // bytes per colour table entry: 3 after a core header

    bool Rle() const { return compression == kBiRle8 || compression == kBiRle4; }
    bool Bitfields() const {
        return compression == kBiBitfields || compression == kBiAlphaBitfields;
    }
};

// Bytes in one stored row: its pixels' bits rounded up to whole 32-bit words.
constexpr uint64_t RowStride(uint64_t width, int bits) {
    return (width * static_cast<uint64_t>(bits) + 31) / 32 * 4;
}

inline uint32_t Argb(uint8_t r, uint8_t g, uint8_t b) {
    return 0xFF000000u | (uint32_t{r} << 16) | (uint32_t{g} << 8) | b;
}

// The header, the colours (0xFFRRGGBB) and where the rows are: everything but the pixels.
struct DibLayout {
    DibHeader header;
    std::vector<uint32_t> table;
    std::span<const uint8_t> rows;
};

// Reads the header and colours starting at the reader's position and checks that the rows can
// hold what the header claims, before any pixel is allocated. pixelOffset is the absolute
// position of the rows when a file header gave one (0: straight after the colours).
DibLayout InspectDib(ByteReader& r, size_t pixelOffset);

// Reads the 14-byte "BM" file header and returns where it says the rows are.
size_t BitmapFileRowsOffset(ByteReader& r);

} // namespace kestrova::dib
