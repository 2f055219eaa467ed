// The toolkit's key events as navigation keys, and back: every navigation key has a key event
// that reads as itself, and keys with other modifiers held are not navigation.

#include "ui/navigation_key_events.h"

#include <QKeyEvent>

#include <gtest/gtest.h>

namespace kestrova {
namespace {

std::optional<NavigationKey> Read(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    const QKeyEvent event(QEvent::KeyPress, key, mods);
    return NavigationKeyOf(event);
}

TEST(NavigationKeyEvents, EveryNavigationKeyHasAStrokeThatReadsAsItself) {
    for (const NavigationKey key :
         {NavigationKey::Tab, NavigationKey::BackTab, NavigationKey::Left, NavigationKey::Right,
          NavigationKey::Up, NavigationKey::Down, NavigationKey::Return, NavigationKey::Space,
          NavigationKey::Escape, NavigationKey::Backspace, NavigationKey::AltLeft}) {
        const KeyStroke stroke = KeyStrokeFor(key);
        const QKeyEvent event(QEvent::KeyPress, stroke.key, stroke.modifiers, stroke.text);
        EXPECT_EQ(NavigationKeyOf(event), key) << static_cast<int>(key);
    }
}

TEST(NavigationKeyEvents, ShiftTabInEitherSpellingGoesBack) {
    EXPECT_EQ(Read(Qt::Key_Backtab, Qt::ShiftModifier), NavigationKey::BackTab);
    EXPECT_EQ(Read(Qt::Key_Backtab), NavigationKey::BackTab);
    EXPECT_EQ(Read(Qt::Key_Tab, Qt::ShiftModifier), NavigationKey::BackTab);
    EXPECT_EQ(Read(Qt::Key_Enter, Qt::KeypadModifier), NavigationKey::Return);
}

TEST(NavigationKeyEvents, OtherModifiersMakeKeysTheControlsOwn) {
    EXPECT_EQ(Read(Qt::Key_Left, Qt::ControlModifier), std::nullopt);
    EXPECT_EQ(Read(Qt::Key_Left, Qt::AltModifier | Qt::ShiftModifier), std::nullopt);
    EXPECT_EQ(Read(Qt::Key_Tab, Qt::ControlModifier), std::nullopt);
    EXPECT_EQ(Read(Qt::Key_Return, Qt::AltModifier), std::nullopt);
    EXPECT_EQ(Read(Qt::Key_A), std::nullopt);
}

} // namespace
} // namespace kestrova
