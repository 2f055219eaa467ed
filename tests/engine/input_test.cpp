// Pointer input: the hot zones and their overlaps, the menu line under the pointer, what a click
// does with a menu open and without one, and the menus read from the disc data.

#include "engine/input.h"
#include "engine/menus.h"
#include "engine_fixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kestrova {
namespace {

// A disc data file with four demos (entry 2 has no install program), a utilities block of
// fourteen captions, support and mascot items, and a title that also appears in a note.
std::string DiscData() {
    std::string d = "\r\nNote: Helix Corsairs is this month's cover\r\nHelix Corsairs\r\n"
                    "*BEGIN0\r\nStart text\r\n*END0\r\n";
    const char* titles[] = {"Helix Corsairs", "Gravel Kings", "Castle Ombrevale", "Subzero"};
    for (int n = 1; n <= 4; ++n) {
        d += "*BEGIN" + std::to_string(n) + "\r\n" + titles[n - 1] + "\r\nA\r\nB\r\nC\r\n" +
             (n == 2 ? std::string("no") : "Demos/setup" + std::to_string(n) + ".exe") +
             "\r\nreq\r\nplay" + std::to_string(n) + ".exe\r\nreadme.rtf\r\n*END" +
             std::to_string(n) + "\r\n";
    }
    d += "*BEGINUTILITIES\r\n";
    for (int i = 0; i < 14; ++i) {
        d += "Tool " + std::to_string(i) + "\r\nUtils/tool" + std::to_string(i) + ".exe\r\n";
    }
    d += "*ENDUTILITIES\r\n";
    d += "*SUPPORT2\r\nHelp page\r\npages/help.html\r\n*SUPPORT1\r\nOn the web\r\n"
         "http://www.example.com/\r\n*SUPPORT3\r\nSay hello\r\nshowgame\r\n"
         "*SUPPORT4\r\nDoctor\r\n*XUtils/doc.exe\r\n*SUPPORT5\r\nNothing here\r\n\r\n";
    d += "*TOBRIK1\r\nPlay the game\r\nshowgame\r\n";
    return d;
}

struct Clicks : testing::RecordedPorts {
    MainState state;
    int adventures = 0;
    ClickContext context{"/disc/", [this] { ++adventures; }};

