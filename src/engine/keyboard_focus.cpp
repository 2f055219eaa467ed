#include "engine/keyboard_focus.h"

#include "catalogue/disc_rules.h"
#include "engine/input.h"
#include "engine/menus.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdlib>

namespace kestrova {

namespace {

// Tab's order: as the zones are read, row by row.
constexpr std::array<const char*, 10> kZoneOrder{
    "demos",   "add-ons", "database",    "exit",        "utility",
    "support", "tobrik",  "*installnow", "*viewreadme", "*printreadme"};

bool ActionPicturesDrawn(const MainState& s) {
    return s.targetPanel != 0 && s.shownPanel != 0;
}

bool IsForwards(FocusMove move) {
    return move == FocusMove::Next || move == FocusMove::Down || move == FocusMove::Right;
}

std::pair<int, int> Centre(const Rect& r) {
    return {r.left + r.width / 2, r.top + r.height / 2};
}

// The top of menu line `line` and the height the box gives each line.
int LineTop(const MainState& s, int line) {
    return s.menuTop + line * MenuLineHeight();
}

bool Acts(const MenuChoice& choice) {
    switch (choice.action) {
    case ChoiceAction::StartProgram:
        return !choice.opens.empty();
    case ChoiceAction::OpenPage:
    case ChoiceAction::StartGame:
        return true;
    case ChoiceAction::Nothing:
        break;
    }
    return choice.panelStep && choice.panel.has_value();
}

// How far a zone's centre lies past `from`'s edge in the arrow's direction (along) and to the
// side of `from`'s centre (across); along is 0 or less for a zone that is not wholly that way.
struct Offset {
    int along = 0;
    int across = 0;
    bool inLine = false; // its centre lies within `from`'s extent across the direction
    bool sideways = false;
};

Offset OffsetOf(const Rect& from, const Rect& to, FocusMove move) {
    const auto [fx, fy] = Centre(from);
    const auto [x, y] = Centre(to);
    const bool sideways = move == FocusMove::Left || move == FocusMove::Right;
    Offset o;
    switch (move) {
    case FocusMove::Left:
        o.along = from.left - x;
        break;
    case FocusMove::Right:
        o.along = x - (from.left + from.width);
        break;
    case FocusMove::Up:
        o.along = from.top - y;
        break;
    case FocusMove::Down:
    case FocusMove::Next:
    case FocusMove::Previous:
        o.along = y - (from.top + from.height);
        break;
    }
    o.across = sideways ? y - fy : x - fx;
    o.sideways = sideways;
    o.inLine = sideways ? (y >= from.top && y <= from.top + from.height)
                        : (x >= from.left && x <= from.left + from.width);
    return o;
}

// The zone an arrow leads to: the nearest that way among those in line with `from` (the same
// row, or the same column). Left and Right keep to the row; Up and Down, failing a zone in the
// column, take the nearest with the distance to the side counted twice. Nothing at an edge.
std::optional<std::string> Neighbour(const MainState& s, const std::vector<std::string>& zones,
                                     const std::string& from, FocusMove move) {
    const Rect origin = HotZoneRect(s, from);
    std::optional<std::string> best;
    bool bestInLine = false;
    long bestScore = LONG_MAX;
    for (const std::string& key : zones) {
        if (key == from) {
            continue;
        }
        const Offset o = OffsetOf(origin, HotZoneRect(s, key), move);
        if (o.along <= 0 || (bestInLine && !o.inLine) || (o.sideways && !o.inLine)) {
            continue;
        }
        const long score = o.inLine ? o.along : o.along + 2L * std::abs(o.across);
        if ((o.inLine && !bestInLine) || score < bestScore) {
            best = key;
            bestInLine = o.inLine;
            bestScore = score;
        }
    }
    return best;
}

void MoveAmongLines(MainState& s, const std::vector<int>& lines, FocusMove move) {
    if (move == FocusMove::Left || move == FocusMove::Right) {
        // Sideways leaves the menu for the zone beside its button.
        const std::string button = s.menuKey;
        s.menuKey = "none";
        const auto next = Neighbour(s, FocusZones(s), button, move);
        FocusZone(s, next ? *next : button);
        return;
    }
    const auto at = std::find(lines.begin(), lines.end(), s.focus.line);
    if (s.focus.kind != FocusKind::Line || at == lines.end()) {
        FocusLine(s, IsForwards(move) ? lines.front() : lines.back());
        return;
    }
    const auto count = static_cast<long>(lines.size());
    const long index = (at - lines.begin() + (IsForwards(move) ? 1 : count - 1)) % count;
    FocusLine(s, lines[static_cast<std::size_t>(index)]);
}

void MoveAmongZones(MainState& s, FocusMove move) {
    const std::vector<std::string> zones = FocusZones(s);
    const auto at = std::find(zones.begin(), zones.end(), s.focus.zone);
    if (s.focus.kind != FocusKind::Zone || at == zones.end()) {
        FocusZone(s, IsForwards(move) ? zones.front() : zones.back());
        return;
    }
    if (move == FocusMove::Next || move == FocusMove::Previous) {
        const auto count = static_cast<long>(zones.size());
        const long index = (at - zones.begin() + (IsForwards(move) ? 1 : count - 1)) % count;
        FocusZone(s, zones[static_cast<std::size_t>(index)]);
        return;
    }
    const auto next = Neighbour(s, zones, *at, move);
    FocusZone(s, next ? *next : *at);
}

} // namespace

std::vector<std::string> FocusZones(const MainState& s) {
    std::vector<std::string> zones;
    for (const char* key : kZoneOrder) {
        if (key[0] == '*' && !ActionPicturesDrawn(s)) {
            continue;
        }
        zones.emplace_back(key);
    }
    return zones;
}

std::vector<int> ActingMenuLines(const MainState& s) {
    std::vector<int> lines;
    if (!HasMenu(s.menuKey)) {
        return lines;
    }
    const int count = std::min(static_cast<int>(s.menusource.size()), kMenuDestinations);
    for (int i = 0; i < count; ++i) {
        const std::string& caption = s.menusource[static_cast<std::size_t>(i)];
        if (Acts(ChooseCaption(s.source, s.menuKey, caption, s.spriteCount))) {
            lines.push_back(i);
        }
    }
    return lines;
}

void FocusZone(MainState& s, const std::string& key) {
    if (s.menuKey != "none" && s.menuKey != key) {
        s.menuKey = "none";
    }
    s.focus = {FocusKind::Zone, key, -1};
    const auto [x, y] = Centre(HotZoneRect(s, key));
    HoverAt(s, x, y);
    s.menuHover = -1;
}

void FocusLine(MainState& s, int line) {
    s.focus = {FocusKind::Line, {}, line};
    const auto [x, y] = *FocusPoint(s);
    HoverAt(s, x, y);
    s.menuHover = line;
}

void MoveFocus(MainState& s, FocusMove move) {
    const std::vector<int> lines = ActingMenuLines(s);
    if (!lines.empty()) {
        MoveAmongLines(s, lines, move);
    } else {
        MoveAmongZones(s, move);
    }
}

std::optional<std::pair<int, int>> FocusPoint(const MainState& s) {
    switch (s.focus.kind) {
    case FocusKind::None:
        break;
    case FocusKind::Zone:
        return Centre(HotZoneRect(s, s.focus.zone));
    case FocusKind::Line:
        return std::pair<int, int>{s.menuLeft + s.menuWidth / 2,
                                   LineTop(s, s.focus.line) + MenuLineHeight() / 2};
    }
    return std::nullopt;
}

bool MenuLinesOpen(const MainState& s) {
    return s.menusourceBounds.left != kMenuLinesAwayLeft;
}

std::optional<Rect> FocusRingRect(const MainState& s) {
    switch (s.focus.kind) {
    case FocusKind::None:
        break;
    case FocusKind::Zone: {
        // The pointer's rectangles take their right and bottom edges in.
        const Rect r = HotZoneRect(s, s.focus.zone);
        return Rect{r.left, r.top, r.width + 1, r.height + 1};
    }
    case FocusKind::Line:
        if (!HasMenu(s.menuKey) || !MenuLinesOpen(s)) {
            break;
        }
        // A pixel above and below the line, clear of its letters.
        return Rect{s.menuLeft + 2, LineTop(s, s.focus.line) - 1, s.menuWidth - 4,
                    MenuLineHeight() + 2};
    }
    return std::nullopt;
}

} // namespace kestrova
