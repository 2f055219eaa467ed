#include "engine/input.h"

#include "engine/launch.h"
#include "engine/menus.h"
#include "engine/readme.h"
#include "engine/web_commands.h"
#include "engine/web_pane_capture.h"

namespace kestrova {

namespace {

// The small menu font: 7 points at 96 pixels per inch, lines 9 pixels apart.
constexpr double kMenuFontPoints = 7.0;
constexpr double kPixelsPerInch = 96.0;
constexpr int kMenuLinePixels = 9;

struct Zone {
    Rect bounds;
    const char* key;
};

bool Inside(const Rect& r, int x, int y) {
    return x >= r.left && x <= r.left + r.width && y >= r.top && y <= r.top + r.height;
}

Rect TopZone(const char* name) {
    for (const TopButton& b : TopButtons()) {
        if (std::string(b.name) == name) {
            return {kButtonPanelLeft + b.bounds.left, kButtonPanelTop + b.bounds.top,
                    b.bounds.width, b.bounds.height};
        }
    }
    return {};
}

// The ten zones in the order they are tested.
std::array<Zone, 10> Zones(const MainState& s) {
    return {{{TopZone("SpeedButton6"), "utility"},
             {TopZone("SpeedButton1"), "demos"},
             {TopZone("SpeedButton5"), "support"},
             {TopZone("SpeedButton2"), "add-ons"},
             {TopZone("SpeedButton8"), "tobrik"},
             {TopZone("SpeedButton7"), "database"},
             {s.ib, "*installnow"},
             {s.vb, "*viewreadme"},
             {s.pb, "*printreadme"},
             {TopZone("SpeedButtonExit"), "exit"}}};
}

int MenuLineAt(const MainState& s, int x, int y) {
    const Rect& box = s.menusourceBounds;
    const double linesHeight =
        static_cast<double>(s.menusource.size()) * kMenuFontPoints * kPixelsPerInch / 72.0;
    if (x >= box.left && x <= box.left + box.width && y >= box.top && y <= box.top + linesHeight) {
        return (y - box.top) / kMenuLinePixels;
    }
    return -1;
}

// An action picture lit while the pointer is on its zone.
void Light(MainState& s, TSpriteRec& sprite, const Rect& zone, int x, int y, const char* lit,
           const char* unlit) {
    const int index = s.panels.IndexOf(Inside(zone, x, y) ? lit : unlit);
    if (index >= 0) {
        SetSpriteImage(sprite, s.panels, index, "panels");
    }
}

void Launch(MainState& s, Ports& ports, const ClickContext& context, const std::string& file) {
    s.pendingLaunch = file;
    RunProgram(ports, context.currentDirectory, s.pendingLaunch);
    s.pendingLaunch.clear();
}

// A support or mascot line: the game, a program ("*X" and its path) or a page.
void FollowMenuTarget(MainState& s, Ports& ports, const ClickContext& context,
                      const std::string& section, const std::string& target) {
    if (target.empty()) {
        return; // an item with nothing after its caption leads nowhere
    }
    if (target == "showgame") {
        if (section == "tobrik" && context.startAdventure) {
            context.startAdventure();
        }
        return;
    }
    if (target.size() > 4 && target.compare(0, 2, "*X") == 0) {
        RunProgram(ports, context.currentDirectory, target.substr(2));
        s.navigatePending = false;
        return;
    }
    RequestPage(s, target.compare(0, 3, "htt") == 0 ? target : context.currentDirectory + target);
    s.slideState = 1;
}

// A click with a menu open, or just after an action: the chosen line acts, and the menu closes.
void ClickWithMenuOpen(MainState& s, Ports& ports, const ClickContext& context) {
    s.pendingLaunch.clear();
    if (s.menuKey == "*installnow") {
        // The second click on install now starts the entry's program kept on the disc.
        const long long start = s.source.IndexOf(BeginKey(s.targetPanel));
        if (start > 0) {
            Launch(s, ports, context, "Exes/" + LineOrEmpty(s.source, start + 7));
        }
    }
    if (s.menuHover >= 0 && s.menuHover < kMenuDestinations &&
        s.menuHover < static_cast<int>(s.menusource.size())) {
        const std::string caption = s.menusource[static_cast<std::size_t>(s.menuHover)];
        const long long k = s.source.IndexOf(caption);
        if (s.menuKey == "support" || s.menuKey == "tobrik") {
            FollowMenuTarget(s, ports, context, s.menuKey,
                             k > 0 ? LineOrEmpty(s.source, k + 1) : std::string());
        } else if (k > 0) {
            s.shownPanel = s.targetPanel;
            const int entry = EntryNumberFromStartLine(LineOrEmpty(s.source, k - 1));
            // Only an entry that has a panel can be selected.
            if (entry >= 0 && entry < s.spriteCount && entry < kSpriteSlots) {
                s.targetPanel = entry;
            }
            if (s.menuKey == "utility" || s.menuKey == "add-ons") {
                Launch(s, ports, context, LineOrEmpty(s.source, k + 1));
            }
        }
    }
    s.menuKey = "none";
}

bool OpensMenu(const std::string& key) {
    return key == "utility" || key == "demos" || key == "support" || key == "add-ons" ||
           key == "tobrik";
}

// A click with no menu open acts on the hot zone under the pointer.
void ClickOnZone(MainState& s, Ports& ports, const ClickContext& context) {
    const std::string key = s.hoverKey;
    if (key == "*viewreadme") {
        ViewReadme(s, ports);
    } else {
        ports.readme->SetVisible(false);
    }
    if (key == "*printreadme") {
        PrintReadme(s, ports);
    }
    if (key == "*installnow") {
        s.menuKey = "*installnow";
        Launch(s, ports, context,
               LineOrEmpty(s.source, s.source.IndexOf(BeginKey(s.targetPanel)) + 5LL));
    }
    if (OpensMenu(key)) {
        s.menuKey = key;
    }
    if (key == "database") {
        Launch(s, ports, context, "Databases/Databases.exe");
    }
    if (key == "exit") {
        ports.window->Terminate();
    }
    s.menusource = MenuLines(s, s.menuKey);
}

} // namespace

std::string HotZoneAt(const MainState& s, int x, int y) {
    std::string key = "none";
    for (const Zone& zone : Zones(s)) {
        if (Inside(zone.bounds, x, y)) {
            key = zone.key;
        }
    }
    return key;
}

void DxDrawMouseMove(MainState& s, int x, int y) {
    s.menuHover = MenuLineAt(s, x, y);
    s.hoverKey = HotZoneAt(s, x, y);
    Light(s, s.installSprite, s.ib, x, y, "installnow", "installnowB");
    Light(s, s.viewSprite, s.vb, x, y, "viewreadme", "viewreadmeB");
    Light(s, s.printSprite, s.pb, x, y, "printreadme", "printreadmeB");
    s.mouseX = x;
    s.mouseY = y;
}

void DxDrawMouseDown(MainState& s, Ports& ports, const ClickContext& context) {
    // While the pane is up it covers its part of the surface, so a click that reaches the surface
    // is outside it and dismisses it.
    if (ports.web && ports.web->Left() == -3) {
        CapturePage(s, ports);
    }
    // A click on the drawn front end puts the game away.
    ports.game->HidePanel();
    if (s.hoverThumb >= 0) {
        s.targetPanel = s.hoverThumb;
    }
    if (s.hoverThumb >= 0 || s.hoverKey != "none") {
        ports.sounds->Play("rollover");
    }
    if (s.menuKey != "none") {
        ports.sounds->Play("klick");
        ClickWithMenuOpen(s, ports, context);
    } else {
        ClickOnZone(s, ports, context);
    }
}

} // namespace kestrova
