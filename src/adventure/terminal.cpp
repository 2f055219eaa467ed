#include "adventure/terminal.h"

#include "adventure/console.h"

#include <string>

namespace kestrova {

namespace {

class TerminalHost final : public AdventureHost {
  public:
    explicit TerminalHost(std::ostream& out) : out_(out) {}
    void AppendLine(const std::string& line) override { out_ << line << '\n'; }
    void ShowMessage(const std::string& text) override { out_ << text << '\n'; }
    void ShowGamePanel() override {}
    void OpenWebPage(const std::string& address) override { out_ << address << '\n'; }

  private:
    std::ostream& out_;
};

} // namespace

int RunTerminalAdventure(std::istream& in, std::ostream& out) {
    TerminalHost host(out);
    GameConsole console(host);
    for (const std::string& line : console.screenie()) {
        out << line << '\n';
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
