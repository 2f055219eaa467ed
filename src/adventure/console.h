#pragma once
// The game console without widgets: the transcript `screenie`, the command line `lineinput` and
// what Enter does with it. The window's game panel and the terminal mode both play through it; it
// keeps the transcript and passes every line, message box and request on to its host.

#include "adventure/adventure_host.h"
#include "adventure/world.h"

#include <string>
#include <vector>

namespace kestrova {

// Key code of Enter as the key-release handlers receive it.
inline constexpr int kEnterKey = 13;

class GameConsole {
  public:
    // host: the window or terminal that shows lines, message boxes and pages. It must outlive
    // the console.
    explicit GameConsole(AdventureHost& host);
    GameConsole(const GameConsole&) = delete;
    GameConsole& operator=(const GameConsole&) = delete;

    // The transcript before anything is played: a few empty lines, the banner, empty lines.
    static std::vector<std::string> OpeningLines();

    Tgame& game() { return game_; }
    const Tgame& game() const { return game_; }
    const std::vector<std::string>& screenie() const { return lines_; }

    void StartAdventure() { game_.StartAdventure(); }

    // Key released in the command line: Enter echoes ">> " and the line as typed, then parses
    // it (which empties the line). Returns whether the key acted.
    bool lineinputKeyUp(int key);

    // Types a whole line and presses Enter, as a player does.
    void Enter(const std::string& typed);

    // The command line's text; the window copies its edit's text here before Enter.
    std::string lineinput;

  private:
    // Keeps every appended line in the transcript before the host shows it.
    class Recorder final : public AdventureHost {
      public:
        Recorder(std::vector<std::string>& lines, AdventureHost& outer)
            : lines_(lines), outer_(outer) {}
        void AppendLine(const std::string& line) override;
        void ShowMessage(const std::string& text) override { outer_.ShowMessage(text); }
        void ShowGamePanel() override { outer_.ShowGamePanel(); }
        void OpenWebPage(const std::string& address) override { outer_.OpenWebPage(address); }

      private:
        std::vector<std::string>& lines_;
        AdventureHost& outer_;
    };

    std::vector<std::string> lines_;
    Recorder recorder_;
    Tgame game_;
};

} // namespace kestrova
