#pragma once
// A game controller works the front end as the navigation keys do (navigation_keys.h): the d-pad
// and the left stick are the arrows, the south face button (A, cross) is Return, the east one (B,
// circle) is Escape, the shoulder buttons are Shift+Tab and Tab, and Back (Select, Share) takes the
// web pane back a page. A held direction or shoulder repeats as a held key does; the acting
// buttons never repeat, so a held B closes one thing, not everything open. Nothing here knows the
// library the controller is read through: buttons and axes arrive under these names.

#include "engine/navigation_keys.h"

#include <optional>

namespace kestrova {

// The buttons by their place on the pad, whatever is printed on them.
enum class PadButton {
    South,
    East,
    West,
    North,
    Back,
    Guide,
    Start,
    LeftStick,
    RightStick,
    LeftShoulder,
    RightShoulder,
    DpadUp,
    DpadDown,
    DpadLeft,
    DpadRight,
    Other
};

// The axes; a stick reads from -32768 to 32767, its y growing downwards, a trigger from 0 up.
enum class PadAxis { LeftX, LeftY, RightX, RightY, LeftTrigger, RightTrigger, Other };

// One controller's buttons and stick turned into navigation keys. Times are milliseconds on any
// clock that never goes back.
class ControllerMapping {
  public:
    // A direction or shoulder held this long starts repeating, then repeats at this interval.
    static constexpr long long kRepeatDelayMs = 400;
    static constexpr long long kRepeatIntervalMs = 120;
    // The left stick points somewhere once an axis passes kStickPress, the larger axis deciding;
    // it lets go once that axis falls back inside kStickRelease (the dead zone), so a stick resting
    // off centre or trembling at the line sends nothing more.
    static constexpr int kStickPress = 16000;
    static constexpr int kStickRelease = 8000;

    // A button went down: the key it stands for, if any.
    std::optional<NavigationKey> ButtonDown(PadButton button, long long nowMs);
    void ButtonUp(PadButton button);
    // An axis moved to `value`: the key for a direction the stick has just taken, if any.
    std::optional<NavigationKey> AxisMoved(PadAxis axis, int value, long long nowMs);
    // The repeat of the held direction or shoulder, when one is due; one at most a call, so a late
    // poll sends no burst.
    std::optional<NavigationKey> Repeat(long long nowMs);
    // The controller went away: nothing counts as held any more, the stick as centred.
    void Release();

  private:
    enum class Source { None, Button, Stick };
    void Hold(NavigationKey key, Source source, PadButton button, long long nowMs);
    void StopHolding(Source source, PadButton button);
    std::optional<NavigationKey> StickKey() const;

    // The last repeating input pressed; releasing it stops the repeat, releasing an earlier one
    // does not.
    Source heldSource_ = Source::None;
    PadButton heldButton_ = PadButton::Other;
    NavigationKey heldKey_ = NavigationKey::Tab;
    long long nextRepeatMs_ = 0;
    int stickX_ = 0;
    int stickY_ = 0;
    std::optional<NavigationKey> stickKey_;
};

} // namespace kestrova
