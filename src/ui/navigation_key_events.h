#pragma once
// The toolkit's keys and the engine's navigation keys, both ways: which key events work the front
// end without the pointer, and the key event that stands for a navigation key when one comes from
// somewhere else than the keyboard (a game controller).

#include "engine/navigation_keys.h"

#include <QString>
#include <Qt>

#include <optional>

class QKeyEvent;

namespace kestrova {

// The navigation key a key event is, if any: Shift, Ctrl and Meta held make most keys none.
std::optional<NavigationKey> NavigationKeyOf(const QKeyEvent& key);

// The key, modifiers and text a keyboard gives for a navigation key.
struct KeyStroke {
    Qt::Key key = Qt::Key_unknown;
    Qt::KeyboardModifiers modifiers;
    QString text;
};
KeyStroke KeyStrokeFor(NavigationKey key);

} // namespace kestrova
