#pragma once
// The web pane laid over the menu. Two engines: a real browser engine for the desktop, and a
// light rich-text browser for the replay harness (deterministic, synchronous, no helper
// processes). Both hand every address they are about to follow to `beforeNavigate`, which may
// cancel it.

#include "engine/ports.h"

#include <QWidget>

#include <functional>
#include <memory>

namespace kestrova {

class WebPaneWidget : public QWidget, public WebPane {
    Q_OBJECT
  public:
    enum class Engine { Browser, Light };
    WebPaneWidget(Engine engine, QWidget* parent = nullptr);
    ~WebPaneWidget() override;

    void Navigate(const std::string& url) override;
    int Left() const override { return x(); }
    void SetLeft(int left) override { move(left, y()); }
    std::string Url() const override { return url_; }

    // Returns true to cancel the navigation.
    std::function<bool(const std::string& url)> beforeNavigate;

    // As if a link in the shown page were clicked.
    void FollowLink(const std::string& url);

    // The browser engine takes a few hundred milliseconds to start; it is started once the first
    // frame is on screen, and pages asked for before then are loaded when it is.
    void StartEngine();
    bool EngineStarted() const;

  private:
    // An address of the front end (a path of the disc, or a web address) as a URL to load.
    static QUrl ToUrl(const std::string& address);

    void Load(const std::string& url);

    class Impl;
    std::unique_ptr<Impl> impl_;
    std::string url_;
};

} // namespace kestrova
