#pragma once
// What the game needs from the window (or terminal) around it. The game never draws, never
// hides its panel and never clears its transcript, so this is all it asks for.

#include <string>

namespace kestrova {

class AdventureHost {
  public:
    virtual ~AdventureHost() = default;
    // One line at the end of the transcript `screenie`; a story text is one (long) line.
    virtual void AppendLine(const std::string& line) = 0;
    // A modal message box ("GAME OVER", the end of part one); play goes on once it returns.
    virtual void ShowMessage(const std::string& text) = 0;
    // Moves `gamepanel` to the left edge and makes it visible. Must not move the keyboard focus.
    virtual void ShowGamePanel() = 0;
    // Asks the main window to load the page into its web pane.
    virtual void OpenWebPage(const std::string& address) = 0;
};

// For tests and headless runs that only look at the game's own state.
class NullAdventureHost final : public AdventureHost {
  public:
    void AppendLine(const std::string&) override {}
    void ShowMessage(const std::string&) override {}
    void ShowGamePanel() override {}
    void OpenWebPage(const std::string&) override {}
};

} // namespace kestrova
