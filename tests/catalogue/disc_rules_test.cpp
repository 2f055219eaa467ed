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

TEST(MenuCaptions, DemosListEntriesOneToBelowSpriteCountExceptExactNo) {
    const LineList list =
        Lines("\n" + Record(0, "Feature") + Record(3, "Three") + Record(1, "One") +
              Record(2, "Two", "no") + Record(4, "Four", "No") + Record(5, "Five"));
    EXPECT_EQ(MenuCaptions(list, "demos", 5), (std::vector<std::string>{"One", "Three", "Four"}));
    EXPECT_EQ(MenuCaptions(list, "demos", 1), std::vector<std::string>{});
    EXPECT_EQ(MenuCaptions(list, "demos", 0), std::vector<std::string>{});
}

TEST(MenuCaptions, MissingAndCutOffRecordsReadAsEveryLookupDoes) {
    // Entry 2 is cut off before its install line, which reads as blank: it is listed. Entries 3
    // on have no record: counted from line -1, their install line is line 4 and their title line
    // 0. A count past the largest a disc may have lists no more.
    const LineList list = Lines("Head line\n" + Record(1, "One") + "*begin2\nTwo\nd\nd\nd");
    const std::vector<std::string> menu = MenuCaptions(list, "demos", 2147483647);
    ASSERT_EQ(menu.size(), static_cast<std::size_t>(kMaxSpriteCount - 1));
    EXPECT_EQ(menu[0], "One");
    EXPECT_EQ(menu[1], "Two");
    EXPECT_EQ(menu[2], "Head line");
    EXPECT_EQ(menu.back(), "Head line");
}

TEST(MenuCaptions, FirstOfTwoStartLinesCounts) {
    const LineList list = Lines("\n" + Record(1, "First") + Record(1, "Second"));
    EXPECT_EQ(MenuCaptions(list, "demos", 2), std::vector<std::string>{"First"});
}

TEST(MenuCaptions, RecordsByNumberAboveLineZeroAndNamesOfPairs) {
    const LineList list = Lines("*SUPPORT4\nAt line zero\nx\n*SUPPORT3\nThird\nhttp://x\n"
                                "*support1\nFirst\n*Xtool.exe\n*SUPPORT21\nTooHigh\nx\n"
                                "*SUPPORT0\nZero\nx\n*SUPPORT02\nLead\nx\n*TOBRIK1\nPlay\n"
                                "showgame\n*BEGINADDONS\nPATCHES\n\nMap pack\naddons/maps.exe\n"
                                "Odd\n*ENDADDONS\n*SUPPORT20");
    EXPECT_EQ(MenuCaptions(list, "support", 5), (std::vector<std::string>{"First", "Third", ""}));
    EXPECT_EQ(MenuCaptions(list, "tobrik", 5), std::vector<std::string>{"Play"});
    EXPECT_EQ(MenuCaptions(list, "add-ons", 5),
              (std::vector<std::string>{"PATCHES", "Map pack", "Odd"}));
    EXPECT_EQ(MenuCaptions(list, "utility", 5), std::vector<std::string>{});
    EXPECT_EQ(MenuCaptions(list, "database", 5), std::vector<std::string>{});
    EXPECT_EQ(MenuCaptions(list, "*installnow", 5), std::vector<std::string>{});
}

TEST(ChooseCaption, ATitleSelectsTheEntryItsStartLineNames) {
    const LineList list =
        Lines("\n" + Record(5, "Five") + Record(12, "Twelve") + Record(123, "Big"));
    EXPECT_EQ(ChooseCaption(list, "demos", "five", 13).panel, 5);
    EXPECT_EQ(ChooseCaption(list, "demos", "Twelve", 13).panel, 12);
    // A number the disc has no panel for selects nothing, and nor does a longer start line.
    EXPECT_EQ(ChooseCaption(list, "demos", "Twelve", 12).panel, std::nullopt);
    const MenuChoice big = ChooseCaption(list, "demos", "Big", 200);
    EXPECT_TRUE(big.panelStep);
    EXPECT_EQ(big.panel, std::nullopt);
    EXPECT_EQ(big.action, ChoiceAction::Nothing);
    const MenuChoice nowhere = ChooseCaption(list, "demos", "Nowhere", 13);
    EXPECT_FALSE(nowhere.panelStep);
    EXPECT_EQ(nowhere.captionLine, -1);
}

