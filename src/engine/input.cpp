#include "engine/input.h"

#include "catalogue/disc_rules.h"
#include "engine/launch.h"
#include "engine/menus.h"
#include "engine/readme.h"
#include "engine/web_commands.h"
#include "engine/web_pane_capture.h"

namespace kestrova {

namespace {

struct Zone {
    Rect bounds;
    const char* key;
};

bool Inside(const Rect& r, int x, int y) {
    return x >= r.left && x <= r.left + r.width && y >= r.top && y <= r.top + r.height;
}

// The screen rectangle of a section's top button.
Rect TopZone(const char* key) {
    if (const TopButton* b = TopButtonForKey(key)) {
        return {kButtonPanelLeft + b->bounds.left, kButtonPanelTop + b->bounds.top, b->bounds.width,
                b->bounds.height};
    }
    return {};
}

// The ten zones in the order they are tested.
std::array<Zone, 10> Zones(const MainState& s) {
    return {{{TopZone("utility"), "utility"},
             {TopZone("demos"), "demos"},
             {TopZone("support"), "support"},
             {TopZone("add-ons"), "add-ons"},
             {TopZone("tobrik"), "tobrik"},
             {TopZone("database"), "database"},
             {s.ib, "*installnow"},
             {s.vb, "*viewreadme"},
             {s.pb, "*printreadme"},
             {TopZone("exit"), "exit"}}};
}

int MenuLineAt(const MainState& s, int x, int y) {
    const Rect& box = s.menusourceBounds;
    if (x >= box.left && x <= box.left + box.width && y >= box.top &&
        y <= box.top + MenuLinesHeight(s.menusource.size())) {
        return (y - box.top) / MenuLineHeight();
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

// `title` names the start in its notice: the entry's title or the menu line's caption; empty,
// the file's name does.
void Launch(MainState& s, Ports& ports, const ClickContext& context, const std::string& file,
            const std::string& title) {
    s.pendingLaunch = file;
    RunProgram(s, ports, context.currentDirectory, {.file = s.pendingLaunch, .title = title});
    s.pendingLaunch.clear();
}

// A chosen menu line acts as the menu model says: the panel step, then a program, a page or the
// game.
void FollowMenuChoice(MainState& s, Ports& ports, const ClickContext& context,
                      const std::string& caption, const MenuChoice& choice) {
    if (choice.panelStep) {
        s.shownPanel = s.targetPanel;
        if (choice.panel && *choice.panel < kSpriteSlots) {
            s.targetPanel = *choice.panel;
        }
    }
    switch (choice.action) {
    case ChoiceAction::Nothing:
        break;
    case ChoiceAction::StartProgram:
        if (choice.panelStep) {
            Launch(s, ports, context, choice.opens, caption);
        } else {
            // A support or mascot program; a page asked for in this frame is not loaded.
            RunProgram(s, ports, context.currentDirectory,
                       {.file = choice.opens, .title = caption});
            s.navigatePending = false;
        }
        break;
    case ChoiceAction::OpenPage:
        RequestPage(s, IsWebAddress(choice.opens) ? choice.opens
                                                  : context.currentDirectory + choice.opens);
        s.slideState = 1;
        break;
    case ChoiceAction::StartGame:
        if (context.startAdventure) {
            context.startAdventure();
        }
        break;
    }
}

// A click with a menu open, or just after an action: the chosen line acts, and the menu closes.
void ClickWithMenuOpen(MainState& s, Ports& ports, const ClickContext& context) {
    s.pendingLaunch.clear();
    if (s.menuKey == "*installnow") {
        // The second click on install now starts the entry's program kept on the disc.
        if (const auto second = EntrySecondProgram(s.source, s.targetPanel)) {
            Launch(s, ports, context, *second, EntryTitle(s.source, s.targetPanel));
        }
    }
    if (s.menuHover >= 0 && s.menuHover < kMenuDestinations &&
        s.menuHover < static_cast<int>(s.menusource.size())) {
        const std::string& caption = s.menusource[static_cast<std::size_t>(s.menuHover)];
        FollowMenuChoice(s, ports, context, caption,
                         ChooseCaption(s.source, s.menuKey, caption, s.spriteCount));
    }
    s.menuKey = "none";
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
        Launch(s, ports, context, EntryInstallProgram(s.source, s.targetPanel),
               EntryTitle(s.source, s.targetPanel));
    }
    if (HasMenu(key)) {
        s.menuKey = key;
    }
    if (key == "database") {
        Launch(s, ports, context, kDatabaseProgram, "");
    }
    if (key == "exit") {
        ports.window->Terminate();
    }
    s.menusource = MenuLines(s, s.menuKey);
}

} // namespace

Rect HotZoneRect(const MainState& s, std::string_view key) {
    for (const Zone& zone : Zones(s)) {
        if (key == zone.key) {
            return zone.bounds;
        }
    }
    return {};
}

std::string HotZoneAt(const MainState& s, int x, int y) {
    std::string key = "none";
    for (const Zone& zone : Zones(s)) {
        if (Inside(zone.bounds, x, y)) {
            key = zone.key;
        }
    }
    return key;
}

void HoverAt(MainState& s, int x, int y) {
    s.menuHover = MenuLineAt(s, x, y);
    s.hoverKey = HotZoneAt(s, x, y);
    Light(s, s.installSprite, s.ib, x, y, "installnow", "installnowB");
    Light(s, s.viewSprite, s.vb, x, y, "viewreadme", "viewreadmeB");
    Light(s, s.printSprite, s.pb, x, y, "printreadme", "printreadmeB");
}

void DxDrawMouseMove(MainState& s, int x, int y) {
    if (s.focus.Shown()) {
        if (x == s.mouseX && y == s.mouseY) {
            return; // the window repeating where the pointer rests is no movement
        }
        s.focus = {};
    }
    HoverAt(s, x, y);
    s.mouseX = x;
    s.mouseY = y;
}

void DxDrawMouseDown(MainState& s, Ports& ports, const ClickContext& context) {
    if (s.focus.Shown()) {
        // The keyboard hovered its own place; the pointer clicks where it stands.
        s.focus = {};
        HoverAt(s, s.mouseX, s.mouseY);
    }
    ClickOnHover(s, ports, context);
}

void ClickOnHover(MainState& s, Ports& ports, const ClickContext& context) {
    // While the pane is up it covers its part of the surface, so a click that reaches the surface
    // is outside it and dismisses it.
    if (ports.web && PaneOnScreen(*ports.web)) {
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
