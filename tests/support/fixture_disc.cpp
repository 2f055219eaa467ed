#include "support/fixture_disc.h"

#include <sys/stat.h>
#include <unistd.h>

#include "disc/disc_limits.h"
#include "engine/disc_requirements.h"
#include "pictures/bitmap_codec.h"
#include "pictures/picture_collection.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace kestrova {
namespace fs = std::filesystem;

namespace {

// The panel the "missing-panel-name" variant leaves out.
const char* const kDroppedPanel = "viewreadme";

// A 1 x 1 GIF: the centre banner the front end loads at start.
const unsigned char kTinyGif[] = {0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 0x01, 0x00, 0x01,
                                  0x00, 0x80, 0x00, 0x00, 0xFF, 0xA0, 0x20, 0x00, 0x00,
                                  0x00, 0x2C, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x01,
                                  0x00, 0x00, 0x02, 0x02, 0x44, 0x01, 0x00, 0x3B};

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

// The panel a required name stands for: the fixed panels at their layout sizes, the action
// pictures green (brighter when lit).
Picture PanelPicture(const std::string& name) {
    if (name == "PANEL_DEM") {
        return Solid(140, 50, Px(240, 160, 32));
    }
    if (name == "PANEL_INFO") {
        return Keyed(200, 70, Px(200, 120, 40));
    }
    if (name == "PANEL_BOT2") {
        return Solid(800, 82, Px(40, 40, 90));
    }
    if (name == "PANEL_TOP2") {
        return Solid(800, 137, Px(90, 20, 90));
    }
    const bool resting = !name.empty() && name.back() == 'B';
    return Solid(64, 32, resting ? Px(0, 120, 0) : Px(0, 220, 0));
}

void WriteFile(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out << text;
}

// Menus with a target of every kind, each the line before the next name: a heading, programs
// that are there and one that is not, targets of 7 and 8 characters that read as start lines
// (panel 2; panel 9, which this disc lacks; "run.exe", no number at all), pages that are there
// and one that is not, the game, and targets that do nothing.
std::string MenuTargets() {
    return "*BEGINUTILITIES\r\n"
           "TOOLS\r\n\r\n"
           "Unzipper\r\nUtils/unzip.exe\r\n"
           "Runner\r\nrun.exe\r\n"
           "After the runner\r\nUtils/after.exe\r\n"
           "Second panel tool\r\ntool.x2\r\n"
           "After panel two\r\nUtils/two.exe\r\n"
           "Ninth panel tool\r\ntool.x9\r\n"
           "After panel nine\r\nUtils/nine.exe\r\n"
           "Lost tool\r\nUtils/lost.exe\r\n"
           "*ENDUTILITIES\r\n"
           "*BEGINADDONS\r\n"
           "Map pack\r\nAddons/maps.exe\r\n"
           "Extras on the web\r\nhttp://www.example.com/extras/\r\n"
           "*ENDADDONS\r\n"
           "*SUPPORT1\r\nHelp page\r\npages/help.html#top\r\n"
           "*SUPPORT2\r\nLost page\r\npages/lost.html\r\n"
           "*SUPPORT3\r\nSay hello\r\nshowgame\r\n"
           "*SUPPORT4\r\nDoctor\r\n*XUtils/doc.exe\r\n"
           "*SUPPORT5\r\nLost doctor\r\n*XUtils/nodoc.exe\r\n"
           "*SUPPORT6\r\nNothing here\r\n\r\n"
           "*SUPPORT7\r\nOn the web\r\nhttp://www.example.com/\r\n"
           "*TOBRIK1\r\nPlay the game\r\nshowgame\r\n"
           "*TOBRIK2\r\nTobrik's page\r\npages/tobrik.html\r\n";
}

// The demos' titles of the variants written in another code page than Windows-1252 (a Russian,
// a Polish and a Greek title), as the disc's own bytes.
std::string TitleOf(const std::string& variant, const std::string& num) {
    if (variant == "cp1251-titles") {
        return "\xC4\xE5\xEC\xEE \xE8\xE3\xF0\xFB " + num; // Демо игры
    }
    if (variant == "cp1250-titles") {
        return "\xAF\xF3\xB3\xE6 g\xEA\x9Cl\xB9 " + num; // Żółć gęślą
    }
    if (variant == "cp1253-titles") {
        return "\xC1\xE3\xFE\xED\xE1\xF2 \xF4\xE1\xF7\xFD\xF4\xE7\xF4\xE1\xF2 " +
               num; // Αγώνας ταχύτητας
    }
    return "Fixture Demo " + num;
}

std::string DiscData(const std::string& variant, int demos) {
    std::string spriteLine = std::to_string(demos + 1);
    // GCC 12 at -O3 finds an overlap between a literal and the string it is copied into, with
    // offsets no string can have: a false positive.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wrestrict"
#endif
    if (variant == "bad-spritecount") {
        spriteLine = "eleven";
    } else if (variant == "spritecount-too-big") {
        spriteLine = "30";
    } else if (variant == "spritecount-zero") {
        spriteLine = "0";
    }
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif
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
        s += TitleOf(variant, num) + "\r\n";
        s += "First line of demo " + num + "\r\nSecond line of demo " + num +
             "\r\nThird line of demo " + num + "\r\n";
        s += (n == 2 ? std::string("no") : "demo" + num + "/setup.exe") + "\r\n";
        s += "no\r\nrun" + num + ".exe\r\nreadme" + num + ".rtf\r\n";
        s += "support" + num + "@example.com\r\n";
        s += "Pentium " + num + "00\r\n16 MB RAM\r\nWindows 95\r\n";
        s += "*END" + num + "\r\n";
    }
    if (variant == "menu-targets") {
        s += MenuTargets();
    }
    if (variant == "page-commands") {
        // Support lines whose pages are commands of the front end, as a disc's own links are.
        s += "*SUPPORT1\r\nQuit the disc\r\ncommand_exit\r\n";
        s += "*SUPPORT2\r\nInstall the first demo\r\nClaunch_Demo1/Setup.exe\r\n";
        s += "*SUPPORT3\r\nQuit in capitals\r\nCOMMAND_EXIT\r\n";
    }
    return s;
}

