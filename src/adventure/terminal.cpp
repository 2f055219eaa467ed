#include "adventure/terminal.h"

#include "adventure/console.h"
#include "base/terminal_text.h"

#include <string>

namespace kestrova {

namespace {

class TerminalHost final : public AdventureHost {
  public:
    TerminalHost(std::ostream& out, size_t width) : out_(out), width_(width) {}
    void AppendLine(const std::string& line) override {
        if (skipEcho_) {
            skipEcho_ = false; // the console echoes a command first, before its reply
            return;
        }
        Print(line);
    }
    void ShowMessage(const std::string& text) override { Print(text); }
    void ShowGamePanel() override {}
    void OpenWebPage(const std::string& address) override { Print(address); }

    // Lines echo what was typed, which may be a file piped in: its control characters are
    // shown, never sent to the terminal.
    void Print(const std::string& text) {
        for (const std::string& line : WrapWords(TerminalSafe(text), width_)) {
            out_ << line << '\n';
        }
    }

    // The next line is the console's echo of a command the terminal has shown already.
    void SkipEcho() { skipEcho_ = true; }

  private:
    std::ostream& out_;
    size_t width_;
    bool skipEcho_ = false;
};

} // namespace

int RunTerminalAdventure(std::istream& in, std::ostream& out, const TerminalOptions& options) {
    TerminalHost host(out, options.width);
    GameConsole console(host);
    for (const std::string& line : console.screenie()) {
        host.Print(line);
    }
    console.StartAdventure();
    std::string typed;
    while ((out << options.prompt).flush() && std::getline(in, typed)) {
        // A pipe from a Windows editor may end lines with CR; the player never typed it.
        if (!typed.empty() && typed.back() == '\r') {
            typed.pop_back();
        }
        if (!options.echoCommands) {
            host.SkipEcho();
        }
        console.Enter(typed);
    }
    if (!options.prompt.empty()) {
        out << '\n';
    }
    return 0;
}

} // namespace kestrova
