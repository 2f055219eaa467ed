// kestrova-sampledisc OUTDIR: paints and writes the whole sample disc (the disc root) into
// OUTDIR.

#include "artwork.h"
#include "content.h"
#include "gif_writer.h"
#include "menu_fit.h"
#include "paint_kit.h"
#include "quantize.h"
#include "sounds.h"

#include "base/error.h"
#include "base/safe_file_writer.h"
#include "engine/disc_requirements.h"
#include "pictures/bitmap_codec.h"
#include "pictures/picture_collection.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

#include <cstdio>
#include <exception>
#include <span>
#include <string>
#include <vector>

using namespace kestrova::sampledisc;

namespace {

struct Form {
    int depth = 24;      // 4, 8 or 24 bits per pixel as stored
    bool rle = false;    // RLE4 / RLE8
    bool dib = false;    // "TDIB" instead of "TBitmap"
    bool keyed = false;  // Transparent, keyed on theme::kKey
    bool dither = false; // ordered dither when reducing colours
};

QString OutPath(const QString& root, const std::string& relative) {
    return QDir(root).filePath(QString::fromStdString(relative));
}

void WriteBytes(const QString& path, const void* data, size_t size, bool executable = false) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    kestrova::SafeWriteOptions options;
    if (executable) {
        options.mode = 0755;
    }
    if (const auto failure = kestrova::WriteFileSafely(
            path.toStdString(), std::span(static_cast<const uint8_t*>(data), size), options)) {
        throw std::runtime_error("cannot write " + failure->Text());
    }
}

void WriteBytes(const QString& path, const std::vector<uint8_t>& bytes) {
    WriteBytes(path, bytes.data(), bytes.size());
}

void WriteText(const QString& path, const std::string& text, bool executable = false) {
    WriteBytes(path, text.data(), text.size(), executable);
}

kestrova::Picture ToPicture(const QImage& source, const Form& form) {
    const QImage img = source.convertToFormat(QImage::Format_RGB32);
    kestrova::Picture pic;
    pic.width = img.width();
    pic.height = img.height();
    pic.bitDepth = form.depth;
    pic.rle = form.rle;
    pic.pixels.resize(static_cast<size_t>(pic.width) * static_cast<size_t>(pic.height));
    if (form.depth > 8) {
        for (int y = 0; y < pic.height; ++y) {
            const auto* row = reinterpret_cast<const QRgb*>(img.constScanLine(y));
            for (int x = 0; x < pic.width; ++x) {
                pic.pixels[static_cast<size_t>(y * pic.width + x)] = row[x] | 0xFF000000u;
            }
        }
        return pic;
    }
    std::vector<QRgb> reserved;
    if (form.keyed) {
        reserved.push_back(theme::kKey.rgb());
    }
    const std::vector<QRgb> palette = MedianCutPalette({img}, 1 << form.depth, reserved);
    const IndexedImage indexed =
        MapToPalette(img, palette, static_cast<int>(reserved.size()), form.dither);
    for (QRgb c : palette) {
        pic.palette.push_back({static_cast<uint8_t>(qRed(c)), static_cast<uint8_t>(qGreen(c)),
                               static_cast<uint8_t>(qBlue(c))});
    }
    for (size_t i = 0; i < indexed.indices.size(); ++i) {
        pic.pixels[i] = palette[indexed.indices[i]] | 0xFF000000u;
    }
    return pic;
}

struct Collection {
    kestrova::PictureCollection items;

    void Add(const std::string& name, const QImage& img, const Form& form) {
        kestrova::PictureCollectionItem& item = items.Add();
        item.Name = name;
        item.PictureClass = form.dib ? "TDIB" : "TBitmap";
        item.SystemMemory = true;
        item.Transparent = form.keyed;
        item.TransparentColor = form.keyed ? kestrova::RgbToColour(theme::kKey.rgb()) : 0;
        item.SetPicture(ToPicture(img, form));
    }
};

struct Disc {
    Collection panels, slider, subSlider, topPanels, banners;
    QImage mainbg;
    std::vector<std::vector<GifFrame>> bannerGifs; // in Banners() order
    std::vector<GifFrame> freeIssue;
};

