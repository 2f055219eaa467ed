// The back-buffer canvas keeps a frame's drawing until the flip, copies of a picture only where
// no later picture covers it, and text as the pixels its line set once: the buffer must end as
// drawing every call at once, through the toolkit for text, leaves it.

#include "pictures/picture_collection.h"
#include "platform/dxdraw.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStaticText>

#include <gtest/gtest.h>

#include <random>

namespace kestrova {
namespace {

constexpr uint32_t kKey = 0xFFFF00FF; // magenta

PictureCollectionItem& RandomPicture(PictureCollection& pictures, std::mt19937& rng, int w, int h,
                                     bool keyed) {
    Picture p;
    p.width = w;
    p.height = h;
    p.bitDepth = 24;
    for (int i = 0; i < w * h; ++i) {
        // Keyed pixels come in stretches, as around a panel's shapes.
        const bool hole = keyed && (i / 7 + i / w) % 3 == 0 && rng() % 4 != 0;
        p.pixels.push_back(hole ? kKey : 0xFF000000u | (rng() & 0xFFFFFF));
    }
    PictureCollectionItem& item = pictures.Add();
    item.SetPicture(p);
    item.Transparent = keyed;
    item.SetTransparentColor(0xFF00FF);
    item.Rebuild();
    return item;
}

// Every call drawn at once, the plain way: pictures pixel by pixel, text through the toolkit.
class PlainCanvas : public Canvas {
  public:
    explicit PlainCanvas(QImage& target) : target_(target) {}
    bool CanDraw() const override { return true; }
    int Width() const override { return target_.width(); }
    int Height() const override { return target_.height(); }
    void SetClip(int left, int top, int right, int bottom) override {
        clipped_ = true;
        clip_ = QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)) & target_.rect();
    }
    void DrawItem(const PictureCollectionItem& item, int x, int y, int pattern) override {
        const PatternRect r = item.Pattern(pattern);
        const std::optional<uint32_t> key = item.KeyedRgb();
        for (int row = 0; row < r.h; ++row) {
            for (int col = 0; col < r.w; ++col) {
                const int sx = r.x + col;
                const int sy = r.y + row;
                if (sx < 0 || sy < 0 || sx >= item.SurfaceWidth() || sy >= item.SurfaceHeight()) {
                    continue;
                }
                const uint32_t px =
                    item.Surface()[static_cast<std::size_t>(sy * item.SurfaceWidth() + sx)];
                if (key && (px & 0xFFFFFFu) == *key) {
                    continue;
                }
                Put(x + col, y + row, px);
            }
        }
    }
    void TextOut(int x, int y, const std::string& utf8, const FontSpec& font) override {
        const QFont f = FontFor(font);
        QStaticText text(QString::fromStdString(utf8));
        text.setTextFormat(Qt::PlainText);
        text.prepare(QTransform(), f);
        QPainter p(&target_);
        p.setClipRect(Area());
        p.setFont(f);
        p.setPen(QColor(static_cast<int>(font.colour & 0xFF),
                        static_cast<int>((font.colour >> 8) & 0xFF),
                        static_cast<int>((font.colour >> 16) & 0xFF)));
        p.drawStaticText(QPoint(x, y), text);
    }
    void FrameRect(int left, int top, int right, int bottom, TColor colour) override {
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x) {
                if (y == top || y == bottom - 1 || x == left || x == right - 1) {
                    Put(x, y, Argb(colour));
                }
            }
        }
    }
    void FillRect(int left, int top, int right, int bottom, TColor brush) override {
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x) {
                const bool edge = y == top || y == bottom - 1 || x == left || x == right - 1;
                Put(x, y, edge ? 0xFF000000u : Argb(brush));
            }
        }
    }
    int FontPixelHeight(const FontSpec& font) const override { return font.pixelHeight; }
    void Flip() override { clipped_ = false; }

  private:
    static uint32_t Argb(TColor c) {
        return 0xFF000000u | ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
    }
    // A clip off the canvas leaves nothing to draw.
    QRect Area() const { return clipped_ ? clip_ : target_.rect(); }
    void Put(int x, int y, uint32_t argb) {
        if (Area().contains(x, y)) {
            target_.setPixel(x, y, argb);
        }
    }
    QImage& target_;
    bool clipped_ = false;
    QRect clip_;
};