TEST(ChooseCaption, DuplicateTitleSelectsTheFirstEntry) {
    const LineList list = Lines("\n" + Record(1, "Same") + Record(2, "Same"));
    EXPECT_EQ(ChooseCaption(list, "demos", "Same", 3).panel, 1);
}

#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif

TEST(ChooseCaption, LineZeroNeverCounts) {
    // Chosen caption on line 0 would have no line before it.
    const MenuChoice choice = ChooseCaption(Lines("Caption\nx"), "utility", "Caption", 21);
    EXPECT_FALSE(choice.panelStep);
    EXPECT_EQ(choice.action, ChoiceAction::Nothing);
}

TEST(ChooseCaption, ATargetOfSevenOrEightCharactersBeforeANameIsReadAsAStartLine) {
    const LineList list = Lines("\n*BEGINUTILITIES\nTool\nabcdef7\nOther\nrun.exe\nLast\nx\n"
                                "Heading\n\nAfter\nlast.exe\n*ENDUTILITIES");
    const MenuChoice other = ChooseCaption(list, "utility", "Other", 8);
    EXPECT_EQ(other.panel, 7);
    EXPECT_EQ(other.action, ChoiceAction::StartProgram);
    EXPECT_EQ(other.opens, "run.exe");
    EXPECT_EQ(ChooseCaption(list, "utility", "Other", 7).panel, std::nullopt);
    // No number there: the panel stays and the program starts.
    const MenuChoice last = ChooseCaption(list, "utility", "Last", 8);
    EXPECT_TRUE(last.panelStep);
    EXPECT_EQ(last.panel, std::nullopt);
    EXPECT_EQ(last.action, ChoiceAction::StartProgram);
    EXPECT_EQ(last.opens, "x");
    EXPECT_EQ(ChooseCaption(list, "utility", "Tool", 8).panel, std::nullopt);
    // A heading hands the shell its blank target.
    const MenuChoice heading = ChooseCaption(list, "add-ons", "Heading", 8);
    EXPECT_EQ(heading.action, ChoiceAction::StartProgram);
    EXPECT_EQ(heading.opens, "");
}

TEST(ChooseCaption, SupportAndMascotTargets) {
    const LineList list = Lines("\n*SUPPORT1\nWeb\nhttp://example.com/\n*SUPPORT2\nDoctor\n"
                                "*Xtools/doc.exe\n*SUPPORT3\nHello\nshowgame\n*SUPPORT4\n"
                                "Help\npages/help.html\n*SUPPORT5\nShort\n*Xab\n*SUPPORT6\n"
                                "Blank\n\n*TOBRIK1\nPlay\nshowgame\n*SUPPORT7\nLast");
    const auto choose = [&](const char* section, const char* caption) {
        return ChooseCaption(list, section, caption, 21);
    };
    EXPECT_EQ(choose("support", "Web").action, ChoiceAction::OpenPage);
    EXPECT_EQ(choose("support", "Web").opens, "http://example.com/");
    EXPECT_EQ(choose("support", "Doctor").action, ChoiceAction::StartProgram);
    EXPECT_EQ(choose("support", "Doctor").opens, "tools/doc.exe");
    EXPECT_EQ(choose("support", "Hello").action, ChoiceAction::Nothing);
    EXPECT_EQ(choose("support", "Hello").target, "showgame");
    EXPECT_EQ(choose("tobrik", "Hello").action, ChoiceAction::StartGame);
    EXPECT_EQ(choose("tobrik", "Play").action, ChoiceAction::StartGame);
    EXPECT_EQ(choose("support", "Help").opens, "pages/help.html");
    EXPECT_EQ(choose("support", "Short").action, ChoiceAction::OpenPage);
    EXPECT_EQ(choose("support", "Short").opens, "*Xab");
    EXPECT_EQ(choose("support", "Blank").action, ChoiceAction::Nothing);
    EXPECT_EQ(choose("support", "Last").action, ChoiceAction::Nothing);
    EXPECT_FALSE(choose("support", "Help").panelStep);
}

