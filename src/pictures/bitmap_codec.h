#pragma once
// Windows bitmaps: the "BM" file and the packed device-independent bitmap (header, colours,
// rows). Reads every depth the formats allow (1, 4, 8, 16, 24, 32 bits; RLE4, RLE8, bit-fields;
// bottom-up and top-down; the old 12-byte core header) and writes the same range.
// Malformed data raises kestrova::Error with "Stream read error" (data ends early) or
// "Invalid stream format" (anything else).

#include "pictures/picture.h"
#include "pictures/pixel_budget.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kestrova {

struct BitmapWriteOptions {
    int bitDepth = 24;      // 1, 4, 8, 16, 24 or 32
    bool rle = false;       // RLE4 / RLE8; only at 4 and 8 bits (rows are then bottom-up)
    bool topDown = false;   // negative height, top row first; not with RLE
    bool bitfields = false; // BI_BITFIELDS at 16 and 32 bits, with the masks below
    // Contiguous, non-overlapping masks within the depth; when not (or 0), 565 at 16 bits and
    // 8-8-8 at 32 bits.
    uint32_t redMask = 0, greenMask = 0, blueMask = 0;
};

// The options that write a picture back in the form it was read in (depth 24 when unknown).
BitmapWriteOptions StoredOptions(const Picture& picture);

// What a bitmap's header says, checked as decoding would check it (sizes, colours, that the rows
// hold what the header claims) without decoding a pixel.
struct BitmapInfo {
    int width = 0, height = 0;
    int bitDepth = 0;
    bool rle = false, topDown = false, bitfields = false;
    int64_t Pixels() const { return int64_t{width} * height; }
};

BitmapInfo InspectBitmapFile(std::span<const uint8_t> bytes);
BitmapInfo InspectPackedDib(std::span<const uint8_t> bytes);

Picture DecodeBitmapFile(std::span<const uint8_t> bytes);
Picture DecodePackedDib(std::span<const uint8_t> bytes);
// Reads a bitmap file from the disc (at most the background's file-size limit); "Cannot open
// file %s" when it cannot be read, the decoder's message when it does not decode, each with a
// Detail() naming the file and the reason.
// With `budget`, the picture's pixels are taken from it before they are decoded.
Picture LoadBitmapFile(const std::string& discPath, PixelBudget* budget = nullptr);

// At 8 bits or fewer the picture's own palette is used when it holds every pixel colour and fits;
// otherwise a palette is made from the colours in order of appearance. More colours than the depth
// allows raise kestrova::Error. The result records the depth and form that were written.
std::vector<uint8_t> EncodeBitmapFile(const Picture& picture, const BitmapWriteOptions& options);
std::vector<uint8_t> EncodePackedDib(const Picture& picture, const BitmapWriteOptions& options);

// Distinct colours of the picture (0xRRGGBB), in order of first appearance, stopping once more
// than `limit` have been seen.
std::vector<uint32_t> DistinctColours(const Picture& picture, size_t limit);

} // namespace kestrova
