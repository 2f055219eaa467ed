// The browser engine's plugin: the only code of the program linked to the engine's libraries.

#include "platform/browser_view.h"

#include <QBuffer>
#include <QMimeDatabase>
#include <QOpenGLWidget>
#include <QPointer>
#include <QVBoxLayout>
#include <QWebEngineHistory>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>
#include <QWebEngineUrlSchemeHandler>
#include <QWebEngineView>

namespace kestrova {

namespace {

class InterceptingPage : public QWebEnginePage {
  public:
    InterceptingPage(BrowserView* owner, QObject* parent) : QWebEnginePage(parent), owner_(owner) {
        QObject::connect(this, &QWebEnginePage::loadFinished, this, [this] { loading_ = QUrl(); });
    }

    // The pane is about to load an address of its own choosing.
    void ExpectOwnLoad() { ++ownLoads_; }

    QList<QUrl> PageUrls() const {
        QList<QUrl> urls;
        const QWebEngineHistoryItem committed = history()->currentItem();
        for (const QUrl& page : {committed.isValid() ? committed.url() : QUrl(), url()}) {
            if (!page.isEmpty() && !urls.contains(page)) {
                urls.append(page);
            }
        }
        return urls;
    }

  protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override {
        // The owner's hook may close the window and delete the owner: a copy is called.
        if (!owner_ || !owner_->ask) {
            return true;
        }
        std::optional<QList<QUrl>> asking;
        if (type == NavigationTypeTyped && isMainFrame && ownLoads_ > 0) {
            // Only a load of the view's own is typed; a page cannot make one.
            --ownLoads_;
        } else {
            // A page asks: a link, a script, a form, a frame of it. A frame is judged by the page
            // it is part of; a redirect may come from the server of the address being loaded, or
            // from a script of the page shown as it loads.
            asking = PageUrls();
            if (type == NavigationTypeRedirect && isMainFrame && loading_.isValid() &&
                !asking->contains(loading_)) {
                asking->append(loading_);
            }
        }
        const auto ask = owner_->ask;
        const QPointer<InterceptingPage> self(this);
        const bool accept = !ask(url, asking);
        if (accept && self && isMainFrame) {
            loading_ = url;
        }
        return accept;
    }

  private:
    QPointer<BrowserView> owner_;
    int ownLoads_ = 0;
    QUrl loading_; // the main frame's address being loaded, until its load ends
};

class WebEngineView : public BrowserView {
  public:
    explicit WebEngineView(QWidget* parent) : BrowserView(parent), view_(new QWebEngineView(this)) {
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(view_);
        page_ = new InterceptingPage(this, view_);
        view_->setPage(page_);
        // The engine draws through OpenGL, and a window that gains such a child once it exists is
        // destroyed and made again. A hidden one from the start gives the view's window the
        // right kind of surface when it is made.
        auto* surfaceKind = new QOpenGLWidget(this);
        surfaceKind->setGeometry(0, 0, 1, 1);
        surfaceKind->hide();
        // A hook may drop the hooks (its pane going): a copy is called.
        QObject::connect(view_, &QWebEngineView::loadStarted, this, [this] {
            if (const auto started = loadStarted) {
                started();
            }
        });
        QObject::connect(view_, &QWebEngineView::loadFinished, this, [this] {
            if (const auto finished = loadFinished) {
                finished();
            }
        });
    }

    void Load(const QUrl& url) override {
        page_->ExpectOwnLoad();
        view_->setUrl(url);
    }

    QList<QUrl> PageUrls() const override { return page_->PageUrls(); }

    void GoBack() override { view_->back(); }

    void SetAwake(bool awake) override {
        QWebEnginePage* page = view_->page();
        const auto wanted =
            awake ? QWebEnginePage::LifecycleState::Active : QWebEnginePage::LifecycleState::Frozen;
        if (page->lifecycleState() != wanted) {
            page->setLifecycleState(wanted);
        }
    }

  protected:
    // The engine hands a key the page did not use to the view's parent, which is this.
    void keyPressEvent(QKeyEvent* event) override {
        if (const auto hook = keyNotTaken) {
            hook(event);
        }
    }

  private:
    QWebEngineView* view_;
    InterceptingPage* page_ = nullptr;
};

// Serves the browser engine a scheme's files from the program's reader.
class SchemeHandler : public QWebEngineUrlSchemeHandler {
  public:
    SchemeHandler(std::function<std::optional<QByteArray>(const QUrl&)> files, QObject* parent)
        : QWebEngineUrlSchemeHandler(parent), files_(std::move(files)) {}

    void requestStarted(QWebEngineUrlRequestJob* job) override {
        const std::optional<QByteArray> bytes = files_(job->requestUrl());
        if (!bytes) {
            job->fail(QWebEngineUrlRequestJob::UrlNotFound);
            return;
        }
        auto* buffer = new QBuffer(job);
        buffer->setData(*bytes);
        buffer->open(QIODevice::ReadOnly);
        const QMimeType type =
            QMimeDatabase().mimeTypeForFileNameAndData(job->requestUrl().fileName(), *bytes);
        job->reply(type.name().toUtf8(), buffer);
    }

  private:
    std::function<std::optional<QByteArray>(const QUrl&)> files_;
};

} // namespace

class BrowserEnginePlugin : public QObject, public BrowserEngine {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID KESTROVA_BROWSER_ENGINE_IID)
    Q_INTERFACES(kestrova::BrowserEngine)
  public:
    BrowserView* CreateView(QWidget* parent) override { return new WebEngineView(parent); }

    void RegisterScheme(const QByteArray& name) override {
        QWebEngineUrlScheme scheme(name);
        scheme.setSyntax(QWebEngineUrlScheme::Syntax::Host);
        // Pages of the web cannot reach the scheme's files, and its pages reach nothing of this
        // machine beyond them.
        scheme.setFlags(QWebEngineUrlScheme::SecureScheme | QWebEngineUrlScheme::LocalScheme);
        QWebEngineUrlScheme::registerScheme(scheme);
    }

    void ServeScheme(const QByteArray& name,
                     std::function<std::optional<QByteArray>(const QUrl&)> files) override {
        QWebEngineProfile* profile = QWebEngineProfile::defaultProfile();
        if (!profile->urlSchemeHandler(name)) {
            profile->installUrlSchemeHandler(name, new SchemeHandler(std::move(files), profile));
        }
    }
};

} // namespace kestrova

#include "browser_plugin.moc"