void Paint(Disc& disc) {
    const auto& demos = Demos();
    const int spriteCount = SpriteCount();
    disc.mainbg = MainBackground();

    // panels: every picture the front end looks up by name.
    const QImage top = TopPanel(QString());
    disc.panels.Add("PANEL_TOP2", top, {24, false, false, false, false});
    disc.panels.Add("PANEL_BOT2", StripHolder(), {8, true, true, false, false});
    disc.panels.Add("PANEL_DEM", DemLabel(), {8, false, true, true, false});
    disc.panels.Add("PANEL_INFO", CaptionPanel(), {8, false, false, true, false});
    disc.panels.Add("installnowB", ActionButton(Action::Install, false), {8, false, false, true});
    disc.panels.Add("installnow", ActionButton(Action::Install, true), {8, false, false, true});
    disc.panels.Add("viewreadmeB", ActionButton(Action::View, false), {8, false, true, true});
    disc.panels.Add("viewreadme", ActionButton(Action::View, true), {8, false, true, true});
    disc.panels.Add("printreadmeB", ActionButton(Action::Print, false), {24, false, false, true});
    disc.panels.Add("printreadme", ActionButton(Action::Print, true), {24, false, true, true});

    // sliderlistA: item k - 1 is panel k for k = 1 .. spriteCount (the last of these is a spare
    // slot), then the four database panels, then the start panel as the last item.
    for (int k = 1; k < spriteCount; ++k) {
        const Demo& d = demos[static_cast<size_t>(k - 1)];
        Form form{8, k % 3 != 0, k % 2 == 0, true, false};
        if (k == 1) {
            form = {24, false, false, true, false}; // the cover demo keeps full colour
        }
        disc.slider.Add("panel" + std::to_string(k), DemoPanel(d, k), form);
    }
    disc.slider.Add("panel" + std::to_string(spriteCount), NextMonthPanel(),
                    {4, false, true, true, true});
    for (int i = 0; i < 4; ++i) {
        disc.slider.Add("database" + std::to_string(i + 1), DatabasePanel(i),
                        {4, i % 2 == 0, i >= 2, true, true});
    }
    disc.slider.Add("start", StartPanel(), {8, true, false, true, false});

    // SubSliderA: item i - 1 is the thumbnail of demo i; two spare slots follow (the last demo
    // slot is read at start-up, the one after it when the editor prepares a new entry).
    for (int i = 1; i < spriteCount; ++i) {
        const Demo& d = demos[static_cast<size_t>(i - 1)];
        Form form{i % 4 == 0 ? 8 : 24, false, i % 2 == 1, false, false};
        disc.subSlider.Add("thumb" + std::to_string(i), Thumbnail(d), form);
    }
    disc.subSlider.Add("thumb" + std::to_string(spriteCount),
                       SpareThumbnail(QStringLiteral("SOON")), {8, false, false, false});
    disc.subSlider.Add("thumb" + std::to_string(spriteCount + 1),
                       SpareThumbnail(QStringLiteral("NEW")), {8, false, true, false});

    // top_panels: the resting banners of both kinds of disc, then each section's.
    disc.topPanels.Add(kestrova::DefaultTopPanelName(false), top, {24, false, false, false});
    disc.topPanels.Add(kestrova::DefaultTopPanelName(true), TopPanel(QStringLiteral("blank")),
                       {8, true, true, false});
    for (const TopZone& z : TopZones()) {
        const char* name = kestrova::TopPanelNameForKey(z.key);
        if (name == nullptr) {
            throw std::runtime_error(std::string("no top panel for the section \"") + z.key + "\"");
        }
        const bool rle = z.key[0] != 'e';
        disc.topPanels.Add(name, TopPanel(QString::fromLatin1(z.key)),
                           {8, rle, !rle, false, false});
    }

    for (const BannerTarget& b : Banners()) {
        disc.bannerGifs.push_back(BannerFrames(b));
        disc.banners.Add("banner" + std::to_string(b.number), disc.bannerGifs.back()[0].image,
                         {b.number % 2 ? 8 : 24, false, b.number > 2, false});
    }
    disc.freeIssue = FreeIssueFrames();
    disc.banners.Add("freeissue_adbar", disc.freeIssue[0].image, {8, true, false, false});
}

