// Game controllers through SDL's game-controller layer: its button and axis names are the same on
// every pad it has a mapping for. Only the controller subsystem starts (with the joystick and
// event ones it needs): no window, no video, no sound, and SDL leaves the program's signals alone.

#include "platform/controller_source.h"

#include <SDL.h>

#include <map>

namespace kestrova {

namespace {

// Events handled in one poll at most; the rest wait in SDL's queue for the next.
constexpr int kMostEventsAPoll = 256;

PadButton ButtonOf(Uint8 button) {
    switch (button) {
    case SDL_CONTROLLER_BUTTON_A:
        return PadButton::South;
    case SDL_CONTROLLER_BUTTON_B:
        return PadButton::East;
    case SDL_CONTROLLER_BUTTON_X:
        return PadButton::West;
    case SDL_CONTROLLER_BUTTON_Y:
        return PadButton::North;
    case SDL_CONTROLLER_BUTTON_BACK:
        return PadButton::Back;
    case SDL_CONTROLLER_BUTTON_GUIDE:
        return PadButton::Guide;
    case SDL_CONTROLLER_BUTTON_START:
        return PadButton::Start;
    case SDL_CONTROLLER_BUTTON_LEFTSTICK:
        return PadButton::LeftStick;
    case SDL_CONTROLLER_BUTTON_RIGHTSTICK:
        return PadButton::RightStick;
    case SDL_CONTROLLER_BUTTON_LEFTSHOULDER:
        return PadButton::LeftShoulder;
    case SDL_CONTROLLER_BUTTON_RIGHTSHOULDER:
        return PadButton::RightShoulder;
    case SDL_CONTROLLER_BUTTON_DPAD_UP:
        return PadButton::DpadUp;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
        return PadButton::DpadDown;
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
        return PadButton::DpadLeft;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
        return PadButton::DpadRight;
    default:
        return PadButton::Other;
    }
}

PadAxis AxisOf(Uint8 axis) {
    switch (axis) {
    case SDL_CONTROLLER_AXIS_LEFTX:
        return PadAxis::LeftX;
    case SDL_CONTROLLER_AXIS_LEFTY:
        return PadAxis::LeftY;
    case SDL_CONTROLLER_AXIS_RIGHTX:
        return PadAxis::RightX;
    case SDL_CONTROLLER_AXIS_RIGHTY:
        return PadAxis::RightY;
    case SDL_CONTROLLER_AXIS_TRIGGERLEFT:
        return PadAxis::LeftTrigger;
    case SDL_CONTROLLER_AXIS_TRIGGERRIGHT:
        return PadAxis::RightTrigger;
    default:
        return PadAxis::Other;
    }
}

class SdlControllerSource final : public ControllerEventSource {
  public:
    SdlControllerSource() = default;
    SdlControllerSource(const SdlControllerSource&) = delete;
    SdlControllerSource& operator=(const SdlControllerSource&) = delete;

    ~SdlControllerSource() override {
        for (const auto& [id, pad] : pads_) {
            SDL_GameControllerClose(pad);
        }
        SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
        SDL_Quit();
    }

    std::vector<ControllerEvent> Poll() override {
        std::vector<ControllerEvent> events;
        SDL_Event e;
        for (int n = 0; n < kMostEventsAPoll && SDL_PollEvent(&e) != 0; ++n) {
            switch (e.type) {
            case SDL_CONTROLLERDEVICEADDED:
                Open(e.cdevice.which, events);
                break;
            case SDL_CONTROLLERDEVICEREMOVED:
                Close(e.cdevice.which, events);
                break;
            case SDL_CONTROLLERBUTTONDOWN:
            case SDL_CONTROLLERBUTTONUP: {
                ControllerEvent out;
                out.kind = e.type == SDL_CONTROLLERBUTTONDOWN ? ControllerEvent::Kind::ButtonDown
                                                              : ControllerEvent::Kind::ButtonUp;
                out.device = e.cbutton.which;
                out.button = ButtonOf(e.cbutton.button);
                events.push_back(out);
                break;
            }
            case SDL_CONTROLLERAXISMOTION: {
                ControllerEvent out;
                out.kind = ControllerEvent::Kind::Axis;
                out.device = e.caxis.which;
                out.axis = AxisOf(e.caxis.axis);
                out.value = e.caxis.value;
                events.push_back(out);
                break;
            }
            default:
                break; // the raw joystick events the controller events are made from
            }
        }
        return events;
    }

  private:
    // `index` is the device's place in SDL's list when it was added; from then on it goes by its
    // instance id.
    void Open(int index, std::vector<ControllerEvent>& events) {
        SDL_GameController* pad = SDL_GameControllerOpen(index);
        if (pad == nullptr) {
            return;
        }
        const int id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pad));
        if (id < 0 || pads_.count(id) != 0) {
            SDL_GameControllerClose(pad); // told twice (present at start): one handle is kept
            return;
        }
        pads_.emplace(id, pad);
        ControllerEvent out;
        out.kind = ControllerEvent::Kind::Added;
        out.device = id;
        events.push_back(out);
    }

    void Close(int id, std::vector<ControllerEvent>& events) {
        const auto it = pads_.find(id);
        if (it == pads_.end()) {
            return;
        }
        SDL_GameControllerClose(it->second);
        pads_.erase(it);
        ControllerEvent out;
        out.kind = ControllerEvent::Kind::Removed;
        out.device = id;
        events.push_back(out);
    }

    std::map<int, SDL_GameController*> pads_;
};

} // namespace

bool ControllerSupportBuilt() {
    return true;
}

std::unique_ptr<ControllerEventSource> OpenControllerEventSource(std::string* whyNot) {
    // Ctrl+C and the desktop's end signal keep ending the program as they do without a controller.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
        if (whyNot != nullptr) {
            *whyNot = SDL_GetError();
        }
        SDL_Quit();
        return nullptr;
    }
    return std::make_unique<SdlControllerSource>();
}

} // namespace kestrova
