#include "shelf/shelf_list.h"

#include <gtest/gtest.h>

namespace kestrova {
namespace {

FoundDisc Folder(const std::string& path) {
    return FoundDisc{path, DiscForm::Folder};
}

ShelfDisc Named(const std::string& name, long long opened = 0) {
    ShelfDisc d;
    d.path = "/discs/" + name;
    d.fileName = name;
    d.lastOpened = opened;
    return d;
}

std::vector<std::string> Names(const std::vector<ShelfDisc>& discs,
                               const std::vector<std::size_t>& order) {
    std::vector<std::string> out;
    for (std::size_t i : order) {
        out.push_back(ShownName(discs[i]));
    }
    return out;
}

TEST(ShelfMerge, OneEntryADiscWhetherFoundOpenedBeforeOrBoth) {
    const std::vector<FoundDisc> found = {Folder("/home/u/Kestrova/issue27"),
                                          FoundDisc{"/home/u/Kestrova/issue28.iso", DiscForm::Iso},
                                          // The same disc reached through a second shelf folder
                                          // spelt with a trailing separator.
                                          Folder("/home/u/Kestrova/issue27/")};
    const std::vector<RecentDisc> recent = {{"/home/u/Kestrova/issue28.iso", 500},
                                            {"/media/cd/issue12", 300},
                                            {"/home/u/gone.iso", 200}};
    const std::vector<FoundDisc> recentPresent = {Folder("/media/cd/issue12")};
    const auto shelf =
        MergeShelf(found, recent, recentPresent, {{"/home/u/Kestrova/issue27", "June '99"}}, {});
    ASSERT_EQ(shelf.size(), 4u);
    EXPECT_EQ(shelf[0].path, "/home/u/Kestrova/issue27");
    EXPECT_EQ(ShownName(shelf[0]), "June '99");
    EXPECT_EQ(shelf[0].lastOpened, 0);
    EXPECT_EQ(shelf[1].form, DiscForm::Iso);
    EXPECT_EQ(shelf[1].lastOpened, 500);
    EXPECT_TRUE(shelf[1].present);
    EXPECT_EQ(shelf[2].path, "/media/cd/issue12");
    EXPECT_TRUE(shelf[2].present);
    // Opened before and no longer there: kept, greyed with where it was.
    EXPECT_EQ(shelf[3].path, "/home/u/gone.iso");
    EXPECT_FALSE(shelf[3].present);
    EXPECT_EQ(Fault(shelf[3]), "The disc is no longer at /home/u/gone.iso");
    EXPECT_EQ(ShownName(shelf[3]), "gone.iso");
}

TEST(ShelfMerge, ARemovedDiscStaysOffWhereverItWouldComeFrom) {
    const auto shelf =
        MergeShelf({Folder("/k/a"), Folder("/k/b/")}, {{"/k/b", 9}}, {}, {}, {"/k/b"});
    ASSERT_EQ(shelf.size(), 1u);
    EXPECT_EQ(shelf[0].path, "/k/a");
}

TEST(ShelfNames, LabelThenTheDiscsOwnNameThenTheFile) {
    ShelfDisc d = Named("issue27.iso");
    EXPECT_EQ(ShownName(d), "issue27.iso");
    d.discLabel = "Kestrova 27";
    EXPECT_EQ(ShownName(d), "Kestrova 27");
    d.label = "Mine";
    EXPECT_EQ(ShownName(d), "Mine");
}

TEST(ShelfNames, NumbersCompareByValueAndCaseIsIgnored) {
    EXPECT_TRUE(NameBefore("Issue 9", "Issue 27"));
    EXPECT_FALSE(NameBefore("Issue 27", "Issue 9"));
    EXPECT_TRUE(NameBefore("issue 09", "Issue 10"));
    EXPECT_TRUE(NameBefore("alpha", "Beta"));
    EXPECT_TRUE(NameBefore("Issue", "Issue 1"));
    EXPECT_FALSE(NameBefore("x", "x"));
    // Strictly one way round for names equal but for case.
    EXPECT_NE(NameBefore("abc", "ABC"), NameBefore("ABC", "abc"));
}

TEST(ShelfOrderAndFilter, ByNameByLastOpenedAndFilteredByEveryWord) {
    std::vector<ShelfDisc> discs = {Named("Issue 27", 100), Named("Issue 9"), Named("extras", 300),
                                    Named("Issue 10", 200)};
    discs[1].issueLine = "June 1998";
    EXPECT_EQ(Names(discs, ShownOrder(discs, ShelfOrder::Name, "")),
              (std::vector<std::string>{"extras", "Issue 9", "Issue 10", "Issue 27"}));
    EXPECT_EQ(Names(discs, ShownOrder(discs, ShelfOrder::LastOpened, "")),
              (std::vector<std::string>{"extras", "Issue 10", "Issue 27", "Issue 9"}));
    // The issue line counts, case aside; every word must match somewhere.
    EXPECT_EQ(Names(discs, ShownOrder(discs, ShelfOrder::Name, "JUNE")),
              (std::vector<std::string>{"Issue 9"}));
    EXPECT_EQ(Names(discs, ShownOrder(discs, ShelfOrder::Name, " issue  2 ")),
              (std::vector<std::string>{"Issue 27"}));
    EXPECT_TRUE(ShownOrder(discs, ShelfOrder::Name, "issue nothing").empty());
}

TEST(ShelfRecent, OpenedDiscGoesFirstOnceAndTheListIsCapped) {
    std::vector<RecentDisc> recent = {{"/a", 1}, {"/b", 2}};
    RememberOpened(recent, "/b/", 10);
    ASSERT_EQ(recent.size(), 2u);
    EXPECT_EQ(recent[0].path, "/b");
    EXPECT_EQ(recent[0].lastOpened, 10);
    EXPECT_EQ(recent[1].path, "/a");
    for (int i = 0; i < 300; ++i) {
        RememberOpened(recent, "/d" + std::to_string(i), 20 + i);
    }
    EXPECT_EQ(recent.size(), kRecentDiscs);
    EXPECT_EQ(recent[0].path, "/d299");
}

TEST(ShelfStartFailure, FirstLineOfTheProgramsOwnPastTheToolkits) {
    EXPECT_EQ(StartFailureReason("qt.qpa.xcb: could not connect\n\n"
                                 "Cannot open file engine\\images\\mainbg.bmp\n"
                                 "engine\\images\\mainbg.bmp: No such file or directory\n"),
              "Cannot open file engine\\images\\mainbg.bmp");
    EXPECT_EQ(StartFailureReason("QStandardPaths: wrong permissions\r\n"), "");
    EXPECT_EQ(StartFailureReason(std::string(400, 'x')).size(), 300u);
}

} // namespace
} // namespace kestrova
