#include "pictures/bitmap_rle.h"

#include "base/fresh_memory.h"
#include "disc/disc_limits.h"

#include <algorithm>
#include <array>

namespace kestrova::dib {

namespace {

// One row of runs. Runs of two or more pixels are encoded, the rest written as literal stretches
// (absolute mode, three pixels at least; shorter ones as runs of one).
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

} // namespace

void CheckRleClaim(int64_t pixels, size_t dataBytes) {
    if (pixels >
        std::max(kRleMinimumAllowance, static_cast<int64_t>(dataBytes) * kRlePixelsPerByte)) {
        ThrowInvalidStream();
    }
}

void DecodeRle(std::span<const uint8_t> data, const DibHeader& h,
               const std::vector<uint32_t>& table, Picture& pic) {
    const int64_t w = h.width;
    const int64_t height = h.height;
    CheckRleClaim(w * height, data.size());
    const bool rle8 = h.compression == kBiRle8;
    // Every index as its colour; one the table lacks is opaque black.
    std::array<uint32_t, 256> colour{};
    colour.fill(0xFF000000u);
    std::copy_n(table.begin(), std::min<size_t>(table.size(), colour.size()), colour.begin());
    // Pixels no run reaches (skipped by a delta, or past an early end of line) keep index 0.
    // Runs are written straight as colours, a whole run at a time.
    const auto size = static_cast<size_t>(w * height);
    pic.pixels.clear();
    pic.pixels.reserve(size);
    ReadyForWriting(pic.pixels.data(), pic.pixels.capacity() * sizeof(uint32_t));
    pic.pixels.assign(size, colour[0]);
    uint32_t* const pixels = pic.pixels.data();
    ByteReader r(data);
    int64_t x = 0;
    int64_t row = 0;
    // Where the pixel at x of the row being read lies; the row is inside the picture.
    const auto at = [&] {
        const int64_t y = h.topDown ? row : height - 1 - row;
        return pixels + y * w + x;
    };
    while (!r.AtEnd() && row < height) {
        const uint8_t count = r.U8();
        const uint8_t value = r.U8();
        if (count > 0) {
            const int64_t n = std::min<int64_t>(count, w - x);
            uint32_t* out = at();
            if (rle8) {
                std::fill_n(out, n, colour[value]);
            } else {
                const uint32_t even = colour[value >> 4];
                const uint32_t odd = colour[value & 0xF];
                for (int64_t i = 0; i < n; ++i) {
                    out[i] = i % 2 ? odd : even;
                }
            }
            x += n;
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
            const int64_t n = std::min<int64_t>(value, w - x);
            uint32_t* out = at();
            for (int64_t i = 0; i < n; ++i) {
                const uint8_t b = run[static_cast<size_t>(rle8 ? i : i / 2)];
                out[i] = colour[rle8 ? b : (i % 2 ? b & 0xF : b >> 4)];
            }
            x += n;
            if (bytes % 2 && !r.AtEnd()) {
                r.Skip(1);
            }
        }
    }
}

std::vector<uint8_t> EncodeRle(const std::vector<uint8_t>& indices, size_t width, size_t height,
                               bool rle8) {
    std::vector<uint8_t> out;
    for (size_t s = 0; s < height; ++s) {
        EncodeRleRow(indices.data() + (height - 1 - s) * width, width, rle8, out);
        out.push_back(0);
        out.push_back(s + 1 < height ? 0 : 1); // end of line; end of bitmap after the last
    }
    return out;
}

} // namespace kestrova::dib
