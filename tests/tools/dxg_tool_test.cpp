#include "common/dxg_tool.h"

#include "base/error.h"
#include "pictures/bitmap_codec.h"
#include "pictures/picture_collection.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <sstream>

namespace kestrova {
namespace {

namespace fs = std::filesystem;

Picture Pattern(int w, int h, int colours) {
    Picture p;
    p.width = w;
    p.height = h;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const auto i = static_cast<uint32_t>((x + 2 * y + x * y) % colours);
            p.pixels.push_back(0xFF000000u | ((i * 0x3B1F07u + 0x102030u) & 0xFFFFFFu));
        }
    }
    return p;
}

class DxgTool : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ =
            fs::temp_directory_path() / ("kestrova-dxg-" + std::to_string(std::random_device{}()));
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    int Run(const std::vector<std::string>& args) {
        out_.str("");
        err_.str("");
        return RunDxgTool(args, out_, err_);
    }
    std::string Path(const std::string& name) const { return (dir_ / name).string(); }
    void WriteText(const std::string& name, const std::string& text) const {
        std::ofstream(dir_ / name) << text;
    }

    fs::path dir_;
    std::ostringstream out_, err_;
};

// Every depth, both forms and every layout option, with the properties varied per item.
PictureCollection Sample() {
    struct Form {
        int bits;
        bool rle, topDown, bitfields;
    };
    const std::vector<Form> forms = {
        {1, false, false, false},  {4, false, true, false},   {4, true, false, false},
        {8, false, false, false},  {8, true, false, false},   {16, false, false, false},
        {16, false, true, true},   {24, false, false, false}, {24, false, true, false},
        {32, false, false, false}, {32, false, false, true}};
    PictureCollection c;
    int n = 0;
    for (const Form& f : forms) {
        for (const char* cls : {"TBitmap", "TDIB"}) {
            Picture source = Pattern(9 + n % 3, 4, f.bits <= 8 ? 1 << f.bits : 300);
            BitmapWriteOptions o;
            o.bitDepth = f.bits;
            o.rle = f.rle;
            o.topDown = f.topDown;
            o.bitfields = f.bitfields;
            auto& item = c.Add();
            item.Name = "item " + std::to_string(n) + (n == 3 ? "\xE9" : "");
            item.PictureClass = cls;
            item.SetPicture(DecodePackedDib(EncodePackedDib(source, o)));
            item.PatternWidth = n % 4;
            item.PatternHeight = n % 3;
            item.SkipWidth = n % 2;
            item.SkipHeight = n == 5 ? -3 : 0;
            item.SystemMemory = n % 2 == 1;
            item.Transparent = n % 3 != 1;
            item.TransparentColor = n == 0 ? 0xFF00FFu : n == 1 ? 0x8000000Fu : 0x010203u * n;
            ++n;
        }
    }
    c.Add().Name = "no picture";
    return c;
}

TEST_F(DxgTool, ExtractThenPackKeepsEveryItemPropertyAndPixel) {
    PictureCollection original = Sample();
    original.SaveToFile(Path("in.dxg"));
    ASSERT_EQ(Run({"extract", Path("in.dxg"), Path("x")}), 0) << err_.str();
    ASSERT_EQ(Run({"pack", Path("x/manifest.json"), Path("out.dxg")}), 0) << err_.str();
    ASSERT_EQ(Run({"extract", Path("out.dxg"), Path("y")}), 0) << err_.str();

    PictureCollection packed;
    packed.LoadFromFile(Path("out.dxg"));
    PictureCollection in;
    in.LoadFromFile(Path("in.dxg"));
    ASSERT_EQ(packed.Count(), in.Count());
    for (int i = 0; i < in.Count(); ++i) {
        const auto& a = in.Items(i);
        const auto& b = packed.Items(i);
        SCOPED_TRACE(a.Name);
        EXPECT_EQ(b.Name, a.Name);
        EXPECT_EQ(b.PatternWidth, a.PatternWidth);
        EXPECT_EQ(b.PatternHeight, a.PatternHeight);
        EXPECT_EQ(b.SkipWidth, a.SkipWidth);
        EXPECT_EQ(b.SkipHeight, a.SkipHeight);
        EXPECT_EQ(b.SystemMemory, a.SystemMemory);
        EXPECT_EQ(b.Transparent, a.Transparent);
        EXPECT_EQ(b.TransparentColor, a.TransparentColor);
        EXPECT_EQ(b.PictureClass, a.PictureClass);
        EXPECT_EQ(b.GetPicture().pixels, a.GetPicture().pixels);
        EXPECT_EQ(b.GetPicture().bitDepth, a.GetPicture().bitDepth);
        EXPECT_EQ(b.GetPicture().rle, a.GetPicture().rle);
        EXPECT_EQ(b.GetPicture().topDown, a.GetPicture().topDown);
        EXPECT_EQ(b.GetPicture().palette, a.GetPicture().palette);
    }
    // Nothing was lost, so the file is the same to the byte and a second extract matches.
    EXPECT_EQ(packed.SaveToBytes(), in.SaveToBytes());
    std::ifstream m1(dir_ / "x" / "manifest.json"), m2(dir_ / "y" / "manifest.json");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(m1), {}),
              std::string(std::istreambuf_iterator<char>(m2), {}));
}

