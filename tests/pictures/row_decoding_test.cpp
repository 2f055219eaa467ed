// The row and run decoders against a plain reading of the same bytes, one pixel and one checked
// byte at a time: every depth, odd widths, both row orders, short colour tables, rows without
// their last padding, random and cut-short run-length streams. Each picture is handed over in a
// buffer of exactly its size, so that a read one byte too far is met under the address checker.

#include "base/byte_reader.h"
#include "pictures/bitmap_codec.h"

#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace kestrova {
namespace {

using testing::Bytes;
using testing::ErrorText;

struct Layout {
    int width = 1, height = 1, bits = 8;
    bool topDown = false;
    uint32_t compression = 0;    // 0 plain, 1 RLE8, 2 RLE4, 3 bit-fields
    std::vector<uint32_t> table; // 0xRRGGBB, at 8 bits or fewer
    uint32_t masks[3] = {0, 0, 0};
};

// A packed DIB: the 40-byte header, the masks for bit-fields, the colours, then `rows`.
std::vector<uint8_t> PackedDib(const Layout& l, const std::vector<uint8_t>& rows) {
    Bytes b;
    b.U32(40).U32(static_cast<uint32_t>(l.width));
    b.U32(static_cast<uint32_t>(l.topDown ? -l.height : l.height));
    b.U16(1).U16(static_cast<uint16_t>(l.bits)).U32(l.compression).U32(0).U32(0).U32(0);
    b.U32(static_cast<uint32_t>(l.table.size())).U32(0);
    if (l.compression == 3) {
        b.U32(l.masks[0]).U32(l.masks[1]).U32(l.masks[2]);
    }
    for (uint32_t c : l.table) {
        b.U32(c);
    }
    b.Raw(rows);
    return b.data;
}

uint32_t Opaque(uint32_t rgb) {
    return 0xFF000000u | rgb;
}

// The colour of an index, read the long way: past the table it is black.
uint32_t IndexColour(const Layout& l, uint32_t index) {
    return index < l.table.size() ? Opaque(l.table[index]) : 0xFF000000u;
}

uint32_t ScaledChannel(uint32_t px, uint32_t mask) {
    if (mask == 0) {
        return 0;
    }
    const int shift = std::countr_zero(mask);
    const uint64_t m = mask >> shift;
    const uint64_t max = (uint64_t{1} << std::bit_width(m)) - 1;
    const uint64_t v = (px >> shift) & m;
    return static_cast<uint32_t>(std::min<uint64_t>(255, (v * 255 + max / 2) / max));
}

// Uncompressed rows, one pixel at a time, every byte read through the checked reader.
std::vector<uint32_t> PlainRows(const Layout& l, const std::vector<uint8_t>& rows) {
    const auto w = static_cast<size_t>(l.width);
    const size_t stride = (w * static_cast<size_t>(l.bits) + 31) / 32 * 4;
    ByteReader r(rows);
    std::vector<uint32_t> out;
    for (int y = 0; y < l.height; ++y) {
        const size_t s = static_cast<size_t>(l.topDown ? y : l.height - 1 - y);
        for (size_t x = 0; x < w; ++x) {
            const size_t bit = x * static_cast<size_t>(l.bits);
            r.Seek(s * stride + bit / 8);
            uint32_t px = 0;
            switch (l.bits) {
            case 1:
            case 4:
                px = (r.U8() >> (8 - l.bits - bit % 8)) & ((1u << l.bits) - 1);
                out.push_back(IndexColour(l, px));
                continue;
            case 8:
                out.push_back(IndexColour(l, r.U8()));
                continue;
            case 24: {
                const uint32_t blue = r.U8(), green = r.U8(), red = r.U8();
                out.push_back(Opaque(red << 16 | green << 8 | blue));
                continue;
            }
            default:
                px = l.bits == 16 ? r.U16() : r.U32();
            }
            const bool fields = l.compression == 3;
            const uint32_t rm = fields ? l.masks[0] : (l.bits == 16 ? 0x7C00 : 0xFF0000);
            const uint32_t gm = fields ? l.masks[1] : (l.bits == 16 ? 0x03E0 : 0xFF00);
            const uint32_t bm = fields ? l.masks[2] : (l.bits == 16 ? 0x001F : 0xFF);
            out.push_back(Opaque(ScaledChannel(px, rm) << 16 | ScaledChannel(px, gm) << 8 |
                                 ScaledChannel(px, bm)));
        }
    }
    return out;
}

// Run-length rows, one pixel at a time, every byte read through the checked reader.
std::vector<uint32_t> PlainRuns(const Layout& l, const std::vector<uint8_t>& data) {
    const bool rle8 = l.compression == 1;
    const int64_t w = l.width;
    std::vector<uint32_t> out(static_cast<size_t>(w * l.height), IndexColour(l, 0));
    const auto put = [&](int64_t x, int64_t row, uint32_t index) {
        if (x < w) {
            const int64_t y = l.topDown ? row : l.height - 1 - row;
            out[static_cast<size_t>(y * w + x)] = IndexColour(l, index);
        }
    };
    ByteReader r(data);
    int64_t x = 0, row = 0;
    while (!r.AtEnd() && row < l.height) {
        const uint8_t count = r.U8();
        const uint8_t value = r.U8();
        if (count > 0) {
            for (int i = 0; i < count; ++i, ++x) {
                put(x, row, rle8 ? value : (i % 2 ? value & 0xF : value >> 4));
            }
            x = std::min(x, w);
        } else if (value == 0) {
            x = 0;
            ++row;
        } else if (value == 1) {
            break;
        } else if (value == 2) {
            x = std::min<int64_t>(x + r.U8(), w);
            row += r.U8();
        } else {
            std::vector<uint8_t> literal;
            for (int i = 0; i < (rle8 ? value : (value + 1) / 2); ++i) {
                literal.push_back(r.U8());
            }
            for (int i = 0; i < value; ++i, ++x) {
                const uint8_t b = literal[static_cast<size_t>(rle8 ? i : i / 2)];
                put(x, row, rle8 ? b : (i % 2 ? b & 0xF : b >> 4));
            }
            x = std::min(x, w);
            if (literal.size() % 2 && !r.AtEnd()) {
                r.U8();
            }
        }
    }
    return out;
}

// The decoder's pixels, or its error, from a buffer holding exactly the picture's bytes.
std::string Decoded(const std::vector<uint8_t>& bytes, std::vector<uint32_t>& pixels) {
    const auto exact = std::make_unique<uint8_t[]>(bytes.size());
    std::copy(bytes.begin(), bytes.end(), exact.get());
    return ErrorText([&] {
        pixels = DecodePackedDib(std::span<const uint8_t>(exact.get(), bytes.size())).pixels;
    });
}

// The same bytes read the plain way: its pixels, or its error.
template <typename Plain> std::string Expected(Plain plain, std::vector<uint32_t>& pixels) {
    return ErrorText([&] { pixels = plain(); });
}

std::string Describe(const Layout& l, uint32_t seed) {
    return std::to_string(l.width) + "x" + std::to_string(l.height) + " at " +
           std::to_string(l.bits) + " bits, compression " + std::to_string(l.compression) +
           (l.topDown ? ", top-down" : ", bottom-up") + ", " + std::to_string(l.table.size()) +
           " colours, case " + std::to_string(seed);
}

void ExpectSamePixels(const std::vector<uint32_t>& fast, const std::vector<uint32_t>& plain,
                      const std::string& what) {
    ASSERT_EQ(fast.size(), plain.size()) << what;
    const auto [a, b] = std::mismatch(fast.begin(), fast.end(), plain.begin());
    ASSERT_TRUE(a == fast.end()) << what << ": first difference at pixel " << (a - fast.begin())
                                 << ", " << std::hex << *a << " instead of " << *b;
}

Layout RandomLayout(std::mt19937& rng, int bits, uint32_t compression) {
    Layout l;
    l.bits = bits;
    l.compression = compression;
    // Every width up to 40 comes up: each remainder of a byte, a 32-bit word and a group of
    // four or eight pixels.
    l.width = 1 + static_cast<int>(rng() % 40);
    l.height = 1 + static_cast<int>(rng() % 6);
    l.topDown = rng() % 2 == 0;
    if (bits <= 8) {
        // Short tables too, so that indices past them come up.
        const uint32_t max = 1u << bits;
        const uint32_t size = 1 + static_cast<uint32_t>(rng() % max);
        for (uint32_t i = 0; i < size; ++i) {
            l.table.push_back(rng() & 0xFFFFFFu);
        }
    }
    if (compression == 3) {
        // Masks of every kind: the usual ones, wide and narrow, split, empty.
        const uint32_t choices[] = {0x7C00,     0x03E0,     0x001F,     0xF800, 0x07E0,
                                    0xFF0000,   0xFF00,     0xFF,       0,      0xFFF00000,
                                    0x000FFF00, 0x80000001, 0x0000F00F, 0x1,    0xFFFF};
        for (uint32_t& m : l.masks) {
            m = choices[rng() % std::size(choices)];
            if (bits == 16) {
                m &= 0xFFFFu;
            }
        }
    }
    return l;
}

std::vector<uint8_t> RandomBytes(std::mt19937& rng, size_t n) {
    std::vector<uint8_t> bytes(n);
    for (uint8_t& b : bytes) {
        b = static_cast<uint8_t>(rng());
    }
    return bytes;
}

TEST(PicturesRowDecoding, EveryDepthMatchesThePlainReadingPixelForPixel) {
    std::mt19937 rng(20240611);
    const std::pair<int, uint32_t> kinds[] = {{1, 0},  {4, 0},  {8, 0},  {16, 0},
                                              {24, 0}, {32, 0}, {16, 3}, {32, 3}};
    for (const auto& [bits, compression] : kinds) {
        for (uint32_t seed = 0; seed < 300; ++seed) {
            const Layout l = RandomLayout(rng, bits, compression);
            const size_t stride = (static_cast<size_t>(l.width * bits) + 31) / 32 * 4;
            const size_t lastRow = (static_cast<size_t>(l.width * bits) + 7) / 8;
            // Every row padded, or the last one without its padding: the smallest the reader
            // takes, where a read past the last pixel would leave the buffer.
            const size_t size =
                stride * static_cast<size_t>(l.height - 1) + (seed % 2 ? lastRow : stride);
            const std::vector<uint8_t> rows = RandomBytes(rng, size);
            std::vector<uint32_t> fast, plain;
            const std::string what = Describe(l, seed);
            ASSERT_EQ(Decoded(PackedDib(l, rows), fast), "(no error)") << what;
            ASSERT_EQ(Expected([&] { return PlainRows(l, rows); }, plain), "(no error)") << what;
            ExpectSamePixels(fast, plain, what);
        }
    }
}

TEST(PicturesRowDecoding, RowsOneByteShortAreRefusedAtEveryDepth) {
    for (int bits : {1, 4, 8, 16, 24, 32}) {
        for (int width : {1, 3, 5, 8, 13}) {
            Layout l;
            l.bits = bits;
            l.width = width;
            l.height = 3;
            l.table.assign(bits <= 8 ? 2 : 0, 0x123456);
            const size_t stride = (static_cast<size_t>(width * bits) + 31) / 32 * 4;
            const size_t lastRow = (static_cast<size_t>(width * bits) + 7) / 8;
            std::vector<uint32_t> pixels;
            const std::vector<uint8_t> rows(stride * 2 + lastRow - 1, 0x5A);
            EXPECT_EQ(Decoded(PackedDib(l, rows), pixels), "Stream read error")
                << bits << " bits, width " << width;
        }
    }
}

// A stream of the escapes and runs a writer would use, with now and then one it would not: runs
// past the right edge, deltas past the bottom, literals of odd length, a missing end.
std::vector<uint8_t> RandomRuns(std::mt19937& rng, const Layout& l) {
    const bool rle8 = l.compression == 1;
    std::vector<uint8_t> s;
    const int items = static_cast<int>(rng() % (8 * static_cast<uint32_t>(l.height) + 4));
    for (int i = 0; i < items; ++i) {
        const uint32_t kind = rng() % 16;
        if (kind < 7) { // a run, mostly short
            const uint32_t count = 1 + (kind < 5 ? rng() % 12 : rng() % 255);
            s.push_back(static_cast<uint8_t>(count));
            s.push_back(static_cast<uint8_t>(rng()));
        } else if (kind < 11) { // a literal
            const uint32_t count = 3 + (kind < 10 ? rng() % 14 : rng() % 253);
            s.push_back(0);
            s.push_back(static_cast<uint8_t>(count));
            const size_t bytes = rle8 ? count : (count + 1) / 2;
            for (size_t k = 0; k < bytes + bytes % 2; ++k) {
                s.push_back(static_cast<uint8_t>(rng()));
            }
        } else if (kind < 14) { // end of line
            s.push_back(0);
            s.push_back(0);
        } else if (kind < 15) { // a delta
            s.push_back(0);
            s.push_back(2);
            s.push_back(static_cast<uint8_t>(rng() % (l.width + 3)));
            s.push_back(static_cast<uint8_t>(rng() % 3));
        } else { // the end of the bitmap, sometimes with bytes after it
            s.push_back(0);
            s.push_back(1);
        }
    }
    if (rng() % 2) {
        s.push_back(0);
        s.push_back(1);
    }
    return s;
}

void ExpectRunsMatch(const Layout& l, const std::vector<uint8_t>& stream, const std::string& what) {
    std::vector<uint32_t> fast, plain;
    const std::string fastError = Decoded(PackedDib(l, stream), fast);
    const std::string plainError = Expected([&] { return PlainRuns(l, stream); }, plain);
    ASSERT_EQ(fastError, plainError) << what;
    if (fastError == "(no error)") {
        ExpectSamePixels(fast, plain, what);
    }
}

TEST(PicturesRowDecoding, RandomRunsMatchThePlainReadingInBothRowOrders) {
    std::mt19937 rng(7);
    for (uint32_t compression : {1u, 2u}) {
        for (uint32_t seed = 0; seed < 1500; ++seed) {
            const Layout l = RandomLayout(rng, compression == 1 ? 8 : 4, compression);
            ExpectRunsMatch(l, RandomRuns(rng, l), Describe(l, seed));
        }
    }
}

TEST(PicturesRowDecoding, RunsCutShortAtEveryByteGiveThePlainResult) {
    std::mt19937 rng(99);
    for (uint32_t compression : {1u, 2u}) {
        for (uint32_t seed = 0; seed < 60; ++seed) {
            const Layout l = RandomLayout(rng, compression == 1 ? 8 : 4, compression);
            const std::vector<uint8_t> stream = RandomRuns(rng, l);
            for (size_t cut = 0; cut <= stream.size(); ++cut) {
                const std::vector<uint8_t> part(stream.begin(),
                                                stream.begin() + static_cast<ptrdiff_t>(cut));
                ExpectRunsMatch(l, part, Describe(l, seed) + ", cut at " + std::to_string(cut));
            }
        }
    }
}

TEST(PicturesRowDecoding, RandomBytesAsRunsMatchThePlainReading) {
    std::mt19937 rng(4242);
    for (uint32_t compression : {1u, 2u}) {
        for (uint32_t seed = 0; seed < 1500; ++seed) {
            const Layout l = RandomLayout(rng, compression == 1 ? 8 : 4, compression);
            ExpectRunsMatch(l, RandomBytes(rng, rng() % 96), Describe(l, seed));
        }
    }
}

TEST(PicturesRowDecoding, RunLengthsAroundTheFourPixelStoresKeepTheirNeighbours) {
    // Runs and literals of every length from 1 to 9 pixels, at every start in a row, between
    // pixels left alone: each must end exactly where it says, colours alternating from its own
    // first pixel.
    for (uint32_t compression : {1u, 2u}) {
        const bool rle8 = compression == 1;
        for (int start = 0; start < 6; ++start) {
            for (int length = 1; length <= 9; ++length) {
                Layout l;
                l.bits = rle8 ? 8 : 4;
                l.compression = compression;
                l.width = 16;
                l.height = 2;
                l.table = {0x000000, 0x111111, 0x222222, 0x333333, 0x444444};
                Bytes b;
                b.U8(0).U8(2).U8(static_cast<uint8_t>(start)).U8(0); // skip to `start`
                b.U8(static_cast<uint8_t>(length)).U8(rle8 ? 3 : 0x34);
                b.U8(0).U8(0); // the rest of the row left alone
                if (length >= 3) {
                    b.U8(0).U8(2).U8(static_cast<uint8_t>(start)).U8(0);
                    b.U8(0).U8(static_cast<uint8_t>(length));
                    const size_t bytes =
                        rle8 ? static_cast<size_t>(length) : static_cast<size_t>(length + 1) / 2;
                    for (size_t k = 0; k < bytes + bytes % 2; ++k) {
                        b.U8(rle8 ? static_cast<uint8_t>(1 + k % 4) : 0x12);
                    }
                }
                b.U8(0).U8(1);
                ExpectRunsMatch(l, b.data,
                                std::to_string(l.bits) + " bits, run of " + std::to_string(length) +
                                    " from " + std::to_string(start));
            }
        }
    }
}

} // namespace
} // namespace kestrova
