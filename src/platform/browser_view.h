#pragma once
// The browser engine behind the web pane, as its plugin ("kestrova_browser", see plugin_loader.h)
// offers it. The pane talks to the engine through these two interfaces only.

#include <QByteArray>
#include <QKeyEvent>
#include <QList>
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

    // Loads an address the pane asks for: the engine still asks about it, as the pane's own.
    virtual void Load(const QUrl& url) = 0;
    // A page nobody sees is frozen: its scripts, timers and drawing stop until it is woken.
    virtual void SetAwake(bool awake) = 0;
    // Back to the page before in the view's history; the engine asks about it as the page's own
    // request.
    virtual void GoBack() = 0;

    // The addresses the engine gives for the page shown: the one it last committed to and the
    // one it names as the page's (already the next one while the pane's own load is under way).
    // None before the first page.
    virtual QList<QUrl> PageUrls() const = 0;

    // Asked before every navigation; true cancels it. The second argument says who asks: nothing
    // for the pane's own load, else the addresses of the page that asks (for a frame, of the
    // page it is part of; for a redirect, also the address being loaded). The pane may be gone
    // when it returns.
    std::function<bool(const QUrl&, const std::optional<QList<QUrl>>&)> ask;
    std::function<void()> loadStarted;
    std::function<void()> loadFinished;
    // A key the page had no use for (Backspace outside a text field, Escape, Alt+Left).
    std::function<void(QKeyEvent*)> keyNotTaken;

    // The pane that set the hooks is going: the view reports to nobody from now on, though the
    // engine may still be at work on a page and send its events before the view itself goes.
    void DropHooks() {
        ask = nullptr;
        loadStarted = nullptr;
        loadFinished = nullptr;
        keyNotTaken = nullptr;
    }
};

class BrowserEngine {
  public:
    virtual ~BrowserEngine() = default;
    virtual BrowserView* CreateView(QWidget* parent) = 0;

    // A URL scheme of the program's own, as a local and secure one. Only before the engine's
    // first view or profile is made.
    virtual void RegisterScheme(const QByteArray& name) = 0;
    // Serves the scheme's URLs from `files`: the bytes of a URL, or nothing for "not found".
    virtual void ServeScheme(const QByteArray& name,
                             std::function<std::optional<QByteArray>(const QUrl&)> files) = 0;
};

} // namespace kestrova

#define KESTROVA_BROWSER_ENGINE_IID "org.kestrova.BrowserEngine/1"
Q_DECLARE_INTERFACE(kestrova::BrowserEngine, KESTROVA_BROWSER_ENGINE_IID)