TEST(KeptDrawing, GivesThePixelsOfDrawingEveryCallAtOnce) {
    std::mt19937 rng(11);
    PictureCollection pictures;
    PictureCollectionItem& back = RandomPicture(pictures, rng, 320, 200, false);
    PictureCollectionItem& panel = RandomPicture(pictures, rng, 320, 60, true);
    PictureCollectionItem& banner = RandomPicture(pictures, rng, 320, 40, false);
    PictureCollectionItem& thumbs = RandomPicture(pictures, rng, 120, 30, true);
    thumbs.PatternWidth = 40;
    const std::string lines[] = {
        "This month: three missions and a tutor",
        "Caf\xc3\xa9 \xc2\xbb na\xc3\xafve, \xc3\x85ngstr\xc3\xb6m",
        "W",
        "",
        // Wider than any line kept as pixels: drawn through the toolkit every time.
        std::string(700, 'M'),
    };
    const FontSpec fonts[] = {
        Font(FontFace::Sans, 15, true, true, 0xFFFFFF),
        Font(FontFace::Sans, 11, true, false, 0x3D76FC),
        Font(FontFace::Small, 9, false, false, 0x00FFFF),
        Font(FontFace::Small, 9, true, true, 0x000000),
    };

    QImage kept(320, 200, QImage::Format_RGB32);
    QImage plain(320, 200, QImage::Format_RGB32);
    kept.fill(0xFF000000u);
    plain.fill(0xFF000000u);
    ImageCanvas canvas(&kept);
    canvas.SetCanDraw(true);
    PlainCanvas reference(plain);

    auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    for (int frame = 0; frame < 40; ++frame) {
        const bool clipped = frame % 3 == 1;
        const int cl = pick(200) - 20, ct = pick(150) - 20;
        const int cr = cl + pick(200), cb = ct + pick(120);
        const bool whole = frame % 2 == 0; // half the frames start with the background
        const int panelY = pick(220) - 30;
        const int bannerY = pick(40) - 20;
        const int thumbX = pick(360) - 40;
        const int pattern = pick(4);
        const std::string& line = lines[pick(5)];
        const FontSpec& font = fonts[pick(4)];
        const int textX = pick(360) - 60, textY = pick(230) - 20;
        const int boxL = pick(300), boxT = pick(190);
        for (Canvas* c : std::initializer_list<Canvas*>{&canvas, &reference}) {
            if (clipped) {
                c->SetClip(cl, ct, cr, cb);
            }
            if (whole) {
                c->DrawItem(back, 0, 0, 0);
            }
            c->TextOut(textX, textY, line, font); // under the pictures that follow
            c->DrawItem(panel, 0, panelY, 0);     // keyed: the text shows through its holes
            c->DrawItem(thumbs, thumbX, 150, pattern);
            c->FillRect(boxL, boxT, boxL + 30, boxT + 12, 0x808080);
            c->TextOut(textX + 7, textY + 13, line, font); // over them
            c->FrameRect(thumbX, 150, thumbX + 40, 180, 0x00FFFF);
            c->DrawItem(banner, 0, bannerY, 0);
            c->Flip();
        }
        ASSERT_EQ(kept, plain) << "frame " << frame;
    }
}

TEST(KeptDrawing, ALineHiddenUnderLaterPicturesIsNeverLaidOut) {
    std::mt19937 rng(5);
    PictureCollection pictures;
    PictureCollectionItem& header = RandomPicture(pictures, rng, 320, 80, false);
    PictureCollectionItem& holed = RandomPicture(pictures, rng, 320, 80, true);
    QImage kept(320, 200, QImage::Format_RGB32);
    QImage plain(320, 200, QImage::Format_RGB32);
    ImageCanvas canvas(&kept);
    canvas.SetCanDraw(true);
    PlainCanvas reference(plain);
    const FontSpec font = Font(FontFace::Sans, 15, true, true, 0xFFFFFF);
    const auto frame = [&](int textY, PictureCollectionItem& over, int overY) {
        kept.fill(0xFF000000u);
        plain.fill(0xFF000000u);
        for (Canvas* c : std::initializer_list<Canvas*>{&canvas, &reference}) {
            c->TextOut(40, textY, "Three missions of Helix Corsairs", font);
            c->DrawItem(over, 0, overY, 0);
            c->Flip();
        }
        EXPECT_EQ(kept, plain) << textY;
    };
    frame(30, header, 0);
    EXPECT_EQ(canvas.LinesKept(), 0u) << "an opaque header over the whole band the line may reach";
    frame(-200, header, 100);
    EXPECT_EQ(canvas.LinesKept(), 0u) << "a line wholly above the buffer";
    frame(30, holed, 0);
    EXPECT_EQ(canvas.LinesKept(), 1u) << "a keyed picture lets the line show through its holes";
    frame(60, header, 0);
    EXPECT_EQ(canvas.LinesKept(), 1u) << "the line standing partly below the header shows";
}

TEST(KeptDrawing, EveryPrintableLetterStaysInsideTheBandFoundWithoutLayingItOut) {
    // A line is left unlaid when pictures cover this band: a pixel outside it would be lost.
    QImage buffer(8, 8, QImage::Format_RGB32);
    ImageCanvas canvas(&buffer);
    std::string all;
    for (char c = 0x20; c < 0x7F; ++c) {
        all += c;
    }
    for (FontFace face : {FontFace::Sans, FontFace::Small}) {
        for (int h = 6; h <= 40; ++h) {
            for (int style = 0; style < 4; ++style) {
                const FontSpec font = Font(face, h, (style & 1) != 0, (style & 2) != 0, 0);
                const Canvas::TextReachBox band = ImageCanvas::LineBand(all, font);
                for (const std::string& line : {all, std::string("\xc3\x85gj|_")}) {
                    const Canvas::TextReachBox reach = canvas.TextReach(line, font);
                    ASSERT_GE(reach.left, band.left) << h << " " << style;
                    ASSERT_GE(reach.top, band.top) << h << " " << style;
                    ASSERT_LE(reach.bottom, band.bottom) << h << " " << style;
                }
            }
        }
    }
    EXPECT_EQ(ImageCanvas::LineBand("\xc3\x85", Font(FontFace::Sans, 15, false, false, 0)).top,
              Canvas::AnyLineReach(Font(FontFace::Sans, 15, false, false, 0)).top)
        << "beyond ASCII, the band any line stays in";
}

