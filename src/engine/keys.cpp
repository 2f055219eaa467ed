#include "engine/keys.h"

#include "base/code_page.h"
#include "engine/web_commands.h"

#include <array>
#include <string_view>
#include <utility>

namespace kestrova {

namespace {

constexpr const char* kPageA = "https://www.example.com/kestrova/tobrik-says-hi/";
constexpr const char* kPageB = "https://www.example.org/foxes/";
constexpr const char* kPageC = "https://music.example.net/artists/wobbleharpon/";
constexpr const char* kPageD = "https://www.example.com/kestrova/dustyowl/";

// In the order they are looked for.
constexpr std::array<std::pair<std::string_view, const char*>, 5> kPhrases{{
    {"tvOOmIk", kPageA},
    {"glimmeringfoxeswanderaway", kPageB},
    {"wobbleharpon", kPageC},
    {"QXVZ", kPageA},
    {"dustyowl", kPageD},
}};

} // namespace

const char* PhrasePage(const std::string& typed) {
    for (const auto& [phrase, page] : kPhrases) {
        if (typed.find(phrase) != std::string::npos) {
            return page;
        }
    }
    return nullptr;
}

void FormKeyDown(MainState& s, Ports& ports, int key, bool alt) {
    if (key == kKeyEnter && alt) {
        s.fullScreen = !s.fullScreen;
        ports.window->SetFullScreen(s.fullScreen);
    }
    s.altHeld = alt;
    if (key == kKeyUp && alt && ports.window->IsEditorStation()) {
        ports.window->OpenEditor();
    }
}

void FormKeyPress(MainState& s, const std::string& character) {
    // Kept in the disc's code page, like every text of the window, so the limit counts the
    // page's bytes; a character the page lacks is kept as '?'.
    for (const char c : EncodeText(character, s.source.Page())) {
        if (s.typedText.size() > kTypedTextLimit) {
            s.typedText.clear();
        }
        s.typedText += c;
        if (const char* page = PhrasePage(s.typedText)) {
            s.typedText.clear();
            RequestPage(s, page);
        }
    }
}

} // namespace kestrova