void Write(const Disc& disc, const QString& root) {
    WriteText(OutPath(root, "engine/data/discdata.kvx"), DiscDataText());
    // Version control must keep the disc byte for byte: the disc data file's CR LF line ends
    // included.
    WriteText(OutPath(root, ".gitattributes"),
              "# Generated by kestrova-sampledisc: keep every file byte for byte.\n* -text\n");

    kestrova::Picture bg = ToPicture(disc.mainbg, {24, false, false, false, false});
    WriteBytes(OutPath(root, "engine/images/mainbg.bmp"),
               kestrova::EncodeBitmapFile(bg, kestrova::BitmapWriteOptions{}));
    const std::pair<const Collection*, const char*> lists[] = {
        {&disc.panels, "engine/images/panels.dxg"},
        {&disc.slider, "engine/images/slider.dxg"},
        {&disc.subSlider, "engine/images/slider2.dxg"},
        {&disc.topPanels, "engine/images/top_panels.dxg"},
        {&disc.banners, "engine/images/banners.dxg"},
    };
    for (const auto& [collection, path] : lists) {
        const QString out = OutPath(root, path);
        QDir().mkpath(QFileInfo(out).absolutePath());
        collection->items.SaveToFile(out.toStdString());
    }
    for (size_t i = 0; i < Banners().size(); ++i) {
        WriteBytes(OutPath(root, "engine/images/banners/banner" +
                                     std::to_string(Banners()[i].number) + ".gif"),
                   EncodeAnimatedGif(disc.bannerGifs[i]));
    }
    WriteBytes(OutPath(root, "engine/images/banners/freeissue_adbar.gif"),
               EncodeAnimatedGif(disc.freeIssue));

    const auto& demos = Demos();
    for (size_t i = 0; i < demos.size(); ++i) {
        char name[64];
        std::snprintf(name, sizeof name, "pages/images/demo%02zu.gif", i + 1);
        WriteBytes(OutPath(root, name),
                   EncodeAnimatedGif({{PageScreenshot(demos[i]), 0}}, 0, true));
    }
    WriteBytes(OutPath(root, "pages/images/masthead.gif"),
               EncodeAnimatedGif({{PageMasthead(), 0}}, 0, true));
    WriteBytes(OutPath(root, "pages/images/tobrik.gif"),
               EncodeAnimatedGif({{PagePortrait(), 0}}, 0, true));

    WriteBytes(OutPath(root, "engine/sounds/rollover.wav"), WavFile(RolloverSound()));
    WriteBytes(OutPath(root, "engine/sounds/klick.wav"), WavFile(KlickSound()));

    for (const TextFile& f : Pages()) {
        WriteText(OutPath(root, f.path), f.text);
    }
    for (const TextFile& f : Readmes()) {
        WriteText(OutPath(root, f.path), f.text);
    }
    for (const TextFile& f : Programs()) {
        WriteText(OutPath(root, f.path), f.text, true);
    }
}

// The disc must start: every picture the front end asks for by name, and enough panels and
// thumbnails for the count, with the start panel and a thumbnail for the editor to spare.
void CheckStarts(const Disc& disc) {
    auto require = [](const Collection& c, const std::vector<std::string>& names,
                      const char* file) {
        for (const std::string& name : names) {
            if (c.items.IndexOf(name) < 0) {
                throw std::runtime_error(std::string(file) + " lacks the picture " + name);
            }
        }
    };
    require(disc.panels, kestrova::RequiredPanelNames(), "panels.dxg");
    require(disc.topPanels, kestrova::RequiredTopPanelNames(false), "top_panels.dxg");
    require(disc.topPanels, kestrova::RequiredTopPanelNames(true), "top_panels.dxg");
    const int n = SpriteCount();
    if (n < kestrova::kMinSpriteCount || n > kestrova::kMaxSpriteCount ||
        disc.slider.items.Count() <= kestrova::SliderPicturesNeeded(n) ||
        disc.subSlider.items.Count() <= kestrova::ThumbnailPicturesNeeded(n)) {
        throw std::runtime_error("the slide pictures do not fit spriteCount " + std::to_string(n));
    }
}

// A caption wider than its box runs out over the top banner's lettering.
void CheckMenusFit() {
    const std::vector<MenuOverflow> overflows = MenuOverflows(DiscDataLines());
    if (overflows.empty()) {
        return;
    }
    std::string message = "menu captions wider than their box:";
    for (const MenuOverflow& o : overflows) {
        message += "\n  " + o.section + ": \"" + o.caption + "\" needs " + std::to_string(o.width) +
                   " pixels of " + std::to_string(o.room);
    }
    throw std::runtime_error(message);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.contains(QStringLiteral("--preview"))) {
        // Pictures of the screens come from the front end itself, so they cannot drift from it.
        std::fprintf(stderr, "kestrova-sampledisc: no --preview; for screen pictures run "
                             "kestrova --disc sample-disc --replay docs/screens.replay\n");
        return 2;
    }
    if (args.size() != 2 || args[1] == QStringLiteral("--help") ||
        args[1] == QStringLiteral("-h")) {
        std::fprintf(stderr, "usage: kestrova-sampledisc OUTDIR\n"
                             "Paints and writes the Kestrova sample disc into OUTDIR.\n");
        return args.size() == 2 ? 0 : 2;
    }
    try {
        Disc disc;
        Paint(disc);
        CheckStarts(disc);
        CheckMenusFit();
        Write(disc, args[1]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "kestrova-sampledisc: %s\n", e.what());
        return 1;
    }
    return 0;
}
