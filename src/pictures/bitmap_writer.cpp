// Writing bitmaps: the layout a picture is written in (depth, compression, masks, palette), then
// the info header, masks, colours and rows, with or without the "BM" file header.

#include "base/error.h"
#include "pictures/bitmap_codec.h"
#include "pictures/bitmap_header.h"
#include "pictures/bitmap_rle.h"
#include "pictures/bitmap_rows.h"

#include <algorithm>
#include <bit>
#include <unordered_map>
#include <unordered_set>

namespace kestrova {

namespace {

using dib::Masks;

// Contiguous, non-overlapping masks that fit the depth.
bool UsableMasks(const Masks& m, int bits) {
    const uint64_t limit = bits >= 32 ? 0xFFFFFFFFull : (uint64_t{1} << bits) - 1;
    uint32_t seen = 0;
    for (uint32_t mask : {m.r, m.g, m.b}) {
        if (mask == 0 || mask > limit || (seen & mask) != 0) {
            return false;
        }
        const uint32_t shifted = mask >> std::countr_zero(mask);
        if ((shifted & (shifted + 1)) != 0) { // not contiguous
            return false;
        }
        seen |= mask;
    }
    return true;
}

uint32_t Rgb24(const Rgb& c) {
    return (uint32_t{c.r} << 16) | (uint32_t{c.g} << 8) | c.b;
}

struct Layout {
    int bits = 24;
    uint32_t compression = dib::kBiRgb;
    bool topDown = false;
    Masks masks;
    std::vector<uint32_t> palette; // 0xRRGGBB
};

Layout ChooseLayout(const Picture& pic, const BitmapWriteOptions& o) {
    if (pic.IsEmpty() ||
        pic.pixels.size() != static_cast<size_t>(pic.width) * static_cast<size_t>(pic.height)) {
        throw Error("The picture is empty or its size does not match its pixels");
    }
    Layout l;
    l.bits = o.bitDepth ? o.bitDepth : 24;
    if (l.bits != 1 && l.bits != 4 && l.bits != 8 && l.bits != 16 && l.bits != 24 && l.bits != 32) {
        throw Error("Unsupported bit depth " + std::to_string(l.bits));
    }
    const bool rle = o.rle && (l.bits == 4 || l.bits == 8);
    l.topDown = o.topDown && !rle; // compressed rows are always bottom-up
    if (rle) {
        l.compression = l.bits == 8 ? dib::kBiRle8 : dib::kBiRle4;
    } else if (o.bitfields && (l.bits == 16 || l.bits == 32)) {
        l.compression = dib::kBiBitfields;
        l.masks = {o.redMask, o.greenMask, o.blueMask};
        if (!UsableMasks(l.masks, l.bits)) {
            l.masks = l.bits == 16 ? Masks{0xF800, 0x07E0, 0x001F} : dib::kPlainMasks32;
        }
    } else if (l.bits == 16) {
        l.masks = dib::kPlainMasks16;
    } else if (l.bits == 32) {
        l.masks = dib::kPlainMasks32;
    }
    if (l.bits <= 8) {
        const size_t max = size_t{1} << l.bits;
        // The picture's own palette keeps its order (and unused entries) when it still fits.
        bool own = !pic.palette.empty() && pic.palette.size() <= max;
        if (own) {
            std::unordered_set<uint32_t> known;
            for (const Rgb& c : pic.palette) {
                known.insert(Rgb24(c));
            }
            own = std::all_of(pic.pixels.begin(), pic.pixels.end(),
                              [&known](uint32_t px) { return known.count(px & 0xFFFFFFu) != 0; });
        }
        if (own) {
            for (const Rgb& c : pic.palette) {
                l.palette.push_back(Rgb24(c));
            }
        } else {
            l.palette = DistinctColours(pic, max);
            if (l.palette.size() > max) {
                throw Error("The picture has more than " + std::to_string(max) +
                            " colours, too many for " + std::to_string(l.bits) + " bits per pixel");
            }
        }
    }
    return l;
}

// Colour indices of the picture's pixels, top-down.
std::vector<uint8_t> Indices(const Picture& pic, const std::vector<uint32_t>& palette) {
    std::unordered_map<uint32_t, uint8_t> lookup;
    for (size_t i = palette.size(); i-- > 0;) {
        lookup[palette[i]] = static_cast<uint8_t>(i); // the first of equal entries wins
    }
    std::vector<uint8_t> out(pic.pixels.size());
    for (size_t i = 0; i < out.size(); ++i) {
        out[i] = lookup.at(pic.pixels[i] & 0xFFFFFFu);
    }
    return out;
}

std::vector<uint8_t> EncodeRows(const Picture& pic, const Layout& l) {
    std::vector<uint8_t> indices;
    if (l.bits <= 8) {
        indices = Indices(pic, l.palette);
    }
    if (l.compression == dib::kBiRle8 || l.compression == dib::kBiRle4) {
        return dib::EncodeRle(indices, static_cast<size_t>(pic.width),
                              static_cast<size_t>(pic.height), l.compression == dib::kBiRle8);
    }
    return dib::EncodeRows(pic, l.bits, l.topDown, l.masks, indices);
}

// Info header, masks, colours and rows.
std::vector<uint8_t> EncodeDib(const Picture& pic, const BitmapWriteOptions& o,
                               size_t* headerBytes) {
    const Layout l = ChooseLayout(pic, o);
    const std::vector<uint8_t> rows = EncodeRows(pic, l);
    ByteWriter w;
    w.U32(dib::kInfoHeaderSize);
    w.I32(pic.width);
    w.I32(l.topDown ? -pic.height : pic.height);
    w.U16(1);
    w.U16(static_cast<uint16_t>(l.bits));
    w.U32(l.compression);
    w.U32(static_cast<uint32_t>(rows.size()));
    w.U32(0);
    w.U32(0);
    w.U32(static_cast<uint32_t>(l.palette.size()));
    w.U32(0);
    if (l.compression == dib::kBiBitfields) {
        w.U32(l.masks.r);
        w.U32(l.masks.g);
        w.U32(l.masks.b);
    }
    for (uint32_t c : l.palette) {
        w.U8(static_cast<uint8_t>(c));
        w.U8(static_cast<uint8_t>(c >> 8));
        w.U8(static_cast<uint8_t>(c >> 16));
        w.U8(0);
    }
    *headerBytes = w.Size();
    w.Bytes(rows);
    return w.Take();
}

} // namespace

BitmapWriteOptions StoredOptions(const Picture& picture) {
    BitmapWriteOptions o;
    o.bitDepth = picture.bitDepth ? picture.bitDepth : 24;
    o.rle = picture.rle;
    o.topDown = picture.topDown;
    o.bitfields = picture.bitfields;
    o.redMask = picture.redMask;
    o.greenMask = picture.greenMask;
    o.blueMask = picture.blueMask;
    return o;
}

std::vector<uint8_t> EncodePackedDib(const Picture& picture, const BitmapWriteOptions& options) {
    size_t header = 0;
    return EncodeDib(picture, options, &header);
}

std::vector<uint8_t> EncodeBitmapFile(const Picture& picture, const BitmapWriteOptions& options) {
    size_t header = 0;
    const std::vector<uint8_t> packed = EncodeDib(picture, options, &header);
    ByteWriter w;
    w.U8('B');
    w.U8('M');
    w.U32(static_cast<uint32_t>(dib::kFileHeaderSize + packed.size()));
    w.U32(0);
    w.U32(static_cast<uint32_t>(dib::kFileHeaderSize + header));
    w.Bytes(packed);
    return w.Take();
}

std::vector<uint32_t> DistinctColours(const Picture& picture, size_t limit) {
    std::vector<uint32_t> out;
    std::unordered_set<uint32_t> seen;
    for (uint32_t px : picture.pixels) {
        const uint32_t c = px & 0xFFFFFFu;
        if (seen.insert(c).second) {
            out.push_back(c);
            if (out.size() > limit) {
                break;
            }
        }
    }
    return out;
}

} // namespace kestrova
