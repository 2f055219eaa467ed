// A disc's text blocks may run far below the window: the frame draws only the lines that can be
// seen, so a 100,000-line block costs what a short one does and looks the same.

#include "engine_fixture.h"

#include <gtest/gtest.h>

#include <chrono>

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

TEST(LongTextBlock, ALongBlockCostsWhatAShortOneDoes) {
    const auto timeFrames = [](const char* variant) {
        StartedDisc disc(variant);
        disc.Frames(2);
        const auto start = std::chrono::steady_clock::now();
        disc.Frames(20);
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    };
    const double shortBlock = timeFrames("ok");
    const double longBlock = timeFrames("long-text");
    // Drawing all 100,000 lines took hundreds of times a short block's frame.
    EXPECT_LT(longBlock, shortBlock * 5 + 0.05);
}

} // namespace
} // namespace kestrova
