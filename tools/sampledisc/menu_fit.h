#pragma once
// The drop-down menus as the front end draws them: every caption must fit the box its menu
// unrolls in, measured in the front end's own menu font.

#include <string>
#include <vector>

namespace kestrova::sampledisc {

struct MenuOverflow {
    std::string section; // the section key ("add-ons")
    std::string caption;
    int width = 0; // pixels the caption needs
    int room = 0;  // pixels the box leaves it
};

// The captions of the disc data `lines` that run out of their menu's box.
std::vector<MenuOverflow> MenuOverflows(const std::vector<std::string>& lines);

} // namespace kestrova::sampledisc
