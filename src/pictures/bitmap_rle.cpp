#include "pictures/bitmap_rle.h"

#include "base/fresh_memory.h"
#include "disc/disc_limits.h"
#include "pictures/index_colours.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>

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

// n pixels alternately `a` and `b`, starting with `a`: four at a time, the last four (when n is
// not a multiple of four) overlapping the ones before.
[[gnu::always_inline]] inline void FillRun(uint32_t* out, size_t n, uint32_t a, uint32_t b) {
    if (n < 4) {
        for (size_t i = 0; i < n; ++i) {
            out[i] = i % 2 ? b : a;
        }
        return;
    }
    const std::array<uint32_t, 4> fromA{a, b, a, b};
    size_t i = 0;
    for (; i + 4 <= n; i += 4) {
        std::memcpy(out + i, fromA.data(), sizeof fromA);
    }
    if (i < n) {
        const std::array<uint32_t, 4> fromB{b, a, b, a};
        std::memcpy(out + n - 4, n % 2 ? fromB.data() : fromA.data(), sizeof fromA);
    }
}

// The runs and escapes of the stream, into pixels already holding the colour of index 0.
template <bool kRle8>
void DecodeRuns(std::span<const uint8_t> data, const DibHeader& h, const IndexColours& colour,
                uint32_t* const pixels) {
    const auto w = static_cast<size_t>(h.width);
    const auto height = static_cast<size_t>(h.height);
    const std::optional<NibblePairs> pairs =
        kRle8 ? std::nullopt : std::optional<NibblePairs>(colour);
    // The data is read through a cursor checked once for each escape or run, never per pixel:
    // whatever a run needs is known to be there before any of it is read.
    const uint8_t* in = data.data();
    const uint8_t* const end = in + data.size();
    const auto left = [&in, end] { return static_cast<size_t>(end - in); };
    size_t row = 0;
    // Where the next pixel goes, and the pixels left in its row; the row is inside the picture.
    uint32_t* out = pixels + (h.topDown ? 0 : height - 1) * w;
    size_t room = w;
    const auto moveTo = [&](size_t x) {
        out = pixels + (h.topDown ? row : height - 1 - row) * w + x;
        room = w - x;
    };
    while (left() >= 2) {
        const uint8_t count = in[0];
        const uint8_t value = in[1];
        in += 2;
        if (count > 0) {
            const size_t n = std::min<size_t>(count, room);
            const uint32_t even = colour[kRle8 ? value : static_cast<uint8_t>(value >> 4)];
            const uint32_t odd = kRle8 ? even : colour[static_cast<uint8_t>(value & 0xFu)];
            FillRun(out, n, even, odd);
            out += n;
            room -= n;
            continue;
        }
        if (value == 0) { // end of line
            if (++row == height) {
                return;
            }
            moveTo(0);
        } else if (value == 1) { // end of bitmap
            return;
        } else if (value == 2) { // delta
            if (left() < 2) {
                ThrowReadError();
            }
            const uint8_t dx = in[0];
            const uint8_t dy = in[1];
            in += 2;
            row += dy;
            if (row >= height) {
                return;
            }
            moveTo(std::min(w - room + dx, w));
        } else { // absolute run, padded to a 16-bit boundary
            const size_t bytes = kRle8 ? value : (size_t{value} + 1) / 2;
            if (left() < bytes) {
                ThrowReadError();
            }
            const size_t n = std::min<size_t>(value, room);
            if (kRle8) {
                ExpandBytes(colour, in, n, out);
            } else {
                ExpandNibbles(colour, *pairs, in, n, out);
            }
            out += n;
            room -= n;
            in += bytes;
            if (bytes % 2 && in != end) {
                ++in;
            }
        }
    }
    // A run or escape cut short by the end of the data.
    if (in != end) {
        ThrowReadError();
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
    CheckRleClaim(h.width * h.height, data.size());
    const IndexColours colour(table);
    // Pixels no run reaches (skipped by a delta, or past an early end of line) keep index 0.
    // Runs are written straight as colours, a whole run at a time.
    const auto size = static_cast<size_t>(h.width * h.height);
    pic.pixels.clear();
    pic.pixels.reserve(size);
    ReadyForWriting(pic.pixels.data(), pic.pixels.capacity() * sizeof(uint32_t));
    pic.pixels.assign(size, colour[0]);
    if (h.compression == kBiRle8) {
        DecodeRuns<true>(data, h, colour, pic.pixels.data());
    } else {
        DecodeRuns<false>(data, h, colour, pic.pixels.data());
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
