#include "pictures/bitmap_codec.h"

#include "base/byte_reader.h"
#include "base/error.h"
#include "base/fresh_memory.h"
#include "disc/disc_limits.h"
#include "disc/file_reader.h"

#include <algorithm>
#include <bit>
#include <unordered_map>
#include <unordered_set>

namespace kestrova {

namespace {

constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiRle8 = 1;
constexpr uint32_t kBiRle4 = 2;
constexpr uint32_t kBiBitfields = 3;
constexpr uint32_t kBiAlphaBitfields = 6;

constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kOs2HeaderSize = 64;
constexpr size_t kFileHeaderSize = 14;

struct Masks {
    uint32_t r = 0, g = 0, b = 0;
};

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

uint32_t Argb(uint8_t r, uint8_t g, uint8_t b) {
    return 0xFF000000u | (uint32_t{r} << 16) | (uint32_t{g} << 8) | b;
}

struct DibHeader {
    uint32_t headerSize = 0;
    int64_t width = 0, height = 0;
    bool topDown = false;
    int bits = 0;
    uint32_t compression = kBiRgb;
    uint32_t sizeImage = 0;
    uint32_t coloursUsed = 0;
    Masks masks;
    size_t entrySize = 4;
};

DibHeader ReadDibHeader(ByteReader& r) {
    DibHeader h;
    const size_t start = r.Position();
    h.headerSize = r.U32();
    if (h.headerSize == kCoreHeaderSize) {
        h.width = r.U16();
        h.height = r.U16();
        r.U16(); // planes
        h.bits = r.U16();
        h.entrySize = 3;
    } else if (h.headerSize >= kInfoHeaderSize) {
        r.Require(h.headerSize - 4);
        h.width = r.I32();
        const int32_t height = r.I32();
        r.U16(); // planes
        h.bits = r.U16();
        h.compression = r.U32();
        h.sizeImage = r.U32();
        r.Skip(8); // resolution
        h.coloursUsed = r.U32();
        r.U32(); // important colours
        if (height < 0) {
            h.topDown = true;
            h.height = -static_cast<int64_t>(height);
        } else {
            h.height = height;
        }
        if (h.headerSize == kOs2HeaderSize && (h.compression == 3 || h.compression == 4)) {
            ThrowInvalidStream(); // OS/2 Huffman and RLE24: not used by any artwork
        }
        if (h.headerSize >= kInfoHeaderSize + 12 && h.headerSize != kOs2HeaderSize) {
            h.masks = {r.U32(), r.U32(), r.U32()};
        }
        r.Seek(start + h.headerSize);
    } else {
        ThrowInvalidStream();
    }

    if (h.width <= 0 || h.height <= 0 || h.width * h.height > kMaxPicturePixels) {
        ThrowInvalidStream();
    }
    const bool knownDepth =
        h.bits == 1 || h.bits == 4 || h.bits == 8 || h.bits == 16 || h.bits == 24 || h.bits == 32;
    if (!knownDepth) {
        ThrowInvalidStream();
    }
    switch (h.compression) {
    case kBiRgb:
        break;
    case kBiRle8:
        if (h.bits != 8) {
            ThrowInvalidStream();
        }
        break;
    case kBiRle4:
        if (h.bits != 4) {
            ThrowInvalidStream();
        }
        break;
    case kBiBitfields:
    case kBiAlphaBitfields:
        if (h.bits != 16 && h.bits != 32) {
            ThrowInvalidStream();
        }
        // With the plain info header the masks follow it.
        if (h.headerSize < kInfoHeaderSize + 12) {
            h.masks = {r.U32(), r.U32(), r.U32()};
            if (h.compression == kBiAlphaBitfields) {
                r.U32();
            }
        }
        break;
    default:
        ThrowInvalidStream();
    }
    return h;
}

std::vector<uint32_t> ReadColourTable(ByteReader& r, const DibHeader& h) {
    std::vector<uint32_t> table;
    if (h.bits <= 8) {
        const uint32_t max = 1u << h.bits;
        const uint32_t count = h.coloursUsed ? h.coloursUsed : max;
        if (count > max) {
            ThrowInvalidStream();
        }
        r.Require(size_t{count} * h.entrySize);
        table.reserve(count);
        for (uint32_t i = 0; i < count; ++i) {
            const auto e = r.Bytes(h.entrySize);
            table.push_back(Argb(e[2], e[1], e[0]));
        }
    } else {
        // An optional table for palette devices; not needed to decode.
        r.Require(size_t{h.coloursUsed} * h.entrySize);
        r.Skip(size_t{h.coloursUsed} * h.entrySize);
    }
    return table;
}

// A run-length picture cannot claim more pixels than its data encodes.
void CheckRleClaim(int64_t pixels, size_t dataBytes) {
    if (pixels >
        std::max(kRleMinimumAllowance, static_cast<int64_t>(dataBytes) * kRlePixelsPerByte)) {
        ThrowInvalidStream();
    }
}

// The rows were checked to be all there (InspectDib).
void DecodeRows(std::span<const uint8_t> data, const DibHeader& h,
                const std::vector<uint32_t>& table, Picture& pic) {
    const auto w = static_cast<size_t>(h.width);
    const auto height = static_cast<size_t>(h.height);
    const uint64_t rowBits = uint64_t{w} * static_cast<uint64_t>(h.bits);
    const uint64_t stride = (rowBits + 31) / 32 * 4;
    // Each row is decoded into a small buffer and appended, so the picture's memory is written
    // once, in order, with no clearing before.
    pic.pixels.clear();
    pic.pixels.reserve(w * height);
    ReadyForWriting(pic.pixels.data(), pic.pixels.capacity() * sizeof(uint32_t));
    std::vector<uint32_t> rowPixels(w);
    uint32_t* out = rowPixels.data();
    const Masks m = h.masks;
    const bool fields = h.compression == kBiBitfields || h.compression == kBiAlphaBitfields;
    const Masks def16{0x7C00, 0x03E0, 0x001F};
    const Masks def32{0xFF0000, 0xFF00, 0xFF};
    const Masks use = fields ? m : (h.bits == 16 ? def16 : def32);
    auto lookup = [&table](uint32_t index) {
        return index < table.size() ? table[index] : 0xFF000000u;
    };
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

// RLE4 / RLE8 with the end-of-line, end-of-bitmap and delta escapes. Pixels the data skips keep
// colour index 0; pixels written past the right edge or the last row are dropped.
void DecodeRle(std::span<const uint8_t> data, const DibHeader& h,
               const std::vector<uint32_t>& table, Picture& pic) {
    const int64_t w = h.width;
    const int64_t height = h.height;
    CheckRleClaim(w * height, data.size());
    const bool rle8 = h.compression == kBiRle8;
    std::vector<uint8_t> index(static_cast<size_t>(w * height), 0);
    ByteReader r(data);
    int64_t x = 0;
    int64_t row = 0;
    auto put = [&](uint8_t value) {
        if (x < w && row < height) {
            const int64_t y = h.topDown ? row : height - 1 - row;
            index[static_cast<size_t>(y * w + x)] = value;
        }
        x = std::min(x + 1, w);
    };
    while (!r.AtEnd() && row < height) {
        const uint8_t count = r.U8();
        const uint8_t value = r.U8();
        if (count > 0) {
            for (int i = 0; i < count && x < w; ++i) {
                put(rle8 ? value : static_cast<uint8_t>(i % 2 ? value & 0xF : value >> 4));
            }
            continue;
        }
        if (value == 0) { // end of line
            x = 0;
            ++row;
        } else if (value == 1) { // end of bitmap
            break;
        } else if (value == 2) { // delta
            const uint8_t dx = r.U8();
            const uint8_t dy = r.U8();
            x = std::min(x + dx, w);
            row += dy;
        } else { // absolute run, padded to a 16-bit boundary
            const size_t bytes = rle8 ? value : (size_t{value} + 1) / 2;
            const auto run = r.Bytes(bytes);
            for (int i = 0; i < value && x < w; ++i) {
                const uint8_t b = run[static_cast<size_t>(rle8 ? i : i / 2)];
                put(rle8 ? b : static_cast<uint8_t>(i % 2 ? b & 0xF : b >> 4));
            }
            if (bytes % 2 && !r.AtEnd()) {
                r.Skip(1);
            }
        }
    }
    pic.pixels.clear();
    pic.pixels.reserve(index.size());
    ReadyForWriting(pic.pixels.data(), pic.pixels.capacity() * sizeof(uint32_t));
    for (const uint8_t i : index) {
        pic.pixels.push_back(i < table.size() ? table[i] : 0xFF000000u);
    }
}

// The header, the colours and where the rows are: everything but the pixels.
struct DibLayout {
    DibHeader header;
    std::vector<uint32_t> table;
    std::span<const uint8_t> rows;
};

// Reads the header and colours starting at the reader's position and checks that the rows can
// hold what the header claims, before any pixel is allocated. pixelOffset is the absolute
// position of the rows when a file header gave one (0: straight after the colours).
DibLayout InspectDib(ByteReader& r, size_t pixelOffset) {
    DibLayout d;
    d.header = ReadDibHeader(r);
    const DibHeader& h = d.header;
    d.table = ReadColourTable(r, h);
    if (pixelOffset > r.Size()) {
        ThrowReadError();
    }
    // An offset pointing back into the header is a writer's slip; the rows follow the colours.
    if (pixelOffset > r.Position()) {
        r.Seek(pixelOffset);
    }
    if (h.compression == kBiRle8 || h.compression == kBiRle4) {
        size_t size = r.Remaining();
        if (h.sizeImage != 0) {
            size = std::min<size_t>(size, h.sizeImage);
        }
        d.rows = r.Bytes(size);
        CheckRleClaim(h.width * h.height, d.rows.size());
    } else {
        d.rows = r.Bytes(r.Remaining());
        const uint64_t rowBits = static_cast<uint64_t>(h.width) * static_cast<uint64_t>(h.bits);
        const uint64_t stride = (rowBits + 31) / 32 * 4;
        const uint64_t lastRow = (rowBits + 7) / 8;
        // The last row may lack its padding; everything else must be there.
        if (stride * static_cast<uint64_t>(h.height - 1) + lastRow > d.rows.size()) {
            ThrowReadError();
        }
    }
    return d;
}

BitmapInfo InfoOf(const DibHeader& h) {
    BitmapInfo info;
    info.width = static_cast<int>(h.width);
    info.height = static_cast<int>(h.height);
    info.bitDepth = h.bits;
    info.rle = h.compression == kBiRle8 || h.compression == kBiRle4;
    info.topDown = h.topDown;
    info.bitfields = h.compression == kBiBitfields || h.compression == kBiAlphaBitfields;
    return info;
}

Picture DecodeDib(ByteReader& r, size_t pixelOffset) {
    const DibLayout d = InspectDib(r, pixelOffset);
    const DibHeader& h = d.header;
    Picture pic;
    pic.width = static_cast<int>(h.width);
    pic.height = static_cast<int>(h.height);
    pic.bitDepth = h.bits;
    pic.topDown = h.topDown;
    for (uint32_t c : d.table) {
        pic.palette.push_back(Rgb{static_cast<uint8_t>(c >> 16), static_cast<uint8_t>(c >> 8),
                                  static_cast<uint8_t>(c)});
    }
    if (h.compression == kBiRle8 || h.compression == kBiRle4) {
        pic.rle = true;
        DecodeRle(d.rows, h, d.table, pic);
    } else {
        if (h.compression == kBiBitfields || h.compression == kBiAlphaBitfields) {
            pic.bitfields = true;
            pic.redMask = h.masks.r;
            pic.greenMask = h.masks.g;
            pic.blueMask = h.masks.b;
        }
        DecodeRows(d.rows, h, d.table, pic);
    }
    return pic;
}

size_t BitmapFileRowsOffset(ByteReader& r) {
    if (r.U8() != 'B' || r.U8() != 'M') {
        ThrowInvalidStream();
    }
    r.U32(); // file size: often wrong in the wild, never needed
    r.U32(); // reserved
    return r.U32();
}

// ---- writing ----

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

uint32_t PackChannel(uint8_t c, uint32_t mask) {
    const int shift = std::countr_zero(mask);
    const uint32_t m = mask >> shift;
    const uint64_t v = (uint64_t{c} * m + 127) / 255;
    return static_cast<uint32_t>(v << shift);
}

struct Layout {
    int bits = 24;
    uint32_t compression = kBiRgb;
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
        l.compression = l.bits == 8 ? kBiRle8 : kBiRle4;
    } else if (o.bitfields && (l.bits == 16 || l.bits == 32)) {
        l.compression = kBiBitfields;
        l.masks = {o.redMask, o.greenMask, o.blueMask};
        if (!UsableMasks(l.masks, l.bits)) {
            l.masks = l.bits == 16 ? Masks{0xF800, 0x07E0, 0x001F} : Masks{0xFF0000, 0xFF00, 0xFF};
        }
    } else if (l.bits == 16) {
        l.masks = {0x7C00, 0x03E0, 0x001F};
    } else if (l.bits == 32) {
        l.masks = {0xFF0000, 0xFF00, 0xFF};
    }
    if (l.bits <= 8) {
        const size_t max = size_t{1} << l.bits;
        // The picture's own palette keeps its order (and unused entries) when it still fits.
        bool own = !pic.palette.empty() && pic.palette.size() <= max;
        if (own) {
            std::unordered_set<uint32_t> known;
            for (const Rgb& c : pic.palette) {
                known.insert((uint32_t{c.r} << 16) | (uint32_t{c.g} << 8) | c.b);
            }
            own = std::all_of(pic.pixels.begin(), pic.pixels.end(),
                              [&known](uint32_t px) { return known.count(px & 0xFFFFFFu) != 0; });
        }
        if (own) {
            for (const Rgb& c : pic.palette) {
                l.palette.push_back((uint32_t{c.r} << 16) | (uint32_t{c.g} << 8) | c.b);
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

void EncodeRleRow(const uint8_t* row, size_t w, bool rle8, std::vector<uint8_t>& out) {
    size_t x = 0;
    while (x < w) {
        size_t run = 1;
        while (x + run < w && run < 255 && row[x + run] == row[x]) {
            ++run;
        }
        if (run >= 2) {
            out.push_back(static_cast<uint8_t>(run));
            out.push_back(rle8 ? row[x] : static_cast<uint8_t>(row[x] << 4 | row[x]));
            x += run;
            continue;
        }
        // Gather a literal stretch up to the next run of two or more.
        size_t lit = 1;
        while (x + lit < w && lit < 255 && !(x + lit + 1 < w && row[x + lit] == row[x + lit + 1])) {
            ++lit;
        }
        if (lit < 3) { // absolute mode needs at least three pixels
            for (size_t i = 0; i < lit; ++i) {
                out.push_back(1);
                out.push_back(rle8 ? row[x + i] : static_cast<uint8_t>(row[x + i] << 4));
            }
        } else {
            out.push_back(0);
            out.push_back(static_cast<uint8_t>(lit));
            size_t bytes = 0;
            if (rle8) {
                out.insert(out.end(), row + x, row + x + lit);
                bytes = lit;
            } else {
                for (size_t i = 0; i < lit; i += 2) {
                    const uint8_t lo = i + 1 < lit ? row[x + i + 1] : 0;
                    out.push_back(static_cast<uint8_t>(row[x + i] << 4 | lo));
                }
                bytes = (lit + 1) / 2;
            }
            if (bytes % 2) {
                out.push_back(0);
            }
        }
        x += lit;
    }
}

std::vector<uint8_t> EncodeRows(const Picture& pic, const Layout& l) {
    const auto w = static_cast<size_t>(pic.width);
    const auto h = static_cast<size_t>(pic.height);
    std::vector<uint8_t> out;
    std::vector<uint8_t> idx;
    if (l.bits <= 8) {
        idx = Indices(pic, l.palette);
    }
    if (l.compression == kBiRle8 || l.compression == kBiRle4) {
        for (size_t s = 0; s < h; ++s) {
            EncodeRleRow(idx.data() + (h - 1 - s) * w, w, l.compression == kBiRle8, out);
            out.push_back(0);
            out.push_back(s + 1 < h ? 0 : 1); // end of line; end of bitmap after the last
        }
        return out;
    }
    const size_t stride = (w * static_cast<size_t>(l.bits) + 31) / 32 * 4;
    out.assign(stride * h, 0);
    for (size_t s = 0; s < h; ++s) {
        const size_t y = l.topDown ? s : h - 1 - s;
        uint8_t* row = out.data() + s * stride;
        const uint32_t* in = pic.pixels.data() + y * w;
        const uint8_t* ix = l.bits <= 8 ? idx.data() + y * w : nullptr;
        for (size_t x = 0; x < w; ++x) {
            const auto r = static_cast<uint8_t>(in[x] >> 16);
            const auto g = static_cast<uint8_t>(in[x] >> 8);
            const auto b = static_cast<uint8_t>(in[x]);
            switch (l.bits) {
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
                const uint32_t px = PackChannel(r, l.masks.r) | PackChannel(g, l.masks.g) |
                                    PackChannel(b, l.masks.b);
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
                const uint32_t px = PackChannel(r, l.masks.r) | PackChannel(g, l.masks.g) |
                                    PackChannel(b, l.masks.b);
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

// Info header, masks, colours and rows.
std::vector<uint8_t> EncodeDib(const Picture& pic, const BitmapWriteOptions& o,
                               size_t* headerBytes) {
    const Layout l = ChooseLayout(pic, o);
    const std::vector<uint8_t> rows = EncodeRows(pic, l);
    ByteWriter w;
    w.U32(kInfoHeaderSize);
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
    if (l.compression == kBiBitfields) {
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

Picture DecodeBitmapFile(std::span<const uint8_t> bytes) {
    ByteReader r(bytes);
    const size_t offBits = BitmapFileRowsOffset(r);
    return DecodeDib(r, offBits);
}

Picture DecodePackedDib(std::span<const uint8_t> bytes) {
    ByteReader r(bytes);
    return DecodeDib(r, 0);
}

BitmapInfo InspectBitmapFile(std::span<const uint8_t> bytes) {
    ByteReader r(bytes);
    const size_t offBits = BitmapFileRowsOffset(r);
    return InfoOf(InspectDib(r, offBits).header);
}

BitmapInfo InspectPackedDib(std::span<const uint8_t> bytes) {
    ByteReader r(bytes);
    return InfoOf(InspectDib(r, 0).header);
}

Picture LoadBitmapFile(const std::string& discPath, PixelBudget* budget) {
    const std::vector<uint8_t> bytes = ReadBoundedFile(discPath, kBackgroundKind);
    try {
        const BitmapInfo info = InspectBitmapFile(bytes);
        if (budget) {
            budget->Charge(info.Pixels(), discPath);
        }
        return DecodeBitmapFile(bytes);
    } catch (const Error& e) {
        if (!e.Detail().empty()) {
            throw;
        }
        throw Error(e.what(), discPath + ": not a bitmap the front end can read");
    }
}

std::vector<uint8_t> EncodePackedDib(const Picture& picture, const BitmapWriteOptions& options) {
    size_t header = 0;
    return EncodeDib(picture, options, &header);
}

std::vector<uint8_t> EncodeBitmapFile(const Picture& picture, const BitmapWriteOptions& options) {
    size_t header = 0;
    const std::vector<uint8_t> dib = EncodeDib(picture, options, &header);
    ByteWriter w;
    w.U8('B');
    w.U8('M');
    w.U32(static_cast<uint32_t>(kFileHeaderSize + dib.size()));
    w.U32(0);
    w.U32(static_cast<uint32_t>(kFileHeaderSize + header));
    w.Bytes(dib);
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
