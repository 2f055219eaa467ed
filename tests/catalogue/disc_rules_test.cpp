#include "base/error.h"
#include "catalogue/disc_rules.h"

#include <gtest/gtest.h>

using namespace kestrova;

namespace {

LineList Lines(std::string_view text) {
    LineList list;
    list.LoadFromBytes(text);
    return list;
}

// A standard 14-line record.
std::string Record(int n, const std::string& title, const std::string& program = "setup.exe") {
    return "*BEGIN" + std::to_string(n) + "\n" + title + "\nd1\nd2\nd3\n" + program +
           "\nno\nno\nreadme.rtf\n0800 123\nCPU\nRAM\nDisk\n*END" + std::to_string(n) + "\n";
}

} // namespace

// GCC 12 at -O3 finds an overlap in the copy of `"\n" + Record(...)` (a branch of the string's
// replace that cannot run here): a false positive, which these tests would otherwise raise.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wrestrict"
#endif

TEST(DemosMenu, ListsEntriesOneToBelowSpriteCountExceptExactNo) {
    const LineList list =
        Lines("\n" + Record(0, "Feature") + Record(3, "Three") + Record(1, "One") +
              Record(2, "Two", "no") + Record(4, "Four", "No") + Record(5, "Five"));
    EXPECT_EQ(DemosMenu(list, 5), (std::vector<std::string>{"One", "Three", "Four"}));
    EXPECT_EQ(DemosMenu(list, 1), std::vector<std::string>{});
    EXPECT_EQ(DemosMenu(list, 0), std::vector<std::string>{});
}

TEST(DemosMenu, SkipsMissingAndCutOffRecordsAndCostsNothingForHugeCounts) {
    const LineList list = Lines("Head line\n" + Record(1, "One") + "*begin2\nTwo\nd\nd\nd");
    EXPECT_EQ(DemosMenu(list, 2147483647), std::vector<std::string>{"One"});
}

TEST(DemosMenu, FirstOfTwoStartLinesCounts) {
    const LineList list = Lines("\n" + Record(1, "First") + Record(1, "Second"));
    EXPECT_EQ(DemosMenu(list, 2), std::vector<std::string>{"First"});
}

TEST(EntryNumber, TakesTheSeventhOrSeventhAndEighthCharacterOfTheLineBefore) {
    const LineList list =
        Lines("\n" + Record(5, "Five") + Record(12, "Twelve") + Record(123, "Big"));
    EXPECT_EQ(EntryNumberFromChosenLine(list, "five"), 5);
    EXPECT_EQ(EntryNumberFromChosenLine(list, "Twelve"), 12);
    EXPECT_EQ(EntryNumberFromChosenLine(list, "Big"), std::nullopt);
    EXPECT_EQ(EntryNumberFromChosenLine(list, "Nowhere"), std::nullopt);
}

TEST(EntryNumber, DuplicateTitleSelectsTheFirstEntry) {
    const LineList list = Lines("\n" + Record(1, "Same") + Record(2, "Same"));
    EXPECT_EQ(EntryNumberFromChosenLine(list, "Same"), 1);
}

#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif

TEST(EntryNumber, LineZeroNeverCounts) {
    // Chosen caption on line 0 would have no line before it.
    EXPECT_EQ(EntryNumberFromChosenLine(Lines("Caption\nx"), "Caption"), std::nullopt);
}

TEST(EntryNumber, SevenOrEightCharacterTargetBeforeANameIsReadAsANumber) {
    const LineList list = Lines("\n*BEGINUTILITIES\nTool\nabcdef7\nOther\nrun.exe\nLast\nx\n"
                                "*ENDUTILITIES");
    EXPECT_EQ(EntryNumberFromChosenLine(list, "Other"), 7);
    try {
        EntryNumberFromChosenLine(list, "Last");
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "'e' is not a valid integer value");
    }
    EXPECT_EQ(EntryNumberFromChosenLine(list, "Tool"), std::nullopt);
}

