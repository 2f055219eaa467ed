// kestrova-sampledisc OUTDIR [--preview DIR]: paints and writes the whole sample disc (the disc
// root) into OUTDIR; with --preview it also writes screen mock-ups for checking the artwork.

#include "artwork.h"
#include "content.h"
#include "gif_writer.h"
#include "paint_kit.h"
#include "quantize.h"
#include "sounds.h"

#include "catalogue/error.h"
#include "pictures/bitmap_codec.h"
#include "pictures/picture_collection.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>

#include <cstdio>
#include <exception>
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
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        f.write(static_cast<const char*>(data), static_cast<qint64>(size)) !=
            static_cast<qint64>(size)) {
        throw std::runtime_error("cannot write " + path.toStdString());
    }
    f.close();
    if (executable) {
        f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup |
                         QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
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
    std::vector<QImage> previews; // what the stored pictures look like, for the mock-ups

    void Add(const std::string& name, const QImage& img, const Form& form) {
        kestrova::PictureCollectionItem& item = items.Add();
        item.Name = name;
        item.PictureClass = form.dib ? "TDIB" : "TBitmap";
        item.SystemMemory = true;
        item.Transparent = form.keyed;
        item.TransparentColor = form.keyed ? kestrova::RgbToColour(theme::kKey.rgb()) : 0;
        const kestrova::Picture pic = ToPicture(img, form);
        item.SetPicture(pic);
        QImage stored(pic.width, pic.height, QImage::Format_RGB32);
        for (int y = 0; y < pic.height; ++y) {
            for (int x = 0; x < pic.width; ++x) {
                stored.setPixel(x, y, pic.pixels[static_cast<size_t>(y * pic.width + x)]);
            }
        }
        previews.push_back(stored);
    }
    QImage Preview(const std::string& name) const {
        return previews.at(static_cast<size_t>(items.IndexOf(name)));
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

    // top_panels: the nine named banners.
    disc.topPanels.Add("panel_top_none", top, {24, false, false, false});
    disc.topPanels.Add("panel_top_blank", TopPanel(QStringLiteral("blank")),
                       {8, true, true, false});
    for (const TopZone& z : TopZones()) {
        const bool rle = z.key[0] != 'e';
        disc.topPanels.Add(z.picture, TopPanel(QString::fromLatin1(z.key)),
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

// ---- Mock-ups of the screen, drawn the way the front end lays it out. ----

QImage Keyed(const QImage& img) {
    QImage out = img.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = theme::kKey.rgb();
    for (int y = 0; y < out.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            if ((row[x] | 0xFF000000u) == key) {
                row[x] = 0;
            }
        }
    }
    return out;
}

void MockText(QPainter& p, int x, int y, const std::string& text, const QColor& colour, int px,
              bool bold, bool italic) {
    QFont f(QStringLiteral("Liberation Sans"));
    f.setPixelSize(px);
    f.setBold(bold);
    f.setItalic(italic);
    p.setFont(f);
    p.setPen(colour);
    p.drawText(QRect(x, y, 800, px + 6), Qt::AlignLeft | Qt::AlignTop,
               QString::fromStdString(text));
}

// Drawn in the front end's order: the words first, then the pictures over them (the panels'
// keyed windows let the words through).
QImage MockScreen(const Disc& disc, int shown, int hoverThumb, const char* topName) {
    using namespace layout;
    const auto& demos = Demos();
    const int spriteCount = SpriteCount();
    QImage screen = disc.mainbg.convertToFormat(QImage::Format_RGB32);
    QPainter p(&screen);
    const QColor white(255, 255, 255), orange(252, 118, 61), yellow(255, 255, 0);
    const int py = kPanelRestY;
    const int thumbX0 = kDemW + 40;
    if (shown == 0) {
        const auto lines = DiscDataLines();
        int k = 0;
        bool in = false;
        for (const auto& line : lines) {
            if (line == "*END0") {
                break;
            }
            if (in) {
                MockText(p, 110, py + 165 + 19 * k++, line, white, 15, true, true);
            }
            in = in || line == "*BEGIN0";
        }
    } else {
        const Demo& d = demos[static_cast<size_t>(shown - 1)];
        MockText(p, 110, py + 135, "Support:", orange, 15, true, true);
        MockText(p, 215, py + 135, d.support, white, 15, true, false);
        MockText(p, 110, py + 162, "You will need:", orange, 15, true, true);
        MockText(p, 275, py + 162, d.requirements[0], white, 15, true, false);
        MockText(p, 110, py + 180, d.requirements[1], white, 15, true, false);
        MockText(p, 110, py + 199, d.requirements[2], white, 15, true, false);
    }
    int infoX = 0;
    if (hoverThumb > 0) {
        infoX = thumbX0 + (hoverThumb - 1) * (kThumbW + 20);
        const Demo& d = demos[static_cast<size_t>(hoverThumb - 1)];
        MockText(p, infoX + 5, 428 + 7, d.title, orange, 11, true, false);
        for (int i = 0; i < 3; ++i) {
            MockText(p, infoX + 5, 428 + 27 + 11 * i, d.description[i], white, 9, false, false);
        }
        p.drawImage(infoX, 428, Keyed(disc.panels.Preview("PANEL_INFO")));
    }
    p.drawImage(0, kBotY, disc.panels.Preview("PANEL_BOT2"));
    const QImage panel = Keyed(disc.slider.previews[static_cast<size_t>(
        shown == 0 ? static_cast<int>(disc.slider.previews.size()) - 1 : shown - 1)]);
    p.drawImage(0, py, panel);
    if (shown != 0) {
        p.drawImage(kInstallX, py + kInstallY, Keyed(disc.panels.Preview("installnow")));
        p.drawImage(kViewX, py + kViewY, Keyed(disc.panels.Preview("viewreadmeB")));
        p.drawImage(kPrintX, py + kPrintY, Keyed(disc.panels.Preview("printreadmeB")));
    }
    for (int i = 1; i < spriteCount; ++i) {
        const int x = thumbX0 + (i - 1) * (kThumbW + 20);
        p.drawImage(x, kThumbY, disc.subSlider.previews[static_cast<size_t>(i - 1)]);
        p.setBrush(Qt::NoBrush);
        if (i == hoverThumb) {
            p.setPen(yellow);
            p.drawRect(x + 1, kThumbY + 1, kThumbW - 3, kThumbH - 3);
        }
        p.setPen(theme::kFrame);
        p.drawRect(x, kThumbY, kThumbW - 1, kThumbH - 1);
    }
    p.drawImage(kDemX, kDemY, Keyed(disc.panels.Preview("PANEL_DEM")));
    p.drawImage(0, 0, disc.topPanels.Preview(topName));
    p.fillRect(0, 137, 720, 1, theme::kFrame);
    // The three banners, first frames.
    p.drawImage(10, kBannerY, disc.freeIssue[0].image);
    p.drawImage(163, kBannerY, disc.bannerGifs[0][0].image);
    p.drawImage(640, kBannerY, disc.freeIssue[0].image);
    p.end();
    return screen.copy(0, 0, 792, 573);
}

void WritePreviews(const Disc& disc, const QString& dir) {
    QDir().mkpath(dir);
    MockScreen(disc, 0, 0, "panel_top_none").save(QDir(dir).filePath(QStringLiteral("start.png")));
    MockScreen(disc, 1, 2, "panel_top_demos").save(QDir(dir).filePath(QStringLiteral("demo1.png")));
    MockScreen(disc, 5, 4, "panel_top_tobrik")
        .save(QDir(dir).filePath(QStringLiteral("demo5.png")));
    for (size_t i = 0; i < disc.slider.previews.size(); ++i) {
        disc.slider.previews[i].save(
            QDir(dir).filePath(QStringLiteral("slider_%1.png").arg(i, 2, 10, QLatin1Char('0'))));
    }
    QImage panelSheet(800, 8 * 122, QImage::Format_RGB32);
    panelSheet.fill(Qt::darkGray);
    {
        QPainter ps(&panelSheet);
        ps.setRenderHint(QPainter::SmoothPixmapTransform);
        for (size_t i = 0; i < disc.slider.previews.size(); ++i) {
            ps.drawImage(
                QRect(static_cast<int>(i % 2) * 400, static_cast<int>(i / 2) * 122, 400, 120),
                disc.slider.previews[i]);
        }
    }
    panelSheet.save(QDir(dir).filePath(QStringLiteral("panels.png")));
    QImage topSheet(800, 5 * 70, QImage::Format_RGB32);
    topSheet.fill(Qt::darkGray);
    {
        QPainter ps(&topSheet);
        ps.setRenderHint(QPainter::SmoothPixmapTransform);
        for (size_t i = 0; i < disc.topPanels.previews.size(); ++i) {
            ps.drawImage(
                QRect(static_cast<int>(i % 2) * 400, static_cast<int>(i / 2) * 70, 400, 68),
                disc.topPanels.previews[i]);
        }
    }
    topSheet.save(QDir(dir).filePath(QStringLiteral("tops.png")));
    QImage sheet(800, 60 + 46 * 2 + 120, QImage::Format_RGB32);
    sheet.fill(Qt::darkGray);
    QPainter p(&sheet);
    int x = 4;
    for (const QImage& t : disc.subSlider.previews) {
        p.drawImage(x % 800, x / 800 * 50 + 4, t);
        x += 96;
    }
    x = 4;
    for (const QImage& b : disc.panels.previews) {
        if (b.width() <= 200) {
            p.drawImage(x, 110, b);
            x += b.width() + 6;
        }
    }
    p.drawImage(4, 190, disc.bannerGifs[1][3].image);
    p.end();
    sheet.save(QDir(dir).filePath(QStringLiteral("parts.png")));
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2 || args[1] == QStringLiteral("--help") || args[1] == QStringLiteral("-h")) {
        std::fprintf(stderr, "usage: kestrova-sampledisc OUTDIR [--preview DIR]\n"
                             "Paints and writes the Kestrova sample disc into OUTDIR.\n");
        return args.size() < 2 ? 2 : 0;
    }
    QString preview;
    if (args.size() >= 4 && args[2] == QStringLiteral("--preview")) {
        preview = args[3];
    }
    try {
        Disc disc;
        Paint(disc);
        Write(disc, args[1]);
        if (!preview.isEmpty()) {
            WritePreviews(disc, preview);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "kestrova-sampledisc: %s\n", e.what());
        return 1;
    }
    return 0;
}