TEST(EntryNumberFromStartLine, TheSeventhAndEighthCharactersWhenTheyAreDigits) {
    EXPECT_EQ(EntryNumberFromStartLine("*BEGIN5"), 5);
    EXPECT_EQ(EntryNumberFromStartLine("*BEGIN12"), 12);
    EXPECT_EQ(EntryNumberFromStartLine("*begin08"), 8);
    EXPECT_EQ(EntryNumberFromStartLine("abcdef7"), 7);
    EXPECT_EQ(EntryNumberFromStartLine("*BEGIN123"), std::nullopt);
    EXPECT_EQ(EntryNumberFromStartLine("run.exe"), std::nullopt);
    EXPECT_EQ(EntryNumberFromStartLine("a/b.exe"), std::nullopt);
    EXPECT_EQ(EntryNumberFromStartLine("*BEGIN+5"), std::nullopt);
    EXPECT_EQ(EntryNumberFromStartLine("*BEGIN-5"), std::nullopt);
    EXPECT_EQ(EntryNumberFromStartLine("*BEGIN5x"), std::nullopt);
    EXPECT_EQ(EntryNumberFromStartLine(""), std::nullopt);
    EXPECT_TRUE(HasStartLineLength("run.exe"));
    EXPECT_TRUE(HasStartLineLength("maps.x12"));
    EXPECT_FALSE(HasStartLineLength("*BEGIN123"));
    EXPECT_FALSE(HasStartLineLength("a.exe"));
}

TEST(EntryLines, ReadWithoutFailingWhereTheRecordEnds) {
    const LineList list = Lines("\n*BEGIN1\nTitle\na\nb\nc\nsetup.exe\nno\nplay.exe\nread.rtf\n"
                                "*BEGIN0\nFeature");
    EXPECT_EQ(EntryInstallProgram(list, 1), "setup.exe");
    EXPECT_EQ(EntrySecondProgram(list, 1), "Exes/play.exe");
    EXPECT_EQ(EntryReadmePath(list, 1), "databases/read.rtf");
    EXPECT_EQ(EntryReadmePath(list, 0), "databases/");
    EXPECT_EQ(EntryInstallProgram(list, 0), "");
    EXPECT_EQ(EntrySecondProgram(list, 0), "Exes/");
    // No record: lines counted from -1; and no second program without a start line.
    EXPECT_EQ(EntryInstallProgram(list, 7), "b");
    EXPECT_EQ(EntrySecondProgram(list, 7), std::nullopt);
    EXPECT_EQ(EntrySecondProgram(Lines("*BEGIN1\nTitle"), 1), std::nullopt);
}

TEST(Sections, EveryKeyHasOneButtonAndOneBanner) {
    for (const Section& section : kSections) {
        EXPECT_EQ(SectionForKey(section.key), &section);
        EXPECT_EQ(SectionForButton(section.button), &section);
        for (const Section& other : kSections) {
            if (&other != &section) {
                EXPECT_STRNE(other.topPanel, section.topPanel);
            }
        }
    }
    EXPECT_TRUE(HasMenu("utility"));
    EXPECT_TRUE(HasMenu("demos"));
    EXPECT_TRUE(HasMenu("support"));
    EXPECT_TRUE(HasMenu("add-ons"));
    EXPECT_TRUE(HasMenu("tobrik"));
    EXPECT_FALSE(HasMenu("database"));
    EXPECT_FALSE(HasMenu("exit"));
    EXPECT_FALSE(HasMenu("*installnow"));
    EXPECT_EQ(SectionForKey("none"), nullptr);
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
