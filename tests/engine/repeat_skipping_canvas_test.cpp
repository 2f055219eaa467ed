// Frames that repeat the one on screen are dropped; any difference, however small, is passed on
// whole and in order.

#include "engine/repeat_skipping_canvas.h"

#include "pictures/picture_collection.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <string>
#include <vector>

namespace kestrova {
namespace {

// Writes down what reaches the real canvas.
class Recorded : public NullCanvas {
  public:
    bool CanDraw() const override { return true; }
    void DrawItem(const PictureCollectionItem& item, int x, int y, int pattern) override {
        calls.push_back("item " + item.Name + " " + std::to_string(x) + "," + std::to_string(y) +
                        " #" + std::to_string(pattern));
    }
    void TextOut(int x, int y, const std::string& text, const FontSpec&) override {
        calls.push_back("text " + text + " " + std::to_string(x) + "," + std::to_string(y));
    }
    void FrameRect(int, int, int, int, TColor c) override {
        calls.push_back("frame " + std::to_string(c));
    }
    void FillRect(int, int, int, int, TColor c) override {
        calls.push_back("fill " + std::to_string(c));
    }
    void Flip() override {
        calls.push_back("flip");
        ++flips;
    }
    void SetClip(int left, int top, int right, int bottom) override {
        calls.push_back("clip " + std::to_string(left) + "," + std::to_string(top) + " " +
                        std::to_string(right) + "," + std::to_string(bottom));
    }
    std::vector<std::string> calls;
    int flips = 0;
};

Picture Plain(int w, int h, uint32_t colour) {
    Picture p;
    p.width = w;
    p.height = h;
    p.pixels.assign(static_cast<size_t>(w) * static_cast<size_t>(h), colour);
    return p;
}

struct RepeatSkipping : ::testing::Test {
    Recorded real;
    RepeatSkippingCanvas canvas{real};
    PictureCollection pictures;
    PictureCollectionItem& back = pictures.Add();
    PictureCollectionItem& sprite = pictures.Add();
    FontSpec font;
    std::string caption = "Demo";