// Item names may be long and hold any byte; the PNG files get short, safe, distinct names and the
// manifest carries the names whole, so the file still comes back to the byte.
TEST_F(DxgTool, ExtractNamesFilesSafelyAndKeepsAnyItemName) {
    std::string everyByte;
    for (int b = 255; b >= 0; --b) {
        everyByte += static_cast<char>(b);
    }
    // The first three are the same once cut, the third but for case.
    const std::string longName(300, 'n');
    const std::vector<std::string> names = {longName,
                                            longName + "2",
                                            std::string(200, 'N'),
                                            "Same",
                                            "sAME!",
                                            "a/b",
                                            "../../escape",
                                            "/absolute",
                                            ".hidden",
                                            "..",
                                            std::string("ctl\x01\t\n\r\x1b\0end", 12),
                                            "\x81\x8D\x8F\x90\x9D\xFF high",
                                            everyByte,
                                            ""};
    PictureCollection original;
    for (size_t i = 0; i < names.size(); ++i) {
        auto& item = original.Add();
        item.Name = names[i];
        item.SetPicture(Pattern(3 + static_cast<int>(i % 4), 2, 5));
    }
    original.Add().Name = std::string(300, 'z'); // no picture, no file
    original.SaveToFile(Path("in.dxg"));

    ASSERT_EQ(Run({"extract", Path("in.dxg"), Path("x")}), 0) << err_.str();
    std::set<std::string> folded;
    size_t pngs = 0;
    for (const auto& entry : fs::recursive_directory_iterator(dir_ / "x")) {
        ASSERT_TRUE(entry.is_regular_file()) << entry.path();
        ASSERT_EQ(entry.path().parent_path(), dir_ / "x") << entry.path();
        const std::string name = entry.path().filename().string();
        if (name == "manifest.json") {
            continue;
        }
        ++pngs;
        SCOPED_TRACE(name);
        EXPECT_LE(name.size(), 100u);
        EXPECT_NE(name.front(), '.');
        EXPECT_EQ(name.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
                                         "0123456789-_."),
                  std::string::npos);
        std::string lower = name;
        std::transform(lower.begin(), lower.end(), lower.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        EXPECT_TRUE(folded.insert(lower).second) << "two files differ only in case";
    }
    EXPECT_EQ(pngs, names.size());
    std::set<std::string> top;
    for (const auto& entry : fs::directory_iterator(dir_)) {
        top.insert(entry.path().filename().string());
    }
    EXPECT_EQ(top, (std::set<std::string>{"in.dxg", "x"})); // nothing written outside DIR

    ASSERT_EQ(Run({"pack", Path("x/manifest.json"), Path("out.dxg")}), 0) << err_.str();
    PictureCollection packed;
    packed.LoadFromFile(Path("out.dxg"));
    ASSERT_EQ(packed.Count(), original.Count());
    for (int i = 0; i < original.Count(); ++i) {
        EXPECT_EQ(packed.Items(i).Name, original.Items(i).Name) << "item " << i;
        EXPECT_EQ(packed.Items(i).GetPicture().pixels, original.Items(i).GetPicture().pixels);
    }
    EXPECT_EQ(packed.SaveToBytes(), original.SaveToBytes());
}

TEST_F(DxgTool, ListShowsOneLinePerItem) {
    PictureCollection c = Sample();
    const std::string text = ListImageList(c);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), c.Count());
    EXPECT_NE(text.find("0  \"item 0\"  9 x 4  pattern 0 x 0  transparent yes clFuchsia  system "
                        "memory no  TBitmap 1-bit\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("\"item 3\xC3\xA9\""), std::string::npos); // names shown as UTF-8
    EXPECT_NE(text.find("TDIB 16-bit top-down bitfields"), std::string::npos);
    EXPECT_NE(text.find("no picture"), std::string::npos);

    EXPECT_NE(text.find("transparent no 2147483663"), std::string::npos); // no name, no #RRGGBB

    c.SaveToFile(Path("a.dxg"));
    PictureCollection loaded;
    loaded.LoadFromFile(Path("a.dxg"));
    EXPECT_EQ(Run({"list", Path("a.dxg")}), 0);
    EXPECT_EQ(out_.str(), ListImageList(loaded));
    EXPECT_NE(out_.str().find("transparent no clSilver"), std::string::npos); // clBtnFace read
}

