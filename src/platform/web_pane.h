#pragma once
// The web pane laid over the menu. Two engines: a real browser engine for the desktop, and a
// light rich-text browser for the replay harness (deterministic, synchronous, no helper
// processes). Both judge every address they are about to follow, links and the front end's own
// requests alike, by who asks for it (engine/web_origin.h), and hand what they may follow to
// `beforeNavigate`, which may cancel it.

#include "engine/ports.h"

#include <QList>
#include <QUrl>
#include <QWidget>

class QKeyEvent;
class QPainter;

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace kestrova {

// Files of a CD image reach the pane through this scheme of the program's own
// ("kestrova-disc://HOST/pages/demos.html"), served from the disc in use under one host only,
// DiscSchemeHost(); the hook still gets them as local files of the disc root, so a page acts the
// same from an image as from a folder. Made known to the engine as it starts, before its first
// view, and only for an image: on a folder disc no address of the scheme is followed.
inline constexpr char kDiscScheme[] = "kestrova-disc";
// The host of the disc scheme for this run: 128 random bits made at the first use, which no page
// from elsewhere can know or guess.
const std::string& DiscSchemeHost();

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
    // The page shown before, asked for as the shown page's own request: the browser engine's
    // history, or the light pane's list of the pages it showed.
    void Back() override;

    // Gets the address text and returns true to cancel the navigation. It may close the window,
    // which deletes this pane: nothing of the pane is touched after it.
    //
    // A local file reads as the six characters "file:/" followed by its absolute path in the
    // system's own separators, so a link from a disc page to "../claunch_exes/x.exe" reads
    // "file:/" + "/disc/" + "claunch_exes/x.exe": its command prefix starts six characters behind
    // the length of the disc root, the one place the front end reads it; a file of an image reads
    // the same. Anything else keeps its URL text, so a web address never looks like the disc.
    //
    // Only addresses the pane lets through get here: a file of the disc (through the disc scheme
    // too) only when the front end itself or a page of the disc asks for it. Anything else that
    // asks for one, and every address of the disc scheme that is not this run's, is refused and
    // logged; the pane stays as it is (see engine/web_origin.h).
    std::function<bool(const std::string& address)> beforeNavigate;

    // A key the page in the browser engine had no use for; the light pane's keys reach the
    // window as any control's do.
    std::function<void(QKeyEvent*)> keyFromPage;

    // As if a link in the shown page were clicked: `url` is an address of the front end (a
    // path) or a URL. The page shown asks for it.
    void FollowLink(const std::string& url);

    // The text a URL is judged by (engine/web_origin.h): a local file as "file:/" followed by its
    // path, an address of the disc scheme as "kestrova-disc://" + its authority + "/" + its path,
    // anything else its URL text.
    static std::string AddressText(const QUrl& url);

    // The browser engine costs a helper process, an OpenGL context and a good deal of memory, so
    // it is started only when a page is wanted: when the pane comes on screen, or earlier when
    // one is likely soon (WarmUp). Pages asked for before then (start-up's loading page) are
    // recorded and loaded when it arrives, in their order.
    void StartEngine();
    void WarmUp() override;
    bool EngineStarted() const;
    // Whether the page last asked for has finished loading (the light pane loads at once); a pane
    // whose engine has not been wanted yet has nothing under way.
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
    // Starts the browser engine from the event loop, once.
    void AskForEngine();
    // The light pane, also what the desktop falls back to when the browser engine is missing.
    void MakeLight();
    // Judges a URL that `askingPage` (its addresses; nothing: the front end) asks for, and asks
    // the hook about it when it may be followed; true to cancel.
    bool Ask(const QUrl& url, const std::optional<QList<QUrl>>& askingPage);
    // The addresses of the page shown, as the engine gives them.
    QList<QUrl> ShownPage() const;

    class Impl;
    std::unique_ptr<Impl> impl_;
    std::string url_;
};

} // namespace kestrova
