#pragma once
// Where a game controller's buttons and sticks come from: a source polled on the UI thread, which
// notices controllers plugged in and pulled out by itself. The program is built with one of two
// sources, chosen where the platform library is set up (controller/): the SDL one where SDL's
// development files were found at build time, else one that never opens.

#include "engine/controller_mapping.h"

#include <memory>
#include <string>
#include <vector>

namespace kestrova {

struct ControllerEvent {
    enum class Kind { Added, Removed, ButtonDown, ButtonUp, Axis };
    Kind kind = Kind::Added;
    int device = 0; // the controller's id while it stays plugged in; never reused for another
    PadButton button = PadButton::Other;
    PadAxis axis = PadAxis::Other;
    int value = 0; // an axis's new value
};

class ControllerEventSource {
  public:
    virtual ~ControllerEventSource() = default;
    // What happened since the last call, oldest first: never more than a bounded number, the
    // rest waiting for the next call. Controllers present at the start come as Added.
    virtual std::vector<ControllerEvent> Poll() = 0;
};

// Whether this build reads game controllers at all.
bool ControllerSupportBuilt();

// Starts reading game controllers, without a window or video of its own. Null when the build
// has no controller support (`whyNot` left empty) or the system refused (`whyNot` says why).
std::unique_ptr<ControllerEventSource> OpenControllerEventSource(std::string* whyNot);

} // namespace kestrova
