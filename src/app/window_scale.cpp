#include "app/window_scale.h"

#include <QGuiApplication>

namespace kestrova {

int ChosenWindowScale(int option, int setting) {
    return option > 0 ? option : setting;
}

ToolkitScale ToolkitScaleFor(int scale) {
    ToolkitScale out;
    if (scale <= 0) {
        return out;
    }
    // Exactly N screen pixels for one of the window's: the screen's density is left out, and so
    // are factors the user's environment gives per screen. (A display that enlarges every window
    // itself, as a Wayland output scale does, still multiplies.)
    out.environment = {{"QT_ENABLE_HIGHDPI_SCALING", "0"},
                       {"QT_SCALE_FACTOR", std::to_string(scale)},
                       {"QT_SCREEN_SCALE_FACTORS", ""}};
    out.roundScreenFactor = false;
    return out;
}

void ApplyToolkitScale(const ToolkitScale& scale) {
    for (const auto& [name, value] : scale.environment) {
        if (value.empty()) {
            qunsetenv(name.c_str());
        } else {
            qputenv(name.c_str(), QByteArray::fromStdString(value));
        }
    }
    if (scale.roundScreenFactor) {
        // A user's QT_SCALE_FACTOR_ROUNDING_POLICY still wins.
        QGuiApplication::setHighDpiScaleFactorRoundingPolicy(
            Qt::HighDpiScaleFactorRoundingPolicy::RoundPreferFloor);
    }
}

} // namespace kestrova
