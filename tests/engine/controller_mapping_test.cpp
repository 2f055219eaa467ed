// A game controller's buttons and left stick as navigation keys: what each button stands for,
// which inputs repeat and how, and the stick's dead zone, lead and hold.

#include "engine/controller_mapping.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace kestrova {
namespace {

using Key = std::optional<NavigationKey>;
constexpr long long kDelay = ControllerMapping::kRepeatDelayMs;
constexpr long long kInterval = ControllerMapping::kRepeatIntervalMs;

TEST(ControllerMapping, EachButtonStandsForItsKey) {
    const struct {
        PadButton button;
        Key key;
    } cases[] = {
        {PadButton::DpadUp, NavigationKey::Up},
        {PadButton::DpadDown, NavigationKey::Down},
        {PadButton::DpadLeft, NavigationKey::Left},
        {PadButton::DpadRight, NavigationKey::Right},
        {PadButton::South, NavigationKey::Return},
        {PadButton::East, NavigationKey::Escape},
        {PadButton::LeftShoulder, NavigationKey::BackTab},
        {PadButton::RightShoulder, NavigationKey::Tab},
        {PadButton::Back, NavigationKey::AltLeft},
        // The rest do nothing on the menu.
        {PadButton::West, std::nullopt},
        {PadButton::North, std::nullopt},
        {PadButton::Start, std::nullopt},
        {PadButton::Guide, std::nullopt},
        {PadButton::LeftStick, std::nullopt},
        {PadButton::RightStick, std::nullopt},
        {PadButton::Other, std::nullopt},
    };
    for (const auto& c : cases) {
        ControllerMapping pad;
        EXPECT_EQ(pad.ButtonDown(c.button, 0), c.key) << static_cast<int>(c.button);
        pad.ButtonUp(c.button);
    }
}

TEST(ControllerMapping, HeldDirectionRepeatsAfterTheDelayThenAtTheInterval) {
    ControllerMapping pad;
    ASSERT_EQ(pad.ButtonDown(PadButton::DpadDown, 1000), NavigationKey::Down);
    EXPECT_EQ(pad.Repeat(1000), std::nullopt);
    EXPECT_EQ(pad.Repeat(1000 + kDelay - 1), std::nullopt);
    EXPECT_EQ(pad.Repeat(1000 + kDelay), NavigationKey::Down);
    EXPECT_EQ(pad.Repeat(1000 + kDelay + 1), std::nullopt);
    EXPECT_EQ(pad.Repeat(1000 + kDelay + kInterval), NavigationKey::Down);
    pad.ButtonUp(PadButton::DpadDown);
    EXPECT_EQ(pad.Repeat(1000 + kDelay + 10 * kInterval), std::nullopt);
}

TEST(ControllerMapping, ShouldersRepeatButActingButtonsNever) {
    ControllerMapping pad;
    pad.ButtonDown(PadButton::RightShoulder, 0);
    EXPECT_EQ(pad.Repeat(kDelay), NavigationKey::Tab);
    pad.ButtonUp(PadButton::RightShoulder);
    pad.ButtonDown(PadButton::LeftShoulder, 0);
    EXPECT_EQ(pad.Repeat(kDelay), NavigationKey::BackTab);
    pad.ButtonUp(PadButton::LeftShoulder);

    // A held B closes one thing, a held A clicks once, a held Back goes back one page.
    for (const PadButton acting : {PadButton::South, PadButton::East, PadButton::Back}) {
        ControllerMapping held;
        ASSERT_TRUE(held.ButtonDown(acting, 0));
        for (long long t = 0; t < 5000; t += 16) {
            EXPECT_EQ(held.Repeat(t), std::nullopt) << static_cast<int>(acting);
        }
    }
}

TEST(ControllerMapping, ActingButtonLeavesAHeldDirectionRepeating) {
    ControllerMapping pad;
    pad.ButtonDown(PadButton::DpadRight, 0);
    pad.ButtonDown(PadButton::South, 100);
    pad.ButtonUp(PadButton::South);
    EXPECT_EQ(pad.Repeat(kDelay), NavigationKey::Right);
}

TEST(ControllerMapping, OnlyTheLatestHeldInputRepeats) {
    ControllerMapping pad;
    pad.ButtonDown(PadButton::DpadUp, 0);
    pad.ButtonDown(PadButton::DpadLeft, 200);
    // The newer press starts its own delay.
    EXPECT_EQ(pad.Repeat(kDelay), std::nullopt);
    EXPECT_EQ(pad.Repeat(200 + kDelay), NavigationKey::Left);
    // Letting go of the earlier one leaves the later one repeating.
    pad.ButtonUp(PadButton::DpadUp);
    EXPECT_EQ(pad.Repeat(200 + kDelay + kInterval), NavigationKey::Left);
    // Letting go of the later one stops the repeat; the earlier one does not take it up again.
    pad.ButtonDown(PadButton::DpadUp, 2000);
    pad.ButtonDown(PadButton::DpadDown, 2100);
    pad.ButtonUp(PadButton::DpadDown);
    EXPECT_EQ(pad.Repeat(5000), std::nullopt);
}

TEST(ControllerMapping, LatePollSendsOneRepeatNotABurst) {
    ControllerMapping pad;
    pad.ButtonDown(PadButton::DpadDown, 0);
    // Two seconds without a poll (the window was busy): one repeat, then the interval again.
    EXPECT_EQ(pad.Repeat(2000), NavigationKey::Down);
    EXPECT_EQ(pad.Repeat(2001), std::nullopt);
    EXPECT_EQ(pad.Repeat(2000 + kInterval), NavigationKey::Down);
}

TEST(ControllerMapping, StickInsideTheDeadZoneSendsNothing) {
    ControllerMapping pad;
    for (const int v : {0, 3000, -3000, ControllerMapping::kStickPress - 1,
                        -(ControllerMapping::kStickPress - 1)}) {
        EXPECT_EQ(pad.AxisMoved(PadAxis::LeftX, v, 0), std::nullopt) << v;
        EXPECT_EQ(pad.AxisMoved(PadAxis::LeftY, v, 0), std::nullopt) << v;
    }
    EXPECT_EQ(pad.Repeat(10000), std::nullopt);
}

TEST(ControllerMapping, StickPointsOnceAndRepeatsWhileHeld) {
    ControllerMapping pad;
    EXPECT_EQ(pad.AxisMoved(PadAxis::LeftX, 20000, 0), NavigationKey::Right);
    // Pushing further, or easing back a little, is the same direction: no new key.
    EXPECT_EQ(pad.AxisMoved(PadAxis::LeftX, 32767, 10), std::nullopt);
    EXPECT_EQ(pad.AxisMoved(PadAxis::LeftX, 12000, 20), std::nullopt);
    EXPECT_EQ(pad.Repeat(kDelay), NavigationKey::Right);
    // Back inside the dead zone: let go.
    EXPECT_EQ(pad.AxisMoved(PadAxis::LeftX, 2000, kDelay + 1), std::nullopt);
    EXPECT_EQ(pad.Repeat(kDelay + kInterval), std::nullopt);
    // Pushed again: a new key.
    EXPECT_EQ(pad.AxisMoved(PadAxis::LeftX, 20000, 1000), NavigationKey::Right);
}

TEST(ControllerMapping, StickDirectionsFollowTheSignsWithYGrowingDownwards) {
    const struct {
        PadAxis axis;
        int value;
        NavigationKey key;
    } cases[] = {
        {PadAxis::LeftX, -32768, NavigationKey::Left},
        {PadAxis::LeftX, 32767, NavigationKey::Right},
        {PadAxis::LeftY, -32768, NavigationKey::Up},
        {PadAxis::LeftY, 32767, NavigationKey::Down},
    };
    for (const auto& c : cases) {
        ControllerMapping pad;
        EXPECT_EQ(pad.AxisMoved(c.axis, c.value, 0), c.key) << c.value;
    }
}

TEST(ControllerMapping, StickTremblingAtTheLineSendsOneKey) {
    ControllerMapping pad;
    std::vector<NavigationKey> sent;
    // Wobbling around the press line, never back into the dead zone.
    const int wobble[] = {16100, 15900, 16200, 15000, 16500, 9000, 17000, 15990};
    long long t = 0;
    for (const int v : wobble) {
        if (const Key k = pad.AxisMoved(PadAxis::LeftY, v, t += 16)) {
            sent.push_back(*k);
        }
    }
    EXPECT_EQ(sent, std::vector<NavigationKey>{NavigationKey::Down});
}

TEST(ControllerMapping, StickDiagonalGoesTheLargerWayAndHoldsUntilOvertaken) {
    ControllerMapping pad;
    pad.AxisMoved(PadAxis::LeftY, 10000, 0);
    EXPECT_EQ(pad.AxisMoved(PadAxis::LeftX, -20000, 0), NavigationKey::Left);
    // The stick swings round towards down: Left holds while it still leads...
    EXPECT_EQ(pad.AxisMoved(PadAxis::LeftY, 19000, 10), std::nullopt);
    EXPECT_EQ(pad.AxisMoved(PadAxis::LeftY, 20000, 20), std::nullopt);
    // ...and Down takes over once it leads.
    EXPECT_EQ(pad.AxisMoved(PadAxis::LeftY, 25000, 30), NavigationKey::Down);
    // Flicked straight across to the other side in one report.
    EXPECT_EQ(pad.AxisMoved(PadAxis::LeftX, 0, 40), std::nullopt);
    EXPECT_EQ(pad.AxisMoved(PadAxis::LeftY, -30000, 50), NavigationKey::Up);
}

TEST(ControllerMapping, OtherAxesAreIgnored) {
    ControllerMapping pad;
    for (const PadAxis axis : {PadAxis::RightX, PadAxis::RightY, PadAxis::LeftTrigger,
                               PadAxis::RightTrigger, PadAxis::Other}) {
        EXPECT_EQ(pad.AxisMoved(axis, 32767, 0), std::nullopt);
        EXPECT_EQ(pad.AxisMoved(axis, -32768, 0), std::nullopt);
    }
    EXPECT_EQ(pad.Repeat(10000), std::nullopt);
}

TEST(ControllerMapping, StickAndDpadShareTheRepeat) {
    ControllerMapping pad;
    pad.ButtonDown(PadButton::DpadUp, 0);
    pad.AxisMoved(PadAxis::LeftX, 30000, 100);
    EXPECT_EQ(pad.Repeat(100 + kDelay), NavigationKey::Right);
    // Releasing the d-pad, pressed earlier, keeps the stick's repeat.
    pad.ButtonUp(PadButton::DpadUp);
    EXPECT_EQ(pad.Repeat(100 + kDelay + kInterval), NavigationKey::Right);
    // A button press takes the repeat over; the stick letting go later does not stop it.
    pad.ButtonDown(PadButton::DpadDown, 1000);
    pad.AxisMoved(PadAxis::LeftX, 0, 1100);
    EXPECT_EQ(pad.Repeat(1000 + kDelay), NavigationKey::Down);
}

TEST(ControllerMapping, ReleaseForgetsEverythingHeld) {
    ControllerMapping pad;
    pad.ButtonDown(PadButton::DpadDown, 0);
    pad.AxisMoved(PadAxis::LeftX, 30000, 0);
    pad.Release();
    EXPECT_EQ(pad.Repeat(10000), std::nullopt);
    // The stick counts as centred: the same push is a new direction.
    EXPECT_EQ(pad.AxisMoved(PadAxis::LeftX, 30000, 10000), NavigationKey::Right);
}

} // namespace
} // namespace kestrova
