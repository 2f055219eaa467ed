#include "engine/readme.h"

namespace kestrova {

std::string ReadmePath(const MainState& s, int entry) {
    const long long line = static_cast<long long>(s.source.IndexOf(BeginKey(entry))) + 8;
    const std::string name = line >= 0 && line < s.source.Count() ? s.source.Get(line) : "";
    return "databases/" + name;
}

void ViewReadme(MainState& s, Ports& ports) {
    ports.readme->Clear();
    s.menuKey = "*viewreadme";
    if (ports.readme->LoadFromFile(ReadmePath(s, s.shownPanel))) {
        ports.readme->SetVisible(true);
    }
}

void PrintReadme(MainState& s, Ports& ports) {
    s.menuKey = "*printreadme";
    ports.readme->Clear();
    const std::string path = ReadmePath(s, s.shownPanel);
    if (ports.readme->LoadFromFile(path)) {
        ports.readme->Print(path);
        ports.readme->SetVisible(true);
    }
}

} // namespace kestrova