    Clicks() {
        state.source.LoadFromBytes(DiscData());
        state.spriteCount = 5;
        state.hoverThumb = -1;
        state.ib = {24, 255, 60, 30};
        state.vb = {728, 168, 60, 30};
        state.pb = {732, 264, 60, 30};
    }
    // The pointer moves to (x, y) and a button goes down.
    void ClickAt(int x, int y) {
        DxDrawMouseMove(state, x, y);
        DxDrawMouseDown(state, ports, context);
    }
    // Opens a section's menu as the frame would show it, fully unrolled under its button.
    void OpenMenu(int buttonX, int buttonY) {
        ClickAt(buttonX, buttonY);
        const TopButton* b = TopButtonForKey(state.menuKey);
        ASSERT_NE(b, nullptr);
        state.menusourceBounds = {kButtonPanelLeft + b->bounds.left + 5,
                                  kButtonPanelTop + b->bounds.top + b->bounds.height,
                                  b->bounds.width, 113};
    }
    // Chooses line `i` of the open menu.
    void ChooseLine(int i) {
        ClickAt(state.menusourceBounds.left + 10, state.menusourceBounds.top + 9 * i + 4);
    }
    std::vector<std::string> Started() const {
        std::vector<std::string> files;
        for (const auto& l : launcher.launches) {
            files.push_back(l.file);
        }
        return files;
    }
};

TEST(HotZones, RectanglesIncludeTheirEdgesAndTheLaterZoneWins) {
    Clicks c;
    const struct {
        int x, y;
        const char* key;
    } points[] = {{445, 60, "support"},      {470, 30, "add-ons"},       {737, 30, "exit"},
                  {600, 60, "tobrik"},       {328, 50, "demos"},         {328, 86, "utility"},
                  {444, 86, "support"},      {801, 51, "exit"},          {802, 51, "none"},
                  {24, 255, "*installnow"},  {84, 285, "*installnow"},   {85, 285, "none"},
                  {728, 168, "*viewreadme"}, {740, 270, "*printreadme"}, {327, 50, "none"},
                  {660, 30, "database"},     {400, 87, "none"}};
    for (const auto& p : points) {
        EXPECT_EQ(HotZoneAt(c.state, p.x, p.y), p.key) << p.x << "," << p.y;
    }
}

TEST(MenuLines, EachSectionReadsItsOwnPartOfTheDiscData) {
    Clicks c;
    // Entry 2's install line is "no": absent from the menu, though it keeps its thumbnail.
    EXPECT_EQ(MenuLines(c.state, "demos"),
              (std::vector<std::string>{"Helix Corsairs", "Castle Ombrevale", "Subzero"}));
    const auto utilities = MenuLines(c.state, "utility");
    ASSERT_EQ(utilities.size(), 14u);
    EXPECT_EQ(utilities[13], "Tool 13");
    // Numbered items in number order, whatever order the file keeps them in.
    EXPECT_EQ(MenuLines(c.state, "support"),
              (std::vector<std::string>{"On the web", "Help page", "Say hello", "Doctor",
                                        "Nothing here"}));
    EXPECT_EQ(MenuLines(c.state, "tobrik"), std::vector<std::string>{"Play the game"});
    EXPECT_TRUE(MenuLines(c.state, "add-ons").empty()); // no block on this disc
    EXPECT_TRUE(MenuLines(c.state, "database").empty());
    EXPECT_TRUE(MenuLines(c.state, "*installnow").empty());
}

// Numbered items run from 1 to 20: the 20th is listed and takes a click like any other; 0 and 21
// are never read.
TEST(MenuLines, NumberedItemsRunFromOneToTwenty) {
    Clicks c;
    c.state.source.LoadFromBytes("\r\n*SUPPORT21\r\nToo far\r\nx\r\n*SUPPORT20\r\nLast help\r\n"
                                 "pages/last.html\r\n*TOBRIK0\r\nNot an item\r\nx\r\n"
                                 "*TOBRIK20\r\nLast game\r\nshowgame\r\n");
    EXPECT_EQ(MenuLines(c.state, "support"), std::vector<std::string>{"Last help"});
    EXPECT_EQ(MenuLines(c.state, "tobrik"), std::vector<std::string>{"Last game"});
    c.OpenMenu(500, 70);
    c.ChooseLine(0);
    EXPECT_EQ(c.state.pendingUrl, "/disc/pages/last.html");
    c.OpenMenu(680, 70);
    c.ChooseLine(0);
    EXPECT_EQ(c.adventures, 1);
}

TEST(Click, AChosenTitleSelectsItsEntryAndEveryClickClosesTheMenu) {
    Clicks c;
    c.OpenMenu(400, 30);
    EXPECT_EQ(c.state.menuKey, "demos");
    EXPECT_EQ(c.state.menusource.size(), 3u);
    EXPECT_EQ(c.sounds.played, std::vector<std::string>{"rollover"});
    c.ChooseLine(1); // "Castle Ombrevale", entry 3
    EXPECT_EQ(c.state.targetPanel, 3);
    EXPECT_EQ(c.state.menuKey, "none");
    EXPECT_EQ(c.sounds.played.back(), "klick");
    // A caption that also appears earlier acts on its first occurrence: the note's neighbour
    // line is no start line, so nothing is selected.
    c.OpenMenu(400, 30);
    c.ChooseLine(0); // "Helix Corsairs"
    EXPECT_EQ(c.state.targetPanel, 3);
    EXPECT_EQ(c.state.shownPanel, 3);
    // A section button clicked with a menu open only closes it.
    c.OpenMenu(400, 30);
    c.ClickAt(400, 70);
    EXPECT_EQ(c.state.menuKey, "none");
    EXPECT_TRUE(c.Started().empty());
}

TEST(Click, OnlyTheFirstElevenMenuLinesTakeAClick) {
    Clicks c;
    c.OpenMenu(400, 70);
    ASSERT_EQ(c.state.menusource.size(), 14u);
    c.ChooseLine(10);
    EXPECT_EQ(c.Started(), std::vector<std::string>{"Utils/tool10.exe"});
    c.OpenMenu(400, 70);
    c.ChooseLine(11);
    c.OpenMenu(400, 70);
    c.ChooseLine(13);
    EXPECT_EQ(c.Started().size(), 1u);
    EXPECT_EQ(c.state.menuKey, "none");
}

TEST(Click, ATargetBeforeANameSelectsAPanelOnlyWhenItNamesOne) {
    Clicks c;
    c.state.source.LoadFromBytes("\r\n*BEGINUTILITIES\r\nRunner\r\nrun.exe\r\n"
                                 "After the runner\r\nUtils/after.exe\r\nPanel tool\r\n"
                                 "tool.x2\r\nAfter panel two\r\nUtils/two.exe\r\n"
                                 "*ENDUTILITIES\r\n");
    c.state.targetPanel = 4;
    c.OpenMenu(400, 70);
    c.ChooseLine(1); // "run.exe" before it is 7 characters long but names no entry
    EXPECT_EQ(c.state.targetPanel, 4);
    EXPECT_EQ(c.state.shownPanel, 4);
    c.OpenMenu(400, 70);
    c.ChooseLine(3); // "tool.x2" before it names entry 2
    EXPECT_EQ(c.state.targetPanel, 2);
    EXPECT_EQ(c.state.shownPanel, 4);
    EXPECT_EQ(c.Started(), (std::vector<std::string>{"Utils/after.exe", "Utils/two.exe"}));
}

TEST(Click, SupportAndMascotLinesLeadToAPageAProgramOrTheGame) {
    Clicks c;
    c.OpenMenu(500, 70);
    c.ChooseLine(1); // "Help page"
    EXPECT_EQ(c.state.pendingUrl, "/disc/pages/help.html");
    EXPECT_TRUE(c.state.navigatePending);
    EXPECT_EQ(c.state.slideState, 1);
    c.OpenMenu(500, 70);
    c.ChooseLine(0); // a web address is not prefixed
    EXPECT_EQ(c.state.pendingUrl, "http://www.example.com/");
    c.OpenMenu(500, 70);
    c.ChooseLine(3); // "*X" starts the rest and cancels a waiting page
    EXPECT_EQ(c.Started(), std::vector<std::string>{"Utils/doc.exe"});
    EXPECT_FALSE(c.state.navigatePending);
    c.OpenMenu(500, 70);
    c.ChooseLine(4); // an empty target does nothing
    c.OpenMenu(500, 70);
    c.ChooseLine(2); // the game only from the mascot's menu
    EXPECT_EQ(c.adventures, 0);
    EXPECT_FALSE(c.state.navigatePending);
    EXPECT_EQ(c.Started().size(), 1u);
    c.OpenMenu(680, 70);
    c.ChooseLine(0);
    EXPECT_EQ(c.adventures, 1);
}

TEST(Click, InstallNowAlternatesBetweenTheInstallLineAndTheDiscProgram) {
    Clicks c;
    c.state.targetPanel = 4;
    c.ClickAt(40, 265);
    EXPECT_EQ(c.state.menuKey, "*installnow");
    DxDrawMouseDown(c.state, c.ports, c.context); // the pointer has not moved
    DxDrawMouseDown(c.state, c.ports, c.context);
    EXPECT_EQ(c.Started(),
              (std::vector<std::string>{"Demos/setup4.exe", "Exes/play4.exe", "Demos/setup4.exe"}));
    EXPECT_EQ(c.state.pendingLaunch, "");
    // With no demo chosen the start panel's record is read as it stands, into the next record.
    Clicks none;
    none.ClickAt(40, 265);
    none.ClickAt(40, 265);
    EXPECT_EQ(none.Started(), (std::vector<std::string>{"A", "Exes/C"}));
}

TEST(Click, ActsOnTheLastMovementAndTheLastFrameNotOnItsOwnPosition) {
    Clicks c;
    DxDrawMouseMove(c.state, 660, 30); // the database button
    DxDrawMouseDown(c.state, c.ports, c.context);
    DxDrawMouseDown(c.state, c.ports, c.context);
    EXPECT_EQ(c.Started(),
              (std::vector<std::string>{"Databases/Databases.exe", "Databases/Databases.exe"}));
    EXPECT_EQ(c.state.menuKey, "none");
    // A thumbnail the frame found under the pointer is selected, with the rollover sound.
    c.state.hoverThumb = 2;
    DxDrawMouseMove(c.state, 300, 300);
    DxDrawMouseDown(c.state, c.ports, c.context);
    EXPECT_EQ(c.state.targetPanel, 2);
    EXPECT_EQ(c.sounds.played.back(), "rollover");
}

TEST(Click, ReadmesExitAndThePaneOnScreen) {
    Clicks c;
    c.readme.visible = true;
    c.ClickAt(300, 300); // any other zone hides the readme
    EXPECT_FALSE(c.readme.visible);
    c.ClickAt(740, 280);
    EXPECT_EQ(c.state.menuKey, "*printreadme");
    EXPECT_EQ(c.readme.printed.size(), 0u); // no readme file here: nothing printed or shown
    // The pane on screen is photographed and sent away before the click acts.
    c.web.SetLeft(kWebPaneOnScreenLeft);
    c.state.menuKey = "none";
    c.ClickAt(760, 30);
    EXPECT_TRUE(c.state.pageSliding);
    EXPECT_EQ(c.window.terminations, 1);
    EXPECT_TRUE(c.state.menusource.empty());
}

} // namespace
} // namespace kestrova
