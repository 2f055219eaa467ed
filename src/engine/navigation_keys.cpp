#include "engine/navigation_keys.h"

#include "catalogue/disc_layout.h"
#include "engine/keyboard_focus.h"
#include "engine/web_pane_capture.h"

namespace kestrova {

namespace {

bool PaneShowing(const MainState& s, const Ports& ports) {
    return ports.web && PaneOnScreen(*ports.web) && !s.pageSliding;
}

// Alt+Left anywhere, Backspace where nothing is being typed.
bool GoBack(const MainState& s, Ports& ports) {
    if (!PaneShowing(s, ports)) {
        return false;
    }
    ports.web->Back();
    return true;
}

std::optional<FocusMove> MoveFor(NavigationKey key) {
    switch (key) {
    case NavigationKey::Tab:
        return FocusMove::Next;
    case NavigationKey::BackTab:
        return FocusMove::Previous;
    case NavigationKey::Left:
        return FocusMove::Left;
    case NavigationKey::Right:
        return FocusMove::Right;
    case NavigationKey::Up:
        return FocusMove::Up;
    case NavigationKey::Down:
        return FocusMove::Down;
    default:
        return std::nullopt;
    }
}

} // namespace

bool CloseNewest(MainState& s, Ports& ports) {
    if (HasMenu(s.menuKey)) {
        const std::string button = s.menuKey;
        s.menuKey = "none";
        if (s.focus.Shown()) {
            FocusZone(s, button);
        }
        return true;
    }
    if (ports.game->Visible()) {
        ports.game->HidePanel();
        return true;
    }
    if (PaneShowing(s, ports)) {
        CapturePage(s, ports);
        return true;
    }
    if (ports.readme->Visible()) {
        ports.readme->SetVisible(false);
        return true;
    }
    return false;
}

bool ActOnFocus(MainState& s, Ports& ports, const ClickContext& context) {
    const KeyboardFocus focus = s.focus;
    if (!focus.Shown()) {
        return false;
    }
    if (focus.kind == FocusKind::Line && !MenuLinesOpen(s)) {
        return true; // the box is still unrolling: its lines take no click yet
    }
    const std::string menu = s.menuKey;
    // The click lands on the focused place: what is hovered there, and no thumbnail.
    if (focus.kind == FocusKind::Line) {
        FocusLine(s, focus.line);
    } else {
        FocusZone(s, focus.zone);
    }
    s.hoverThumb = -1;
    ClickOnHover(s, ports, context);
    if (s.closed) {
        return true;
    }
    if (focus.kind == FocusKind::Line) {
        FocusZone(s, menu);
    } else if (const std::vector<int> lines = ActingMenuLines(s); !lines.empty()) {
        FocusLine(s, lines.front());
    }
    return true;
}

bool NavigationKeyDown(MainState& s, Ports& ports, const ClickContext& context, NavigationKey key,
                       KeyPlace place) {
    switch (key) {
    case NavigationKey::Escape:
        return CloseNewest(s, ports);
    case NavigationKey::AltLeft:
        return GoBack(s, ports);
    case NavigationKey::Backspace:
        return place != KeyPlace::GameLine && GoBack(s, ports);
    case NavigationKey::Return:
    case NavigationKey::Space:
        return place == KeyPlace::Surface && ActOnFocus(s, ports, context);
    default:
        break;
    }
    if (place != KeyPlace::Surface) {
        return false; // the control moves its own cursor and focus
    }
    MoveFocus(s, *MoveFor(key));
    return true;
}

} // namespace kestrova
