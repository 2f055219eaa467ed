#pragma once
// Run-length rows (RLE8 and RLE4), read and written. Internal to the pictures library.

#include "pictures/bitmap_header.h"
#include "pictures/picture.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace kestrova::dib {

// A run-length picture cannot claim more pixels than its data encodes: "Invalid stream format"
// when it does.
void CheckRleClaim(int64_t pixels, size_t dataBytes);

// Decodes the runs with the end-of-line, end-of-bitmap and delta escapes into `pic.pixels`, top
// row first. Pixels the data skips keep colour index 0; pixels written past the right edge or the
// last row are dropped.
void DecodeRle(std::span<const uint8_t> data, const DibHeader& h,
               const std::vector<uint32_t>& table, Picture& pic);

// The runs of a width x height picture of colour `indices` (top row first), rows bottom-up, each
// ended by an end-of-line escape and the last by the end of the bitmap.
std::vector<uint8_t> EncodeRle(const std::vector<uint8_t>& indices, size_t width, size_t height,
                               bool rle8);

} // namespace kestrova::dib
