#include "pictures/bitmap_header.h"

#include "disc/disc_limits.h"
#include "pictures/bitmap_codec.h"
#include "pictures/bitmap_rle.h"

#include <algorithm>

namespace kestrova {

namespace dib {

namespace {

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

BitmapInfo InfoOf(const DibHeader& h) {
    BitmapInfo info;
    info.width = static_cast<int>(h.width);
    info.height = static_cast<int>(h.height);
    info.bitDepth = h.bits;
    info.rle = h.Rle();
    info.topDown = h.topDown;
    info.bitfields = h.Bitfields();
    return info;
}

} // namespace

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
    if (h.Rle()) {
        size_t size = r.Remaining();
        if (h.sizeImage != 0) {
            size = std::min<size_t>(size, h.sizeImage);
        }
        d.rows = r.Bytes(size);
        CheckRleClaim(h.width * h.height, d.rows.size());
    } else {
        d.rows = r.Bytes(r.Remaining());
        const uint64_t stride = RowStride(static_cast<uint64_t>(h.width), h.bits);
        const uint64_t lastRow =
            (static_cast<uint64_t>(h.width) * static_cast<uint64_t>(h.bits) + 7) / 8;
        // The last row may lack its padding; everything else must be there.
        if (stride * static_cast<uint64_t>(h.height - 1) + lastRow > d.rows.size()) {
            ThrowReadError();
        }
    }
    return d;
}

size_t BitmapFileRowsOffset(ByteReader& r) {
    if (r.U8() != 'B' || r.U8() != 'M') {
        ThrowInvalidStream();
    }
    r.U32(); // file size: often wrong in the wild, never needed
    r.U32(); // reserved
    return r.U32();
}

} // namespace dib

BitmapInfo InspectBitmapFile(std::span<const uint8_t> bytes) {
    ByteReader r(bytes);
    const size_t offBits = dib::BitmapFileRowsOffset(r);
    return dib::InfoOf(dib::InspectDib(r, offBits).header);
}

BitmapInfo InspectPackedDib(std::span<const uint8_t> bytes) {
    ByteReader r(bytes);
    return dib::InfoOf(dib::InspectDib(r, 0).header);
}

} // namespace kestrova
