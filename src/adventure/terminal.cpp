#include "adventure/terminal.h"

#include "adventure/console.h"
#include "catalogue/terminal_text.h"

#include <string>

namespace kestrova {

namespace {

class TerminalHost final : public AdventureHost {
  public:
    explicit TerminalHost(std::ostream& out) : out_(out) {}
    // Lines echo what was typed, which may be a file piped in: its control characters are
    // shown, never sent to the terminal.
    void AppendLine(const std::string& line) override { out_ << TerminalSafe(line) << '\n'; }
    void ShowMessage(const std::string& text) override { out_ << TerminalSafe(text) << '\n'; }
    void ShowGamePanel() override {}
    void OpenWebPage(const std::string& address) override { out_ << TerminalSafe(address) << '\n'; }

  private:
    std::ostream& out_;
};

} // namespace

int RunTerminalAdventure(std::istream& in, std::ostream& out) {
    TerminalHost host(out);
    GameConsole console(host);
    for (const std::string& line : console.screenie()) {
        out << TerminalSafe(line) << '\n';
    }
    console.StartAdventure();
    out.flush();
    std::string typed;
    while (std::getline(in, typed)) {
        // A pipe from a Windows editor may end lines with CR; the player never typed it.
        if (!typed.empty() && typed.back() == '\r') {
            typed.pop_back();
        }
        console.Enter(typed);
        out.flush();
    }
    return 0;
}

} // namespace kestrova
