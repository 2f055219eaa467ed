// Decoded pixels have ceilings, checked from the headers before anything is allocated: per
// run-length picture (no more than its data encodes), per image-list file and per disc. Banner
// GIFs are held to their limits from their block structure alone.

#include "base/byte_reader.h"
#include "base/error.h"
#include "base/safe_file_writer.h"
#include "disc/disc_limits.h"
#include "disc/file_reader.h"
#include "pictures/bitmap_codec.h"
#include "pictures/gif_info.h"
#include "pictures/image_list_file.h"
#include "pictures/picture_collection.h"
#include "pictures/pixel_budget.h"
#include "support/in_child.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <string>

namespace kestrova {
namespace {

using testing::ErrorText;
using testing::FewColours;

// A packed RLE8 bitmap of w x h whose data is `data`.
std::vector<uint8_t> Rle8Dib(int32_t w, int32_t h, const std::vector<uint8_t>& data) {
    ByteWriter out;
    out.U32(40);
    out.I32(w);
    out.I32(h);
    out.U16(1);
    out.U16(8);
    out.U32(1); // RLE8
    out.U32(static_cast<uint32_t>(data.size()));
    out.U32(0);
    out.U32(0);
    out.U32(2); // colours
    out.U32(0);
    out.U32(0x000000);
    out.U32(0xFFFFFF);
    out.Bytes(data);
    return out.Take();
}

// `rows` rows of full 255-pixel runs and an end-of-line each: what an encoder writes.
std::vector<uint8_t> Runs(int rows, int runsPerRow) {
    std::vector<uint8_t> data;
    for (int r = 0; r < rows; ++r) {
        for (int i = 0; i < runsPerRow; ++i) {
            data.insert(data.end(), {255, 1});
        }
        data.insert(data.end(), {0, 0});
    }
    data.insert(data.end(), {0, 1});
    return data;
}

TEST(RunLengthClaims, APictureMayNotClaimMorePixelsThanItsDataEncodes) {
    // 1000 x 400 from 400 rows of four runs: 6,402 bytes, 400,000 pixels. Decodes.
    const Picture fits = DecodePackedDib(Rle8Dib(1000, 400, Runs(400, 4)));
    EXPECT_EQ(fits.width, 1000);
    EXPECT_EQ(fits.PixelColour(999, 0), 0xFFFFFFu);
    // The same data claiming 4000 x 4000: a few kilobytes asking for 16 M pixels.
    const auto bomb = Rle8Dib(4000, 4000, Runs(400, 4));
    EXPECT_EQ(ErrorText([&] { DecodePackedDib(bomb); }), "Invalid stream format");
    EXPECT_EQ(ErrorText([&] { InspectPackedDib(bomb); }), "Invalid stream format");
    // A tiny picture that ends early is still read: its rest is colour 0.
    const Picture tiny = DecodePackedDib(Rle8Dib(200, 200, {0, 1}));
    EXPECT_EQ(tiny.PixelColour(5, 5), 0u);
}

// An image list of `count` items sharing one run-length picture of w x h.
std::vector<uint8_t> RunLengthList(int count, int w, int h) {
    Picture p = FewColours(w, h, 1);
    p.bitDepth = 8;
    p.rle = true;
    PictureCollection list;
    for (int i = 0; i < count; ++i) {
        PictureCollectionItem& item = list.Add();
        item.Name = "item" + std::to_string(i);
        if (i == 0) {
            item.SetPicture(p);
        } else {
            item.SharePicture(list.Items(0));
        }
    }
    return list.SaveToBytes();
}

TEST(ImageListBudget, HeadersAloneTellWhatAFileWouldDecodeTo) {
    const auto bytes = RunLengthList(3, 300, 200);
    const std::vector<ImageListEntry> entries = ReadImageListHeaders(bytes);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[2].name, "item2");
    EXPECT_EQ(entries[2].picture.width, 300);
    EXPECT_TRUE(entries[2].picture.rle);
    EXPECT_EQ(DecodedPixels(entries), 3 * 300 * 200);
    // Broken data fails the header pass as it fails decoding.
    std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + static_cast<long>(bytes.size() / 2));
    EXPECT_EQ(ErrorText([&] { ReadImageListHeaders(cut); }), "Stream read error");
}

