#include "ui/editor_form.h"

namespace kestrova {

Tform1::Tform1(QWidget* parent) : QWidget(parent) {
    setWindowTitle(QStringLiteral("Disc editor"));
}

} // namespace kestrova
