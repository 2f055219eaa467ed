// ParseCommand: the story rules of the current state first, then a small grammar of "look",
// movement through the room's exit list and a default answer.

#include "adventure/text_helpers.h"
#include "adventure/world.h"

#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace kestrova {

namespace {

const char* const kSorry = "Sorry? ";
const char* const kNotFound = "Sorry that item was not found.";
const char* const kCantGo = "You can't go that way.";

template <size_t N> bool OneOf(const std::string& line, const std::string_view (&phrases)[N]) {
    for (std::string_view p : phrases) {
        if (line == p) {
            return true;
        }
    }
    return false;
}

const std::string_view kTalkAliens0[] = {"talk aliens",     "talk to aliens", "talk to the aliens",
                                         "speak to aliens", "speak aliens",   "speak with aliens"};
const std::string_view kEast0[] = {"go east", "e",       "east",      "hall",
                                   "go hall", "hallway", "go hallway"};
const std::string_view kPullLever[] = {"pull on the lever", "pull the lever", "pull lever",
                                       "push lever", "grab lever"};
const std::string_view kHopLever[] = {"hop on the lever", "lever", "hop lever", "hop on lever",
                                      "use lever"};
const std::string_view kSouth[] = {"go south", "s", "south"};
const std::string_view kWest0[] = {
    "go west",        "w", "west", "console", "go console", "use console", "go to the console",
    "use the console"};
const std::string_view kNorth[] = {"go north", "n", "north"};

const std::string_view kAirlockDeath[] = {"go west", "w",        "west", "go north", "n",
                                          "north",   "go south", "s",    "south"};
const std::string_view kEast1[] = {
    "go east",           "e",      "east", "go hallway", "hallway", "hall", "go down hallway",
    "go to the hallway", "go hall"};

const std::string_view kTurnKnob[] = {"pull knob",     "turn knob",  "pull the knob",
                                      "grab the knob", "twist knob", "turn the knob",
                                      "twist the knob"};
const std::string_view kAskAliens[] = {"talk aliens",        "hop aliens",
                                       "talk to aliens",     "ask aliens for help",
                                       "talk to the aliens", "ask the aliens for help"};

const std::string_view kReadDevice[] = {"read device",
                                        "read text",
                                        "examine text",
                                        "read the text",
                                        "read the text on the device",
                                        "examine the device"};
const std::string_view kPressButton[] = {
    "press button",     "push button",     "press the button",     "push the button",
    "press red button", "push red button", "press the red button", "push the red button"};
const std::string_view kHopButton[] = {"hop button",
                                       "hop red button",
                                       "hop on the button",
                                       "hop on the red button",
                                       "hop on the red button instead",
                                       "jump red button",
                                       "leap on the red button",
                                       "jump on the red button"};
// Left to the look step in the device room, where every other line ends the game.
const std::string_view kLooks5[] = {"look", "l", "look room", "look device"};

const std::string_view kShortDirections[] = {"e", "w", "s", "n", "nw", "ne", "sw", "se"};

std::optional<std::string> ShortDirection(const std::string& word) {
    static const std::pair<std::string_view, const char*> kNames[] = {
        {"east", "e"},       {"north", "n"},      {"south", "s"},      {"west", "w"},
        {"northwest", "nw"}, {"northeast", "ne"}, {"southwest", "sw"}, {"southeast", "se"}};
    for (const auto& [name, abbrev] : kNames) {
        if (word == name) {
            return std::string(abbrev);
        }
    }
    return std::nullopt;
}

} // namespace

void Tgame::ParseCommand(std::string& lineinput) {
    // 1. A fresh pass: the answer is "Sorry? " unless a rule says otherwise.
    parserbox.clear();
    Append("");
    directions.clear();
    std::string reply = kSorry;
    bool handled = false;
    bool quiet = true;
    std::string verb;
    std::string noun;

    // 2. Matched in lower case, untrimmed.
    std::string line = LowerAscii(lineinput);

    // 3. The hidden phrase.
    if (line == "i need to find a candle") {
        handled = true;
        host_.OpenWebPage(kCandlePageAddress);
    }

    // 4. Catalogue listings.
    if (line == "list demos") {
        handled = true;
        quiet = true;
        ListCatalogue('D');
    }
    if (line == "list utilities" || line == "list addons" || line == "list add-ons") {
        handled = true;
        quiet = true;
        ListCatalogue('U');
    }
    if (line == "list all" || line == "list" || line == "list contents") {
        handled = true;
        quiet = true;
        ListCatalogue('\0');
    }

    // 5. The current room's exits.
    if (gamestate >= 0 && static_cast<size_t>(gamestate) < roomproperty.size()) {
        directions = SplitCommaText(roomproperty[static_cast<size_t>(gamestate)]);
    }

    // 6, 7. Words; the noun is the last word, so "look at the lever" looks at the lever.
    parserbox = SplitWords(line);
    if (parserbox.size() >= 2) {
        noun = parserbox.back();
    }
    if (!parserbox.empty()) {
        verb = parserbox.front();
    }

    // 8. "launch N" names a disc item by its listed number; anything else is not an item.
    if (verb == "launch") {
        const std::optional<int> n = ParseWholeNumber(noun);
        if (!n || *n < 1 || static_cast<size_t>(*n) > ondiskpaths.size()) {
            reply = kNotFound;
        } else {
            handled = true;
            host_.ShowMessage(ondiskpaths[static_cast<size_t>(*n - 1)]);
        }
        noun.clear();
    }

    // 9. The story.
    if (StoryRules(line, quiet, reply)) {
        handled = true;
    }

    // 10. Look, or let the pending answer be printed.
    if (!handled && (verb == "look" || verb == "l")) {
        LookAt(noun);
    } else if (!handled) {
        quiet = false;
    }

    // 11. Direction words become "go" with the short direction.
    if (OneOf(verb, kShortDirections)) {
        noun = verb;
        verb = "go";
    }
    if (const auto abbrev = ShortDirection(verb)) {
        verb = "go";
        noun = *abbrev;
    }
    if (const auto abbrev = ShortDirection(noun)) {
        noun = *abbrev;
    }
    if (IndexOfText(directions, verb) >= 0) {
        noun = verb;
        verb = "go";
    }

    // 12. Go. The exit list alternates exit word and destination; a word with no number after it
    // (a destination typed as if it were an exit) leads nowhere.
    if (!handled && verb == "go") {
        quiet = true;
        const int at = IndexOfText(directions, noun);
        std::optional<int> destination;
        if (at >= 0 && static_cast<size_t>(at) + 1 < directions.size()) {
            destination = ParseWholeNumber(directions[static_cast<size_t>(at) + 1]);
        }
        if (destination) {
            gamestate = *destination;
            DescribeRoom();
        } else {
            Append(kCantGo);
        }
    }

    // 13, 14.
    if (!quiet) {
        Append(reply);
    }
    lineinput.clear();
}

