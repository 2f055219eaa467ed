#include "platform/program_icon.h"

// Resources of a static library must be registered by hand, from the global namespace.
static void InitIconResources() {
    Q_INIT_RESOURCE(program_icon);
}

namespace kestrova {

QIcon ProgramIcon() {
    static const bool registered = (InitIconResources(), true);
    (void)registered;
    QIcon icon(QStringLiteral(":/icons/kestrova.svg"));
    // Without an SVG icon engine the icon names a file no engine can draw: none at all is
    // better than a blank one.
    if (icon.availableSizes().isEmpty() && icon.pixmap(32, 32).isNull()) {
        return QIcon();
    }
    return icon;
}

} // namespace kestrova
