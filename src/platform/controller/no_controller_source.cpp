// The build without SDL's development files: no game controller is ever read.

#include "platform/controller_source.h"

namespace kestrova {

bool ControllerSupportBuilt() {
    return false;
}

std::unique_ptr<ControllerEventSource> OpenControllerEventSource(std::string* whyNot) {
    if (whyNot != nullptr) {
        whyNot->clear();
    }
    return nullptr;
}

} // namespace kestrova
