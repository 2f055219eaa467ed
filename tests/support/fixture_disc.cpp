#include "support/fixture_disc.h"

#include "pictures/bitmap_codec.h"
#include "pictures/picture_collection.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace kestrova {
namespace fs = std::filesystem;

namespace {

uint32_t Px(int r, int g, int b) {
    return 0xFF000000u | (static_cast<uint32_t>(r) << 16) | (static_cast<uint32_t>(g) << 8) |
           static_cast<uint32_t>(b);
}

Picture Solid(int w, int h, uint32_t colour) {
    Picture p;
    p.width = w;
    p.height = h;
    p.bitDepth = 24;
    p.pixels.assign(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), colour);
    return p;
}

// A panel whose corner pixel is its key colour (magenta): a frame of the body colour around a
// keyed window, so the text the frame draws underneath shows through, as on a real disc.
Picture Keyed(int w, int h, uint32_t body) {
    Picture p = Solid(w, h, Px(255, 0, 255));
    for (int y = 1; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const bool border = y < 8 || y >= h - 8 || x < 8 || x >= w - 8;
            if (border) {
                p.pixels[static_cast<std::size_t>(y * w + x)] = body;
            }
        }
    }
    return p;
}

void Add(PictureCollection& c, const std::string& name, const Picture& p) {
    PictureCollectionItem& item = c.Add();
    item.Name = name;
    item.SetPicture(p);
}

void WriteFile(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out << text;
}

std::string DiscData(const std::string& variant, int demos) {
    std::string spriteLine = std::to_string(demos + 1);
    if (variant == "bad-spritecount") {
        spriteLine = "eleven";
    } else if (variant == "spritecount-too-big") {
        spriteLine = "30";
    } else if (variant == "spritecount-zero") {
        spriteLine = "0";
    }
    std::string s = "\r\n";
    if (variant != "missing-spritecount") {
        s += "*Spritecount\r\n" + spriteLine + "\r\n";
    }
    s += "*techsupport\r\nSupport:\r\n*systemrequirements\r\nNeeds:\r\n";
    if (variant == "disc-two") {
        s += "*disctwo\r\n";
    }
    s += "*BEGIN0\r\nWelcome to the fixture disc\r\nSecond feature line\r\nThird feature "
         "line\r\n*END0\r\n";
    for (int n = 1; n <= demos; ++n) {
        const std::string num = std::to_string(n);
        s += "*BEGIN" + num + "\r\n";
        s += "Fixture Demo " + num + "\r\n";
        s += "First line of demo " + num + "\r\nSecond line of demo " + num +
             "\r\nThird line of demo " + num + "\r\n";
        s += (n == 2 ? std::string("no") : "demo" + num + "/setup.exe") + "\r\n";
        s += "no\r\nrun" + num + ".exe\r\nreadme" + num + ".rtf\r\n";
        s += "support" + num + "@example.com\r\n";
        s += "Pentium " + num + "00\r\n16 MB RAM\r\nWindows 95\r\n";
        s += "*END" + num + "\r\n";
    }
    return s;
}

} // namespace

void WriteFixtureDisc(const std::string& outDir, const std::string& variant) {
    const fs::path root = outDir;
    const int demos = variant == "one-demo" ? 0 : 4;
    const int spriteCount = demos + 1;
    fs::remove_all(root);
    fs::create_directories(root / "engine" / "images" / "banners");
    fs::create_directories(root / "engine" / "data");

    if (variant != "no-background") {
        Picture bg = Solid(800, 600, Px(16, 24, 64));
        for (int y = 0; y < 600; ++y) {
            for (int x = 0; x < 800; ++x) {
                bg.pixels[static_cast<std::size_t>(y * 800 + x)] = Px(16, 24, 40 + y / 8);
            }
        }
        std::vector<uint8_t> bytes = EncodeBitmapFile(bg, BitmapWriteOptions{});
        if (variant == "bad-background") {
            bytes.resize(100);
        }
        std::ofstream(root / "engine/images/mainbg.bmp", std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }

    PictureCollection panels;
    Add(panels, "PANEL_DEM", Solid(140, 50, Px(240, 160, 32)));
    Add(panels, "PANEL_INFO", Keyed(200, 70, Px(200, 120, 40)));
    Add(panels, "PANEL_BOT2", Solid(800, 82, Px(40, 40, 90)));
    Add(panels, "PANEL_TOP2", Solid(800, 137, Px(90, 20, 90)));
    for (const char* name : {"installnowB", "viewreadmeB", "printreadmeB"}) {
        Add(panels, name, Solid(64, 32, Px(0, 120, 0)));
    }
    for (const char* name : {"installnow", "viewreadme", "printreadme"}) {
        if (variant == "missing-panel-name" && std::string(name) == "viewreadme") {
            continue;
        }
        Add(panels, name, Solid(64, 32, Px(0, 220, 0)));
    }

    PictureCollection slider;
    const int panelCount = variant == "short-slider" ? spriteCount : spriteCount + 4;
    for (int i = 0; i < panelCount; ++i) {
        Add(slider, "", Keyed(800, 240, Px(40 + 20 * i, 40, 120)));
    }
    Add(slider, "start", Keyed(800, 240, Px(30, 90, 160)));

    PictureCollection thumbs;
    for (int i = 0; i < spriteCount; ++i) {
        Add(thumbs, "", Solid(90, 45, Px(200, 40 + 30 * i, 40)));
    }

    PictureCollection top;
    for (const char* name : {"panel_top_none", "panel_top_blank", "panel_top_demos",
                             "panel_top_add-ons", "panel_top_database", "panel_top_exit",
                             "panel_top_utilities", "panel_top_support", "panel_top_tobrik"}) {
        if (variant == "missing-top-panel" && std::string(name) == "panel_top_none") {
            continue;
        }
        Add(top, name, Solid(800, 137, Px(60, 10, 60)));
    }

    PictureCollection banners;
    Add(banners, "banner", Solid(100, 20, Px(10, 10, 10)));

    const fs::path images = root / "engine" / "images";
    if (variant != "no-panels") {
        panels.SaveToFile((images / "panels.dxg").string());
    }
    if (variant != "no-slider") {
        slider.SaveToFile((images / "slider.dxg").string());
    }
    thumbs.SaveToFile((images / "slider2.dxg").string());
    top.SaveToFile((images / "top_panels.dxg").string());
    banners.SaveToFile((images / "banners.dxg").string());
    if (variant == "corrupt-dxg") {
        WriteFile(images / "top_panels.dxg", "PK this is not an image list");
    } else if (variant == "truncated-dxg") {
        std::ifstream in(images / "top_panels.dxg", std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        WriteFile(images / "top_panels.dxg", bytes.substr(0, bytes.size() / 2));
    }

    if (variant != "no-discdata") {
        WriteFile(root / "engine" / "data" / "discdata.kvx", DiscData(variant, demos));
    }
    WriteFile(root / "engine" / "loading.html",
              "<html><body><h1>Loading</h1><p>Fixture disc.</p></body></html>\n");
}

} // namespace kestrova
