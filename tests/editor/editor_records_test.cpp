// Selecting a title fills the boxes from its record; the user's typing stores them back into that
// record, and only into it.

#include "editor_fixture.h"

#include <gtest/gtest.h>

namespace kestrova {
namespace {

using testing_editor::EditorBench;

TEST(EditorRecords, SelectingAndSavingWithoutTypingLeavesEveryLine) {
    EditorBench b;
    const std::vector<std::string> before = b.frontEnd.Lines();
    b.Open();
    b.editor.featuresClick(b.LineOf(3));
    EXPECT_EQ(b.S().currentEntry, 3);
    EXPECT_EQ(b.S().boxes[kTitleBox], "Title 3");
    EXPECT_EQ(b.S().boxes[kEdit4], "Demos/d3/setup.exe");
    EXPECT_EQ(b.S().boxes[kEdit9], "CPU 3");
    EXPECT_EQ(b.S().boxes[kEdit7], "Disk 3");
    EXPECT_EQ(b.S().caption, "3");
    b.editor.Button4Click();
    EXPECT_EQ(b.frontEnd.Lines(), before);
}

TEST(EditorRecords, EachKeystrokeInTheTitleStoresTheRecord) {
    EditorBench b;
    b.Open();
    EXPECT_EQ(b.S().caption, "Kestrova Disc Editor");
    b.editor.featuresClick(b.LineOf(5));
    b.editor.titleChange("Title 5X");
    EXPECT_EQ(b.Line(5, 1), "Title 5X");
    EXPECT_EQ(b.S().features[static_cast<std::size_t>(b.LineOf(5))].text, "Title 5X");
    EXPECT_EQ(b.S().caption, "5");
    b.editor.titleChange("Title 5XY");
    b.editor.titleKeyUp();
    EXPECT_EQ(b.Line(5, 1), "Title 5XY");
    EXPECT_EQ(b.Line(5, 6), "no") << "+6 and +7 are never written";
    EXPECT_EQ(b.Line(4, 1), "Title 4");
    EXPECT_EQ(b.frontEnd.EntryLine(5, 1), "Title 5") << "the front end sees nothing before SAVE";
    b.editor.Button4Click();
    EXPECT_EQ(b.frontEnd.EntryLine(5, 1), "Title 5XY");
}

TEST(EditorRecords, AnEditInAnyBoxStoresTheRecordWithoutTouchingTheTitle) {
    EditorBench b;
    b.Open();
    b.editor.featuresClick(b.LineOf(5));
    b.editor.SetBox(kEdit4, "Demos/d5/install.exe");
    b.editor.SetBox(kEdit8, "RAM 64 MB");
    EXPECT_EQ(b.Line(5, 5), "Demos/d5/install.exe");
    EXPECT_EQ(b.Line(5, 11), "RAM 64 MB");
    EXPECT_EQ(b.Line(5, 1), "Title 5");
    EXPECT_TRUE(b.editor.HasUnwrittenEdits());
    b.editor.Button4Click();
    ASSERT_TRUE(b.editor.WriteDataFile());
    const auto& written = b.writer.written["/disc/engine/data/discdata.kvx"];
    const std::string text(written.begin(), written.end());
    EXPECT_NE(text.find("Desc 5c\r\nDemos/d5/install.exe\r\nno\r\nno\r\nreadme5.rtf\r\n"
                        "support5@example.com\r\nCPU 5\r\nRAM 64 MB\r\n"),
              std::string::npos);
    EXPECT_FALSE(b.editor.HasUnwrittenEdits());
}

TEST(EditorRecords, UnwrittenEditsCountUntilWrittenOrDeclined) {
    EditorBench b;
    EXPECT_FALSE(b.editor.HasUnwrittenEdits()) << "never opened";
    b.Open();
    EXPECT_FALSE(b.editor.HasUnwrittenEdits());
    b.editor.featuresClick(b.LineOf(2));
    EXPECT_FALSE(b.editor.HasUnwrittenEdits()) << "selecting stores the same values back";
    b.editor.SetBox(kEdit6, "help@example.org");
    EXPECT_TRUE(b.editor.HasUnwrittenEdits());
    b.editor.SetBox(kEdit6, "support2@example.com");
    EXPECT_FALSE(b.editor.HasUnwrittenEdits()) << "typed back to what the file holds";
    b.editor.SetBox(kEdit6, "x");
    b.editor.Button4Click();
    b.Open();
    EXPECT_TRUE(b.editor.HasUnwrittenEdits()) << "saved to the front end, not to the file";
    b.editor.DeclineUnwrittenEdits();
    EXPECT_FALSE(b.editor.HasUnwrittenEdits());
    b.editor.featuresClick(b.LineOf(2));
    b.editor.SetBox(kEdit6, "y");
    EXPECT_TRUE(b.editor.HasUnwrittenEdits()) << "a new edit after the discard counts again";
    b.writer.fail = true;
    EXPECT_FALSE(b.editor.WriteDataFile());
    EXPECT_TRUE(b.editor.HasUnwrittenEdits()) << "a failed write keeps them";
}

TEST(EditorRecords, TheFeatureDemoShowsBlockZeroAndNamesItsLineAfterEdit1) {
    EditorBench b;
    b.Open();
    ASSERT_EQ(b.S().features[0].entry, 0);
    EXPECT_EQ(b.S().features[0].text, "Feature one");
    b.editor.featuresClick(0);
    EXPECT_EQ(b.S().boxes[kTitleBox], "--FEATURE DEMO--");
    EXPECT_EQ(b.S().boxes[kEdit1], "Feature one");
    EXPECT_EQ(b.S().boxes[kEdit3], "Feature three");
    b.editor.SetBox(kEdit1, "Brand new");
    b.editor.titleChange("--FEATURE DEMO--x");
    b.editor.titleKeyUp();
    EXPECT_EQ(b.S().features[0].text, " - FEATURE DEMO - Brand new");
    EXPECT_EQ(b.Line(0, 1), "Brand new");
    EXPECT_EQ(b.Line(0, 2), "Feature two");
    EXPECT_EQ(b.Line(0, 4), "*END0") << "the title box is not a line of block 0";
}

TEST(EditorRecords, TypingBeforeATitleIsChosenStoresNothing) {
    EditorBench b;
    b.Open();
    b.editor.titleChange("x");
    b.editor.titleKeyUp();
    EXPECT_EQ(b.S().source.Lines(), b.frontEnd.Lines());
    EXPECT_EQ(b.S().features[0].text, "Feature one");
    // A second opening shows entry 1's pictures but its boxes still hold nothing of it.
    b.Open();
    EXPECT_EQ(b.S().currentEntry, 1);
    EXPECT_EQ(b.S().subz.pixels, b.thumbs.Items(0).GetPicture().pixels);
    b.editor.titleChange("y");
    EXPECT_EQ(b.Line(1, 1), "Title 1");
}

TEST(EditorRecords, ABoxIsOneLineOfTheFile) {
    EditorBench b;
    b.Open();
    b.editor.featuresClick(b.LineOf(2));
    b.editor.SetBox(kEdit5, std::string(5000, 'r'));
    b.editor.titleChange(std::string("two\r\nlines\0x", 12));
    EXPECT_EQ(b.Line(2, 1), "two  lines x");
    EXPECT_EQ(b.S().source.Count(), b.frontEnd.Count());
    EXPECT_EQ(b.Line(2, 8).size(), LineList::kMaxLineLength);
}

TEST(EditorRecords, AShortRecordIsWrittenOnlyUpToItsEndMarker) {
    std::string disc = testing_editor::DiscText(2);
    disc += "\r\n*BEGIN3\r\nShort\r\nd\r\n*END3\r\nAfter the record\r\n";
    EditorBench b(disc);
    b.Open();
    b.editor.featuresClick(b.LineOf(3));
    EXPECT_EQ(b.S().boxes[kEdit2], "") << "the end marker is not shown as a line of the record";
    b.editor.SetBox(kEdit2, "over the end");
    b.editor.SetBox(kEdit3, "over the next");
    b.editor.titleChange("Shorter");
    EXPECT_EQ(b.Line(3, 1), "Shorter");
    EXPECT_EQ(b.Line(3, 3), "*END3");
    EXPECT_EQ(b.Line(3, 4), "After the record");
}

} // namespace
} // namespace kestrova
