#include "engine/readme.h"

#include "catalogue/disc_rules.h"

namespace kestrova {

std::string ReadmePath(const MainState& s, int entry) {
    return EntryReadmePath(s.source, entry);
}

void ViewReadme(MainState& s, Ports& ports) {
    ports.readme->Clear();
    s.menuKey = "*viewreadme";
    if (ports.readme->LoadFromFile(ReadmePath(s, s.shownPanel), s.source.Page())) {
        ports.readme->SetVisible(true);
    }
}

void PrintReadme(MainState& s, Ports& ports) {
    s.menuKey = "*printreadme";
    ports.readme->Clear();
    const std::string path = ReadmePath(s, s.shownPanel);
    if (ports.readme->LoadFromFile(path, s.source.Page())) {
        ports.readme->Print(s.source.Shown(path));
        ports.readme->SetVisible(true);
    }
}

} // namespace kestrova