// A GIF of `frames` 1 x 1 frames on a logical screen of `width` x `height`: a few bytes that
// would ask a decoder for a huge canvas per frame.
std::string BannerGif(int width, int height, int frames) {
    std::string gif = "GIF89a";
    gif += static_cast<char>(width & 0xFF);
    gif += static_cast<char>(width >> 8);
    gif += static_cast<char>(height & 0xFF);
    gif += static_cast<char>(height >> 8);
    gif += std::string("\x80\x00\x00\xFF\xA0\x20\x00\x00\x00", 9);
    for (int i = 0; i < frames; ++i) {
        gif += std::string("\x21\xF9\x04\x00\x02\x00\x00\x00", 8); // 20 ms a frame
        gif += std::string("\x2C\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00", 15);
    }
    return gif + ";";
}

// An image list of `count` run-length pictures, each `w` x `h` of one colour: small on disc
// (about 6 bytes a row), large once decoded.
void WriteRunLengthList(const fs::path& path, int count, int w, int h) {
    Picture p = Solid(w, h, Px(200, 40, 40));
    p.bitDepth = 8;
    p.rle = true;
    PictureCollection list;
    for (int i = 0; i < count; ++i) {
        PictureCollectionItem& item = list.Add();
        if (i == 0) {
            item.SetPicture(std::move(p));
        } else {
            item.SharePicture(list.Items(0));
        }
    }
    list.SaveToFile(path.string());
}

// Pages of the disc that command the front end by other means than a plain link: a script as
// the page loads, a frame, a form sent by its button, a script that ends the front end.
void WriteCommandPages(const fs::path& pages) {
    WriteFile(pages / "script.html",
              "<html><body><p>Starting.</p>"
              "<script>location.href = \"../claunch_exes/by_script.exe\";</script>"
              "</body></html>\n");
    WriteFile(pages / "frame.html",
              "<html><body><iframe src=\"../claunch_exes/by_frame.exe\"></iframe></body></html>\n");
    WriteFile(pages / "form.html",
              "<html><body style=\"margin:0\"><form action=\"../claunch_exes/by_form.exe\" "
              "style=\"margin:0\"><button style=\"display:block;width:100%;height:300px\">"
              "Start</button></form></body></html>\n");
    WriteFile(pages / "quit.html",
              "<html><body><p>Leaving.</p><script>setTimeout(function () { location.href = "
              "\"../command_exit\"; }, 0);</script></body></html>\n");
}

