// The controller service between a source of controller events and the keys it hands on: each
// controller mapped on its own, plugging in and pulling out, repeats on the service's clock, the
// timer's pace, and the build's own source opening without a window.

#include "platform/controller_service.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <deque>
#include <utility>
#include <vector>

namespace kestrova {
namespace {

using Kind = ControllerEvent::Kind;

// Events queued by the test, handed out a batch a poll.
struct ScriptedSource : ControllerEventSource {
    std::deque<std::vector<ControllerEvent>> batches;
    int polls = 0;
    std::vector<ControllerEvent> Poll() override {
        ++polls;
        if (batches.empty()) {
            return {};
        }
        std::vector<ControllerEvent> next = std::move(batches.front());
        batches.pop_front();
        return next;
    }
};

ControllerEvent Plugged(int device) {
    return {Kind::Added, device, PadButton::Other, PadAxis::Other, 0};
}
ControllerEvent Pulled(int device) {
    return {Kind::Removed, device, PadButton::Other, PadAxis::Other, 0};
}
ControllerEvent Down(int device, PadButton b) {
    return {Kind::ButtonDown, device, b, PadAxis::Other, 0};
}
ControllerEvent Up(int device, PadButton b) {
    return {Kind::ButtonUp, device, b, PadAxis::Other, 0};
}
ControllerEvent Stick(int device, PadAxis axis, int value) {
    return {Kind::Axis, device, PadButton::Other, axis, value};
}

struct Harness {
    ScriptedSource* source = nullptr;
    std::vector<std::pair<NavigationKey, bool>> keys;
    std::unique_ptr<ControllerService> service;

