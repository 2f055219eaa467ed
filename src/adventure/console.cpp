#include "adventure/console.h"

namespace kestrova {

GameConsole::GameConsole(AdventureHost& host)
    : lines_(OpeningLines()), recorder_(lines_, host), game_(recorder_) {}

std::vector<std::string> GameConsole::OpeningLines() {
    return {"", "", "", "Tobrik Adventure", "", ""};
}

void GameConsole::Recorder::AppendLine(const std::string& line) {
    lines_.push_back(line);
    outer_.AppendLine(line);
}

bool GameConsole::lineinputKeyUp(int key) {
    if (key != kEnterKey) {
        return false;
    }
    recorder_.AppendLine(">> " + lineinput);
    game_.ParseCommand(lineinput);
    return true;
}

void GameConsole::Enter(const std::string& typed) {
    lineinput = typed;
    lineinputKeyUp(kEnterKey);
}

} // namespace kestrova
