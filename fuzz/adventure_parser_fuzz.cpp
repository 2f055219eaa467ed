// Plays the input, one command per line, in a fresh game.
#include "adventure/world.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    kestrova::NullAdventureHost host;
    kestrova::Tgame game(host);
    game.StartAdventure();
    const std::string input(reinterpret_cast<const char*>(data), size);
    size_t start = 0;
    while (start <= input.size()) {
        size_t end = input.find('\n', start);
        if (end == std::string::npos) {
            end = input.size();
        }
        std::string line = input.substr(start, end - start);
        game.ParseCommand(line);
        // Only the story and the exits of rooms 0 to 4 move the game, so it stays in rooms 0 to 5
        // and the command line is always emptied.
        if (game.gamestate < 0 || game.gamestate > 5 || !line.empty()) {
            std::abort();
        }
        start = end + 1;
    }
    return 0;
}
