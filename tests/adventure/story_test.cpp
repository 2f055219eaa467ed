// Whole games: dying and carrying on, winning twice, and a walkthrough in the terminal.

#include "adventure/terminal.h"
#include "adventure/world.h"
#include "base/terminal_text.h"
#include "recording_host.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

namespace kestrova {
namespace {

using test::Session;
using Lines = std::vector<std::string>;

Lines SplitLines(const std::string& text) {
    Lines lines;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);) {
        lines.push_back(l);
    }
    return lines;
}

TEST(Story, DeathKeepsTheGameWhereItWas) {
    Session s;
    s.Play({"talk to aliens", "lever"});
    const int showsBefore = s.host.panelShows;
    const size_t linesBefore = s.console.screenie().size();

    EXPECT_EQ(s.Type("north"), (Lines{"", s.game().special[7], "[box] GAME OVER"}));
    // No restart: no intro, same state, changed aliens kept, transcript only grows.
    EXPECT_EQ(s.game().gamestate, 1);
    EXPECT_EQ(s.game().objloc[0], "1");
    EXPECT_EQ(s.game().objectdesc[0], "The aliens are gesturing and looking around wildly.");
    EXPECT_EQ(s.host.panelShows, showsBefore + 1);
    EXPECT_EQ(s.console.screenie().size(), linesBefore + 3);
    EXPECT_EQ(
        std::count(s.console.screenie().begin(), s.console.screenie().end(), s.game().special[0]),
        1);

    // And play goes on from there.
    EXPECT_EQ(s.Type("east"), (Lines{"", s.game().special[8]}));
    EXPECT_EQ(s.game().gamestate, 2);
}

TEST(Story, WinningTwice) {
    Session s;
    s.Play({"lever", "e", "hop aliens", "n", "s"});
    ASSERT_EQ(s.game().gamestate, 5);
    EXPECT_TRUE(s.host.messages.empty());
    EXPECT_EQ(s.Type("press the red button"),
              (Lines{"", "You can't press the button -- you have no hands!  (Maybe you should "
                         "hop on it instead.)"}));
    const Lines win = {"", s.game().special[17], std::string("[box] ") + kEndOfPartOneText};
    EXPECT_EQ(s.Type("hop on the red button"), win);
    EXPECT_EQ(s.game().gamestate, 5);
    EXPECT_EQ(s.Type("hop on the red button"), win);
    EXPECT_EQ(s.host.messages, (Lines{kEndOfPartOneText, kEndOfPartOneText}));
}

TEST(Console, EnterEchoesAndOtherKeysDoNothing) {
    Session s;
    s.console.lineinput = "look";
    const Lines before = s.console.screenie();
    EXPECT_FALSE(s.console.lineinputKeyUp('L'));
    EXPECT_EQ(s.console.screenie(), before);
    EXPECT_EQ(s.console.lineinput, "look");

    s.console.lineinput = "";
    EXPECT_TRUE(s.console.lineinputKeyUp(kEnterKey));
    const Lines& t = s.console.screenie();
    EXPECT_EQ((Lines{t.end() - 3, t.end()}), (Lines{">> ", "", "Sorry? "}));
}

TEST(Console, OpeningLinesThenIntro) {
    Session s;
    Lines expected = GameConsole::OpeningLines();
    EXPECT_EQ(expected[3], "Tobrik Adventure");
    expected.push_back(s.game().special[0]);
    EXPECT_EQ(s.console.screenie(), expected);
}

