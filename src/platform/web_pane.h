#pragma once
// The web pane laid over the menu. Two engines: a real browser engine for the desktop, and a
// light rich-text browser for the replay harness (deterministic, synchronous, no helper
// processes). Both hand every address they are about to follow, links and the front end's own
// requests alike, to `beforeNavigate`, which may cancel them.

#include "engine/ports.h"

#include <QUrl>
#include <QWidget>

class QPainter;

#include <functional>
#include <memory>

namespace kestrova {

// Files of a CD image reach the pane through this scheme of the program's own
// ("kestrova-disc://disc/pages/demos.html"), served from the disc in use; the hook still gets
// them as local files of the disc root (see AddressText), so a page acts the same from an image
// as from a folder. Registered before the application object is made.
inline constexpr char kDiscScheme[] = "kestrova-disc";
void RegisterDiscScheme();

class WebPaneWidget : public QWidget, public WebPane {
    Q_OBJECT
  public:
    enum class Engine { Browser, Light };
    WebPaneWidget(Engine engine, QWidget* parent = nullptr);
    ~WebPaneWidget() override;

    // Loads a page the front end asks for. The hook is asked about it first (by the light pane
    // at once, by the browser engine as it starts loading); it may close the window, which
    // deletes this pane.
    void Navigate(const std::string& url) override;
    int Left() const override { return x(); }
    // Off screen the pane is also hidden, so the browser engine stops drawing a page nobody sees.
    void SetLeft(int left) override;
    std::string Url() const override { return url_; }
    // The pane as it is drawn, without the window around it.
    Picture Grab() override;

    // Gets the address text (see AddressText) and returns true to cancel the navigation. It may
    // close the window, which deletes this pane: nothing of the pane is touched after it.
    std::function<bool(const std::string& address)> beforeNavigate;

    // As if a link in the shown page were clicked: `url` is an address of the front end (a
    // path) or a URL.
    void FollowLink(const std::string& url);

    // The text the hook gets for a URL. A local file is the six characters "file:/" followed by
    // its absolute path in the system's own separators, so a link from a disc page to
    // "../claunch_exes/x.exe" reads "file:/" + "/disc/" + "claunch_exes/x.exe": its command
    // prefix starts six characters behind the length of the disc root, the one place the front
    // end reads it. Anything else keeps its URL text, so a web address never looks like the disc.
    static std::string AddressText(const QUrl& url);

    // The browser engine takes a few hundred milliseconds to start; it is started once the first
    // frame is on screen, and pages asked for before then are loaded when it is.
    void StartEngine();
    bool EngineStarted() const;
    // Whether the page last asked for has finished loading (the light pane loads at once).
    bool PageLoaded() const;

    // The control under a position of the pane (a part of the page's view, or the pane), and
    // the position in that control's own coordinates in `local`.
    QWidget* ContentAt(QPoint at, QPoint* local);
    // Draws what the pane shows through a window of its own (the browser engine's view) onto a
    // picture of the whole window whose top left corner is at `origin`; nothing for the light
    // pane, which a picture of the window already holds.
    void DrawFloating(QPainter& painter, QPoint origin);

    // An address of the front end (a path of the disc, or a web address) as a URL to load: a
    // path or local file of an image disc becomes a URL of the disc scheme.
    static QUrl ToUrl(const std::string& address);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Shows `url` without asking the hook (it has been asked).
    void Show(const std::string& url);
    void Load(const std::string& url);
    void Rest();
    // Keeps the browser view's window over the pane.
    void Place();
    // The light pane, also what the desktop falls back to when the browser engine is missing.
    void MakeLight();
    // Asks the hook about a URL; true to cancel.
    bool Ask(const QUrl& url);

    class Impl;
    std::unique_ptr<Impl> impl_;
    std::string url_;
};

} // namespace kestrova
