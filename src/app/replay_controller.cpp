// The replay lines that play a game controller: a button pressed and let go, the left stick
// moved. They pass through the same mapping and into the window as a real controller's do.

#include "app/replay_runner.h"

#include "engine/front_end.h"
#include "ui/full_screen_view.h"
#include "ui/main_form.h"

#include <QApplication>
#include <QElapsedTimer>

namespace kestrova::replay {

namespace {

PadButton ButtonNamed(const QString& name) {
    static const struct {
        const char* name;
        PadButton button;
    } buttons[] = {{"a", PadButton::South},
                   {"b", PadButton::East},
                   {"x", PadButton::West},
                   {"y", PadButton::North},
                   {"back", PadButton::Back},
                   {"start", PadButton::Start},
                   {"lshoulder", PadButton::LeftShoulder},
                   {"rshoulder", PadButton::RightShoulder},
                   {"up", PadButton::DpadUp},
                   {"down", PadButton::DpadDown},
                   {"left", PadButton::DpadLeft},
                   {"right", PadButton::DpadRight}};
    for (const auto& b : buttons) {
        if (name.compare(QLatin1String(b.name), Qt::CaseInsensitive) == 0) {
            return b.button;
        }
    }
    throw UsageError("unknown controller button " + name.toStdString());
}

} // namespace

// A controller acts only on the active window: the harness's window is made the active one.
void ReplayRunner::ControllerKey(std::optional<NavigationKey> key) {
    if (!key) {
        return;
    }
    QWidget* window = form_.FullScreen() ? static_cast<QWidget*>(form_.FullScreen()) : &form_;
    if (QApplication::activeWindow() != window) {
        window->activateWindow();
        QElapsedTimer waited;
        waited.start();
        while (QApplication::activeWindow() != window && waited.elapsed() < 2000) {
            QApplication::processEvents(QEventLoop::AllEvents, 20);
        }
    }
    form_.ControllerKeyDown(*key);
    QApplication::processEvents();
}

void ReplayRunner::Pad(const LineArgs& a) {
    const PadButton button = ButtonNamed(a.words[0]);
    ControllerKey(pad_.ButtonDown(button, Engine().ClockMs()));
    pad_.ButtonUp(button);
}

// The stick moves to X, then Y: each axis as a report of its own. "stick 0 0" lets it go.
void ReplayRunner::Stick(const LineArgs& a) {
    const long long now = Engine().ClockMs();
    const int x = ToInt(a.words[0]);
    const int y = ToInt(a.words[1]);
    ControllerKey(pad_.AxisMoved(PadAxis::LeftX, x, now));
    ControllerKey(pad_.AxisMoved(PadAxis::LeftY, y, now));
}

} // namespace kestrova::replay
