#include "platform/qt_pace_clock.h"

#include <QEvent>

namespace kestrova {

QtPaceClock::QtPaceClock() {
    clock_.start();
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setSingleShot(true);
}

bool QtInputWatch::IsInput(const QEvent& event) {
    switch (event.type()) {
    case QEvent::MouseMove:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::InputMethod:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TouchCancel:
    case QEvent::TabletPress:
    case QEvent::TabletMove:
    case QEvent::TabletRelease:
    case QEvent::Enter:
    case QEvent::Leave:
    case QEvent::DragEnter:
    case QEvent::Drop:
        return true;
    default:
        return false;
    }
}

bool QtInputWatch::eventFilter(QObject* watched, QEvent* event) {
    if (input_ && IsInput(*event)) {
        input_();
    }
    return QObject::eventFilter(watched, event);
}

} // namespace kestrova