    void SetUp() override {
        back.Name = "back";
        back.SetPicture(Plain(8, 4, 0xFF000000u));
        back.Rebuild();
        sprite.Name = "sprite";
        sprite.SetPicture(Plain(4, 2, 0xFFFF0000u));
        sprite.PatternWidth = 2;
        sprite.Rebuild();
    }
    // One frame: how many flips reached the real canvas after it.
    int Frame(int spriteX = 3, int pattern = 1) {
        canvas.DrawItem(back, 0, 0, 0);
        canvas.DrawItem(sprite, spriteX, 1, pattern);
        canvas.TextOut(1, 2, caption, font);
        canvas.FillRect(0, 0, 2, 2, 0x00FF00);
        canvas.FrameRect(0, 0, 8, 4, 0xFFFFFF);
        canvas.Flip();
        return real.flips;
    }
};

TEST_F(RepeatSkipping, ARepeatedFrameIsDroppedAndADifferentOneIsPassedOnWholeInOrder) {
    EXPECT_EQ(Frame(), 1);
    EXPECT_EQ(real.calls, (std::vector<std::string>{"clip 0,0 800,600", "item back 0,0 #0",
                                                    "item sprite 3,1 #1", "text Demo 1,2",
                                                    "fill 65280", "frame 16777215", "flip"}));
    EXPECT_EQ(Frame(), 1);
    EXPECT_EQ(Frame(), 1);
    EXPECT_EQ(canvas.SkippedFrames(), 2);
    real.calls.clear();
    EXPECT_EQ(Frame(4), 2) << "the sprite moved a pixel";
    // Drawn again around where the 2 x 2 sprite was and is, by every call reaching there (the
    // text's band reaches every row near it; the small fill lies beside).
    EXPECT_EQ(real.calls,
              (std::vector<std::string>{"clip 3,1 6,3", "item back 0,0 #0", "item sprite 4,1 #1",
                                        "text Demo 1,2", "frame 16777215", "flip"}));
    real.calls.clear();
    canvas.DrawItem(back, 0, 0, 0);
    canvas.DrawItem(sprite, 4, 1, 1);
    canvas.TextOut(1, 2, caption, font);
    canvas.FillRect(0, 0, 2, 2, 0x00FF00);
    canvas.FrameRect(0, 0, 8, 4, 0xFFFFFF);
    canvas.FillRect(700, 500, 720, 510, 0x0000FF);
    canvas.Flip();
    EXPECT_EQ(real.calls, (std::vector<std::string>{"clip 700,500 720,510", "fill 255", "flip"}))
        << "a call added at the end; only the calls reaching its place";
    Frame(4);
    EXPECT_EQ(canvas.LastDrawnArea(), (RepeatSkippingCanvas::Box{700, 500, 720, 510}))
        << "and taken away again";
    EXPECT_EQ(Frame(4, 0), 5) << "another pattern";
    caption = "Demx";
    EXPECT_EQ(Frame(4, 0), 6) << "one letter of a text";
    font.bold = true;
    EXPECT_EQ(Frame(4, 0), 7) << "the text's font";
    EXPECT_EQ(Frame(4, 0), 7);
    EXPECT_EQ(Frame(4, 0), 7);
    EXPECT_EQ(canvas.PassedFrames(), 7);
    EXPECT_EQ(Frame(-50), 8) << "the sprite leaves the canvas";
    EXPECT_EQ(Frame(-60), 8) << "a change wholly off the canvas shows nothing";
}

TEST_F(RepeatSkipping, AnyChangeToWhatAPictureShowsIsADifferentFrame) {
    Frame();
    sprite.Transparent = !sprite.Transparent;
    EXPECT_EQ(Frame(), 2) << "keying switched";
    sprite.SetTransparentColor(0x00FF00);
    EXPECT_EQ(Frame(), 3) << "another key colour";
    sprite.SetPicture(Plain(4, 2, 0xFF0000FFu));
    EXPECT_EQ(Frame(), 3) << "a new picture shows only once it is built";
    sprite.Rebuild();
    EXPECT_EQ(Frame(), 4);
    sprite.PatternWidth = 1;
    EXPECT_EQ(Frame(), 5) << "the same pattern number now lies elsewhere in the picture";
    canvas.Invalidate();
    EXPECT_EQ(Frame(), 6) << "someone else wrote into the back buffer";
}

// An item made where a deleted one lived, built from the same picture, still counts as a new
// picture: surface versions are never handed out twice.
TEST_F(RepeatSkipping, NoTwoSurfacesEverShareAVersion) {
    const uint64_t old = sprite.SurfaceVersion();
    pictures.Delete(1);
    PictureCollectionItem& again = pictures.Add();
    again.SetPicture(Plain(4, 2, 0xFFFF0000u));
    again.Rebuild();
    EXPECT_NE(again.SurfaceVersion(), old);
    EXPECT_NE(again.SurfaceVersion(), back.SurfaceVersion());
    PictureCollectionItem other;
    EXPECT_NE(other.SurfaceVersion(), again.SurfaceVersion());
}

// Changes far apart are drawn again each in its own rectangle, not in one around both; changes
// close together are drawn as one.
TEST_F(RepeatSkipping, FarChangesAreDrawnApartAndNearOnesTogether) {
    PictureCollectionItem& screen = pictures.Add();
    screen.Name = "screen";
    screen.SetPicture(Plain(800, 600, 0xFF000000u));
    screen.Rebuild();
    PictureCollectionItem& bar = pictures.Add();
    bar.Name = "bar";
    bar.SetPicture(Plain(100, 4, 0xFFFF0000u));
    bar.Rebuild();
    const auto frame = [&](int topX, int lowX, int lowY) {
        canvas.DrawItem(screen, 0, 0, 0);
        canvas.DrawItem(bar, topX, 10, 0);
        canvas.DrawItem(bar, lowX, lowY, 0);
        canvas.Flip();
    };
    frame(100, 100, 520);
    real.calls.clear();
    frame(101, 101, 520);
    EXPECT_EQ(real.calls,
              (std::vector<std::string>{"clip 100,10 201,14", "item screen 0,0 #0",
                                        "item bar 101,10 #0", "clip 100,520 201,524",
                                        "item screen 0,0 #0", "item bar 101,520 #0", "flip"}));
    EXPECT_EQ(canvas.LastDrawnArea(), (RepeatSkippingCanvas::Box{100, 10, 201, 524}));
    EXPECT_EQ(canvas.LastDrawnAreas().size(), 2u);

    // Two bars a few rows apart: one rectangle around both costs less than two passes.
    frame(101, 101, 20);
    real.calls.clear();
    frame(102, 102, 20);
    EXPECT_EQ(real.calls,
              (std::vector<std::string>{"clip 101,10 202,24", "item screen 0,0 #0",
                                        "item bar 102,10 #0", "item bar 102,20 #0", "flip"}));

    // Many changes far apart are joined down to a few rectangles, every change inside one.
    std::vector<RepeatSkippingCanvas::Box> moved;
    for (int step = 0; step < 2; ++step) {
        canvas.DrawItem(screen, 0, 0, 0);
        for (int i = 0; i < 12; ++i) {
            canvas.DrawItem(bar, (i % 4) * 200 + step, (i / 4) * 200, 0);
            if (step == 1) {
                moved.push_back(
                    {(i % 4) * 200, (i / 4) * 200, (i % 4) * 200 + 101, (i / 4) * 200 + 4});
            }
        }
        canvas.Flip();
    }
    const std::vector<RepeatSkippingCanvas::Box>& areas = canvas.LastDrawnAreas();
    EXPECT_LE(areas.size(), 6u);
    for (const RepeatSkippingCanvas::Box& m : moved) {
        EXPECT_TRUE(std::any_of(areas.begin(), areas.end(),
                                [&](const auto& a) {
                                    return a.left <= m.left && a.top <= m.top &&
                                           a.right >= m.right && a.bottom >= m.bottom;
                                }))
            << m.left << "," << m.top;
    }
    for (std::size_t i = 0; i < areas.size(); ++i) {
        for (std::size_t j = i + 1; j < areas.size(); ++j) {
            EXPECT_FALSE(areas[i].Meets(areas[j])) << "no pixel is drawn twice";
        }
    }
}

// A real canvas that says exactly where a line's pixels fall: four pixels either side of a 10-row
// band, as wide as the line has letters times six.
class Measuring : public Recorded {
  public:
    TextReachBox TextReach(const std::string& text, const FontSpec&) override {
        ++asked;
        return {-4, 0, static_cast<int>(text.size()) * 6 + 4, 10};
    }
    int asked = 0;
};

TEST(RepeatSkippingLines, ALineIsMeasuredOnlyWhenAChangeMustBeBoundedByIt) {
    Measuring real;
    RepeatSkippingCanvas canvas{real};
    const FontSpec font;
    const auto frame = [&](int y, const std::string& status) {
        canvas.TextOut(100, y, "Helix Corsairs", font);
        canvas.TextOut(100, 300, status, font);
        canvas.Flip();
    };
    frame(50, "ready");
    EXPECT_EQ(real.asked, 0) << "the first frame is drawn whole: no line is laid out to measure";
    EXPECT_EQ(real.flips, 1);
    frame(50, "ready");
    EXPECT_EQ(real.asked, 0) << "a repeated frame measures nothing";
    real.calls.clear();
    frame(60, "ready");
    EXPECT_EQ(real.asked, 1) << "the line that moved, once for both its places";
    EXPECT_EQ(real.calls,
              (std::vector<std::string>{"clip 96,50 188,70", "text Helix Corsairs 100,60", "flip"}))
        << "drawn again only where its pixels were and are, not across the band any line may "
           "reach; the still line, far below, is left alone";
    frame(60, "set");
    EXPECT_EQ(real.asked, 3) << "both the old and the new status";
    EXPECT_EQ(canvas.LastDrawnArea(), (RepeatSkippingCanvas::Box{96, 300, 134, 310}));
}

} // namespace
} // namespace kestrova
