#pragma once
// The adventure's world: the lists of the game window `Tgame` (story texts, rooms, exits and
// objects), the story state, and the routines that start the game, describe what the player sees
// and interpret the player's commands. Everything it shows goes through its AdventureHost.

#include "adventure/adventure_host.h"

#include <string>
#include <vector>

namespace kestrova {

// Address of the page the hidden phrase opens in the web pane.
inline constexpr const char* kCandlePageAddress = "http://www.example.com/tobrik/candle.html";

inline constexpr const char* kGameOverText = "GAME OVER";
inline constexpr const char* kEndOfPartOneText =
    "This concludes PART ONE of TOBRIK'S SPACE ADVENTURE. The interactive saga continues on "
    "next month's disk!";

class Tgame {
  public:
    explicit Tgame(AdventureHost& host);

    // Shows the game; the first call of a run also puts the game in state 0 and tells the intro.
    void StartAdventure();
    // The current room's description and the listed objects in it.
    void DescribeRoom();
    // word: one word or empty (the room). Finds any object wherever it is.
    void LookAt(const std::string& word);
    // Interprets the command line and empties it. The text is taken as typed: not trimmed.
    void ParseCommand(std::string& lineinput);

    // Story state and room number at once (0 to 5 in play).
    int gamestate = 0;
    bool gamestarted = false;

    // The world, indexed from 0. Only the aliens' entries of objloc and objectdesc change.
    std::vector<std::string> special;      // story texts, one paragraph each
    std::vector<std::string> roomdesc;     // one description per room 0 to 5
    std::vector<std::string> roomproperty; // per room: exit word, destination, exit word, ...
    std::vector<std::string> objectname;   // the four object lists run in parallel
    std::vector<std::string> objectdesc;
    std::vector<std::string> objloc;   // room number as decimal text
    std::vector<std::string> ShowList; // "1" when the room description lists the object

    // Working lists of the command being parsed.
    std::vector<std::string> directions;
    std::vector<std::string> parserbox;

    // Disc items for "list" and "launch". Nothing fills them in this program.
    std::vector<std::string> ondisk;
    std::vector<std::string> ondiskpaths;

  private:
    void Append(const std::string& line) { host_.AppendLine(line); }
    void AppendSpecial(size_t entry);
    void MoveStory(int state, std::string& line);
    void GameOver();
    void EndOfPartOne();
    bool StoryRules(std::string& line, bool& quiet, std::string& reply);
    void ListCatalogue(char kind);

    AdventureHost& host_;
};

// The design-time contents of the lists, in order.
std::vector<std::string> InitialSpecial();
std::vector<std::string> InitialRoomdesc();
std::vector<std::string> InitialRoomproperty();

} // namespace kestrova
