// The title list and the buttons that add, remove and hand back records.

#include "editor_fixture.h"

#include <gtest/gtest.h>

namespace kestrova {
namespace {

using testing_editor::EditorBench;

TEST(EditorList, NewAppendsFifteenLinesNumberedAfterTheHighest) {
    EditorBench b;
    b.Open();
    EXPECT_EQ(b.S().lastEntry, 8);
    const int before = b.S().source.Count();
    b.editor.featuresClick(b.LineOf(2));
    b.editor.Button2Click();
    const auto& lines = b.S().source.Lines();
    ASSERT_EQ(static_cast<int>(lines.size()), before + 15);
    const std::vector<std::string> added(lines.end() - 15, lines.end());
    std::vector<std::string> expected = {"", "*BEGIN9", "UNTITLED"};
    expected.insert(expected.end(), 11, "");
    expected.push_back("*END9");
    EXPECT_EQ(added, expected);
    EXPECT_EQ(b.S().features.back().text, "UNTITLED");
    EXPECT_EQ(b.S().features.back().entry, 9);
    EXPECT_EQ(b.S().lastEntry, 9);
    EXPECT_EQ(b.S().currentEntry, 2) << "the new entry is not selected";
    EXPECT_EQ(b.S().boxes[kTitleBox], "Title 2");
}

TEST(EditorList, NewStopsAtTheHighestEntryNumber) {
    std::string disc = testing_editor::DiscText(1) + testing_editor::RecordText(100);
    EditorBench b(disc);
    b.Open();
    ASSERT_EQ(b.S().lastEntry, 100);
    const int before = b.S().source.Count();
    b.editor.Button2Click();
    EXPECT_EQ(b.S().source.Count(), before);
    EXPECT_EQ(b.S().messages.size(), 1u);
}

TEST(EditorList, DeleteRemovesExactlyTheRecordShown) {
    EditorBench b;
    b.Open();
    std::vector<std::string> expected = b.S().source.Lines();
    const int begin = b.S().source.IndexOf("*BEGIN4");
    expected.erase(expected.begin() + begin, expected.begin() + begin + 14);
    b.editor.featuresClick(b.LineOf(4));
    b.editor.Button3Click();
    EXPECT_EQ(b.S().source.Lines(), expected);
    EXPECT_EQ(b.LineOf(4), -1);
    EXPECT_EQ(b.S().features.size(), 8u);
    EXPECT_EQ(b.S().currentEntry, 0);
    EXPECT_EQ(b.S().boxes[kTitleBox], "--FEATURE DEMO--");
    EXPECT_EQ(b.S().boxes[kEdit1], "Feature one");
    EXPECT_EQ(b.S().lastEntry, 8);
}

// After a record in the middle goes, positions in the title list and entry numbers differ; every
// later action still reaches the record of the title it acts on, and no other.
TEST(EditorList, AfterDeletingAMiddleRecordEditsReachTheRightRecord) {
    EditorBench b;
    b.Open();
    b.editor.featuresClick(b.LineOf(3));
    b.editor.Button3Click();
    std::vector<std::string> untouched = b.S().source.Lines();

    // Typing now stores into block 0 only.
    b.editor.titleChange("--FEATURE DEMO--typed");
    b.editor.titleKeyUp();
    EXPECT_EQ(b.S().source.Lines(), untouched);

    // Line 3 of the list now shows entry 4.
    ASSERT_EQ(b.S().features[3].entry, 4);
    b.editor.featuresClick(3);
    EXPECT_EQ(b.S().currentEntry, 4);
    EXPECT_EQ(b.S().boxes[kTitleBox], "Title 4");
    b.editor.titleChange("Four");
    b.editor.titleKeyUp();
    EXPECT_EQ(b.S().features[3].text, "Four");
    EXPECT_EQ(b.Line(4, 1), "Four");
    untouched[static_cast<std::size_t>(b.S().source.IndexOf("*BEGIN4") + 1)] = "Four";
    EXPECT_EQ(b.S().source.Lines(), untouched);

    // The last title deletes the last record, not the one at its old position.
    const int lastLine = static_cast<int>(b.S().features.size()) - 1;
    b.editor.featuresClick(lastLine);
    EXPECT_EQ(b.S().currentEntry, 8);
    b.editor.Button3Click();
    EXPECT_EQ(b.S().source.IndexOf("*BEGIN8"), -1);
    EXPECT_GE(b.S().source.IndexOf("*BEGIN7"), 0);
    EXPECT_EQ(b.S().source.IndexOf("*END8"), -1);
}

TEST(EditorList, ARecordWithoutEndMarkerIsNotDeleted) {
    std::string disc = testing_editor::DiscText(2) + "\r\n*BEGIN3\r\nOpen ended\r\nx\r\n";
    disc += testing_editor::RecordText(4);
    EditorBench b(disc);
    b.Open();
    const std::vector<std::string> before = b.S().source.Lines();
    b.editor.featuresClick(b.LineOf(3));
    b.editor.Button3Click();
    EXPECT_EQ(b.S().source.Lines(), before);
    EXPECT_NE(b.LineOf(3), -1);
}

TEST(EditorList, RefreshRescansWithoutTouchingTheBoxes) {
    EditorBench b;
    b.Open();
    b.editor.featuresClick(b.LineOf(6));
    b.editor.Button2Click();
    b.editor.Button1Click();
    EXPECT_EQ(b.S().features.size(), 10u);
    EXPECT_EQ(b.S().selected, -1);
    EXPECT_EQ(b.S().currentEntry, 6);
    EXPECT_EQ(b.S().boxes[kTitleBox], "Title 6");
}

TEST(EditorList, ReopeningDiscardsUnsavedEdits) {
    EditorBench b;
    b.Open();
    b.editor.featuresClick(b.LineOf(1));
    b.editor.titleChange("Changed");
    b.Open();
    EXPECT_EQ(b.Line(1, 1), "Title 1");
    EXPECT_EQ(b.S().features[1].text, "Title 1");
}

} // namespace
} // namespace kestrova