TEST(RecordMenu, ListsExistingRecordsByNumberWithTheirTargets) {
    const LineList list = Lines("\n*SUPPORT3\nThird\nhttp://x\n*support1\nFirst\n*Xtool.exe\n"
                                "*SUPPORT21\nTooHigh\nx\n*SUPPORT0\nZero\nx\n*SUPPORT02\nLead\nx\n"
                                "*TOBRIK1\nPlay\nshowgame\n*SUPPORT20\nLabelOnly");
    EXPECT_EQ(RecordMenu(list, "*SUPPORT"),
              (std::vector<std::pair<std::string, std::string>>{
                  {"First", "*Xtool.exe"}, {"Third", "http://x"}, {"LabelOnly", ""}}));
    EXPECT_EQ(RecordMenu(list, "*TOBRIK"),
              (std::vector<std::pair<std::string, std::string>>{{"Play", "showgame"}}));
}

TEST(PairMenu, NamesAreEveryOtherLineOfTheBlock) {
    const LineList list =
        Lines("\n*BEGINADDONS\nPATCHES\n\nMap pack\naddons/maps.exe\nOdd\n*ENDADDONS");
    EXPECT_EQ(PairMenu(list, "*BEGINADDONS", "*ENDADDONS"),
              (std::vector<std::pair<std::string, std::string>>{
                  {"PATCHES", ""}, {"Map pack", "addons/maps.exe"}, {"Odd", ""}}));
}

TEST(TargetOfCaption, ActsOnTheFirstOccurrenceAboveLineZero) {
    const LineList list = Lines("Label\nzero-target\nnote: Label2\n*SUPPORT1\nLabel2\ntarget\n"
                                "*SUPPORT2\nLabel\nmine\n*SUPPORT3\nEnd");
    EXPECT_EQ(TargetOfCaption(list, "label2"), "target");
    EXPECT_EQ(TargetOfCaption(list, "Label"), std::nullopt);
    EXPECT_EQ(TargetOfCaption(list, "End"), std::nullopt);
}

TEST(ClassifyTarget, FollowsTheTargetTable) {
    EXPECT_EQ(ClassifyTarget("http://example.com"), TargetKind::Web);
    EXPECT_EQ(ClassifyTarget("httx"), TargetKind::Web);
    EXPECT_EQ(ClassifyTarget("HTTP://x"), TargetKind::Page);
    EXPECT_EQ(ClassifyTarget("*Xa.exe"), TargetKind::Program);
    EXPECT_EQ(ProgramOfTarget("*Xa.exe"), "a.exe");
    EXPECT_EQ(ClassifyTarget("*Xab"), TargetKind::Page);
    EXPECT_EQ(ClassifyTarget("*xabc.exe"), TargetKind::Page);
    EXPECT_EQ(ClassifyTarget("showgame"), TargetKind::ShowGame);
    EXPECT_EQ(ClassifyTarget("Showgame"), TargetKind::Page);
    EXPECT_EQ(ClassifyTarget("pages/help.html"), TargetKind::Page);
    EXPECT_EQ(ClassifyTarget(""), TargetKind::Page);
    EXPECT_TRUE(IsWebAddress("https://x"));
    EXPECT_FALSE(IsWebAddress("ht"));
}

TEST(NumberedKey, DecimalWithoutSignOrLeadingZero) {
    EXPECT_EQ(NumberedKey("*banner0", "*BANNER"), 0);
    EXPECT_EQ(NumberedKey("*BANNER12", "*BANNER"), 12);
    EXPECT_EQ(NumberedKey("*BANNER", "*BANNER"), std::nullopt);
    EXPECT_EQ(NumberedKey("*BANNER01", "*BANNER"), std::nullopt);
    EXPECT_EQ(NumberedKey("*BANNER+1", "*BANNER"), std::nullopt);
    EXPECT_EQ(NumberedKey("*BANNER1 ", "*BANNER"), std::nullopt);
    EXPECT_EQ(NumberedKey("*BEGINUTILITIES", "*BEGIN"), std::nullopt);
}
