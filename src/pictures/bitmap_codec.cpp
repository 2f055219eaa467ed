// Reading bitmaps: the header and colours (bitmap_header.cpp), then the rows, uncompressed
// (bitmap_rows.cpp) or run-length (bitmap_rle.cpp). Writing is in bitmap_writer.cpp.

#include "pictures/bitmap_codec.h"

#include "base/error.h"
#include "disc/file_reader.h"
#include "pictures/bitmap_header.h"
#include "pictures/bitmap_rle.h"
#include "pictures/bitmap_rows.h"

namespace kestrova {

namespace {

Picture DecodeDib(ByteReader& r, size_t pixelOffset) {
    const dib::DibLayout d = dib::InspectDib(r, pixelOffset);
    const dib::DibHeader& h = d.header;
    Picture pic;
    pic.width = static_cast<int>(h.width);
    pic.height = static_cast<int>(h.height);
    pic.bitDepth = h.bits;
    pic.topDown = h.topDown;
    for (uint32_t c : d.table) {
        pic.palette.push_back(Rgb{static_cast<uint8_t>(c >> 16), static_cast<uint8_t>(c >> 8),
                                  static_cast<uint8_t>(c)});
    }
    if (h.Rle()) {
        pic.rle = true;
        dib::DecodeRle(d.rows, h, d.table, pic);
    } else {
        if (h.Bitfields()) {
            pic.bitfields = true;
            pic.redMask = h.masks.r;
            pic.greenMask = h.masks.g;
            pic.blueMask = h.masks.b;
        }
        dib::DecodeRows(d.rows, h, d.table, pic);
    }
    return pic;
}

} // namespace

Picture DecodeBitmapFile(std::span<const uint8_t> bytes) {
    ByteReader r(bytes);
    const size_t offBits = dib::BitmapFileRowsOffset(r);
    return DecodeDib(r, offBits);
}

Picture DecodePackedDib(std::span<const uint8_t> bytes) {
    ByteReader r(bytes);
    return DecodeDib(r, 0);
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

} // namespace kestrova