TEST(ImageListBudget, AFileOverItsBudgetIsRefusedBeforeAnyPictureIsDecoded) {
    // 200 pictures of 400 x 320 in about 400 KB: 25.6 M pixels, 100 MB once decoded.
    const auto bytes = RunLengthList(200, 400, 320);
    ASSERT_LT(bytes.size(), 1024u * 1024u);
    const testing::ChildResult r = testing::RunInChild([&] {
        PictureCollection c;
        c.SetSurfaceInitialized(true);
        return ErrorText([&] { c.LoadFromBytes(bytes); }) + " " + std::to_string(c.Count());
    });
    ASSERT_TRUE(r.finished) << "signal " << r.signal;
    EXPECT_EQ(r.text, "Invalid stream format 0");
    EXPECT_LT(r.peakGrowthKb, testing::MemoryLimitKb(32 * 1024));
}

TEST(DiscBudget, EveryFileOfTheDiscDrawsFromOneBudget) {
    namespace fs = std::filesystem;
    const fs::path dir =
        fs::temp_directory_path() / ("kestrova-budget-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const auto bytes = RunLengthList(2, 100, 100);
    for (const char* name : {"a.dxg", "b.dxg"}) {
        ASSERT_EQ(WriteFileSafely((dir / name).string(), bytes), std::nullopt);
    }
    PixelBudget budget(30000); // one file's 20,000 pixels fit, two do not
    PictureCollection a;
    PictureCollection b;
    a.LoadFromFile((dir / "a.dxg").string(), &budget);
    EXPECT_EQ(budget.Used(), 20000);
    try {
        b.LoadFromFile((dir / "b.dxg").string(), &budget);
        ADD_FAILURE() << "the second file fitted";
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "Invalid stream format");
        EXPECT_EQ(e.Detail(), (dir / "b.dxg").string() +
                                  ": its pictures need 40000 pixels, more than the 30000-pixel "
                                  "limit for all pictures of a disc together");
    }
    EXPECT_EQ(budget.Used(), 20000);
    EXPECT_EQ(b.Count(), 0);
    fs::remove_all(dir);
}

std::vector<uint8_t> Gif(int w, int h, int frames) {
    std::vector<uint8_t> g = {'G',
                              'I',
                              'F',
                              '8',
                              '9',
                              'a',
                              static_cast<uint8_t>(w),
                              static_cast<uint8_t>(w >> 8),
                              static_cast<uint8_t>(h),
                              static_cast<uint8_t>(h >> 8),
                              0x80,
                              0,
                              0,
                              0xFF,
                              0xA0,
                              0x20,
                              0,
                              0,
                              0};
    for (int i = 0; i < frames; ++i) {
        g.insert(g.end(), {0x21, 0xF9, 4, 0, 2, 0, 0, 0});
        g.insert(g.end(), {0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0, 2, 2, 0x44, 1, 0});
    }
    g.push_back(0x3B);
    return g;
}

std::string GifVerdict(const std::vector<uint8_t>& gif) {
    try {
        const GifInfo info = InspectGif(gif, "b.gif");
        return std::to_string(info.width) + "x" + std::to_string(info.height) + " " +
               std::to_string(info.frames);
    } catch (const Error& e) {
        return e.Detail();
    }
}

TEST(BannerLimits, AGifIsHeldToItsScreenAndFrameLimitsFromItsBlocks) {
    EXPECT_EQ(GifVerdict(Gif(468, 60, 12)), "468x60 12");
    EXPECT_EQ(GifVerdict(Gif(65535, 65535, 200)),
              "b.gif: its logical screen of 65535 x 65535 is beyond the banner limit of 4096 x "
              "4096 and 4194304 pixels");
    EXPECT_EQ(GifVerdict(Gif(468, 60, kMaxGifFrames + 1)),
              "b.gif: it holds more than the banner limit of 1024 frames");
    EXPECT_EQ(GifVerdict(Gif(468, 60, 0)), "b.gif: it holds no picture");
    EXPECT_EQ(GifVerdict({'P', 'K', 3, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0}), "b.gif: not a GIF");
    auto cut = Gif(468, 60, 2);
    cut.resize(cut.size() - 6);
    EXPECT_EQ(GifVerdict(cut), "b.gif: the data ends early (Stream read error)");
}

} // namespace
} // namespace kestrova