TEST(Terminal, WalkthroughToTheEndOfPartOne) {
    std::istringstream in("look\n"
                          "talk to the aliens\n"
                          "pull lever\n"
                          "hop on the lever\n"
                          "go east\n"
                          "turn knob\n"
                          "ask the aliens for help\n"
                          "go north\n"
                          "talk to aliens\n"
                          "go south\n"
                          "read the text\r\n" // a Windows line end is no part of the command
                          "push the red button\n"
                          "hop on the red button\n");
    std::ostringstream out;
    EXPECT_EQ(RunTerminalAdventure(in, out), 0);

    NullAdventureHost none;
    const Tgame w(none);
    Lines expected = GameConsole::OpeningLines();
    auto add = [&](std::initializer_list<std::string> lines) {
        expected.insert(expected.end(), lines);
    };
    add({w.special[0]});
    add({">> look", "", w.roomdesc[0], "Aliens", "Lever", "table", "consoles"});
    add({">> talk to the aliens", "", w.special[1]});
    add({">> pull lever", "", "You can't pull the lever. You have no hands!"});
    add({">> hop on the lever", "", w.special[3]});
    add({">> go east", "", w.special[8]});
    add({">> turn knob", "", "You can't turn the knob -- you have no hands!"});
    add({">> ask the aliens for help", "", w.special[11]});
    add({">> go north", "", w.special[13]});
    add({">> talk to aliens", "", w.special[14]});
    add({">> go south", "", w.special[15]});
    // Reading the label again in the device room is the wrong thing to do.
    add({">> read the text", "", w.special[16]});
    add({">> push the red button", "",
         "You can't press the button -- you have no hands!  (Maybe you should hop on it "
         "instead.)"});
    add({">> hop on the red button", "", w.special[17], kEndOfPartOneText});
    EXPECT_EQ(SplitLines(out.str()), expected);
}

TEST(Terminal, DeathIsALineAndPlayGoesOn) {
    std::istringstream in("lever\nsouth\nI NEED TO FIND A CANDLE\neast");
    std::ostringstream out;
    EXPECT_EQ(RunTerminalAdventure(in, out), 0);
    const Lines lines = SplitLines(out.str());
    NullAdventureHost none;
    const Tgame w(none);
    const Lines tail = {
        ">> south",         "",        w.special[7], "GAME OVER", ">> I NEED TO FIND A CANDLE", "",
        kCandlePageAddress, ">> east", "",           w.special[8]};
    ASSERT_GE(lines.size(), tail.size());
    EXPECT_EQ((Lines{lines.end() - static_cast<long>(tail.size()), lines.end()}), tail);
}

TEST(Terminal, EmptyInputShowsTheIntroOnly) {
    std::istringstream in("");
    std::ostringstream out;
    EXPECT_EQ(RunTerminalAdventure(in, out), 0);
    NullAdventureHost none;
    Lines expected = GameConsole::OpeningLines();
    expected.push_back(Tgame(none).special[0]);
    EXPECT_EQ(SplitLines(out.str()), expected);
}

TEST(Terminal, PromptsForEachCommandAndBreaksLongTextsAtTheWidth) {
    std::istringstream in("look\n");
    std::ostringstream out;
    TerminalOptions options;
    options.width = 30;
    options.prompt = "> ";
    EXPECT_EQ(RunTerminalAdventure(in, out, options), 0);
    const std::string text = out.str();
    // One prompt before the command, one at the end of the input (then a line end).
    EXPECT_EQ(std::count(text.begin(), text.end(), '>'), 4) << text; // "> " twice, ">> look"
    EXPECT_TRUE(text.ends_with("> \n")) << text;
    std::string joined;
    for (const std::string& line : SplitLines(text)) {
        EXPECT_LE(line.size(), 30u) << line;
        joined += line + " ";
    }
    NullAdventureHost none;
    const Tgame w(none);
    // Nothing is lost by the breaking: the intro is all there, word for word.
    std::string intro;
    for (const std::string& word : WrapWords(w.special[0], 1)) {
        intro += word;
    }
    std::string seen;
    for (char c : joined) {
        if (c != ' ') {
            seen += c;
        }
    }
    EXPECT_NE(seen.find(intro), std::string::npos);
}

TEST(Terminal, ATerminalThatShowedTheCommandGetsOnlyTheReplies) {
    std::istringstream in("look\nI NEED TO FIND A CANDLE\n");
    std::ostringstream out;
    TerminalOptions options;
    options.prompt = "> ";
    options.echoCommands = false;
    EXPECT_EQ(RunTerminalAdventure(in, out, options), 0);
    NullAdventureHost none;
    const Tgame w(none);
    Lines expected = GameConsole::OpeningLines();
    // Each prompt stands before the line that follows it: the terminal put the typed command and
    // its line end there.
    expected.push_back(w.special[0]);
    expected.insert(expected.end(), {"> ", w.roomdesc[0], "Aliens", "Lever", "table", "consoles"});
    expected.insert(expected.end(), {"> ", kCandlePageAddress, "> "});
    EXPECT_EQ(SplitLines(out.str()), expected);
}

} // namespace
} // namespace kestrova
