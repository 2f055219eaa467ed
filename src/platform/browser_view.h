#pragma once
// The browser engine behind the web pane, as its plugin ("kestrova_browser", see plugin_loader.h)
// offers it. The pane talks to the engine through these two interfaces only.

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QUrl>
#include <QWidget>
#include <QtPlugin>

#include <functional>
#include <optional>

namespace kestrova {

// One browser view, a widget placed in the pane.
class BrowserView : public QWidget {
  public:
    using QWidget::QWidget;
    ~BrowserView() override = default;

    virtual void Load(const QUrl& url) = 0;
    // A page nobody sees is frozen: its scripts, timers and drawing stop until it is woken.
    virtual void SetAwake(bool awake) = 0;

    // Asked before every navigation, the pane's own requests included; true cancels it. The
    // pane may be gone when it returns.
    std::function<bool(const QUrl&)> ask;
    std::function<void()> loadStarted;
    std::function<void()> loadFinished;

    // The pane that set the hooks is going: the view reports to nobody from now on, though the
    // engine may still be at work on a page and send its events before the view itself goes.
    void DropHooks() {
        ask = nullptr;
        loadStarted = nullptr;
        loadFinished = nullptr;
    }
};

class BrowserEngine {
  public:
    virtual ~BrowserEngine() = default;
    virtual BrowserView* CreateView(QWidget* parent) = 0;

    // A URL scheme of the program's own, as a local and secure one. Only before the application
    // object exists.
    virtual void RegisterScheme(const QByteArray& name) = 0;
    // Serves the scheme's URLs from `files`: the bytes of a URL, or nothing for "not found".
    virtual void ServeScheme(const QByteArray& name,
                             std::function<std::optional<QByteArray>(const QUrl&)> files) = 0;
};

} // namespace kestrova

#define KESTROVA_BROWSER_ENGINE_IID "org.kestrova.BrowserEngine/1"
Q_DECLARE_INTERFACE(kestrova::BrowserEngine, KESTROVA_BROWSER_ENGINE_IID)
