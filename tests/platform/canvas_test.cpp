// The back-buffer canvas: keyed and opaque blits with clipping, outlines and fills.

#include "engine/repeat_skipping_canvas.h"
#include "pictures/picture_collection.h"
#include "platform/dxdraw.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QBackingStore>

#include <random>

namespace kestrova {
namespace {

constexpr uint32_t kKey = 0xFFFF00FF; // magenta
constexpr uint32_t kBody = 0xFF204080;

PictureCollectionItem KeyedItem(bool transparent) {
    // 4 x 3: a keyed middle column in every row.
    Picture p;
    p.width = 4;
    p.height = 3;
    p.bitDepth = 24;
    p.pixels.assign(12, kBody);
    for (int y = 0; y < 3; ++y) {
        p.pixels[static_cast<std::size_t>(y * 4 + 1)] = kKey;
    }
    PictureCollectionItem item;
    item.SetPicture(p);
    item.Transparent = transparent;
    item.SetTransparentColor(0xFF00FF); // system colour of magenta
    item.Rebuild();
    return item;
}

struct CanvasTest : ::testing::Test {
    QImage buffer{20, 10, QImage::Format_RGB32};
    ImageCanvas canvas{&buffer};
    void SetUp() override {
        buffer.fill(0xFF000000u);
        canvas.SetCanDraw(true);
    }
    // The canvas draws what it was given once the buffer is to be read.
    uint32_t At(int x, int y) {
        canvas.Release();
        return buffer.pixel(x, y);
    }
};

TEST_F(CanvasTest, KeyedPixelsLeaveTheBufferAlone) {
    const PictureCollectionItem item = KeyedItem(true);
    canvas.DrawItem(item, 2, 1, 0);
    EXPECT_EQ(At(2, 1), kBody);
    EXPECT_EQ(At(3, 1), 0xFF000000u) << "keyed pixel";
    EXPECT_EQ(At(4, 3), kBody);
    EXPECT_EQ(At(6, 1), 0xFF000000u) << "outside the item";
}

TEST_F(CanvasTest, OpaqueItemsCopyEveryPixel) {
    const PictureCollectionItem item = KeyedItem(false);
    canvas.DrawItem(item, 0, 0, 0);
    EXPECT_EQ(At(1, 0), kKey);
}

TEST_F(CanvasTest, BlitsAreClippedOnEverySide) {
    const PictureCollectionItem item = KeyedItem(false);
    canvas.DrawItem(item, -2, -1, 0);
    EXPECT_EQ(At(0, 0), kBody); // source column 2, row 1
    EXPECT_EQ(At(1, 1), kBody);
    EXPECT_EQ(At(2, 0), 0xFF000000u);
    canvas.DrawItem(item, 18, 8, 0);
    EXPECT_EQ(At(18, 8), kBody);
    EXPECT_EQ(At(19, 9), kKey);
    canvas.DrawItem(item, 100, 100, 0); // wholly outside: nothing, no crash
    canvas.DrawItem(item, -100, -100, 0);
}

TEST_F(CanvasTest, ChangingTheKeyColourTakesEffectAtOnce) {
    PictureCollectionItem item = KeyedItem(true);
    canvas.DrawItem(item, 0, 0, 0);
    EXPECT_EQ(At(1, 0), 0xFF000000u);
    item.SetTransparentColor(0x804020); // the body colour as a system colour
    buffer.fill(0xFF000000u);
    canvas.DrawItem(item, 0, 0, 0);
    EXPECT_EQ(At(0, 0), 0xFF000000u);
    EXPECT_EQ(At(1, 0), kKey);
}

TEST_F(CanvasTest, UnbuiltItemsAndMissingPatternsDrawNothing) {
    PictureCollectionItem item;
    canvas.DrawItem(item, 0, 0, 0);
    const PictureCollectionItem built = KeyedItem(false);
    canvas.DrawItem(built, 0, 0, 5);
    EXPECT_EQ(At(0, 0), 0xFF000000u);
}

TEST_F(CanvasTest, FrameIsInsideWithExclusiveRightAndBottom) {
    canvas.FrameRect(2, 2, 6, 5, 0x00FFFF); // yellow
    EXPECT_EQ(At(2, 2), 0xFFFFFF00u);
    EXPECT_EQ(At(5, 4), 0xFFFFFF00u);
    EXPECT_EQ(At(6, 4), 0xFF000000u);
    EXPECT_EQ(At(5, 5), 0xFF000000u);
    EXPECT_EQ(At(3, 3), 0xFF000000u) << "a frame is not filled";
}

TEST_F(CanvasTest, FillHasTheDefaultBlackPenOutline) {
    buffer.fill(0xFFFFFFFFu);
    canvas.FillRect(1, 1, 6, 5, 0x0000FF); // red brush
    EXPECT_EQ(At(1, 1), 0xFF000000u);
    EXPECT_EQ(At(5, 4), 0xFF000000u);
    EXPECT_EQ(At(3, 2), 0xFFFF0000u);
    EXPECT_EQ(At(6, 5), 0xFFFFFFFFu);
}

TEST_F(CanvasTest, TextIsDrawnBelowItsTopLeft) {
    FontSpec f;
    f.pixelHeight = 9;
    f.colour = 0xFFFFFF;
    QImage big(60, 20, QImage::Format_RGB32);
    big.fill(0xFF000000u);
    ImageCanvas c(&big);
    c.SetCanDraw(true);
    c.TextOut(2, 5, "HH", f);
    c.Flip();
    int top = -1;
    for (int y = 0; y < 20 && top < 0; ++y) {
        for (int x = 0; x < 60; ++x) {
            if (big.pixel(x, y) != 0xFF000000u) {
                top = y;
                break;
            }
        }
    }
    EXPECT_GE(top, 5);
    EXPECT_LE(top, 8);
}

// A repeated frame may be dropped only because every drawing call writes its pixels whatever was
// under them: the same calls drawn again over their own result change nothing, text included.
TEST_F(CanvasTest, DrawingTheSameCallsAgainOverTheirResultChangesNothing) {
    QImage big(120, 40, QImage::Format_RGB32);
    big.fill(0xFF102030u);
    ImageCanvas c(&big);
    c.SetCanDraw(true);
    const PictureCollectionItem keyed = KeyedItem(true);
    FontSpec sans;
    sans.pixelHeight = 13;
    sans.colour = 0x40C0FF;
    FontSpec small = sans;
    small.face = FontFace::Small;
    small.bold = true;
    small.italic = true;
    auto frame = [&] {
        c.FillRect(3, 3, 50, 30, 0x808080);
        c.DrawItem(keyed, 10, 8, 0);
        c.TextOut(5, 6, "Tobrik's w\xe9ird & wonderful", sans);
        c.TextOut(40, 20, "Overlap \xbb", small);
        c.FrameRect(0, 0, 119, 39, 0x00FF00);
        c.DrawItem(keyed, 100, 30, 0);
        c.Flip();
    };
    frame();
    const QImage once = big.copy();
    frame();
    frame();
    EXPECT_EQ(big, once);
}

} // namespace
} // namespace kestrova

