#include "pictures/bitmap_rows.h"

#include "base/fresh_memory.h"

#include <algorithm>
#include <array>
#include <bit>

namespace kestrova::dib {

namespace {

// One channel of a bit-field pixel, scaled to 0..255.
uint8_t Channel(uint32_t px, uint32_t mask) {
    if (mask == 0) {
        return 0;
    }
    const int shift = std::countr_zero(mask);
    const uint32_t m = mask >> shift;
    const uint64_t max = (uint64_t{1} << std::bit_width(m)) - 1;
    const uint64_t v = (px >> shift) & m;
    return static_cast<uint8_t>(std::min<uint64_t>(255, (v * 255 + max / 2) / max));
}

// A channel of 0..255 scaled into its mask.
uint32_t PackChannel(uint8_t c, uint32_t mask) {
    const int shift = std::countr_zero(mask);
    const uint32_t m = mask >> shift;
    const uint64_t v = (uint64_t{c} * m + 127) / 255;
    return static_cast<uint32_t>(v << shift);
}

} // namespace

void DecodeRows(std::span<const uint8_t> data, const DibHeader& h,
                const std::vector<uint32_t>& table, Picture& pic) {
    const auto w = static_cast<size_t>(h.width);
    const auto height = static_cast<size_t>(h.height);
    const auto stride = static_cast<size_t>(RowStride(w, h.bits));
    // Each row is decoded into a small buffer and appended, so the picture's memory is written
    // once, in order, with no clearing before.
    pic.pixels.clear();
    pic.pixels.reserve(w * height);
    ReadyForWriting(pic.pixels.data(), pic.pixels.capacity() * sizeof(uint32_t));
    std::vector<uint32_t> rowPixels(w);
    uint32_t* out = rowPixels.data();
    const Masks use = h.Bitfields() ? h.masks : (h.bits == 16 ? kPlainMasks16 : kPlainMasks32);
    // Every index a row can hold has its colour, so the rows need no check per pixel: an index
    // past the colour table is opaque black.
    std::array<uint32_t, 256> colours;
    colours.fill(0xFF000000u);
    std::copy_n(table.begin(), std::min(table.size(), colours.size()), colours.begin());
    auto lookup = [&colours](uint32_t index) { return colours[index & 0xFFu]; };
    for (size_t y = 0; y < height; ++y) {
        const size_t s = h.topDown ? y : height - 1 - y;
        const uint8_t* row = data.data() + s * stride;
        switch (h.bits) {
        case 1:
            for (size_t x = 0; x < w; ++x) {
                out[x] = lookup((row[x / 8] >> (7 - x % 8)) & 1u);
            }
            break;
        case 4:
            for (size_t x = 0; x < w; ++x) {
                out[x] = lookup((row[x / 2] >> (x % 2 ? 0 : 4)) & 0xFu);
            }
            break;
        case 8:
            for (size_t x = 0; x < w; ++x) {
                out[x] = lookup(row[x]);
            }
            break;
        case 16:
            for (size_t x = 0; x < w; ++x) {
                const uint32_t px = row[2 * x] | (uint32_t{row[2 * x + 1]} << 8);
                out[x] = Argb(Channel(px, use.r), Channel(px, use.g), Channel(px, use.b));
            }
            break;
        case 24:
            for (size_t x = 0; x < w; ++x) {
                out[x] = Argb(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
            }
            break;
        case 32:
            for (size_t x = 0; x < w; ++x) {
                const uint8_t* p = row + 4 * x;
                const uint32_t px =
                    p[0] | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) | (uint32_t{p[3]} << 24);
                out[x] = Argb(Channel(px, use.r), Channel(px, use.g), Channel(px, use.b));
            }
            break;
        default:
            ThrowInvalidStream();
        }
        pic.pixels.insert(pic.pixels.end(), rowPixels.begin(), rowPixels.end());
    }
}

std::vector<uint8_t> EncodeRows(const Picture& pic, int bits, bool topDown, const Masks& masks,
                                const std::vector<uint8_t>& indices) {
    const auto w = static_cast<size_t>(pic.width);
    const auto h = static_cast<size_t>(pic.height);
    const auto stride = static_cast<size_t>(RowStride(w, bits));
    std::vector<uint8_t> out(stride * h, 0);
    for (size_t s = 0; s < h; ++s) {
        const size_t y = topDown ? s : h - 1 - s;
        uint8_t* row = out.data() + s * stride;
        const uint32_t* in = pic.pixels.data() + y * w;
        const uint8_t* ix = bits <= 8 ? indices.data() + y * w : nullptr;
        for (size_t x = 0; x < w; ++x) {
            const auto r = static_cast<uint8_t>(in[x] >> 16);
            const auto g = static_cast<uint8_t>(in[x] >> 8);
            const auto b = static_cast<uint8_t>(in[x]);
            switch (bits) {
            case 1:
                row[x / 8] = static_cast<uint8_t>(row[x / 8] | ix[x] << (7 - x % 8));
                break;
            case 4:
                row[x / 2] = static_cast<uint8_t>(row[x / 2] | ix[x] << (x % 2 ? 0 : 4));
                break;
            case 8:
                row[x] = ix[x];
                break;
            case 16: {
                const uint32_t px =
                    PackChannel(r, masks.r) | PackChannel(g, masks.g) | PackChannel(b, masks.b);
                row[2 * x] = static_cast<uint8_t>(px);
                row[2 * x + 1] = static_cast<uint8_t>(px >> 8);
                break;
            }
            case 24:
                row[3 * x] = b;
                row[3 * x + 1] = g;
                row[3 * x + 2] = r;
                break;
            default: {
                const uint32_t px =
                    PackChannel(r, masks.r) | PackChannel(g, masks.g) | PackChannel(b, masks.b);
                for (int i = 0; i < 4; ++i) {
                    row[4 * x + static_cast<size_t>(i)] = static_cast<uint8_t>(px >> (8 * i));
                }
                break;
            }
            }
        }
    }
    return out;
}

} // namespace kestrova::dib
