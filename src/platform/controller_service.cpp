#include "platform/controller_service.h"

namespace kestrova {

ControllerService::ControllerService(std::unique_ptr<ControllerEventSource> source, KeySink sink,
                                     QObject* parent)
    : QObject(parent), source_(std::move(source)), sink_(std::move(sink)) {
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, [this] { Poll(clock_.elapsed()); });
}

ControllerService::~ControllerService() = default;

void ControllerService::Start() {
    if (!source_ || timer_.isActive()) {
        return;
    }
    clock_.start();
    timer_.start(kIdlePollMs);
}

void ControllerService::Hand(std::optional<NavigationKey> key, bool repeat) {
    if (key && sink_) {
        sink_(*key, repeat);
    }
}

void ControllerService::Poll(long long nowMs) {
    if (!source_ || polling_) {
        return;
    }
    polling_ = true;
    for (const ControllerEvent& e : source_->Poll()) {
        if (e.kind == ControllerEvent::Kind::Added) {
            pads_[e.device];
            continue;
        }
        const auto pad = pads_.find(e.device);
        if (pad == pads_.end()) {
            continue; // a controller the source never announced
        }
        switch (e.kind) {
        case ControllerEvent::Kind::Removed:
            // Whatever it held is let go with it: no repeat outlives the controller.
            pads_.erase(pad);
            break;
        case ControllerEvent::Kind::ButtonDown:
            Hand(pad->second.ButtonDown(e.button, nowMs), false);
            break;
        case ControllerEvent::Kind::ButtonUp:
            pad->second.ButtonUp(e.button);
            break;
        case ControllerEvent::Kind::Axis:
            Hand(pad->second.AxisMoved(e.axis, e.value, nowMs), false);
            break;
        case ControllerEvent::Kind::Added:
            break;
        }
    }
    for (auto& [device, pad] : pads_) {
        Hand(pad.Repeat(nowMs), true);
    }
    // Quick while a controller is there to be read, slow while only a plug-in is awaited.
    const int period = pads_.empty() ? kIdlePollMs : kPollMs;
    if (timer_.isActive() && timer_.interval() != period) {
        timer_.setInterval(period);
    }
    polling_ = false;
}

} // namespace kestrova
