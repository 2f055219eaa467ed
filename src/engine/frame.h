#pragma once
// One frame of the main screen: every animated element moves one step and the whole back
// buffer is drawn in a fixed order from the state the handlers left.

#include "engine/main_state.h"
#include "engine/ports.h"

#include <functional>
#include <string>

namespace kestrova {

struct FrameContext {
    Canvas& canvas;
    WebPane* web = nullptr;
    // The disc's folder, asked only when a frame needs it (rarely: it costs a system call).
    std::function<std::string()> currentDirectory;
    std::function<void()> hideCurtain;
};

void DXTimerTimer(MainState& state, FrameContext& context);

// The frame timer became active: the caption, and the first time the start panel's slide.
void DXTimerActivate(MainState& state);

} // namespace kestrova
