#pragma once
// One frame of the main screen: every animated element moves one step and the whole back
// buffer is drawn in a fixed order from the state the handlers left.

#include "platform/services.h"
#include "shell/main_state.h"

#include <functional>
#include <string>

namespace kestrova {

struct FrameContext {
    Canvas& canvas;
    WebPane* web = nullptr;
    std::string currentDirectory;
    std::function<void()> hideCurtain;
};

// The line height of the drop-down menu: its font's size in points at 96 pixels per inch.
int MenuLineHeight();

void DXTimerTimer(MainState& state, FrameContext& context);

// The frame timer became active: the caption, and the first time the start panel's slide.
void DXTimerActivate(MainState& state);

// The pseudo-random generator shared by the whole program: never seeded, so every run draws
// the same sequence.
class SharedRandom {
  public:
    uint32_t seed = 0;
    // A value 0..range - 1.
    int Draw(int range);
};

SharedRandom& ProgramRandom();

// The 4-second timer: one draw of a `banners` item for a sprite that no frame shows.
void Timer1Timer(MainState& state);

} // namespace kestrova
