#pragma once
// The keys that work the drawn front end without the pointer: Tab and the arrows move the focus
// ring (keyboard_focus.h), Return and Space click where it stands, Escape closes the newest thing
// open, and Alt+Left or Backspace take the web pane back a page. Keys the controls need stay
// theirs: the game's command line keeps its letters, Return and Backspace, a page keeps the keys
// it uses.

#include "engine/input.h"
#include "engine/main_state.h"
#include "engine/ports.h"

namespace kestrova {

enum class NavigationKey {
    Tab,
    BackTab,
    Left,
    Right,
    Up,
    Down,
    Return,
    Space,
    Escape,
    Backspace,
    AltLeft
};

// Where the keyboard is: the drawn front end (the window itself, or a control of it that takes
// no typing), the game's command line or transcript, the readme pane, or the web pane's page
// (which hands on only the keys it has no use for).
enum class KeyPlace { Surface, GameLine, ReadmePane, WebPage };

// A key went down at `place`. Returns whether it was used; a key not used goes on to the control
// as before. The hidden phrases and the Alt shortcuts see every key before this (keys.h).
bool NavigationKeyDown(MainState& state, Ports& ports, const ClickContext& context,
                       NavigationKey key, KeyPlace place);

// Escape: the open menu closes, else the game panel, else the web pane (it slides away as a click
// sends it), else the readme pane; one a press. Returns whether anything closed.
bool CloseNewest(MainState& state, Ports& ports);

// Return or Space: a click on the focused place; a menu line takes it only once the box is fully
// open, as it takes the pointer. A menu it opens puts the focus on its first acting line; a
// chosen line puts it back on the menu's button. Returns whether the ring was shown.
bool ActOnFocus(MainState& state, Ports& ports, const ClickContext& context);

} // namespace kestrova