    Harness() {
        auto owned = std::make_unique<ScriptedSource>();
        source = owned.get();
        service = std::make_unique<ControllerService>(
            std::move(owned),
            [this](NavigationKey k, bool repeat) { keys.emplace_back(k, repeat); });
    }
    void Then(std::vector<ControllerEvent> batch) { source->batches.push_back(std::move(batch)); }
};

constexpr long long kDelay = ControllerMapping::kRepeatDelayMs;

TEST(ControllerService, ButtonsAndStickOfAPluggedControllerBecomeKeysInOrder) {
    Harness h;
    h.Then({Plugged(3), Down(3, PadButton::RightShoulder), Up(3, PadButton::RightShoulder),
            Down(3, PadButton::South), Up(3, PadButton::South), Stick(3, PadAxis::LeftY, 30000),
            Down(3, PadButton::East)});
    h.service->Poll(0);
    using P = std::pair<NavigationKey, bool>;
    EXPECT_EQ(h.keys, (std::vector<P>{{NavigationKey::Tab, false},
                                      {NavigationKey::Return, false},
                                      {NavigationKey::Down, false},
                                      {NavigationKey::Escape, false}}));
    EXPECT_EQ(h.service->Connected(), 1);
}

TEST(ControllerService, HeldInputRepeatsOnLaterPollsMarkedAsRepeats) {
    Harness h;
    h.Then({Plugged(1), Down(1, PadButton::DpadUp)});
    h.service->Poll(0);
    h.service->Poll(kDelay - 1);
    ASSERT_EQ(h.keys.size(), 1u);
    h.service->Poll(kDelay);
    ASSERT_EQ(h.keys.size(), 2u);
    EXPECT_EQ(h.keys[1], std::make_pair(NavigationKey::Up, true));
    h.Then({Up(1, PadButton::DpadUp)});
    h.service->Poll(kDelay + 1000);
    EXPECT_EQ(h.keys.size(), 2u);
}

TEST(ControllerService, ControllersAreMappedApart) {
    Harness h;
    h.Then({Plugged(1), Plugged(2), Stick(1, PadAxis::LeftX, 30000),
            // The second pad's stick is its own: no reading of the first one's y with it.
            Stick(2, PadAxis::LeftY, 12000), Stick(2, PadAxis::LeftX, 10000)});
    h.service->Poll(0);
    ASSERT_EQ(h.keys.size(), 1u);
    EXPECT_EQ(h.keys[0].first, NavigationKey::Right);
    // Releasing a d-pad on the second pad leaves the first one's stick repeating.
    h.Then({Down(2, PadButton::DpadDown), Up(2, PadButton::DpadDown)});
    h.service->Poll(10);
    h.service->Poll(kDelay);
    EXPECT_EQ(h.keys.back(), std::make_pair(NavigationKey::Right, true));
}

TEST(ControllerService, PullingOutStopsItsRepeatAndUnknownControllersAreIgnored) {
    Harness h;
    h.Then({Plugged(4), Down(4, PadButton::DpadLeft)});
    h.service->Poll(0);
    h.Then({Pulled(4)});
    h.service->Poll(10);
    h.service->Poll(10 * kDelay);
    EXPECT_EQ(h.keys.size(), 1u);
    EXPECT_EQ(h.service->Connected(), 0);
    // Events of a controller never announced, or already gone, go nowhere.
    h.Then({Down(4, PadButton::South), Down(9, PadButton::South)});
    h.service->Poll(20 * kDelay);
    EXPECT_EQ(h.keys.size(), 1u);
    EXPECT_EQ(h.service->Connected(), 0);
    // Plugged in again it starts afresh: nothing held from before.
    h.Then({Plugged(4)});
    h.service->Poll(30 * kDelay);
    h.service->Poll(40 * kDelay);
    EXPECT_EQ(h.keys.size(), 1u);
}

TEST(ControllerService, KeyThatRunsTheLoopAgainIsNotPolledInsideItself) {
    // A key may open a modal box whose loop fires the service's timer again.
    ScriptedSource* source = nullptr;
    std::unique_ptr<ControllerService> service;
    int keys = 0;
    auto owned = std::make_unique<ScriptedSource>();
    source = owned.get();
    service = std::make_unique<ControllerService>(std::move(owned), [&](NavigationKey, bool) {
        ++keys;
        service->Poll(1);
    });
    source->batches.push_back({Plugged(1), Down(1, PadButton::South)});
    source->batches.push_back({Down(1, PadButton::East)});
    service->Poll(0);
    EXPECT_EQ(keys, 1);
    EXPECT_EQ(source->polls, 1);
    service->Poll(2);
    EXPECT_EQ(keys, 2);
}

TEST(ControllerService, TimerPollsSlowlyUntilAControllerIsPluggedIn) {
    Harness h;
    EXPECT_FALSE(h.service->Running());
    h.service->Start();
    ASSERT_TRUE(h.service->Running());
    EXPECT_EQ(h.service->PollPeriodMs(), ControllerService::kIdlePollMs);
    h.Then({Plugged(1)});
    QElapsedTimer waited;
    waited.start();
    while (h.source->polls == 0 && waited.elapsed() < 5000) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
    ASSERT_GE(h.source->polls, 1) << "the timer never polled";
    EXPECT_EQ(h.service->PollPeriodMs(), ControllerService::kPollMs);
    h.Then({Pulled(1)});
    h.service->Poll(1000);
    EXPECT_EQ(h.service->PollPeriodMs(), ControllerService::kIdlePollMs);
}

TEST(ControllerService, WithoutASourceItNeverRuns) {
    int keys = 0;
    ControllerService service(nullptr, [&](NavigationKey, bool) { ++keys; });
    service.Start();
    EXPECT_FALSE(service.Running());
    service.Poll(1000);
    EXPECT_EQ(keys, 0);
}

// The source this build was made with opens with no window and no display, and with no
// controller plugged in reports nothing but what is there.
TEST(ControllerService, BuildsOwnSourceOpensHeadless) {
    std::string whyNot;
    const std::unique_ptr<ControllerEventSource> source = OpenControllerEventSource(&whyNot);
    if (!ControllerSupportBuilt()) {
        EXPECT_EQ(source, nullptr);
        EXPECT_TRUE(whyNot.empty());
        return;
    }
    ASSERT_NE(source, nullptr) << whyNot;
    for (int i = 0; i < 3; ++i) {
        for (const ControllerEvent& e : source->Poll()) {
            EXPECT_EQ(e.kind, Kind::Added) << "a button or axis with no hand on the pad";
        }
    }
}

} // namespace
} // namespace kestrova
