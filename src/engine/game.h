#pragma once
// The mascot's adventure inside the front end. Its console keeps the transcript and plays the
// lines; what it shows goes to the game panel, its message boxes to the window's message port,
// and the page its hidden command asks for through the one page channel of the front end.

#include "adventure/adventure_host.h"
#include "adventure/console.h"
#include "engine/main_state.h"
#include "engine/ports.h"

#include <string>

namespace kestrova {

class FrontEndGame final : private AdventureHost {
  public:
    // Shows the opening transcript on the game panel at once.
    FrontEndGame(MainState& state, Ports& ports);
    FrontEndGame(const FrontEndGame&) = delete;
    FrontEndGame& operator=(const FrontEndGame&) = delete;

    // The menu's game entry: the panel comes to the left edge; the first time also the intro.
    // The command line takes the keyboard, so the reader can type at once.
    void StartAdventure() {
        console_.StartAdventure();
        ports_.game->FocusCommandLine();
    }

    // A key came up in the command line holding `typed`. Enter echoes the line and plays it;
    // returns the command line's text afterwards.
    std::string lineinputKeyUp(int key, const std::string& typed);

    const GameConsole& Console() const { return console_; }

  private:
    void AppendLine(const std::string& line) override;
    void ShowMessage(const std::string& text) override;
    void ShowGamePanel() override;
    void OpenWebPage(const std::string& address) override;

    MainState& state_;
    Ports& ports_;
    GameConsole console_;
};

} // namespace kestrova
