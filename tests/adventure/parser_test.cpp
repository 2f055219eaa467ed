#include "adventure/world.h"
#include "recording_host.h"

#include <gtest/gtest.h>

namespace kestrova {
namespace {

using test::Session;
using Lines = std::vector<std::string>;

const char* const kSorry = "Sorry? ";
const char* const kCantGo = "You can't go that way.";
const char* const kNotFound = "Sorry that item was not found.";

// Plays the story's own path up to the given state.
void Reach(Session& s, int state) {
    const char* const path[] = {"hop on the lever", "go east", "talk to the aliens", "north",
                                "south"};
    for (int i = 0; i < state; ++i) {
        s.console.Enter(path[i]);
    }
    ASSERT_EQ(s.game().gamestate, state);
}

// Every phrase of a row, each in a fresh game at the state, gives exactly these lines.
void ExpectRow(int state, const Lines& phrases, const std::function<Lines(Tgame&)>& expected,
               int stateAfter) {
    for (const std::string& phrase : phrases) {
        Session s;
        Reach(s, state);
        EXPECT_EQ(s.Type(phrase), expected(s.game())) << "state " << state << ": " << phrase;
        EXPECT_EQ(s.game().gamestate, stateAfter) << phrase;
        EXPECT_EQ(s.console.lineinput, "") << phrase;
    }
}

std::function<Lines(Tgame&)> Story(size_t entry) {
    return [entry](Tgame& g) { return Lines{"", g.special[entry]}; };
}
std::function<Lines(Tgame&)> StoryThenBox(size_t entry, const std::string& box) {
    return [entry, box](Tgame& g) { return Lines{"", g.special[entry], "[box] " + box}; };
}
std::function<Lines(Tgame&)> Reply(const std::string& text) {
    return [text](Tgame&) { return Lines{"", text}; };
}

TEST(StoryRules, State0) {
    ExpectRow(0,
              {"talk aliens", "talk to aliens", "talk to the aliens", "speak to aliens",
               "speak aliens", "speak with aliens"},
              Story(1), 0);
    ExpectRow(0, {"go east", "e", "east", "hall", "go hall", "hallway", "go hallway"}, Story(2), 0);
    ExpectRow(0, {"pull on the lever", "pull the lever", "pull lever", "push lever", "grab lever"},
              Reply("You can't pull the lever. You have no hands!"), 0);
    ExpectRow(0, {"hop on the lever", "lever", "hop lever", "hop on lever", "use lever"}, Story(3),
              1);
    ExpectRow(0, {"go south", "s", "south"}, Story(4), 0);
    ExpectRow(0,
              {"go west", "w", "west", "console", "go console", "use console", "go to the console",
               "use the console"},
              Story(5), 0);
    ExpectRow(0, {"go north", "n", "north"}, Story(6), 0);
}

TEST(StoryRules, State0TalkChangesTheAliensAndHopTakesThemAlong) {
    Session s;
    s.Type("talk to aliens");
    EXPECT_EQ(s.game().objectdesc[0], "The aliens are gesturing and looking around wildly.");
    EXPECT_EQ(s.game().objloc[0], "0");
    s.Type("hop on lever");
    EXPECT_EQ(s.game().objloc[0], "1");
}

TEST(StoryRules, State1) {
    ExpectRow(1, {"go west", "w", "west", "go north", "n", "north", "go south", "s", "south"},
              StoryThenBox(7, kGameOverText), 1);
    ExpectRow(1,
              {"go east", "e", "east", "go hallway", "hallway", "hall", "go down hallway",
               "go to the hallway", "go hall"},
              Story(8), 2);
    Session s;
    Reach(s, 2);
    EXPECT_EQ(s.game().objloc[0], "2");
    EXPECT_EQ(s.game().objectdesc[0],
              "The aliens are babbling incoherently, apparently terrified.");
}

TEST(StoryRules, State2) {
    ExpectRow(2,
              {"pull knob", "turn knob", "pull the knob", "grab the knob", "twist knob",
               "turn the knob", "twist the knob"},
              Reply("You can't turn the knob -- you have no hands!"), 2);
    ExpectRow(2, {"north", "n", "go north"}, StoryThenBox(9, kGameOverText), 2);
    ExpectRow(2, {"south", "s", "go south"}, StoryThenBox(10, kGameOverText), 2);
    ExpectRow(2,
              {"talk aliens", "hop aliens", "talk to aliens", "ask aliens for help",
               "talk to the aliens", "ask the aliens for help"},
              Story(11), 3);
}

TEST(StoryRules, State3) {
    ExpectRow(3, {"south", "s", "go south"}, Story(12), 3);
    ExpectRow(3, {"north", "n", "go north"}, Story(13), 4);
}

TEST(StoryRules, State4) {
    ExpectRow(4,
              {"talk aliens", "hop aliens", "talk to aliens", "ask aliens for help",
               "talk to the aliens", "ask the aliens for help"},
              Story(14), 4);
    // Going south reaches the device room alive: the emptied line is not judged there.
    ExpectRow(4, {"south", "s", "go south"}, Story(15), 5);
}

TEST(StoryRules, State5) {
    ExpectRow(5,
              {"read device", "read text", "examine text", "read the text",
               "read the text on the device", "examine the device"},
              Story(16), 5);
    ExpectRow(5,
              {"press button", "push button", "press the button", "push the button",
               "press red button", "push red button", "press the red button",
               "push the red button"},
              Reply("You can't press the button -- you have no hands!  (Maybe you should hop on "
                    "it instead.)"),
              5);
    ExpectRow(5,
              {"hop button", "hop red button", "hop on the button", "hop on the red button",
               "hop on the red button instead", "jump red button", "leap on the red button",
               "jump on the red button"},
              StoryThenBox(17, kEndOfPartOneText), 5);
    // Everything else ends the game there: the skip word, listings, the hidden phrase, nothing.
    ExpectRow(5,
              {"hop", "xxx", "go xxx", "list", "list demos", "launch 1", "i need to find a candle",
               "", "north", "look at device", "talk to aliens"},
              StoryThenBox(17, kGameOverText), 5);
}

TEST(StoryRules, State5LooksAreLeftToTheLookStep) {
    Session s;
    Reach(s, 5);
    const Lines room = {"", s.game().roomdesc[5], "Aliens", "Strange Device"};
    EXPECT_EQ(s.Type("look"), room);
    EXPECT_EQ(s.Type("l"), room);
    EXPECT_EQ(s.Type("look room"), Lines{""});
    EXPECT_EQ(s.Type("look device"), Lines{""});
    EXPECT_TRUE(s.host.messages.empty());
}

TEST(StoryRules, SpeakToAliensOnlyWorksOnTheTable) {
    for (int state : {2, 4}) {
        Session s;
        Reach(s, state);
        EXPECT_EQ(s.Type("speak to aliens"), (Lines{"", kSorry})) << state;
    }
}

TEST(Grammar, CapitalsAreMatchedInLowerCaseAndEchoedAsTyped) {
    Session s;
    s.console.Enter("Go NORTH");
    const Lines& t = s.console.screenie();
    ASSERT_GE(t.size(), 3u);
    EXPECT_EQ((Lines{t.end() - 3, t.end()}), (Lines{">> Go NORTH", "", s.game().special[6]}));
}

TEST(Grammar, BlanksAreWords) {
    Session s;
    // The trailing blank makes an empty noun, which is no exit.
    EXPECT_EQ(s.Type("go north "), (Lines{"", kCantGo}));
    // The leading blank makes an empty verb, which is nothing at all.
    EXPECT_EQ(s.Type(" go north"), (Lines{"", kSorry}));
    // An empty noun on look is the room.
    EXPECT_EQ(s.Type("look "),
              (Lines{"", s.game().roomdesc[0], "Aliens", "Lever", "table", "consoles"}));
    // Two blanks: the last word is empty again.
    EXPECT_EQ(s.Type("look  "),
              (Lines{"", s.game().roomdesc[0], "Aliens", "Lever", "table", "consoles"}));
    EXPECT_EQ(s.Type(""), (Lines{"", kSorry}));
    EXPECT_EQ(s.game().gamestate, 0);
}

TEST(Grammar, DirectionsOutsideTheStory) {
    Session s;
    EXPECT_EQ(s.Type("ne"), (Lines{"", kCantGo}));
    EXPECT_EQ(s.Type("go northeast"), (Lines{"", kCantGo}));
    EXPECT_EQ(s.Type("southwest"), (Lines{"", kCantGo}));
    EXPECT_EQ(s.Type("go up"), (Lines{"", kCantGo}));
    EXPECT_EQ(s.Type("up"), (Lines{"", kSorry}));
    EXPECT_EQ(s.Type("dance wildly"), (Lines{"", kSorry}));
    // Story phrases are whole lines: with an extra word they fall to the grammar.
    EXPECT_EQ(s.Type("go north now"), (Lines{"", kCantGo}));
    EXPECT_EQ(s.Type("hop north"), (Lines{"", kSorry}));
    EXPECT_EQ(s.game().gamestate, 0);
    EXPECT_TRUE(s.host.messages.empty());
}

TEST(Grammar, SkipWordMovesToTheNextRoomWithoutTheStory) {
    Session s;
    EXPECT_EQ(s.Type("xxx"), (Lines{"", s.game().roomdesc[1]}));
    EXPECT_EQ(s.game().gamestate, 1);
    EXPECT_EQ(s.game().objloc[0], "0"); // the aliens stay behind
    // The state's rules now apply.
    EXPECT_EQ(s.Type("west"), (Lines{"", s.game().special[7], "[box] GAME OVER"}));
    EXPECT_EQ(s.Type("go xxx"), (Lines{"", s.game().roomdesc[2]}));
    EXPECT_EQ(s.Type("XXX"), (Lines{"", s.game().roomdesc[3]}));
    EXPECT_EQ(s.game().gamestate, 3);
}

TEST(Grammar, RoomNumbersAreNotExits) {
    Session s;
    EXPECT_EQ(s.Type("1"), (Lines{"", kCantGo}));
    EXPECT_EQ(s.Type("go 1"), (Lines{"", kCantGo}));
    EXPECT_EQ(s.game().gamestate, 0);
    // An exit whose destination is not a number leads nowhere either.
    s.game().roomproperty[0] = "xxx,up,door";
    EXPECT_EQ(s.Type("xxx"), (Lines{"", kCantGo}));
    EXPECT_EQ(s.Type("door"), (Lines{"", kCantGo}));
    EXPECT_EQ(s.game().gamestate, 0);
}

TEST(Grammar, ExitListsAreSplitAndMatchedIgnoringCase) {
    Session s;
    s.game().roomproperty[0] = " \"North East\" , Up,4, xxx,1";
    EXPECT_EQ(s.Type("go up"), (Lines{"", s.game().roomdesc[4]}));
    EXPECT_EQ(s.game().gamestate, 4);
}

TEST(Catalogue, ListingsAndHiddenPhraseSayNothing) {
    for (const char* line : {"list demos", "list utilities", "list addons", "list add-ons",
                             "list all", "list", "list contents"}) {
        Session s;
        EXPECT_EQ(s.Type(line), Lines{""}) << line;
    }
    Session s;
    EXPECT_EQ(s.Type("I need to find a candle"), Lines{""});
    EXPECT_EQ(s.host.pages, Lines{kCandlePageAddress});
    EXPECT_EQ(s.game().gamestate, 0);
}

TEST(Catalogue, HiddenPhraseInTheDeviceRoomOpensItsPageAndEndsTheGame) {
    Session s;
    Reach(s, 5);
    const Lines after = s.Type("I need to find a candle");
    EXPECT_EQ(s.host.pages, Lines{kCandlePageAddress});
    EXPECT_EQ(after, (Lines{"", s.game().special[17], std::string("[box] ") + kGameOverText}));
    EXPECT_EQ(s.host.messages, Lines{kGameOverText});
}

TEST(Catalogue, LaunchNeverFindsAnItemInAnEmptyCatalogue) {
    for (const char* line : {"launch 1", "launch 0", "launch -3", "launch", "launch ",
                             "launch demo", "launch 1x", "launch 99999999999999999999"}) {
        Session s;
        EXPECT_EQ(s.Type(line), (Lines{"", kNotFound})) << line;
        EXPECT_TRUE(s.host.messages.empty());
    }
}

TEST(Catalogue, FilledListsAreListedAndLaunchedByNumber) {
    Session s;
    s.game().ondisk = {"[D] Demo one", "[U] Tool", "[D] Demo two"};
    s.game().ondiskpaths = {"Exes/one.exe", "Exes/tool.exe", "Exes/two.exe"};
    EXPECT_EQ(s.Type("list demos"), (Lines{"", "1. [D] Demo one", "3. [D] Demo two"}));
    EXPECT_EQ(s.Type("list add-ons"), (Lines{"", "2. [U] Tool"}));
    EXPECT_EQ(s.Type("list"), (Lines{"", "1. [D] Demo one", "2. [U] Tool", "3. [D] Demo two"}));
    EXPECT_EQ(s.Type("launch 3"), (Lines{"", "[box] Exes/two.exe"}));
    EXPECT_EQ(s.Type("launch 4"), (Lines{"", kNotFound}));
    // One item is never listed.
    s.game().ondisk.resize(1);
    EXPECT_EQ(s.Type("list all"), Lines{""});
}

TEST(Parser, WorkingListsHoldTheLastCommand) {
    Session s;
    s.Type("look at  the lever ");
    EXPECT_EQ(s.game().parserbox, (Lines{"look", "at", "", "the", "lever", ""}));
    EXPECT_EQ(s.game().directions, (Lines{"xxx", "1"}));
}

} // namespace
} // namespace kestrova