// The hostile variants: files that are not what they claim, or far larger once read.
void MakeHostile(const fs::path& root, const std::string& variant) {
    const fs::path images = root / "engine" / "images";
    const fs::path background = images / "mainbg.bmp";
    if (variant == "fifo-background") {
        fs::remove(background);
        ::mkfifo(background.c_str(), 0644);
    } else if (variant == "device-list") {
        fs::remove(images / "panels.dxg");
        fs::create_symlink("/dev/zero", images / "panels.dxg");
    } else if (variant == "fifo-discdata") {
        const fs::path data = root / "engine" / "data" / "discdata.kvx";
        fs::remove(data);
        ::mkfifo(data.c_str(), 0644);
    } else if (variant == "png-background") {
        WriteFile(background, std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) + "renamed");
    } else if (variant == "empty-background") {
        WriteFile(background, "");
    } else if (variant == "huge-background") {
        // Sparse: larger than any background may be, without using the disk.
        fs::resize_file(background, kBackgroundKind.maxBytes + 1);
    } else if (variant == "huge-discdata") {
        fs::resize_file(root / "engine" / "data" / "discdata.kvx", 50 * kMiB);
    } else if (variant == "rle-bomb") {
        // 200 thumbnails of 400 x 320: under 400 KB on disc, 25.6 M pixels once decoded.
        WriteRunLengthList(images / "slider2.dxg", 200, 400, 320);
    } else if (variant == "gif-bomb") {
        WriteFile(images / "banners" / "banner1.gif", BannerGif(65535, 65535, 200));
    } else if (variant == "long-text") {
        // A feature block of 100,000 lines, inside every limit of the disc data file.
        std::string lines;
        for (int i = 0; i < 100000; ++i) {
            lines += "Feature line " + std::to_string(i) + "\r\n";
        }
        const fs::path data = root / "engine" / "data" / "discdata.kvx";
        std::ifstream in(data, std::ios::binary);
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        in.close();
        const std::string marker = "*END0\r\n";
        text.insert(text.find(marker), lines);
        WriteFile(data, text);
    }
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
    for (const std::string& name : RequiredPanelNames()) {
        if (variant == "missing-panel-name" && name == kDroppedPanel) {
            continue;
        }
        Add(panels, name, PanelPicture(name));
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

    // Every top panel either kind of disc asks for; the broken variant lacks the one a first
    // disc shows at rest.
    PictureCollection top;
    std::vector<std::string> topNames = RequiredTopPanelNames(false);
    for (const std::string& name : RequiredTopPanelNames(true)) {
        if (std::find(topNames.begin(), topNames.end(), name) == topNames.end()) {
            topNames.push_back(name);
        }
    }
    for (const std::string& name : topNames) {
        if (variant == "missing-top-panel" && name == DefaultTopPanelName(false)) {
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
    // Everything the disc data names is there, so that only a variant's own fault is a fault.
    for (int n = 1; n <= demos; ++n) {
        const std::string num = std::to_string(n);
        if (n != 2) {
            WriteFile(root / ("demo" + num) / "setup.exe", "fixture installer\n");
        }
        WriteFile(root / "Exes" / ("run" + num + ".exe"), "fixture program\n");
        WriteFile(root / "databases" / ("readme" + num + ".rtf"),
                  "{\\rtf1\\ansi Readme of demo " + num + ".\\par}\n");
    }
    if (variant == "windows-programs") {
        // The first demo installs with a Windows program: "MZ", the new header's offset at 0x3C,
        // "PE\0\0" there.
        std::string program(256, '\0');
        program[0] = 'M';
        program[1] = 'Z';
        program[0x3C] = static_cast<char>(0x80);
        program.replace(0x80, 4, std::string("PE\0\0", 4));
        WriteFile(root / "demo1" / "setup.exe", program);
    }
    if (variant == "menu-targets") {
        for (const char* file :
             {"Utils/unzip.exe", "run.exe", "Utils/after.exe", "tool.x2", "Utils/two.exe",
              "tool.x9", "Utils/nine.exe", "Addons/maps.exe", "Utils/doc.exe"}) {
            WriteFile(root / file, "fixture program\n");
        }
        for (const char* page : {"pages/help.html", "pages/tobrik.html"}) {
            WriteFile(root / page, "<html><body><p>Fixture page.</p></body></html>\n");
        }
    }
    WriteFile(root / "engine" / "images" / "banners" / "banner1.gif",
              std::string(reinterpret_cast<const char*>(kTinyGif), sizeof kTinyGif));
    WriteFile(root / "engine" / "loading.html",
              "<html><body><h1>Loading</h1><p>Fixture disc.</p></body></html>\n");
    if (variant == "page-commands") {
        WriteCommandPages(root / "pages");
    }
    MakeHostile(root, variant);
}

FixtureDiscFolder::FixtureDiscFolder(const std::string& variant)
    : old_(std::filesystem::current_path()) {
    static int counter = 0;
    dir_ = std::filesystem::temp_directory_path() /
           ("kestrova-disc-" + variant + "-" + std::to_string(::getpid()) + "-" +
            std::to_string(++counter));
    WriteFixtureDisc(dir_.string(), variant);
    std::filesystem::current_path(dir_);
}

FixtureDiscFolder::~FixtureDiscFolder() {
    std::error_code ec;
    std::filesystem::current_path(old_, ec);
    std::filesystem::remove_all(dir_, ec);
}

} // namespace kestrova