namespace kestrova {
namespace {

// A flip shows the frame again where it was drawn: all of it without a clip, else each clip's
// rectangle on its own; a frame drawn nowhere is not shown.
TEST(Surface, AFlipShowsWhereTheFrameWasDrawn) {
    DxDrawWidget surface;
    ImageCanvas& c = surface.GetCanvas();
    c.SetCanDraw(true);
    c.FillRect(0, 0, 100, 100, 0x0000FF);
    c.Flip();
    EXPECT_EQ(surface.PresentedFrames(), 1);
    EXPECT_EQ(surface.LastPresentedArea(), QRect(0, 0, 800, 600)) << "no clip: the whole frame";
    c.SetClip(10, 10, 20, 20);
    c.FrameRect(10, 10, 20, 20, 0x00FF00);
    c.SetClip(700, 500, 900, 700);
    c.FillRect(700, 500, 800, 600, 0x00FF00);
    c.Flip();
    EXPECT_EQ(surface.PresentedFrames(), 2);
    EXPECT_EQ(surface.LastPresentedRegion(),
              QRegion(QRect(10, 10, 10, 10)) + QRegion(QRect(700, 500, 100, 100)))
        << "each clip on its own, within the buffer";
    c.SetClip(900, 900, 950, 950);
    c.Flip();
    EXPECT_EQ(surface.PresentedFrames(), 2) << "drawn nowhere on the buffer";
    EXPECT_EQ(surface.BackBuffer().pixel(15, 10), QColor(0, 255, 0).rgb());
    EXPECT_EQ(surface.BackBuffer().pixel(750, 550), QColor(0, 255, 0).rgb());
}

// What the window holds after each present is the back buffer, though only the rectangles a
// frame was drawn in are painted again: two changes far apart, then one off the buffer.
TEST(Surface, TheWindowHoldsTheBackBufferAfterEveryPresent) {
    DxDrawWidget surface;
    surface.setFixedSize(800, 600);
    surface.show();
    ImageCanvas& c = surface.GetCanvas();
    c.SetCanDraw(true);
    const auto onScreen = [&surface] {
        QApplication::processEvents();
        // The window's own pixels as the toolkit keeps them, read without painting again.
        QBackingStore* store = surface.backingStore();
        QPaintDevice* device = store ? store->paintDevice() : nullptr;
        if (!device || device->devType() != QInternal::Image) {
            return QImage();
        }
        return static_cast<QImage*>(device)
            ->copy(0, 0, 800, 600)
            .convertToFormat(QImage::Format_RGB32);
    };
    c.FillRect(0, 0, 800, 600, 0x0000FF);
    c.Flip();
    ASSERT_EQ(onScreen(), surface.BackBuffer()) << "the first frame, whole";
    c.SetClip(10, 10, 60, 40);
    c.FillRect(10, 10, 60, 40, 0x00FF00);
    c.SetClip(700, 500, 790, 590);
    c.FillRect(700, 500, 790, 590, 0xFF0000);
    c.Flip();
    EXPECT_EQ(onScreen(), surface.BackBuffer()) << "two rectangles far apart";
    c.SetClip(-50, -50, -10, -10);
    c.FillRect(-50, -50, -10, -10, 0xFFFFFF);
    c.Flip();
    EXPECT_EQ(onScreen(), surface.BackBuffer()) << "a frame drawn nowhere";
}

// Frames drawn only where they differ from the one before give the window exactly the pictures
// that drawing every frame whole gives, and every change is shown.
TEST(Surface, DrawingOnlyWhatDiffersGivesTheWholeFramesPictures) {
    PictureCollection pictures;
    std::mt19937 rng(7);
    auto picture = [&](int w, int h, bool keyed) -> PictureCollectionItem& {
        Picture p;
        p.width = w;
        p.height = h;
        p.bitDepth = 24;
        for (int i = 0; i < w * h; ++i) {
            p.pixels.push_back(keyed && rng() % 3 == 0 ? kKey : 0xFF000000u | (rng() & 0xFFFFFF));
        }
        PictureCollectionItem& item = pictures.Add();
        item.SetPicture(p);
        item.Transparent = keyed;
        item.SetTransparentColor(0xFF00FF);
        item.Rebuild();
        return item;
    };
    PictureCollectionItem& back = picture(800, 600, false);
    PictureCollectionItem& strip = picture(300, 40, true);
    PictureCollectionItem& sprites = picture(64, 16, true);
    sprites.PatternWidth = 16;
    // Opaque pictures hide what lies under them: a panel across the window under the strip, and
    // a banner at the top far from the rest whose last pattern reaches past its picture.
    PictureCollectionItem& panel = picture(800, 50, false);
    PictureCollectionItem& banner = picture(300, 60, false);
    banner.PatternWidth = 100;
    banner.PatternHeight = 40;

    DxDrawWidget surface;
    surface.GetCanvas().SetCanDraw(true);
    RepeatSkippingCanvas canvas(surface.GetCanvas());
    QImage whole(800, 600, QImage::Format_RGB32);
    ImageCanvas reference(&whole);
    reference.SetCanDraw(true);

    int stripX = 100;
    int panelY = 370;
    int bannerPattern = 0;
    int spriteX = 20;
    int pattern = 0;
    std::string caption = "Rally";
    bool box = false;
    FontSpec font;
    font.pixelHeight = 12;
    QImage before;
    long long presented = 0;
    for (int frame = 0; frame < 120; ++frame) {
        switch (rng() % 8) {
        case 6:
            panelY = 340 + static_cast<int>(rng() % 60);
            break;
        case 7:
            bannerPattern = static_cast<int>(rng() % 6); // patterns 3 to 5 lie past its foot
            break;
        case 0:
            stripX += static_cast<int>(rng() % 21) - 10; // the strip scrolls, off the edges too
            break;
        case 1:
            spriteX = static_cast<int>(rng() % 820) - 10;
            pattern = static_cast<int>(rng() % 5); // pattern 4 does not exist
            break;
        case 2:
            caption = rng() % 2 ? "Rally" : "Castle \xe9 fjord W";
            // Italics and wide letters stand out of their advance; a change of face shows where
            // the line really reaches.
            font.italic = rng() % 2 == 0;
            font.bold = rng() % 2 == 0;
            font.pixelHeight = 9 + static_cast<int>(rng() % 16);
            break;
        case 3:
            box = !box;
            break;
        case 4:
            strip.Transparent = !strip.Transparent;
            break;
        default:
            break; // a still frame
        }
        for (Canvas* c : std::initializer_list<Canvas*>{&canvas, &reference}) {
            c->DrawItem(back, 0, 0, 0);
            c->DrawItem(banner, 250, 5, bannerPattern);
            c->DrawItem(panel, 0, panelY, 0);
            c->DrawItem(strip, stripX, 380, 0);
            c->DrawItem(sprites, spriteX, 500, pattern);
            if (box) {
                c->FillRect(600, 200, 700, 260, 0x00FFFF);
                c->FrameRect(590, 190, 710, 270, 0xFF0000);
            }
            c->TextOut(spriteX, 520, caption, font);
            c->Flip();
        }
        ASSERT_EQ(surface.BackBuffer(), whole) << "frame " << frame;
        if (!before.isNull()) {
            // Every pixel that changed lies inside what was shown again.
            const bool shownAgain = surface.PresentedFrames() > presented;
            const QRegion shown = shownAgain ? surface.LastPresentedRegion() : QRegion();
            for (int y = 0; y < 600; ++y) {
                for (int x = 0; x < 800; ++x) {
                    if (before.pixel(x, y) != whole.pixel(x, y)) {
                        ASSERT_TRUE(shown.contains(QPoint(x, y)))
                            << "frame " << frame << " at " << x << "," << y;
                    }
                }
            }
        }
        presented = surface.PresentedFrames();
        before = whole.copy();
    }
    EXPECT_GT(canvas.SkippedFrames(), 10);
    EXPECT_LT(surface.PresentedFrames(), 120);
}

} // namespace
} // namespace kestrova
