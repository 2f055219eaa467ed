#include "pictures/picture_collection.h"

#include "test_support.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace kestrova {
namespace {

const std::filesystem::path kData = std::filesystem::path(KESTROVA_SOURCE_DIR) / "tests/data/dxg";

TEST(PicturesDataFiles, TwoItemFileLoadsWithItsPropertiesAndPixels) {
    PictureCollection c;
    c.SetSurfaceInitialized(true);
    c.LoadFromFile((kData / "two-items.dxg").string());
    ASSERT_EQ(c.Count(), 2);
    const auto& dem = c.Items(c.IndexOf("panel_dem"));
    EXPECT_EQ(dem.PictureClass, "TBitmap");
    EXPECT_EQ(dem.GetPicture().bitDepth, 8);
    EXPECT_EQ(dem.Width(), 6);
    EXPECT_EQ(dem.Height(), 4);
    EXPECT_EQ(dem.TransparentColor, 0xFF00FFu);
    EXPECT_EQ(dem.GetPicture().PixelColour(3, 2), 0x207878u);
    EXPECT_TRUE(dem.KeyedOut(dem.Surface()[0])); // the magenta frame is keyed out
    EXPECT_FALSE(dem.KeyedOut(dem.Surface()[7]));
    EXPECT_EQ(dem.Surface()[7], 0xFF283C20u);

    const auto& info = c.Items(c.IndexOf("PANEL_INFO"));
    EXPECT_EQ(info.PictureClass, "TDIB");
    EXPECT_FALSE(info.Transparent);
    EXPECT_TRUE(info.SystemMemory);
    EXPECT_EQ(info.GetPicture().pixels, dem.GetPicture().pixels);
    EXPECT_EQ(info.Surface()[0], 0xFFFF00FFu);
    EXPECT_FALSE(info.KeyedOut(info.Surface()[0]));
}

// Each broken file says in its name which error it must give.
TEST(PicturesDataFiles, EveryBrokenFileGivesItsError) {
    int checked = 0;
    for (const auto& entry : std::filesystem::directory_iterator(kData / "broken")) {
        const std::string name = entry.path().filename().string();
        const std::string expected = name.find(".read-error.") != std::string::npos
                                         ? "Stream read error"
                                         : "Invalid stream format";
        PictureCollection c;
        c.Add();
        EXPECT_EQ(testing::ErrorText([&] { c.LoadFromFile(entry.path().string()); }), expected)
            << name;
        EXPECT_EQ(c.Count(), 0) << name;
        ++checked;
    }
    EXPECT_GE(checked, 10);
}

} // namespace
} // namespace kestrova
