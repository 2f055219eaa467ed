#pragma once
// Reads the game controllers on the UI thread, from a timer: each controller's buttons and stick
// go through its own mapping (engine/controller_mapping.h), and the navigation keys that come out
// are handed on, as a keyboard hands on its keys. Controllers may come and go while it runs.
// Without a source (a build without controller support, a system that refused, the user's
// choice) it does nothing and never wakes.

#include "engine/controller_mapping.h"
#include "platform/controller_source.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <functional>
#include <map>
#include <memory>

namespace kestrova {

class ControllerService : public QObject {
    Q_OBJECT
  public:
    // How often the source is read while a controller is plugged in, and while none is (only to
    // notice one being plugged in).
    static constexpr int kPollMs = 16;
    static constexpr int kIdlePollMs = 250;

    // A key from a controller; `repeat` for one a held direction or shoulder sends again.
    using KeySink = std::function<void(NavigationKey key, bool repeat)>;

    ControllerService(std::unique_ptr<ControllerEventSource> source, KeySink sink,
                      QObject* parent = nullptr);
    ~ControllerService() override;

    // Starts reading; nothing without a source.
    void Start();
    bool Running() const { return timer_.isActive(); }
    // How many controllers are plugged in.
    int Connected() const { return static_cast<int>(pads_.size()); }
    // The timer's current period.
    int PollPeriodMs() const { return timer_.interval(); }

    // One pass, `nowMs` on the service's clock: the source's events, then the repeats due.
    void Poll(long long nowMs);

  private:
    void Hand(std::optional<NavigationKey> key, bool repeat);

    std::unique_ptr<ControllerEventSource> source_;
    KeySink sink_;
    QTimer timer_;
    QElapsedTimer clock_;
    std::map<int, ControllerMapping> pads_;
    bool polling_ = false; // a key may open a modal box whose loop runs this timer again
};

} // namespace kestrova
