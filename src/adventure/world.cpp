#include "adventure/world.h"

#include "adventure/text_helpers.h"

namespace kestrova {

namespace {

const char* const kLeverText =
    "The lever is in the up position. The door next to it looks thick and heavy.";
const char* const kHallwayText = "The passageway heads into darkness, but you think you can "
                                 "faintly see that it ends at the junction of another passage.";
const char* const kConsolesText =
    "The consoles to the west flash with indecipherable text. You remember that one of them is a "
    "translator that Tobrik fixed several episodes ago.";
const char* const kWallText = "The north wall is completely blank.";

} // namespace

Tgame::Tgame(AdventureHost& host)
    : special(InitialSpecial()), roomdesc(InitialRoomdesc()), roomproperty(InitialRoomproperty()),
      objectname({"Aliens", "Lever", "South", "Hallway", "East", "table", "consoles", "console",
                  "west", "wall", "north", "Strange Device"}),
      objectdesc({"The aliens look at you expectantly.", kLeverText, kLeverText, kHallwayText,
                  kHallwayText, "The table is cold and hard.", kConsolesText, kConsolesText,
                  kConsolesText, kWallText, kWallText,
                  "The strange device looks a bit like a small barrel. There is a big red button "
                  "on top, with some text written underneath."}),
      objloc({"0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "5"}),
      ShowList({"1", "1", "0", "0", "0", "1", "1", "0", "0", "0", "0", "1"}), host_(host) {}

void Tgame::StartAdventure() {
    if (!gamestarted) {
        gamestate = 0;
        AppendSpecial(0);
    }
    host_.ShowGamePanel();
    gamestarted = true;
}

void Tgame::DescribeRoom() {
    // Rooms past the last description are never reached in play; show nothing rather than fail.
    if (gamestate >= 0 && static_cast<size_t>(gamestate) < roomdesc.size()) {
        Append(roomdesc[static_cast<size_t>(gamestate)]);
    }
    const std::string here = std::to_string(gamestate);
    for (size_t i = 0; i < objectname.size(); ++i) {
        if (i < objloc.size() && i < ShowList.size() && objloc[i] == here && ShowList[i] == "1") {
            Append(objectname[i]);
        }
    }
}

void Tgame::LookAt(const std::string& word) {
    if (word.empty()) {
        DescribeRoom();
        return;
    }
    const int i = IndexOfText(objectname, word);
    if (i >= 0 && static_cast<size_t>(i) < objectdesc.size()) {
        Append(objectdesc[static_cast<size_t>(i)]);
    }
}

void Tgame::AppendSpecial(size_t entry) {
    if (entry < special.size()) {
        Append(special[entry]);
    }
}

} // namespace kestrova
