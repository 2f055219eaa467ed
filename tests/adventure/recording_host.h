#pragma once
// A host that remembers everything the game asked of it, in order, and a small harness that
// plays typed lines through the console.

#include "adventure/console.h"

#include <string>
#include <vector>

namespace kestrova::test {

class RecordingHost : public AdventureHost {
  public:
    void AppendLine(const std::string& line) override { events.push_back(line); }
    void ShowMessage(const std::string& text) override {
        messages.push_back(text);
        events.push_back("[box] " + text);
    }
    void ShowGamePanel() override { ++panelShows; }
    void OpenWebPage(const std::string& address) override { pages.push_back(address); }

    std::vector<std::string> events; // transcript lines and message boxes as they happened
    std::vector<std::string> messages;
    std::vector<std::string> pages;
    int panelShows = 0;
};

// A started game in its console.
struct Session {
    Session() { console.StartAdventure(); }

    // Enters a line and returns what followed the echo: the blank line, answers, message boxes.
    std::vector<std::string> Type(const std::string& typed) {
        const size_t before = host.events.size();
        console.Enter(typed);
        return {host.events.begin() + static_cast<long>(before) + 1, host.events.end()};
    }

    // Plays lines without looking at the answers.
    void Play(std::initializer_list<const char*> lines) {
        for (const char* l : lines) {
            console.Enter(l);
        }
    }

    Tgame& game() { return console.game(); }

    RecordingHost host;
    GameConsole console{host};
};

} // namespace kestrova::test
