#include "adventure/world.h"
#include "recording_host.h"

#include <gtest/gtest.h>

namespace kestrova {
namespace {

using test::RecordingHost;
using test::Session;
using Lines = std::vector<std::string>;

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

TEST(World, StoryTextsOpenWithTheirWords) {
    NullAdventureHost host;
    Tgame game(host);
    const std::vector<std::string> openings = {
        "\"Tobrik, are you okay?\" The darkness begins to fade",
        "\"You were so brave, Tobrik! Thank you for saving us!\"",
        "You hop off the table, but as you start to head down the hall",
        "You hop off the table and fly through the air.",
        "You hop off the table heading south, but bounce off the hard metal door.",
        "\"Oh, no you don't!\" shouts one of the aliens",
        "You hop off the table to the north, but while in mid-air",
        "Your vain attempt to do the wrong thing has cost you your life.",
        "You start hopping down the hall, and the four aliens follow you.",
        "You start to hop to the north, but your progress is halted",
        "You start to hop to the south, but your progress is halted",
        "You hop on one of the alien's head",
        "You hop down to the south, and the passage ends in a small room.",
        "\"Well, fellas, what do you think we should do?\" you ask the aliens.",
        "The south passageway ends in a small room with a door on the far wall.",
        "With a start, you realize the text underneath the button",
        "Your pathetic attempt at doing the right thing was actually the wrong thing",
        "You hop high in the air, and come down on the red button",
    };
    ASSERT_EQ(game.special.size(), openings.size());
    for (size_t i = 0; i < openings.size(); ++i) {
        EXPECT_TRUE(StartsWith(game.special[i], openings[i])) << "entry " << i;
        // One paragraph: the console shows each entry as a single wrapped line.
        EXPECT_EQ(game.special[i].find('\n'), std::string::npos) << "entry " << i;
    }
    EXPECT_NE(game.special[15].find("\"DEUS EX MACHINA DEVICE -- USE ONLY IN CASE OF HEADING "
                                    "STRAIGHT TOWARD BLACK HOLE!\""),
              std::string::npos);
    EXPECT_NE(game.special[17].find("\"What next?\""), std::string::npos);
}

TEST(World, RoomsAndExits) {
    NullAdventureHost host;
    Tgame game(host);
    ASSERT_EQ(game.roomdesc.size(), 6u);
    EXPECT_TRUE(
        StartsWith(game.roomdesc[0], "You are in a circular room seemingly built of metal."));
    EXPECT_EQ(game.roomdesc[1], "The door is beginning to open, and you start to feel yourself "
                                "getting sucked toward the opening");
    EXPECT_TRUE(StartsWith(game.roomdesc[2], "You're in the middle of an intersection."));
    EXPECT_TRUE(StartsWith(game.roomdesc[3], "You're in the middle of an intersection."));
    EXPECT_NE(game.roomdesc[2], game.roomdesc[3]);
    EXPECT_TRUE(StartsWith(game.roomdesc[4], "You are in what must be the UFO control room."));
    EXPECT_EQ(game.roomdesc[5], game.special[14]);

    EXPECT_EQ(game.roomproperty,
              (Lines{"xxx,1", "xxx,2", "xxx,3", "xxx,4", "xxx,5", "xxx,6", "xxx,7",
                     "s,1,south,1,w,3,hole,3,wall,3,west,3", "n,0,e,2,train,2,north,0,door,0",
                     "s,1,south,1,nw,3,northwest,3,cubicles,3",
                     "door,2,se,2,southeast,2,south,2,desk,0"}));
}

TEST(World, Objects) {
    NullAdventureHost host;
    Tgame game(host);
    EXPECT_EQ(game.objectname,
              (Lines{"Aliens", "Lever", "South", "Hallway", "East", "table", "consoles", "console",
                     "west", "wall", "north", "Strange Device"}));
    EXPECT_EQ(game.objloc, (Lines{"0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "5"}));
    EXPECT_EQ(game.ShowList, (Lines{"1", "1", "0", "0", "0", "1", "1", "0", "0", "0", "0", "1"}));
    ASSERT_EQ(game.objectdesc.size(), 12u);
    EXPECT_EQ(game.objectdesc[0], "The aliens look at you expectantly.");
    EXPECT_EQ(game.objectdesc[1],
              "The lever is in the up position. The door next to it looks thick and heavy.");
    EXPECT_EQ(game.objectdesc[2], game.objectdesc[1]);
    EXPECT_EQ(game.objectdesc[3], "The passageway heads into darkness, but you think you can "
                                  "faintly see that it ends at the junction of another passage.");
    EXPECT_EQ(game.objectdesc[4], game.objectdesc[3]);
    EXPECT_EQ(game.objectdesc[5], "The table is cold and hard.");
    EXPECT_EQ(game.objectdesc[6],
              "The consoles to the west flash with indecipherable text. You remember that one of "
              "them is a translator that Tobrik fixed several episodes ago.");
    EXPECT_EQ(game.objectdesc[7], game.objectdesc[6]);
    EXPECT_EQ(game.objectdesc[8], game.objectdesc[6]);
    EXPECT_EQ(game.objectdesc[9], "The north wall is completely blank.");
    EXPECT_EQ(game.objectdesc[10], game.objectdesc[9]);
    EXPECT_EQ(game.objectdesc[11], "The strange device looks a bit like a small barrel. There is "
                                   "a big red button on top, with some text written underneath.");
    EXPECT_TRUE(game.directions.empty());
    EXPECT_TRUE(game.parserbox.empty());
    EXPECT_TRUE(game.ondisk.empty());
    EXPECT_TRUE(game.ondiskpaths.empty());
}

TEST(StartAdventure, IntroOnlyOnTheFirstStart) {
    RecordingHost host;
    GameConsole console(host);
    Tgame& game = console.game();
    EXPECT_FALSE(game.gamestarted);
    game.gamestate = 3; // whatever came before the first start

    console.StartAdventure();
    EXPECT_TRUE(game.gamestarted);
    EXPECT_EQ(game.gamestate, 0);
    EXPECT_EQ(host.events, Lines{game.special[0]});
    EXPECT_EQ(host.panelShows, 1);

    console.Enter("lever");
    const Lines transcript = console.screenie();
    console.StartAdventure();
    EXPECT_EQ(console.screenie(), transcript);
    EXPECT_EQ(game.gamestate, 1);
    EXPECT_EQ(host.panelShows, 2);
}

TEST(DescribeRoom, ListsOnlyShownObjectsOfTheRoom) {
    Session s;
    EXPECT_EQ(s.Type("look"),
              (Lines{"", s.game().roomdesc[0], "Aliens", "Lever", "table", "consoles"}));
    // The aliens come along when the story moves.
    s.Type("hop on the lever");
    EXPECT_EQ(s.Type("look"), (Lines{"", s.game().roomdesc[1], "Aliens"}));
}

TEST(DescribeRoom, SkipWordToTheDeviceRoomShowsTheDevice) {
    Session s;
    s.game().gamestate = 4;
    EXPECT_EQ(s.Type("xxx"), (Lines{"", s.game().roomdesc[5], "Strange Device"}));
    EXPECT_EQ(s.game().gamestate, 5);
}

TEST(LookAt, FindsAnyObjectFromAnyRoomIgnoringCase) {
    Session s;
    s.game().gamestate = 3;
    EXPECT_EQ(s.Type("look lever"), (Lines{"", s.game().objectdesc[1]}));
    EXPECT_EQ(s.Type("LOOK AT THE TABLE"), (Lines{"", "The table is cold and hard."}));
    EXPECT_EQ(s.Type("l wall"), (Lines{"", "The north wall is completely blank."}));
    // No object of that name, and the two-word name can never be one word: nothing at all.
    EXPECT_EQ(s.Type("look device"), Lines{""});
    EXPECT_EQ(s.Type("look strange device"), Lines{""});
}

} // namespace
} // namespace kestrova
