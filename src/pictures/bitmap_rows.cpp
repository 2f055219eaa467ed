#include "pictures/bitmap_rows.h"

#include "base/fresh_memory.h"
#include "pictures/index_colours.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <optional>

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

// One channel of a bit-field pixel as Channel() scales it, with the scaling of every value of a
// channel of eight bits or fewer worked out once for the whole picture.
class ChannelScale {
  public:
    explicit ChannelScale(uint32_t mask)
        : mask_(mask), shift_(mask == 0 ? 0 : std::countr_zero(mask)), bits_(mask >> shift_) {
        if (mask != 0 && std::bit_width(bits_) <= 8) {
            for (uint32_t v = 0; v <= bits_; ++v) {
                scaled_[v] = Channel(v << shift_, mask);
            }
        }
    }
    uint8_t operator()(uint32_t px) const {
        if (mask_ == 0) {
            return 0;
        }
        const uint32_t v = (px >> shift_) & bits_;
        return bits_ <= 0xFFu ? scaled_[v] : Channel(px, mask_);
    }

  private:
    uint32_t mask_;
    int shift_;
    uint32_t bits_;
    std::array<uint8_t, 256> scaled_{};
};

uint32_t LoadLittle32(const uint8_t* p) {
    return p[0] | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) | (uint32_t{p[3]} << 24);
}

// Blue-green-red triples as colours. `readable` bytes may be read from `in`, at least 3 * n: four
// at a time where a fourth byte is there to be read, the top one then replaced by the alpha.
void ExpandTriples(const uint8_t* in, size_t n, size_t readable, uint32_t* out) {
    size_t x = 0;
    if constexpr (std::endian::native == std::endian::little) {
        const size_t wide = readable >= 4 ? std::min(n, (readable - 4) / 3 + 1) : 0;
        for (; x + 4 <= wide; x += 4) {
            std::array<uint32_t, 4> px;
            std::memcpy(&px[0], in + 3 * x, sizeof(uint32_t));
            std::memcpy(&px[1], in + 3 * x + 3, sizeof(uint32_t));
            std::memcpy(&px[2], in + 3 * x + 6, sizeof(uint32_t));
            std::memcpy(&px[3], in + 3 * x + 9, sizeof(uint32_t));
            for (size_t k = 0; k < 4; ++k) {
                out[x + k] = px[k] | 0xFF000000u;
            }
        }
    }
    for (; x < n; ++x) {
        out[x] = Argb(in[3 * x + 2], in[3 * x + 1], in[3 * x]);
    }
}

// Single bits as colours, most significant first: each half byte's four pixels from one table.
class BitQuads {
  public:
    explicit BitQuads(const IndexColours& colours) {
        for (size_t q = 0; q < quads_.size(); ++q) {
            for (size_t k = 0; k < 4; ++k) {
                quads_[q][k] = colours[static_cast<uint8_t>((q >> (3 - k)) & 1u)];
            }
        }
    }
    void Expand(const IndexColours& colours, const uint8_t* in, size_t n, uint32_t* out) const {
        const size_t whole = n / 8;
        for (size_t i = 0; i < whole; ++i) {
            std::memcpy(out + 8 * i, quads_[in[i] >> 4].data(), 4 * sizeof(uint32_t));
            std::memcpy(out + 8 * i + 4, quads_[in[i] & 0xFu].data(), 4 * sizeof(uint32_t));
        }
        for (size_t x = whole * 8; x < n; ++x) {
            out[x] = colours[static_cast<uint8_t>((in[x / 8] >> (7 - x % 8)) & 1u)];
        }
    }

  private:
    std::array<std::array<uint32_t, 4>, 16> quads_;
};

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
    const IndexColours colours(table);
    const std::optional<NibblePairs> pairs =
        h.bits == 4 ? std::optional<NibblePairs>(colours) : std::nullopt;
    const std::optional<BitQuads> quads =
        h.bits == 1 ? std::optional<BitQuads>(colours) : std::nullopt;
    // Eight-bit channels in their usual places are the bytes themselves.
    const bool plain32 = h.bits == 32 && use.r == 0xFF0000u && use.g == 0xFF00u && use.b == 0xFFu;
    // The scaling of each channel, worked out only for the rows that need it.
    const bool scaled = (h.bits == 16 || h.bits == 32) && !plain32;
    const ChannelScale red(scaled ? use.r : 0), green(scaled ? use.g : 0), blue(scaled ? use.b : 0);
    for (size_t y = 0; y < height; ++y) {
        const size_t s = h.topDown ? y : height - 1 - y;
        const uint8_t* row = data.data() + s * stride;
        // The rows were checked to be there; the last may lack its padding.
        const size_t readable = data.size() - s * stride;
        switch (h.bits) {
        case 1:
            quads->Expand(colours, row, w, out);
            break;
        case 4:
            ExpandNibbles(colours, *pairs, row, w, out);
            break;
        case 8:
            ExpandBytes(colours, row, w, out);
            break;
        case 16:
            for (size_t x = 0; x < w; ++x) {
                const uint32_t px = row[2 * x] | (uint32_t{row[2 * x + 1]} << 8);
                out[x] = Argb(red(px), green(px), blue(px));
            }
            break;
        case 24:
            ExpandTriples(row, w, readable, out);
            break;
        case 32:
            if (plain32) {
                for (size_t x = 0; x < w; ++x) {
                    out[x] = LoadLittle32(row + 4 * x) | 0xFF000000u;
                }
                break;
            }
            for (size_t x = 0; x < w; ++x) {
                const uint32_t px = LoadLittle32(row + 4 * x);
                out[x] = Argb(red(px), green(px), blue(px));
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
