#pragma once
// What a disc's texts say about its demos: how many there are ("10 DEMOS", "Nine more demos")
// and which ones they name, so that the linter can hold them to the demos the disc holds.

#include <string>
#include <string_view>
#include <vector>

namespace kestrova {

struct DemoCountClaim {
    int count = 0;
    bool more = false;  // "nine more demos": besides one the text has named already
    std::string phrase; // as written, for the message
};

// Every "<number> [word] demo(s)" in `text`, the number in digits or in words from one to twenty,
// letter case ignored. The word between may be "more", "other" or "extra" (the count is then of
// the demos besides one) or a word that only describes them ("new", "playable", "game", ...).
std::vector<DemoCountClaim> DemoCountClaims(std::string_view text);

// Whether `text` holds `name` as whole words, letter case ignored.
bool NamesAsWords(std::string_view text, std::string_view name);

// The folder of a path of the disc ("Demos/Helix" for "Demos\Helix\setup.exe"), "/" separated
// and lower case; empty for a file of the disc root.
std::string FolderOf(std::string_view path);

} // namespace kestrova