// The rule blocks of the states in order, each tested on the state at that moment. Returns true
// when a rule took the line; a no-hands rule only sets the answer.
bool Tgame::StoryRules(std::string& line, bool& quiet, std::string& reply) {
    bool handled = false;
    auto story = [&](size_t entry) {
        handled = true;
        quiet = true;
        AppendSpecial(entry);
    };
    auto noHands = [&](const char* text) {
        quiet = false;
        reply = text;
    };
    // The device room's last rule ends the game on any line, so it must only ever judge a line
    // the player typed there, never the emptied line of the move that led in.
    const bool typedInDeviceRoom = gamestate == 5;

    if (gamestate == 0) {
        if (OneOf(line, kTalkAliens0)) {
            story(1);
            if (!objectdesc.empty()) {
                objectdesc[0] = "The aliens are gesturing and looking around wildly.";
            }
        }
        if (OneOf(line, kEast0)) {
            story(2);
        }
        if (OneOf(line, kPullLever)) {
            noHands("You can't pull the lever. You have no hands!");
        }
        if (OneOf(line, kHopLever)) {
            story(3);
            MoveStory(1, line);
        }
        if (OneOf(line, kSouth)) {
            story(4);
        }
        if (OneOf(line, kWest0)) {
            story(5);
        }
        if (OneOf(line, kNorth)) {
            story(6);
        }
    }
    if (gamestate == 1) {
        if (OneOf(line, kAirlockDeath)) {
            story(7);
            GameOver();
        }
        if (OneOf(line, kEast1)) {
            MoveStory(2, line);
            if (!objectdesc.empty()) {
                objectdesc[0] = "The aliens are babbling incoherently, apparently terrified.";
            }
            story(8);
        }
    }
    if (gamestate == 2) {
        if (OneOf(line, kTurnKnob)) {
            noHands("You can't turn the knob -- you have no hands!");
        }
        if (OneOf(line, kNorth)) {
            story(9);
            GameOver();
        }
        if (OneOf(line, kSouth)) {
            story(10);
            GameOver();
        }
        if (OneOf(line, kAskAliens)) {
            story(11);
            MoveStory(3, line);
        }
    }
    if (gamestate == 3) {
        if (OneOf(line, kSouth)) {
            story(12);
        }
        if (OneOf(line, kNorth)) {
            story(13);
            MoveStory(4, line);
        }
    }
    if (gamestate == 4) {
        if (OneOf(line, kAskAliens)) {
            story(14);
        }
        if (OneOf(line, kSouth)) {
            story(15);
            MoveStory(5, line);
        }
    }
    if (gamestate == 5 && typedInDeviceRoom) {
        if (OneOf(line, kReadDevice)) {
            story(16);
        } else if (OneOf(line, kPressButton)) {
            noHands("You can't press the button -- you have no hands!  (Maybe you should hop on it "
                    "instead.)");
        } else if (OneOf(line, kHopButton)) {
            story(17);
            EndOfPartOne();
        } else if (!OneOf(line, kLooks5)) {
            story(17);
            GameOver();
        }
    }
    return handled;
}

// A story transition: the aliens come along, and the rules of the new state see an empty line.
void Tgame::MoveStory(int state, std::string& line) {
    gamestate = state;
    if (!objloc.empty()) {
        objloc[0] = std::to_string(state);
    }
    line.clear();
}

void Tgame::GameOver() {
    host_.ShowMessage(kGameOverText);
    StartAdventure();
}

void Tgame::EndOfPartOne() {
    host_.ShowMessage(kEndOfPartOneText);
    StartAdventure();
}

void Tgame::ListCatalogue(char kind) {
    if (ondisk.size() < 2) {
        return;
    }
    for (size_t i = 0; i < ondisk.size(); ++i) {
        const std::string& item = ondisk[i];
        if (kind == '\0' || (item.size() >= 2 && item[1] == kind)) {
            Append(std::to_string(i + 1) + ". " + item);
        }
    }
}

} // namespace kestrova
