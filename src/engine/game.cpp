#include "engine/game.h"

#include "engine/web_commands.h"

namespace kestrova {

FrontEndGame::FrontEndGame(MainState& state, Ports& ports)
    : state_(state), ports_(ports), console_(*this) {
    ports_.game->ShowTranscript(console_.screenie());
}

std::string FrontEndGame::lineinputKeyUp(int key, const std::string& typed) {
    if (key != kEnterKey) {
        return typed;
    }
    console_.lineinput = typed;
    console_.lineinputKeyUp(key);
    return console_.lineinput;
}

void FrontEndGame::AppendLine(const std::string& line) {
    ports_.game->AppendLine(line);
}

void FrontEndGame::ShowMessage(const std::string& text) {
    ports_.messages->ShowMessage(text);
}

void FrontEndGame::ShowGamePanel() {
    ports_.game->ShowPanel();
}

void FrontEndGame::OpenWebPage(const std::string& address) {
    RequestPage(state_, address);
}

} // namespace kestrova
