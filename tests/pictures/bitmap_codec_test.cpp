#include "pictures/bitmap_codec.h"

#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>

namespace kestrova {
namespace {

using testing::Bytes;
using testing::ErrorText;
using testing::FewColours;
using testing::Gradient;
using testing::MakePicture;

constexpr const char* kReadError = "Stream read error";
constexpr const char* kInvalid = "Invalid stream format";

struct Case {
    int bits;
    bool rle, topDown, bitfields;
};

std::string Describe(const Case& c) {
    return std::to_string(c.bits) + (c.rle ? " rle" : "") + (c.topDown ? " top-down" : "") +
           (c.bitfields ? " bitfields" : "");
}

BitmapWriteOptions Options(const Case& c) {
    BitmapWriteOptions o;
    o.bitDepth = c.bits;
    o.rle = c.rle;
    o.topDown = c.topDown;
    o.bitfields = c.bitfields;
    return o;
}

const std::vector<Case> kCases = {
    {1, false, false, false}, {1, false, true, false},   {4, false, false, false},
    {4, false, true, false},  {4, true, false, false},   {8, false, false, false},
    {8, false, true, false},  {8, true, false, false},   {16, false, false, false},
    {16, false, true, false}, {16, false, false, true},  {24, false, false, false},
    {24, false, true, false}, {32, false, false, false}, {32, false, true, true},
};

Picture SourceFor(int bits) {
    // Odd widths exercise row padding and half-filled bytes.
    return bits <= 8 ? FewColours(13, 7, 1 << bits) : Gradient(13, 7);
}

// 16-bit channels hold 5 bits (6 for green in 565): within half a step of 255 / 31.
int MaxChannelError(int bits) {
    return bits == 16 ? 4 : 0;
}

void ExpectClose(const Picture& a, const Picture& b, int tolerance, const std::string& what) {
    ASSERT_EQ(a.width, b.width) << what;
    ASSERT_EQ(a.height, b.height) << what;
    ASSERT_EQ(a.pixels.size(), b.pixels.size()) << what;
    for (size_t i = 0; i < a.pixels.size(); ++i) {
        for (int shift : {0, 8, 16}) {
            const int ca = static_cast<int>(a.pixels[i] >> shift & 0xFF);
            const int cb = static_cast<int>(b.pixels[i] >> shift & 0xFF);
            ASSERT_LE(std::abs(ca - cb), tolerance) << what << " pixel " << i;
        }
        ASSERT_EQ(b.pixels[i] >> 24, 0xFFu) << what;
    }
}

TEST(PicturesBitmapCodec, EveryDepthAndOptionRoundTripsInBothForms) {
    for (const Case& c : kCases) {
        const std::string what = Describe(c);
        const Picture source = SourceFor(c.bits);
        const Picture viaFile = DecodeBitmapFile(EncodeBitmapFile(source, Options(c)));
        const Picture viaDib = DecodePackedDib(EncodePackedDib(source, Options(c)));
        ExpectClose(source, viaFile, MaxChannelError(c.bits), what);
        EXPECT_EQ(viaFile.pixels, viaDib.pixels) << what;
        EXPECT_EQ(viaFile.bitDepth, c.bits) << what;
        EXPECT_EQ(viaFile.rle, c.rle) << what;
        EXPECT_EQ(viaFile.topDown, c.topDown) << what;
        EXPECT_EQ(viaFile.bitfields, c.bitfields) << what;
        EXPECT_EQ(viaFile.palette.empty(), c.bits > 8) << what;
        // Written again in its stored form, a decoded picture is unchanged, bytes and all.
        const auto again = EncodeBitmapFile(viaFile, StoredOptions(viaFile));
        EXPECT_EQ(DecodeBitmapFile(again).pixels, viaFile.pixels) << what;
        EXPECT_EQ(again, EncodeBitmapFile(DecodeBitmapFile(again), StoredOptions(viaFile))) << what;
    }
}

TEST(PicturesBitmapCodec, RleCompressesRunsAndKeepsLongLiterals) {
    Picture p = MakePicture(600, 3, [](int x, int y) {
        if (y == 0) {
            return 0x00FF00u; // one long run, longer than a single RLE count
        }
        return y == 1 ? static_cast<uint32_t>(x % 5) * 0x10u : static_cast<uint32_t>(x % 2);
    });
    for (int bits : {4, 8}) {
        BitmapWriteOptions o;
        o.bitDepth = bits;
        o.rle = true;
        const auto rle = EncodePackedDib(p, o);
        o.rle = false;
        const auto plain = EncodePackedDib(p, o);
        EXPECT_EQ(DecodePackedDib(rle).pixels, p.pixels) << bits;
        EXPECT_LT(rle.size(), plain.size() * 2) << bits;
    }
}

TEST(PicturesBitmapCodec, PaletteIsKeptWhenItHoldsEveryColourAndRebuiltOtherwise) {
    Picture p = FewColours(4, 4, 3);
    p.palette = {{9, 9, 9}, {0x10, 0x20, 0x30}, {0x4B, 0x3F, 0x37}, {0x86, 0x5E, 0x3E}};
    p.pixels[0] = 0xFF090909u;
    BitmapWriteOptions o;
    o.bitDepth = 4;
    const Picture kept = DecodePackedDib(EncodePackedDib(p, o));
    EXPECT_EQ(kept.palette, p.palette);
    EXPECT_EQ(kept.pixels, p.pixels);

    p.pixels[1] = 0xFF123456u; // not in the palette
    const Picture rebuilt = DecodePackedDib(EncodePackedDib(p, o));
    EXPECT_EQ(rebuilt.pixels, p.pixels);
    EXPECT_EQ(rebuilt.palette.front(), (Rgb{9, 9, 9})); // colours in order of appearance
}

TEST(PicturesBitmapCodec, TooManyColoursForTheDepthIsRefused) {
    const Picture p = FewColours(8, 8, 3);
    BitmapWriteOptions o;
    o.bitDepth = 1;
    EXPECT_NE(ErrorText([&] { EncodeBitmapFile(p, o); }).find("too many"), std::string::npos);
    o.bitDepth = 12;
    EXPECT_NE(ErrorText([&] { EncodeBitmapFile(p, o); }), "(no error)");
    EXPECT_NE(ErrorText([&] { EncodeBitmapFile(Picture{}, BitmapWriteOptions{}); }), "(no error)");
}

// A 2 x 2 24-bit file, bottom-up, laid out by hand.
Bytes Tiny24(int32_t height = 2) {
    Bytes b;
    b.Raw("BM").U32(70).U32(0).U32(54);
    b.U32(40).U32(2).U32(static_cast<uint32_t>(height)).U16(1).U16(24).U32(0).U32(16);
    b.U32(0).U32(0).U32(0).U32(0);
    // bottom row: blue, green; top row: red, white (rows padded to 8 bytes)
    b.U8(255).U8(0).U8(0).U8(0).U8(255).U8(0).U16(0);
    b.U8(0).U8(0).U8(255).U8(255).U8(255).U8(255).U16(0);
    return b;
}

TEST(PicturesBitmapCodec, ReadsAHandMadeFileAndHonoursTopDown) {
    const Picture p = DecodeBitmapFile(Tiny24().data);
    EXPECT_EQ(p.pixels, (std::vector<uint32_t>{0xFFFF0000, 0xFFFFFFFF, 0xFF0000FF, 0xFF00FF00}));
    EXPECT_EQ(p.PixelColour(0, 0), 0x0000FFu); // red as a system colour
    EXPECT_EQ(p.PixelColour(0, 1), 0xFF0000u);
    EXPECT_EQ(p.PixelColour(2, 0), 0u);
    const Picture topDown = DecodeBitmapFile(Tiny24(-2).data);
    EXPECT_TRUE(topDown.topDown);
    EXPECT_EQ(topDown.pixels[0], 0xFF0000FFu);
}

// Indices past a short colour table read as opaque black, at 8 bits and at 4.
TEST(PicturesBitmapCodec, IndicesPastAShortColourTableAreBlack) {
    Bytes eight;
    eight.U32(40).U32(4).U32(1).U16(1).U16(8).U32(0).U32(0).U32(0).U32(0).U32(2).U32(0);
    eight.U32(0x0000FF).U32(0x00FF00); // blue, green
    eight.U8(1).U8(2).U8(0).U8(255);
    EXPECT_EQ(DecodePackedDib(eight.data).pixels,
              (std::vector<uint32_t>{0xFF00FF00, 0xFF000000, 0xFF0000FF, 0xFF000000}));

    Bytes four;
    four.U32(40).U32(4).U32(1).U16(1).U16(4).U32(0).U32(0).U32(0).U32(0).U32(3).U32(0);
    four.U32(0x0000FF).U32(0x00FF00).U32(0xFF0000); // blue, green, red
    four.U8(0x2F).U8(0x30).U16(0);                  // 2 15 3 0, the row padded to 4 bytes
    EXPECT_EQ(DecodePackedDib(four.data).pixels,
              (std::vector<uint32_t>{0xFFFF0000, 0xFF000000, 0xFF000000, 0xFF0000FF}));
}

// An 8-bit packed DIB of 6 x 3 with RLE8 data using every escape.
TEST(PicturesBitmapCodec, Rle8EscapesPlacePixelsWhereTheySay) {
    Bytes b;
    b.U32(40).U32(6).U32(3).U16(1).U16(8).U32(1).U32(0).U32(0).U32(0).U32(4).U32(0);
    b.U32(0x000000).U32(0x0000FF).U32(0x00FF00).U32(0xFF0000); // black, blue, green, red
    b.U8(2).U8(1).U8(0).U8(3).U8(2).U8(3).U8(1).U8(
        0);                    // bottom row: 1 1 then literal 2 3 1 (padded)
    b.U8(0).U8(0);             // end of line at x 5
    b.U8(0).U8(2).U8(4).U8(0); // delta: 4 right on the middle row
    b.U8(9).U8(3);             // run past the right edge: clipped
    b.U8(0).U8(0);
    b.U8(1).U8(2).U8(0).U8(1); // top row: one green, then end of bitmap
    b.U8(5).U8(3);             // after the end: ignored
    const Picture p = DecodePackedDib(b.data);
    ASSERT_EQ(p.width, 6);
    EXPECT_TRUE(p.rle);
    const uint32_t k = 0xFF000000, bl = 0xFF0000FF, g = 0xFF00FF00, r = 0xFFFF0000;
    EXPECT_EQ(p.pixels, (std::vector<uint32_t>{g, k, k, k, k, k,       // top
                                               k, k, k, k, r, r,       // middle
                                               bl, bl, g, r, bl, k})); // bottom
}

TEST(PicturesBitmapCodec, Rle4AlternatesNibblesAndReadsOddLiterals) {
    Bytes b;
    b.U32(40).U32(5).U32(1).U16(1).U16(4).U32(2).U32(0).U32(0).U32(0).U32(2).U32(0);
    b.U32(0x000000).U32(0xFFFFFF);
    b.U8(2).U8(0x01);                // 0 1
    b.U8(0).U8(3).U8(0x10).U8(0x10); // literal 1 0 1 (two bytes, already even)
    b.U8(0).U8(1);
    const Picture p = DecodePackedDib(b.data);
    const uint32_t k = 0xFF000000, w = 0xFFFFFFFF;
    EXPECT_EQ(p.pixels, (std::vector<uint32_t>{k, w, w, k, w}));
}

TEST(PicturesBitmapCodec, ReadsCoreHeaderAndInHeaderMasks) {
    Bytes core; // 12-byte header, 3-byte colour entries, 2 x 1 at 8 bits
    core.Raw("BM").U32(0).U32(0).U32(0);
    core.U32(12).U16(2).U16(1).U16(1).U16(8);
    for (int i = 0; i < 256; ++i) {
        core.U8(static_cast<uint8_t>(i)).U8(0).U8(static_cast<uint8_t>(255 - i));
    }
    core.U8(0).U8(255).U16(0);
    const Picture p = DecodeBitmapFile(core.data);
    EXPECT_EQ(p.pixels, (std::vector<uint32_t>{0xFFFF0000, 0xFF0000FF}));
    EXPECT_EQ(p.palette.size(), 256u);

    Bytes v5; // 124-byte header with 555 masks inside it
    v5.U32(124).U32(1).U32(1).U16(1).U16(16).U32(3).U32(4).U32(0).U32(0).U32(0).U32(0);
    v5.U32(0x7C00).U32(0x03E0).U32(0x001F).U32(0);
    for (int i = 0; i < 124 - 56; ++i) {
        v5.U8(0);
    }
    v5.U16(0x7C00).U16(0);
    const Picture red = DecodePackedDib(v5.data);
    EXPECT_EQ(red.pixels, (std::vector<uint32_t>{0xFFFF0000}));
    EXPECT_TRUE(red.bitfields);
    // Written back, the 555 masks are kept rather than replaced by 565.
    const Picture back = DecodePackedDib(EncodePackedDib(red, StoredOptions(red)));
    EXPECT_EQ(back.greenMask, 0x03E0u);
}

TEST(PicturesBitmapCodec, ThirtyTwoBitIgnoresTheFourthByte) {
    Bytes b;
    b.U32(40).U32(1).U32(1).U16(1).U16(32).U32(0).U32(4).U32(0).U32(0).U32(0).U32(0);
    b.U8(0x30).U8(0x20).U8(0x10).U8(0x00);
    EXPECT_EQ(DecodePackedDib(b.data).pixels[0], 0xFF102030u);
}

TEST(PicturesBitmapCodec, BrokenBitmapsGiveTheReaderErrors) {
    auto tiny = [](auto edit) {
        Bytes b = Tiny24();
        edit(b.data);
        return ErrorText([&] { DecodeBitmapFile(b.data); });
    };
    auto put32 = [](std::vector<uint8_t>& d, size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            d[at + static_cast<size_t>(i)] = static_cast<uint8_t>(v >> (8 * i));
        }
    };
    EXPECT_EQ(tiny([](auto& d) { d[0] = 'X'; }), kInvalid);
    EXPECT_EQ(tiny([](auto& d) { d.resize(60); }), kReadError);             // rows missing
    EXPECT_EQ(tiny([](auto& d) { d.resize(20); }), kReadError);             // header cut
    EXPECT_EQ(tiny([&](auto& d) { put32(d, 10, 5000); }), kReadError);      // offset past end
    EXPECT_EQ(tiny([&](auto& d) { put32(d, 22, 3); }), kReadError);         // more rows claimed
    EXPECT_EQ(tiny([&](auto& d) { put32(d, 18, 0); }), kInvalid);           // zero width
    EXPECT_EQ(tiny([&](auto& d) { put32(d, 18, 0x80000000u); }), kInvalid); // negative width
    EXPECT_EQ(tiny([&](auto& d) { put32(d, 22, 0x80000000u); }), kInvalid); // height -2^31
    EXPECT_EQ(tiny([&](auto& d) {
                  put32(d, 18, 100000);
                  put32(d, 22, 100000);
              }),
              kInvalid);                                           // absurd size
    EXPECT_EQ(tiny([](auto& d) { d[28] = 7; }), kInvalid);         // no such depth
    EXPECT_EQ(tiny([](auto& d) { d[30] = 1; }), kInvalid);         // RLE8 at 24 bits
    EXPECT_EQ(tiny([](auto& d) { d[30] = 4; }), kInvalid);         // embedded JPEG
    EXPECT_EQ(tiny([&](auto& d) { put32(d, 14, 30); }), kInvalid); // header size
    EXPECT_EQ(tiny([&](auto& d) { put32(d, 14, 0xFFFFFFF0u); }), kReadError);
    EXPECT_EQ(tiny([&](auto& d) { put32(d, 46, 0x40000000); }), kReadError); // huge table

