// The cover of later drawing, row by row: what is left to draw, and how covered spans join.

#include "pictures/row_cover.h"

#include <gtest/gtest.h>

#include <vector>

namespace kestrova {
namespace {

using Span = RowCover::Span;

std::vector<Span> Uncovered(const RowCover& cover, int row, int begin, int end) {
    std::vector<Span> out;
    cover.Uncovered(row, begin, end, out);
    return out;
}

TEST(RowCover, WhatIsLeftLiesBetweenTheCoveredSpans) {
    RowCover cover;
    cover.Reset(4);
    EXPECT_EQ(Uncovered(cover, 1, 0, 800), (std::vector<Span>{{0, 800}})) << "nothing covered";
    cover.Add(1, 0, 137);
    cover.Add(1, 200, 300);
    cover.Add(1, 700, 800);
    EXPECT_EQ(Uncovered(cover, 1, 0, 800), (std::vector<Span>{{137, 200}, {300, 700}}));
    EXPECT_EQ(Uncovered(cover, 1, 250, 260), std::vector<Span>{}) << "wholly covered";
    EXPECT_EQ(Uncovered(cover, 1, 100, 250), (std::vector<Span>{{137, 200}}));
    EXPECT_EQ(Uncovered(cover, 1, 300, 700), (std::vector<Span>{{300, 700}})) << "edges meet";
    EXPECT_EQ(Uncovered(cover, 1, 5, 5), std::vector<Span>{}) << "an empty run";
    EXPECT_EQ(Uncovered(cover, 0, 0, 800), (std::vector<Span>{{0, 800}})) << "another row";
}

TEST(RowCover, ABlockIsCoveredOnlyWhenEveryRowIsCoveredAcrossIt) {
    RowCover cover;
    cover.Reset(6);
    for (int row = 1; row < 4; ++row) {
        cover.Add(row, 0, 50);
        cover.Add(row, 50, 100); // touching spans cover as one
    }
    EXPECT_TRUE(cover.Covers(1, 4, 10, 100));
    EXPECT_FALSE(cover.Covers(1, 4, 10, 101)) << "one pixel past the right edge";
    EXPECT_FALSE(cover.Covers(0, 4, 10, 100)) << "an uncovered row";
    EXPECT_FALSE(cover.Covers(1, 5, 10, 100)) << "an uncovered row below";
    cover.Add(2, 200, 300);
    EXPECT_FALSE(cover.Covers(2, 3, 50, 300)) << "a gap between spans";
    EXPECT_TRUE(cover.Covers(-5, 0, 0, 800)) << "rows above the buffer draw nothing";
    EXPECT_TRUE(cover.Covers(6, 20, 0, 800)) << "rows below it neither";
    EXPECT_TRUE(cover.Covers(0, 6, 40, 40)) << "an empty run";
}

TEST(RowCover, SpansThatTouchOrOverlapJoin) {
    RowCover cover;
    cover.Reset(1);
    cover.Add(0, 50, 60);
    cover.Add(0, 10, 20);
    cover.Add(0, 30, 40);
    EXPECT_EQ(cover.Row(0), (std::vector<Span>{{10, 20}, {30, 40}, {50, 60}})) << "kept in order";
    cover.Add(0, 20, 30); // touches both neighbours
    EXPECT_EQ(cover.Row(0), (std::vector<Span>{{10, 40}, {50, 60}}));
    cover.Add(0, 5, 55); // swallows one, overlaps the next
    EXPECT_EQ(cover.Row(0), (std::vector<Span>{{5, 60}}));
    cover.Add(0, 70, 70); // empty: nothing
    EXPECT_EQ(cover.Row(0), (std::vector<Span>{{5, 60}}));
}

TEST(RowCover, ResetUncoversEveryRowAndTakesTheNewHeight) {
    RowCover cover;
    cover.Reset(3);
    cover.Add(0, 0, 10);
    cover.Add(2, 0, 10);
    cover.Reset(5);
    for (int row = 0; row < 5; ++row) {
        EXPECT_TRUE(cover.Row(row).empty()) << row;
    }
    cover.Add(4, 1, 2);
    EXPECT_EQ(Uncovered(cover, 4, 0, 3), (std::vector<Span>{{0, 1}, {2, 3}}));
}

} // namespace
} // namespace kestrova
