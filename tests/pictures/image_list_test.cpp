#include "pictures/bitmap_codec.h"
#include "pictures/colour_names.h"
#include "pictures/picture_collection.h"

#include "test_support.h"

#include <gtest/gtest.h>

#include <random>

namespace kestrova {
namespace {

using testing::Bytes;
using testing::ErrorText;
using testing::FewColours;
using testing::Gradient;
using testing::ImageListOpening;

constexpr const char* kReadError = "Stream read error";
constexpr const char* kInvalid = "Invalid stream format";

Picture Stored(Picture p, int bits, bool rle = false, bool topDown = false,
               bool bitfields = false) {
    p.bitDepth = bits;
    p.rle = rle;
    p.topDown = topDown;
    p.bitfields = bitfields;
    return p;
}

void Fill(PictureCollection& c) {
    auto& a = c.Add();
    a.Name = "PANEL_DEM";
    a.SetPicture(Stored(FewColours(17, 5, 200), 8));
    a.TransparentColor = 0xFF00FF; // clFuchsia
    auto& b = c.Add();
    b.Name = std::string(300, 'n'); // needs the long string tag
    b.PictureClass = "TDIB";
    b.SetPicture(Stored(Gradient(6, 4), 24, false, true));
    b.PatternWidth = 3;
    b.PatternHeight = 2;
    b.SkipWidth = -1;
    b.SkipHeight = 40000; // a 32-bit integer
    b.SystemMemory = true;
    b.Transparent = false;
    b.TransparentColor = 0x123456;
    auto& e = c.Add();
    e.Name = "empty";
}

TEST(PicturesImageList, WriterLaysTheFileOutAsTheFrontEndReadsIt) {
    PictureCollection c;
    auto& item = c.Add();
    item.Name = "a";
    const auto bytes = c.SaveToBytes();

    Bytes expected = ImageListOpening();
    expected.U8(0x01);
    expected.Short("Name").U8(0x06).Short("a");
    expected.Short("PatternHeight").U8(0x02).U8(0);
    expected.Short("PatternWidth").U8(0x02).U8(0);
    expected.Short("SystemMemory").U8(0x08);
    expected.Short("Transparent").U8(0x09);
    expected.Short("TransparentColor").U8(0x07).Short("clBlack");
    expected.U8(0).U8(0).U8(0).U8(0);
    const size_t headerSize = 3 + 25 + 2 + 4;
    const auto length = static_cast<uint32_t>(expected.data.size() - headerSize);
    for (int i = 0; i < 4; ++i) {
        expected.data[headerSize - 4 + static_cast<size_t>(i)] =
            static_cast<uint8_t>(length >> (8 * i));
    }
    EXPECT_EQ(bytes, expected.data);
}

TEST(PicturesImageList, EveryPropertyAndBothFormsRoundTrip) {
    PictureCollection c;
    Fill(c);
    PictureCollection back;
    back.LoadFromBytes(c.SaveToBytes());
    ASSERT_EQ(back.Count(), 3);
    for (int i = 0; i < 3; ++i) {
        const auto& x = c.Items(i);
        const auto& y = back.Items(i);
        EXPECT_EQ(y.Name, x.Name);
        EXPECT_EQ(y.PatternWidth, x.PatternWidth);
        EXPECT_EQ(y.PatternHeight, x.PatternHeight);
        EXPECT_EQ(y.SkipWidth, x.SkipWidth);
        EXPECT_EQ(y.SkipHeight, x.SkipHeight);
        EXPECT_EQ(y.SystemMemory, x.SystemMemory);
        EXPECT_EQ(y.Transparent, x.Transparent);
        EXPECT_EQ(y.TransparentColor, x.TransparentColor);
        EXPECT_EQ(y.HasPicture(), x.HasPicture());
        EXPECT_EQ(y.GetPicture().pixels, x.GetPicture().pixels);
        EXPECT_EQ(y.GetPicture().bitDepth, x.GetPicture().bitDepth);
    }
    EXPECT_EQ(back.Items(1).PictureClass, "TDIB");
    EXPECT_TRUE(back.Items(1).GetPicture().topDown);
    // Reading and writing again gives the same bytes.
    EXPECT_EQ(back.SaveToBytes(), c.SaveToBytes());
}

TEST(PicturesImageList, EveryDepthInBothFormsLoadsTheSamePixels) {
    struct Depth {
        int bits;
        bool rle, bitfields;
    };
    for (const Depth d : {Depth{1, false, false}, Depth{4, false, false}, Depth{4, true, false},
                          Depth{8, false, false}, Depth{8, true, false}, Depth{16, false, false},
                          Depth{16, false, true}, Depth{24, false, false}, Depth{32, false, false},
                          Depth{32, false, true}}) {
        const Picture source =
            Stored(d.bits <= 8 ? FewColours(11, 6, 1 << d.bits) : Gradient(11, 6), d.bits, d.rle,
                   false, d.bitfields);
        PictureCollection c;
        for (const char* form : {"TBitmap", "TDIB"}) {
            auto& item = c.Add();
            item.Name = form;
            item.PictureClass = form;
            item.SetPicture(source);
        }
        PictureCollection back;
        back.LoadFromBytes(c.SaveToBytes());
        const Picture& bitmap = back.Items(back.IndexOf("TBitmap")).GetPicture();
        const Picture& dib = back.Items(back.IndexOf("TDIB")).GetPicture();
        EXPECT_EQ(bitmap.pixels, dib.pixels) << d.bits;
        EXPECT_EQ(bitmap.bitDepth, d.bits);
        EXPECT_EQ(dib.rle, d.rle);
        EXPECT_EQ(back.Items(1).PictureClass, "TDIB");
        if (d.bits != 16) {
            EXPECT_EQ(bitmap.pixels, source.pixels) << d.bits;
        }
    }
}

TEST(PicturesImageList, ACollectionWithoutItemsReadsAsEmpty) {
    PictureCollection c;
    c.Add().Name = "old";
    Bytes b = ImageListOpening();
    b.U8(0).U8(0).U8(0);
    c.LoadFromBytes(b.data);
    EXPECT_EQ(c.Count(), 0);

    PictureCollection empty;
    c.LoadFromBytes(empty.SaveToBytes());
    EXPECT_EQ(c.Count(), 0);
}

TEST(PicturesImageList, ReaderAcceptsEveryIntegerTagIdentifiersAndUnknownProperties) {
    Bytes b = ImageListOpening();
    b.U8(0x02).U8(0); // an item's order value before it
    b.U8(0x01);
    b.Short("Name").U8(0x0C).U32(3).Raw("Big");
    b.Short("PatternWidth").U8(0x04).U32(7);
    b.Short("patternheight").U8(0x03).U16(0xFFFE);                    // -2: names ignore case
    b.Short("Tag").U8(0x01).U8(0x02).U8(5).U8(0x06).Short("x").U8(0); // a list value
    b.Short("Flags").U8(0x0B).Short("a").Short("b").U8(0);            // a set value
    b.Short("TransparentColor").U8(0x07).Short("clBtnFace");
    b.U8(0);
    b.U8(0x01);
    b.Short("TransparentColor").U8(0x04).U32(0x8000000F); // system colour by number
    b.Short("Transparent").U8(0x08);
    b.U8(0);
    b.U8(0).U8(0).U8(0);
    PictureCollection c;
    c.LoadFromBytes(b.data);
    ASSERT_EQ(c.Count(), 2);
    EXPECT_EQ(c.Items(0).Name, "Big");
    EXPECT_EQ(c.Items(0).PatternWidth, 7);
    EXPECT_EQ(c.Items(0).PatternHeight, -2);
    EXPECT_EQ(c.Items(0).TransparentColor, 0xC0C0C0u);
    EXPECT_EQ(c.Items(1).TransparentColor, 0xC0C0C0u);
    EXPECT_FALSE(c.Items(1).Transparent);
    EXPECT_TRUE(c.Items(0).Transparent); // defaults where absent
    EXPECT_FALSE(c.Items(1).HasPicture());
}

TEST(PicturesImageList, TransparentColourIsWrittenByNameWhenItHasOne) {
    for (const auto& [colour, name] :
         std::vector<std::pair<TColor, std::string>>{{0x000000, "clBlack"},
                                                     {0xFF00FF, "clFuchsia"},
                                                     {0xC0C0C0, "clSilver"},
                                                     {clNone, "clNone"},
                                                     {0x010203, ""}}) {
        PictureCollection c;
        c.Add().TransparentColor = colour;
        const auto bytes = c.SaveToBytes();
        const std::string text(bytes.begin(), bytes.end());
        if (!name.empty()) {
            EXPECT_NE(text.find(std::string("\x07") + static_cast<char>(name.size()) + name),
                      std::string::npos)
                << name;
        }
        PictureCollection back;
        back.LoadFromBytes(bytes);
        EXPECT_EQ(back.Items(0).TransparentColor, colour);
    }
    EXPECT_EQ(ColourFromIdent("CLFUCHSIA"), 0xFF00FFu);
    EXPECT_EQ(ColourFromIdent("clNoSuchColour"), std::nullopt);
    EXPECT_EQ(ColourToIdent(0x808080), "clGray");
}

TEST(PicturesImageList, TruncationAnywhereIsAReadError) {
    PictureCollection c;
    Fill(c);
    const auto bytes = c.SaveToBytes();
    // Every cut inside the header, the opening, an item and a picture, and just before the end.
    for (size_t cut : {size_t{0}, size_t{1}, size_t{2}, size_t{10}, size_t{28}, size_t{33},
                       size_t{36}, size_t{40}, size_t{70}, size_t{90}, size_t{150}, size_t{500},
                       bytes.size() / 2, bytes.size() - 3, bytes.size() - 2, bytes.size() - 1}) {
        PictureCollection back;
        back.Add();
        EXPECT_EQ(
            ErrorText([&] { back.LoadFromBytes(std::span<const uint8_t>(bytes).first(cut)); }),
            kReadError)
            << cut;
        EXPECT_EQ(back.Count(), 0) << cut; // already cleared
    }
}

TEST(PicturesImageList, MalformedContentGivesTheReaderErrors) {
    PictureCollection c;
    c.Add().Name = "x";
    const auto valid = c.SaveToBytes();
    auto edited = [&](auto edit) {
        auto bytes = valid;
        edit(bytes);
        PictureCollection back;
        return ErrorText([&] { back.LoadFromBytes(bytes); });
    };
    EXPECT_EQ(edited([](auto& b) { b[0] = 0xFE; }), kInvalid);
    EXPECT_EQ(edited([](auto& b) { b[1] = 11; }), kInvalid);
    EXPECT_EQ(edited([](auto& b) { b[2] = 1; }), kInvalid);
    EXPECT_EQ(edited([](auto& b) { b[3] = 'Z'; }), "(no error)");   // the name is not checked
    EXPECT_EQ(edited([](auto& b) { b[30] = 0xEE; }), "(no error)"); // nor the length
    EXPECT_EQ(edited([](auto& b) { b[37] = '1'; }), kInvalid);      // signature
    EXPECT_EQ(edited([](auto& b) { b[40] = 'X'; }), kInvalid);      // class name
    EXPECT_EQ(edited([](auto& b) { b[72] = 0x0D; }), kInvalid);     // "List" not a collection
    EXPECT_EQ(edited([](auto& b) { b[73] = 0x06; }), kInvalid);     // item not a list
    EXPECT_EQ(edited([](auto& b) { b[79] = 0x02; }), kInvalid);     // a number for the name
    EXPECT_EQ(edited([](auto& b) { b.back() = 1; }), kInvalid);     // a child component

    auto withItem = [](const std::function<void(Bytes&)>& props) {
        Bytes b = ImageListOpening();
        b.U8(0x01);
        props(b);
        b.U8(0).U8(0).U8(0).U8(0);
        PictureCollection back;
        return ErrorText([&] { back.LoadFromBytes(b.data); });
    };
    EXPECT_EQ(withItem([](Bytes& b) { b.Short("Name").U8(0x0C).U32(0xFFFFFFF0u); }), kReadError);
    EXPECT_EQ(withItem([](Bytes& b) { b.Short("Picture.Data").U8(0x0A).U32(1u << 30); }),
              kReadError);
    EXPECT_EQ(withItem([](Bytes& b) {
                  b.Short("Picture.Data").U8(0x0A).U32(12).Short("TBitmap").U32(100);
              }),
              kReadError); // bitmap longer than its block
    EXPECT_EQ(
        withItem([](Bytes& b) { b.Short("Picture.Data").U8(0x0A).U32(6).Short("TIcon").U8(0); }),
        kInvalid);
    EXPECT_EQ(withItem([](Bytes& b) { b.Short("TransparentColor").U8(0x07).Short("clPlaid"); }),
              kInvalid);
    EXPECT_EQ(withItem([](Bytes& b) { b.Short("Transparent").U8(0x02).U8(1); }), kInvalid);
    EXPECT_EQ(withItem([](Bytes& b) { b.Short("Unknown").U8(0x16).U8(1); }), kInvalid);
    EXPECT_EQ(withItem([](Bytes& b) {
                  b.Short("Deep");
                  for (int i = 0; i < 100000; ++i) {
                      b.U8(0x01);
                  }
              }),
              kInvalid); // nesting is bounded, not recursed until the stack runs out
}

TEST(PicturesImageList, ALyingBitmapInsideAnItemIsRejected) {
    const auto dib = EncodePackedDib(FewColours(4, 4, 2), BitmapWriteOptions{});
    auto load = [](std::vector<uint8_t> pic) {
        Bytes b = ImageListOpening();
        b.U8(0x01).Short("Picture.Data").U8(0x0A).U32(static_cast<uint32_t>(pic.size() + 5));
        b.Short("TDIB").Raw(pic);
        b.U8(0).U8(0).U8(0).U8(0);
        PictureCollection c;
        return ErrorText([&] { c.LoadFromBytes(b.data); });
    };
    EXPECT_EQ(load(dib), "(no error)");
    auto tall = dib;
    tall[8] = 200; // height 200 with rows for 4
    EXPECT_EQ(load(tall), kReadError);
    auto depth = dib;
    depth[14] = 3;
    EXPECT_EQ(load(depth), kInvalid);
}

// Pictures are decoded side by side, yet the fault reported is the one a reader going through the
// file in order meets first, and every good picture lands in its own item.
TEST(PicturesImageList, TheFirstFaultInFileOrderIsTheOneReported) {
    const auto dib = EncodePackedDib(FewColours(4, 4, 2), BitmapWriteOptions{});
    auto tall = dib;
    tall[8] = 200; // height 200 with rows for 4
    auto depth = dib;
    depth[14] = 3;
    auto item = [](Bytes& b, const std::vector<uint8_t>& pic) {
        b.U8(0x01).Short("Picture.Data").U8(0x0A).U32(static_cast<uint32_t>(pic.size() + 5));
        b.Short("TDIB").Raw(pic).U8(0);
    };
    auto load = [&](const std::vector<std::vector<uint8_t>>& pictures, PictureCollection& c) {
        Bytes b = ImageListOpening();
        for (const auto& pic : pictures) {
            item(b, pic);
        }
        b.U8(0).U8(0).U8(0);
        return ErrorText([&] { c.LoadFromBytes(b.data); });
    };
    PictureCollection c;
    EXPECT_EQ(load({dib, dib, tall, dib, depth, dib}, c), kReadError);
    EXPECT_EQ(load({dib, depth, dib, dib, tall}, c), kInvalid);
    std::vector<std::vector<uint8_t>> many;
    for (int i = 0; i < 24; ++i) {
        many.push_back(EncodePackedDib(FewColours(3 + i, 2 + i % 5, 2 + i), BitmapWriteOptions{}));
    }
    ASSERT_EQ(load(many, c), "(no error)");
    ASSERT_EQ(c.Count(), 24);
    for (int i = 0; i < 24; ++i) {
        EXPECT_EQ(c.Items(i).GetPicture().pixels, FewColours(3 + i, 2 + i % 5, 2 + i).pixels) << i;
    }
    // A bad picture before a fault in the stream's structure is met first.
    Bytes b = ImageListOpening();
    item(b, depth);
    b.U8(0x01).Short("Name").U8(0x06).U8(40); // a name running past the end
    PictureCollection broken;
    EXPECT_EQ(ErrorText([&] { broken.LoadFromBytes(b.data); }), kInvalid);
}

TEST(PicturesImageList, RandomDamageOnlyEverGivesTheReaderErrors) {
    PictureCollection c;
    Fill(c);
    c.Items(1).SetPicture(Stored(FewColours(6, 4, 9), 4, true));
    const auto valid = c.SaveToBytes();
    std::mt19937 rng(99);
    for (int round = 0; round < 2000; ++round) {
        auto bytes = valid;
        for (int i = 0, n = 1 + static_cast<int>(rng() % 6); i < n; ++i) {
            bytes[3 + rng() % (bytes.size() - 3)] = static_cast<uint8_t>(rng());
        }
        PictureCollection back;
        const std::string error = ErrorText([&] { back.LoadFromBytes(bytes); });
        ASSERT_TRUE(error == "(no error)" || error == kReadError || error == kInvalid) << error;
    }
    for (int round = 0; round < 500; ++round) {
        std::vector<uint8_t> bytes(rng() % 200);
        for (auto& x : bytes) {
            x = static_cast<uint8_t>(rng());
        }
        PictureCollection back;
        const std::string error = ErrorText([&] { back.LoadFromBytes(bytes); });
        ASSERT_TRUE(error == kReadError || error == kInvalid) << error;
    }
}

} // namespace
} // namespace kestrova
