#pragma once
// Uncompressed bitmap rows at every depth, read and written: palette indices at 1, 4 and 8 bits,
// masked channels at 16 and 32, blue-green-red at 24. Internal to the pictures library.

#include "pictures/bitmap_header.h"
#include "pictures/picture.h"

#include <cstdint>
#include <span>
#include <vector>

namespace kestrova::dib {

// Decodes the rows into `pic.pixels`, top row first. The rows were checked to be all there
// (InspectDib); indices outside the colour table read as black.
void DecodeRows(std::span<const uint8_t> data, const DibHeader& h,
                const std::vector<uint32_t>& table, Picture& pic);

// The stored rows of `pic`, bottom row first unless `topDown`, each padded to its stride. At 8 bits
// or fewer `indices` holds each pixel's colour index, top row first; at 16 and 32 bits the
// channels are packed into `masks`.
std::vector<uint8_t> EncodeRows(const Picture& pic, int bits, bool topDown, const Masks& masks,
                                const std::vector<uint8_t>& indices);

} // namespace kestrova::dib
