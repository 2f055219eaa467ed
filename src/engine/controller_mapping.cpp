#include "engine/controller_mapping.h"

#include <cstdlib>

namespace kestrova {

namespace {

// What a button stands for, and whether holding it repeats.
struct ButtonKey {
    NavigationKey key;
    bool repeats;
};

std::optional<ButtonKey> KeyOf(PadButton button) {
    switch (button) {
    case PadButton::DpadUp:
        return ButtonKey{NavigationKey::Up, true};
    case PadButton::DpadDown:
        return ButtonKey{NavigationKey::Down, true};
    case PadButton::DpadLeft:
        return ButtonKey{NavigationKey::Left, true};
    case PadButton::DpadRight:
        return ButtonKey{NavigationKey::Right, true};
    case PadButton::LeftShoulder:
        return ButtonKey{NavigationKey::BackTab, true};
    case PadButton::RightShoulder:
        return ButtonKey{NavigationKey::Tab, true};
    case PadButton::South:
        return ButtonKey{NavigationKey::Return, false};
    case PadButton::East:
        return ButtonKey{NavigationKey::Escape, false};
    case PadButton::Back:
        return ButtonKey{NavigationKey::AltLeft, false};
    default:
        return std::nullopt;
    }
}

} // namespace

std::optional<NavigationKey> ControllerMapping::ButtonDown(PadButton button, long long nowMs) {
    const std::optional<ButtonKey> mapped = KeyOf(button);
    if (!mapped) {
        return std::nullopt;
    }
    if (mapped->repeats) {
        Hold(mapped->key, Source::Button, button, nowMs);
    }
    return mapped->key;
}

void ControllerMapping::ButtonUp(PadButton button) {
    StopHolding(Source::Button, button);
}

std::optional<NavigationKey> ControllerMapping::AxisMoved(PadAxis axis, int value,
                                                          long long nowMs) {
    if (axis == PadAxis::LeftX) {
        stickX_ = value;
    } else if (axis == PadAxis::LeftY) {
        stickY_ = value;
    } else {
        return std::nullopt;
    }
    const std::optional<NavigationKey> key = StickKey();
    if (key == stickKey_) {
        return std::nullopt;
    }
    stickKey_ = key;
    if (!key) {
        StopHolding(Source::Stick, PadButton::Other);
        return std::nullopt;
    }
    Hold(*key, Source::Stick, PadButton::Other, nowMs);
    return key;
}

std::optional<NavigationKey> ControllerMapping::StickKey() const {
    // Widened first: -32768 has no positive twin in an int16 and none is needed here.
    const long x = std::labs(static_cast<long>(stickX_));
    const long y = std::labs(static_cast<long>(stickY_));
    const auto along = [this](NavigationKey key) -> long {
        switch (key) {
        case NavigationKey::Left:
            return -static_cast<long>(stickX_);
        case NavigationKey::Right:
            return stickX_;
        case NavigationKey::Up:
            return -static_cast<long>(stickY_);
        default:
            return stickY_;
        }
    };
    // The direction taken holds while its axis stays out of the dead zone and still leads.
    if (stickKey_) {
        const bool horizontal =
            *stickKey_ == NavigationKey::Left || *stickKey_ == NavigationKey::Right;
        const long across = horizontal ? y : x;
        if (along(*stickKey_) > kStickRelease && along(*stickKey_) >= across) {
            return stickKey_;
        }
    }
    if (x >= y && x >= kStickPress) {
        return stickX_ < 0 ? NavigationKey::Left : NavigationKey::Right;
    }
    if (y > x && y >= kStickPress) {
        return stickY_ < 0 ? NavigationKey::Up : NavigationKey::Down;
    }
    return std::nullopt;
}

void ControllerMapping::Hold(NavigationKey key, Source source, PadButton button, long long nowMs) {
    heldSource_ = source;
    heldButton_ = button;
    heldKey_ = key;
    nextRepeatMs_ = nowMs + kRepeatDelayMs;
}

void ControllerMapping::StopHolding(Source source, PadButton button) {
    if (heldSource_ == source && (source == Source::Stick || heldButton_ == button)) {
        heldSource_ = Source::None;
    }
}

std::optional<NavigationKey> ControllerMapping::Repeat(long long nowMs) {
    if (heldSource_ == Source::None || nowMs < nextRepeatMs_) {
        return std::nullopt;
    }
    nextRepeatMs_ = nowMs + kRepeatIntervalMs;
    return heldKey_;
}

void ControllerMapping::Release() {
    heldSource_ = Source::None;
    stickX_ = 0;
    stickY_ = 0;
    stickKey_.reset();
}

} // namespace kestrova