    // An 8-bit picture claiming more colours than 8 bits can index.
    Picture p = FewColours(3, 3, 4);
    BitmapWriteOptions o;
    o.bitDepth = 8;
    auto dib = EncodePackedDib(p, o);
    put32(dib, 32, 257);
    EXPECT_EQ(ErrorText([&] { DecodePackedDib(dib); }), kInvalid);
    EXPECT_EQ(ErrorText([&] { DecodePackedDib({}); }), kReadError);
}

TEST(PicturesBitmapCodec, RleThatSkipsEverythingCannotClaimAHugePicture) {
    Bytes b; // 8000 x 8000 from two bytes of data
    b.U32(40).U32(8000).U32(8000).U16(1).U16(8).U32(1).U32(2).U32(0).U32(0).U32(1).U32(0);
    b.U32(0).U8(0).U8(1);
    EXPECT_EQ(ErrorText([&] { DecodePackedDib(b.data); }), kInvalid);
}

TEST(PicturesBitmapCodec, RandomBytesNeverEscapeAsAnythingButTheReaderErrors) {
    std::mt19937 rng(1234);
    BitmapWriteOptions rle4;
    rle4.bitDepth = 4;
    rle4.rle = true;
    const auto valid = EncodeBitmapFile(FewColours(9, 5, 16), rle4);
    for (int round = 0; round < 3000; ++round) {
        std::vector<uint8_t> bytes = valid;
        const int flips = 1 + static_cast<int>(rng() % 8);
        for (int i = 0; i < flips; ++i) {
            bytes[rng() % bytes.size()] = static_cast<uint8_t>(rng());
        }
        if (round % 3 == 0) {
            bytes.resize(rng() % bytes.size());
        }
        const std::string error = ErrorText([&] {
            DecodeBitmapFile(bytes);
            DecodePackedDib(
                std::span<const uint8_t>(bytes).subspan(std::min<size_t>(14, bytes.size())));
        });
        ASSERT_TRUE(error == "(no error)" || error == kReadError || error == kInvalid) << error;
    }
}

TEST(PicturesBitmapCodec, LoadBitmapFileReportsTheMissingPathAsGiven) {
    EXPECT_EQ(ErrorText([] { LoadBitmapFile("engine\\images\\nowhere.bmp"); }),
              "Cannot open file engine\\images\\nowhere.bmp");
}

} // namespace
} // namespace kestrova
