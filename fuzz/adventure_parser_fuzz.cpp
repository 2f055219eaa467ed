// Plays the input, one command per line, in a fresh game, and checks that the game only ever says
// its own texts, opens its one page, and grows nothing: the world's lists keep their sizes and a
// command answers with a handful of lines at most.
#include "adventure/world.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

namespace {

class WatchingHost final : public kestrova::AdventureHost {
  public:
    void AppendLine(const std::string& line) override { lines.push_back(line); }
    void ShowMessage(const std::string& text) override {
        if (text != kestrova::kGameOverText && text != kestrova::kEndOfPartOneText) {
            std::abort();
        }
    }
    void ShowGamePanel() override {}
    void OpenWebPage(const std::string& address) override {
        if (address != kestrova::kCandlePageAddress) {
            std::abort();
        }
    }
    std::vector<std::string> lines;
};

void Add(std::set<std::string>& known, const std::vector<std::string>& list) {
    known.insert(list.begin(), list.end());
}

// The game's answers: its lists, as they are now, and the parser's few fixed replies.
bool IsGameText(const kestrova::Tgame& game, const std::set<std::string>& fixed,
                const std::string& line) {
    if (fixed.count(line) != 0) {
        return true;
    }
    // The replies that tell the mascot he has no hands for that.
    if (line.rfind("You can't ", 0) == 0 && line.find("no hands!") != std::string::npos) {
        return true;
    }
    for (const auto* list : {&game.special, &game.roomdesc, &game.objectname, &game.objectdesc}) {
        for (const std::string& text : *list) {
            if (text == line) {
                return true;
            }
        }
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    WatchingHost host;
    kestrova::Tgame game(host);
    game.StartAdventure();
    std::set<std::string> fixed = {"", "Sorry? ", "Sorry that item was not found.",
                                   "You can't go that way."};
    // A description may change by the command that shows it.
    Add(fixed, game.objectdesc);
    const size_t objects = game.objectname.size();
    const size_t special = game.special.size();
    const size_t rooms = game.roomdesc.size();
    const std::string input(reinterpret_cast<const char*>(data), size);
    size_t start = 0;
    while (start <= input.size()) {
        size_t end = input.find('\n', start);
        if (end == std::string::npos) {
            end = input.size();
        }
        std::string line = input.substr(start, end - start);
        host.lines.clear();
        game.ParseCommand(line);
        // Only the story and the exits of rooms 0 to 4 move the game, so it stays in rooms 0 to 5
        // and the command line is always emptied.
        if (game.gamestate < 0 || game.gamestate > 5 || !line.empty()) {
            std::abort();
        }
        if (host.lines.size() > 16 || game.objectname.size() != objects ||
            game.objectdesc.size() != objects || game.objloc.size() != objects ||
            game.special.size() != special || game.roomdesc.size() != rooms ||
            game.directions.size() > 64 || game.parserbox.size() > end - start + 1) {
            std::abort();
        }
        for (const std::string& said : host.lines) {
            if (!IsGameText(game, fixed, said)) {
                std::fprintf(stderr, "not a text of the game: \"%s\"\n", said.c_str());
                std::abort();
            }
        }
        start = end + 1;
    }
    return 0;
}
