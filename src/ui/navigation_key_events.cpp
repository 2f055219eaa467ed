#include "ui/navigation_key_events.h"

#include <QKeyEvent>

namespace kestrova {

std::optional<NavigationKey> NavigationKeyOf(const QKeyEvent& key) {
    const Qt::KeyboardModifiers mods = key.modifiers() & (Qt::ShiftModifier | Qt::AltModifier |
                                                          Qt::ControlModifier | Qt::MetaModifier);
    if (mods == Qt::AltModifier && key.key() == Qt::Key_Left) {
        return NavigationKey::AltLeft;
    }
    if (key.key() == Qt::Key_Backtab || (key.key() == Qt::Key_Tab && mods == Qt::ShiftModifier)) {
        return NavigationKey::BackTab;
    }
    if (mods != Qt::NoModifier) {
        return std::nullopt;
    }
    switch (key.key()) {
    case Qt::Key_Tab:
        return NavigationKey::Tab;
    case Qt::Key_Left:
        return NavigationKey::Left;
    case Qt::Key_Right:
        return NavigationKey::Right;
    case Qt::Key_Up:
        return NavigationKey::Up;
    case Qt::Key_Down:
        return NavigationKey::Down;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return NavigationKey::Return;
    case Qt::Key_Space:
        return NavigationKey::Space;
    case Qt::Key_Escape:
        return NavigationKey::Escape;
    case Qt::Key_Backspace:
        return NavigationKey::Backspace;
    default:
        return std::nullopt;
    }
}

KeyStroke KeyStrokeFor(NavigationKey key) {
    switch (key) {
    case NavigationKey::Tab:
        return {Qt::Key_Tab, Qt::NoModifier, QStringLiteral("\t")};
    case NavigationKey::BackTab:
        // What the desktop sends for Shift+Tab.
        return {Qt::Key_Backtab, Qt::ShiftModifier, QString()};
    case NavigationKey::Left:
        return {Qt::Key_Left, Qt::NoModifier, QString()};
    case NavigationKey::Right:
        return {Qt::Key_Right, Qt::NoModifier, QString()};
    case NavigationKey::Up:
        return {Qt::Key_Up, Qt::NoModifier, QString()};
    case NavigationKey::Down:
        return {Qt::Key_Down, Qt::NoModifier, QString()};
    case NavigationKey::Return:
        return {Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r")};
    case NavigationKey::Space:
        return {Qt::Key_Space, Qt::NoModifier, QStringLiteral(" ")};
    case NavigationKey::Escape:
        return {Qt::Key_Escape, Qt::NoModifier, QStringLiteral("\x1b")};
    case NavigationKey::Backspace:
        return {Qt::Key_Backspace, Qt::NoModifier, QStringLiteral("\b")};
    case NavigationKey::AltLeft:
        return {Qt::Key_Left, Qt::AltModifier, QString()};
    }
    return {};
}

} // namespace kestrova
