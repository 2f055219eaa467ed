#include "platform/program_icon.h"

// Resources of a static library must be registered by hand, from the global namespace.
static void InitIconResources() {
    Q_INIT_RESOURCE(program_icon);
}

namespace kestrova {

QIcon ProgramIcon() {
    // Made once: every window asks for it, and telling whether it can be drawn draws it. Kept
    // to the end, past the toolkit's own end, whose icon engine it may hold.
    static const QIcon* const made = [] {
        InitIconResources();
        QIcon icon(QStringLiteral(":/icons/kestrova.svg"));
        // Without an SVG icon engine the icon names a file no engine can draw: none at all is
        // better than a blank one.
        if (icon.availableSizes().isEmpty() && icon.pixmap(32, 32).isNull()) {
            return new QIcon();
        }
        return new QIcon(icon);
    }();
    return *made;
}

} // namespace kestrova