TEST_F(DxgTool, PackFillsDefaultsAndAcceptsNamesAndHexColours) {
    Picture p = Pattern(5, 5, 3);
    BitmapWriteOptions o;
    const auto bmp = EncodeBitmapFile(p, o);
    // The PNG comes from the tool's own extract of a one-item file.
    PictureCollection one;
    one.Add().SetPicture(DecodeBitmapFile(bmp));
    one.SaveToFile(Path("one.dxg"));
    ASSERT_EQ(Run({"extract", Path("one.dxg"), Path("e")}), 0);
    WriteText("e/m.json", R"({"items": [
        {"png": "000.png"},
        {"name": "b", "png": "000.png", "bitDepth": 4, "form": "TDIB",
         "transparentColor": "#FF0000"},
        {"name": "c", "transparentColor": "clbtnface"}]})");
    ASSERT_EQ(Run({"pack", Path("e/m.json"), Path("m.dxg")}), 0) << err_.str();
    PictureCollection c;
    c.LoadFromFile(Path("m.dxg"));
    ASSERT_EQ(c.Count(), 3);
    EXPECT_EQ(c.Items(0).PictureClass, "TBitmap");
    EXPECT_EQ(c.Items(0).GetPicture().bitDepth, 24);
    EXPECT_TRUE(c.Items(0).Transparent);
    EXPECT_EQ(c.Items(0).TransparentColor, 0u);
    EXPECT_EQ(c.Items(0).GetPicture().pixels, p.pixels);
    EXPECT_EQ(c.Items(1).GetPicture().bitDepth, 4);
    EXPECT_EQ(c.Items(1).PictureClass, "TDIB");
    EXPECT_EQ(c.Items(1).TransparentColor, 0x0000FFu);
    EXPECT_EQ(c.Items(2).TransparentColor, 0xC0C0C0u);
    EXPECT_FALSE(c.Items(2).HasPicture());
}

TEST_F(DxgTool, ErrorsGoToStandardErrorWithStatusTwo) {
    PictureCollection one;
    one.Add().SetPicture(Pattern(20, 20, 40));
    one.SaveToFile(Path("one.dxg"));
    ASSERT_EQ(Run({"extract", Path("one.dxg"), Path("e")}), 0);

    auto packWith = [&](const std::string& manifest) {
        WriteText("e/m.json", manifest);
        const int status = Run({"pack", Path("e/m.json"), Path("m.dxg")});
        EXPECT_EQ(status, 2) << manifest;
        EXPECT_TRUE(out_.str().empty());
        return err_.str();
    };
    EXPECT_NE(packWith(R"({"items": [{"name": "x", "png": "000.png", "bitDepth": 4}]})")
                  .find("item 0 (\"x\"): the picture has more than 16 colours"),
              std::string::npos);
    EXPECT_FALSE(fs::exists(dir_ / "m.dxg"));
    EXPECT_NE(packWith(R"({"items": [{"png": "000.png", "bitDepth": 12}]})").find("bitDepth 12"),
              std::string::npos);
    EXPECT_NE(packWith(R"({"items": [{"form": "TIcon"}]})").find("form"), std::string::npos);
    EXPECT_NE(packWith(R"({"items": [{"png": "missing.png"}]})").find("cannot read the picture"),
              std::string::npos);
    EXPECT_NE(packWith(R"({"items": [{"transparentColor": "pink"}]})").find("pink"),
              std::string::npos);
    EXPECT_NE(packWith(R"({"items": [{"patternWidth": 1.5}]})").find("whole number"),
              std::string::npos);
    EXPECT_NE(packWith(R"({"items": [{"systemMemory": 1}]})").find("true or false"),
              std::string::npos);
    EXPECT_NE(packWith("{\"items\": [").find("not valid JSON"), std::string::npos);
    EXPECT_NE(packWith("[]").find("\"items\" list"), std::string::npos);

    EXPECT_EQ(Run({"list", Path("nothing.dxg")}), 2);
    EXPECT_EQ(err_.str(), "kestrova-dxg: Cannot open file " + Path("nothing.dxg") + " (" +
                              Path("nothing.dxg") + ": No such file or directory)\n");
    WriteText("bad.dxg", "not an image list");
    EXPECT_EQ(Run({"extract", Path("bad.dxg"), Path("z")}), 2);
    EXPECT_NE(err_.str().find("Invalid stream format"), std::string::npos);
    EXPECT_EQ(Run({"pack", Path("nothing.json"), Path("o.dxg")}), 2);
    EXPECT_EQ(Run({"frobnicate"}), 2);
    EXPECT_EQ(Run({"list"}), 2);
    EXPECT_EQ(Run({}), 2);
    EXPECT_EQ(Run({"--help"}), 0);
    EXPECT_NE(out_.str().find("extract FILE DIR"), std::string::npos);
}

} // namespace
} // namespace kestrova
