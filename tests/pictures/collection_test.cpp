#include "pictures/colour_names.h"
#include "pictures/picture_collection.h"

#include "test_support.h"

#include "support/limited_child.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <random>

namespace kestrova {
namespace {

using testing::ErrorText;
using testing::FewColours;
using testing::MakePicture;

TEST(PicturesCollection, NamesAreFoundIgnoringCase) {
    PictureCollection c;
    c.Add().Name = "panel_top_none";
    c.Add().Name = "PANEL_DEM";
    c.Add().Name = "\xC9t\xE9"; // Latin-1 letters fold too
    EXPECT_EQ(c.IndexOf("panel_dem"), 1);
    EXPECT_EQ(c.IndexOf("Panel_Top_None"), 0);
    EXPECT_EQ(c.IndexOf("\xE9T\xC9"), 2);
    EXPECT_EQ(c.IndexOf("PANEL_DE"), -1);
    EXPECT_EQ(c.IndexOf(""), -1);
}

TEST(PicturesCollection, IndexOutsideTheListRaisesTheListIndexError) {
    PictureCollection c;
    c.Add();
    EXPECT_EQ(ErrorText([&] { c.Items(-1); }), "List index out of bounds (-1)");
    EXPECT_EQ(ErrorText([&] { c.Items(1); }), "List index out of bounds (1)");
    EXPECT_EQ(ErrorText([&] { c.Delete(3); }), "List index out of bounds (3)");
}

TEST(PicturesCollection, ItemsKeepTheirAddressesAsOthersComeAndGo) {
    PictureCollection c;
    PictureCollectionItem* first = &c.Add();
    first->Name = "first";
    PictureCollectionItem* second = &c.Add();
    for (int i = 0; i < 100; ++i) {
        c.Add();
    }
    c.Delete(0);
    EXPECT_EQ(&c.Items(0), second);
    EXPECT_EQ(c.Count(), 101);
}

TEST(PicturesCollection, PatternMaths) {
    PictureCollectionItem item;
    EXPECT_EQ(item.PatternCount(), 0); // no picture
    item.SetPicture(FewColours(100, 50, 4));
    // Pattern size 0: one pattern, the whole picture.
    EXPECT_EQ(item.Width(), 100);
    EXPECT_EQ(item.Height(), 50);
    EXPECT_EQ(item.PatternCount(), 1);
    EXPECT_EQ(item.Pattern(0), (PatternRect{0, 0, 100, 50}));
    EXPECT_EQ(item.Pattern(1), PatternRect{});
    EXPECT_EQ(item.Pattern(-1), PatternRect{});

    item.PatternWidth = 20;
    item.PatternHeight = 10;
    item.SkipWidth = 5;
    EXPECT_EQ(item.Width(), 20);
    EXPECT_EQ(item.PatternCount(), 4 * 5); // (100 + 5) / 25 columns, 50 / 10 rows
    EXPECT_EQ(item.Pattern(5), (PatternRect{25, 10, 20, 10}));
    EXPECT_EQ(item.Pattern(19), (PatternRect{75, 40, 20, 10}));

    item.SkipHeight = 3; // (50 + 3) / 13 = 4 rows
    EXPECT_EQ(item.PatternCount(), 16);
    EXPECT_EQ(item.Pattern(4), (PatternRect{0, 13, 20, 10}));

    item.PatternWidth = 101; // larger than the picture: nothing to draw
    EXPECT_EQ(item.PatternCount(), 0);

    item.PatternWidth = 10;
    item.SkipWidth = -10; // a gap that cancels the pattern must not divide by zero
    EXPECT_EQ(item.PatternCount(), 0);
    item.PatternWidth = -5; // negative sizes mean the whole picture
    item.SkipWidth = 0;
    EXPECT_EQ(item.Width(), 100);
}

// Which pixels of the built surface are left out when drawn.
std::vector<bool> KeyedPixels(const PictureCollectionItem& item) {
    std::vector<bool> keyed;
    for (uint32_t px : item.Surface()) {
        keyed.push_back(item.KeyedOut(px));
    }
    return keyed;
}

TEST(PicturesCollection, RebuildKeysTheTransparentColourAndRekeysAtOnce) {
    const Picture p = MakePicture(3, 1, [](int x, int) {
        return std::array<uint32_t, 3>{0xFF00FF, 0x000000, 0x102030}[static_cast<size_t>(x)];
    });
    PictureCollectionItem item;
    item.SetPicture(p);
    item.TransparentColor = 0xFF00FF; // clFuchsia is symmetric in both layouts
    EXPECT_FALSE(item.IsBuilt());
    item.Rebuild();
    ASSERT_TRUE(item.IsBuilt());
    // The surface is the picture's own pixels: one copy, keyed when drawn.
    EXPECT_EQ(item.Surface(), (std::vector<uint32_t>{0xFFFF00FF, 0xFF000000, 0xFF102030}));
    EXPECT_EQ(item.Surface().data(), item.GetPicture().pixels.data());
    EXPECT_EQ(KeyedPixels(item), (std::vector<bool>{true, false, false}));
    EXPECT_EQ(item.SurfaceWidth(), 3);

    const auto version = item.SurfaceVersion();
    item.SetTransparentColor(0x302010); // the system-colour form of 0x102030
    EXPECT_EQ(KeyedPixels(item), (std::vector<bool>{false, false, true}));
    EXPECT_NE(item.SurfaceVersion(), version);

    item.SetTransparentColor(clNone);
    EXPECT_EQ(KeyedPixels(item), (std::vector<bool>{false, false, false}));

    // Transparent is read when drawing: the surface follows it without a rebuild.
    item.SetTransparentColor(0xFF00FF);
    item.Transparent = false;
    const auto beforeOpaque = item.SurfaceVersion();
    EXPECT_NE(item.SurfaceVersion(), version);
    EXPECT_FALSE(item.KeyedOut(item.Surface()[0]));
    EXPECT_EQ(item.SurfaceVersion(), beforeOpaque);
    item.Transparent = true;
    EXPECT_TRUE(item.KeyedOut(item.Surface()[0]));
    // A key colour set on the field alone waits for the next keying, as on a built surface.
    item.TransparentColor = 0;
    EXPECT_TRUE(item.KeyedOut(item.Surface()[0]));

    // A new picture takes effect only at the next rebuild.
    item.SetPicture(FewColours(5, 5, 2));
    EXPECT_EQ(item.SurfaceWidth(), 3);
    item.Transparent = false;
    item.Rebuild();
    EXPECT_EQ(item.SurfaceWidth(), 5);
    for (uint32_t px : item.Surface()) {
        EXPECT_EQ(px >> 24, 0xFFu);
    }

    item.SetPicture(Picture{});
    item.Rebuild();
    EXPECT_FALSE(item.IsBuilt());
    EXPECT_TRUE(item.Surface().empty());

    // Pixels that do not fill the stated size never make a surface of the wrong size.
    Picture bad = FewColours(4, 4, 2);
    bad.pixels.resize(5);
    item.SetPicture(bad);
    item.Rebuild();
    EXPECT_FALSE(item.IsBuilt());
    EXPECT_EQ(bad.PixelColour(3, 3), 0u);
}

TEST(PicturesCollection, SetPictureCopies) {
    Picture p = FewColours(2, 2, 2);
    PictureCollectionItem item;
    item.SetPicture(p);
    p.pixels[0] = 0xFFABCDEF;
    EXPECT_NE(item.GetPicture().pixels[0], 0xFFABCDEFu);
}

TEST(PicturesCollection, ColourTableKeepsStaticColoursAndFillsTheLowestFreeEntries) {
    PictureCollection c;
    EXPECT_EQ(c.BuildColourTable()[7], (Rgb{192, 192, 192}));
    EXPECT_EQ(c.BuildColourTable()[248], (Rgb{128, 128, 128}));
    EXPECT_EQ(c.BuildColourTable()[8], (Rgb{}));

    Picture a;
    a.width = a.height = 1;
    a.pixels = {0xFF000000};
    a.palette = {{255, 0, 0}, {1, 2, 3}, {4, 5, 6}, {1, 2, 3}}; // red is static; 1,2,3 repeats
    Picture b = a;
    b.palette = {{4, 5, 6}, {7, 8, 9}};
    c.Add().SetPicture(a);
    c.Add(); // no picture: skipped
    c.Add().SetPicture(b);
    const auto table = c.BuildColourTable();
    EXPECT_EQ(table[249], (Rgb{255, 0, 0}));
    EXPECT_EQ(table[8], (Rgb{1, 2, 3}));
    EXPECT_EQ(table[9], (Rgb{4, 5, 6}));
    EXPECT_EQ(table[10], (Rgb{7, 8, 9}));
    EXPECT_EQ(table[11], (Rgb{}));

    // More colours than entries: the table fills up and the rest is dropped.
    Picture many = a;
    many.palette.clear();
    for (int i = 0; i < 300; ++i) {
        many.palette.push_back(Rgb{static_cast<uint8_t>(i), static_cast<uint8_t>(i / 256), 77});
    }
    PictureCollection full;
    full.Add().SetPicture(many);
    const auto fullTable = full.BuildColourTable();
    EXPECT_EQ(fullTable[247], (Rgb{239, 0, 77}));
    EXPECT_EQ(fullTable[255], (Rgb{255, 255, 255}));
}

class PicturesCollectionFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("kestrova-pictures-" + std::to_string(std::random_device{}()));
        std::filesystem::create_directories(dir_ / "Engine" / "Images");
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::filesystem::path dir_;
};

TEST_F(PicturesCollectionFiles, SavedFileLoadsThroughAnyCaseAndSeparator) {
    PictureCollection c;
    auto& item = c.Add();
    item.Name = "PANEL_DEM";
    item.SetPicture(FewColours(3, 3, 3));
    const std::string written = (dir_ / "Engine" / "Images" / "Panels.dxg").string();
    c.SaveToFile(written);

    PictureCollection back;
    back.SetSurfaceInitialized(true);
    back.LoadFromFile(dir_.string() + "\\engine\\images\\PANELS.DXG");
    ASSERT_EQ(back.Count(), 1);
    EXPECT_TRUE(back.Items(0).IsBuilt()); // the surface was ready, so loading built it
    EXPECT_EQ(back.Items(0).GetPicture().pixels, item.GetPicture().pixels);
}

TEST_F(PicturesCollectionFiles, AFullDiskKeepsTheOldFileAndSaysWhy) {
    PictureCollection c;
    c.Add().SetPicture(FewColours(200, 200, 3));
    const std::string path = (dir_ / "slider.dxg").string();
    std::ofstream(path, std::ios::binary) << "the old list";
    const auto result = testing::RunWithFileSizeLimit(16384, [&] {
        try {
            c.SaveToFile(path);
        } catch (const Error& e) {
            return std::string(e.what());
        }
        return std::string("written");
    });
    EXPECT_EQ(result.text, "Cannot create file " + path + ": File too large");
    std::ifstream in(path, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "the old list");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_),
                            std::filesystem::directory_iterator()),
              2)
        << "the old file and the Engine folder, no temporary file";
}

TEST_F(PicturesCollectionFiles, MissingFileNamesThePathAsGivenAndKeepsTheItems) {
    PictureCollection c;
    c.Add();
    const std::string path = dir_.string() + "\\engine\\images\\slider.dxg";
    EXPECT_EQ(ErrorText([&] { c.LoadFromFile(path); }), "Cannot open file " + path);
    EXPECT_EQ(c.Count(), 1);
    EXPECT_EQ(ErrorText([&] { c.LoadFromFile(dir_.string()); }),
              "Cannot open file " + dir_.string());
}

TEST_F(PicturesCollectionFiles, ReadErrorLeavesTheCollectionCleared) {
    const auto path = dir_ / "broken.dxg";
    std::ofstream(path, std::ios::binary) << std::string("\xFF\x0A\x00NAME", 7);
    PictureCollection c;
    c.Add();
    EXPECT_EQ(ErrorText([&] { c.LoadFromFile(path.string()); }), "Stream read error");
    EXPECT_EQ(c.Count(), 0);
}

} // namespace
} // namespace kestrova
