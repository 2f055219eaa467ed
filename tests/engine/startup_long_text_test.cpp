// A disc's text blocks may run far below the window: the frame draws only the lines that can be
// seen, so a 100,000-line block costs what a short one does and looks the same.

#include "engine_fixture.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace kestrova {
namespace {

using testing::DrawOp;
using testing::StartedDisc;

int TextOps(const testing::RecordingCanvas& canvas) {
    int n = 0;
    for (const DrawOp& op : canvas.ops) {
        n += op.kind == DrawOp::Text ? 1 : 0;
    }
    return n;
}

TEST(LongTextBlock, OnlyTheLinesInTheWindowAreDrawn) {
    StartedDisc disc("long-text");
    disc.Frames(3);
    ASSERT_NE(disc.canvas.FindText("Welcome to the fixture disc"), nullptr);
    ASSERT_NE(disc.canvas.FindText("Feature line 0"), nullptr);
    int lowest = 0;
    for (const DrawOp& op : disc.canvas.ops) {
        if (op.kind == DrawOp::Text) {
            EXPECT_LT(op.y, 600) << op.text;
            lowest = std::max(lowest, op.y);
        }
    }
    // The window is filled to its bottom edge: the lines that can be seen are all there.
    EXPECT_GT(lowest, 600 - 19);
    EXPECT_LT(TextOps(disc.canvas), 60);
}

// Every call a frame makes on its canvas, a drawing or a question about its size: what the frame
// does, counted instead of timed.
class CountingCanvas : public testing::RecordingCanvas {
  public:
    bool CanDraw() const override { return Count(RecordingCanvas::CanDraw()); }
    int Width() const override { return Count(RecordingCanvas::Width()); }
    int Height() const override { return Count(RecordingCanvas::Height()); }
    int FontPixelHeight(const FontSpec& f) const override {
        return Count(RecordingCanvas::FontPixelHeight(f));
    }
    void DrawItem(const PictureCollectionItem& item, int x, int y, int pattern) override {
        Count(0);
        RecordingCanvas::DrawItem(item, x, y, pattern);
    }
    void TextOut(int x, int y, const std::string& text, const FontSpec& font) override {
        Count(0);
        RecordingCanvas::TextOut(x, y, text, font);
    }
    void FrameRect(int l, int t, int r, int b, TColor c) override {
        Count(0);
        RecordingCanvas::FrameRect(l, t, r, b, c);
    }
    void FillRect(int l, int t, int r, int b, TColor c) override {
        Count(0);
        RecordingCanvas::FillRect(l, t, r, b, c);
    }

    mutable long long calls = 0;

  private:
    template <typename T> T Count(T value) const {
        ++calls;
        return value;
    }
};

TEST(LongTextBlock, ALongBlockCostsWhatAShortOneDoes) {
    const auto callsPerFrame = [](const char* variant) {
        StartedDisc disc(variant);
        disc.Frames(2);
        CountingCanvas canvas;
        FrameContext ctx{canvas, &disc.web,
                         [] { return std::filesystem::current_path().string() + "/"; }, [] {}};
        for (int i = 0; i < 20; ++i) {
            DXTimerTimer(disc.state, ctx);
        }
        return canvas.calls / 20;
    };
    const long long shortBlock = callsPerFrame("ok");
    const long long longBlock = callsPerFrame("long-text");
    // The window holds at most 40 lines of 15 pixels, and each costs a call or three; reading on
    // through the whole block to find the ones in the window made 100,000 calls more.
    constexpr long long kLinesInTheWindow = 600 / 15;
    EXPECT_GT(shortBlock, 0);
    EXPECT_LE(longBlock - shortBlock, 3 * kLinesInTheWindow)
        << shortBlock << " calls a frame for a short block, " << longBlock << " for a long one";
}

} // namespace
} // namespace kestrova