TEST(KeptDrawing, TextStandsWhereTheToolkitPutsItAtEveryPlace) {
    // Lines kept as pixels and drawn elsewhere set the pixels the toolkit sets there.
    for (const FontSpec& font : {Font(FontFace::Sans, 15, true, true, 0xFFFFFF),
                                 Font(FontFace::Small, 9, false, false, 0x40C0FF),
                                 Font(FontFace::Sans, 11, true, false, 0x3D76FC)}) {
        QImage kept(200, 60, QImage::Format_RGB32);
        QImage plain(200, 60, QImage::Format_RGB32);
        ImageCanvas canvas(&kept);
        canvas.SetCanDraw(true);
        PlainCanvas reference(plain);
        for (int x = -9; x < 200; x += 23) {
            for (int y = -7; y < 60; y += 11) {
                kept.fill(0xFF102030u);
                plain.fill(0xFF102030u);
                canvas.TextOut(x, y, "Kestrova jumps, fly \xc3\xa9", font);
                canvas.Flip();
                reference.TextOut(x, y, "Kestrova jumps, fly \xc3\xa9", font);
                ASSERT_EQ(kept, plain) << x << "," << y << " at " << font.pixelHeight;
            }
        }
    }
}

TEST(KeptDrawing, AClipSetBetweenCallsKeepsTheOneEarlierCallsWereGiven) {
    QImage buffer(40, 20, QImage::Format_RGB32);
    buffer.fill(0xFF000000u);
    ImageCanvas canvas(&buffer);
    canvas.SetCanDraw(true);
    canvas.SetClip(0, 0, 10, 20);
    canvas.FillRect(0, 0, 40, 20, 0x0000FF); // red, left 10 columns only
    canvas.SetClip(20, 0, 40, 20);
    canvas.FillRect(0, 0, 40, 20, 0x00FF00); // green, right 20 columns only
    canvas.Flip();
    EXPECT_EQ(buffer.pixel(5, 5), 0xFFFF0000u);
    EXPECT_EQ(buffer.pixel(15, 5), 0xFF000000u) << "between the two clips";
    EXPECT_EQ(buffer.pixel(25, 5), 0xFF00FF00u);
}

TEST(KeptDrawing, ReleaseDrawsWhatWasKeptAndAnUnflippedFrameIsDroppedWithTheCanvas) {
    QImage buffer(20, 10, QImage::Format_RGB32);
    buffer.fill(0xFF000000u);
    {
        ImageCanvas canvas(&buffer);
        canvas.SetCanDraw(true);
        canvas.FillRect(0, 0, 20, 10, 0x0000FF);
        EXPECT_EQ(buffer.pixel(5, 5), 0xFF000000u) << "kept until asked for";
        canvas.Release();
        EXPECT_EQ(buffer.pixel(5, 5), 0xFFFF0000u);
        // A frame that never flips: its pictures may be gone by the time the canvas is.
        PictureCollection pictures;
        std::mt19937 rng(3);
        canvas.DrawItem(RandomPicture(pictures, rng, 4, 4, false), 0, 0, 0);
    }
    EXPECT_EQ(buffer.pixel(1, 1), 0xFFFF0000u);
}

TEST(KeptDrawing, TextWidthsMeasuredOnceEqualFreshOnes) {
    QImage buffer(10, 10, QImage::Format_RGB32);
    ImageCanvas canvas(&buffer);
    for (const FontSpec& font : {Font(FontFace::Sans, 15, true, true, 0xFFFFFF),
                                 Font(FontFace::Sans, 15, true, false, 0xFFFFFF),
                                 Font(FontFace::Small, 9, false, false, 0xFFFFFF),
                                 Font(FontFace::Small, 12, true, false, 0xFFFFFF)}) {
        for (const std::string& text : {std::string("Could not start Ombrevale"),
                                        std::string("\xc3\x85ngstr\xc3\xb6m"), std::string()}) {
            const int fresh =
                QFontMetrics(FontFor(font)).horizontalAdvance(QString::fromStdString(text));
            EXPECT_EQ(canvas.TextWidth(text, font), fresh) << text;
            EXPECT_EQ(canvas.TextWidth(text, font), fresh) << text << ", asked again";
        }
    }
}

} // namespace
} // namespace kestrova
