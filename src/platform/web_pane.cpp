#include "platform/web_pane.h"

#include "base/error.h"
#include "base/terminal_text.h"
#include "disc/disc_file_system.h"
#include "disc/disc_path.h"
#include "disc/file_reader.h"
#include "disc/image_file_system.h"

#include "platform/browser_view.h"
#include "platform/plugin_loader.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QLoggingCategory>
#include <QOpenGLContext>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>
#include <QWindow>

#include <optional>

Q_DECLARE_LOGGING_CATEGORY(lcPlatform)

// Qt's own modules hand it the context every other one is shared with; the browser engine finds
// it there.
Q_GUI_EXPORT void qt_gl_set_global_share_context(QOpenGLContext* context);

namespace kestrova {

namespace {

bool IsDiscSchemeUrl(const QUrl& url) {
    return url.scheme() == QLatin1String(kDiscScheme);
}

// The disc path a URL of the disc scheme names, with the disc root in front.
std::string DiscPathOf(const QUrl& url) {
    QString path = url.path(QUrl::FullyDecoded);
    while (path.startsWith(QLatin1Char('/'))) {
        path.remove(0, 1);
    }
    return CurrentDisc().Root() + path.toStdString();
}

// The bytes of a file of the disc for the pane; nothing when the disc refuses it.
std::optional<QByteArray> DiscBytes(const QUrl& url) {
    if (CurrentDisc().Stat(DiscPathOf(url)).kind == DiscEntryKind::None) {
        return std::nullopt; // a missing file is the page's business, as from a folder
    }
    try {
        const std::vector<uint8_t> bytes = ReadBoundedFile(DiscPathOf(url), kWebFileKind);
        return QByteArray(reinterpret_cast<const char*>(bytes.data()),
                          static_cast<qsizetype>(bytes.size()));
    } catch (const Error& e) {
        qCWarning(lcPlatform).noquote()
            << "web pane:" << QString::fromStdString(TerminalSafe(e.Detail()));
        return std::nullopt;
    }
}

// The light pane reads the pages of an image, and everything they show, from the disc.
class DiscTextBrowser : public QTextBrowser {
  public:
    using QTextBrowser::QTextBrowser;
    QVariant loadResource(int type, const QUrl& name) override {
        if (IsDiscSchemeUrl(name)) {
            const std::optional<QByteArray> bytes = DiscBytes(name);
            if (!bytes) {
                return {};
            }
            if (type == QTextDocument::ImageResource) {
                QImage image;
                image.loadFromData(*bytes);
                return image;
            }
            return QString::fromUtf8(*bytes);
        }
        return QTextBrowser::loadResource(type, name);
    }
};

} // namespace

class WebPaneWidget::Impl {
  public:
    bool browser = false;
    BrowserView* view = nullptr;
    QTextBrowser* light = nullptr;
    QVBoxLayout* layout = nullptr;
    int asking = 0; // calls of the hook under way
    bool loading = false;
};

WebPaneWidget::WebPaneWidget(Engine engine, QWidget* parent)
    : QWidget(parent), impl_(std::make_unique<Impl>()) {
    auto* layout = new QVBoxLayout(this);
    impl_->layout = layout;
    layout->setContentsMargins(0, 0, 0, 0);
    if (engine == Engine::Browser) {
        impl_->browser = true;
    } else {
        MakeLight();
    }
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
}

void WebPaneWidget::MakeLight() {
    impl_->light = new DiscTextBrowser(this);
    impl_->light->setOpenLinks(false);
    impl_->light->setFrameShape(QFrame::NoFrame);
    connect(impl_->light, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) {
        QUrl target = url;
        if (url.isRelative() && !url_.empty()) {
            target = ToUrl(url_).resolved(url);
        }
        if (IsDiscSchemeUrl(target)) {
            // Followed as the same file of a folder disc would be.
            target = QUrl::fromLocalFile(QString::fromStdString(DiscPathOf(target)));
        }
        FollowLink(target.toString().toStdString());
    });
    impl_->layout->addWidget(impl_->light);
}

WebPaneWidget::~WebPaneWidget() {
    // A link's command can close the window from inside the hook, while the engine that asked is
    // still working on the stack: it is set free and deleted once control is back in the event
    // loop.
    // The browser view is a window of its own: it leaves the window it is laid into before that
    // one goes, or that one would take the view's window with it. The engine may still send the
    // view a page's events (a load that started or ended) after this pane is gone: the view
    // stops passing them here first.
    if (impl_->view) {
        impl_->view->DropHooks();
        impl_->view->removeEventFilter(this);
        impl_->view->hide();
        if (QWindow* own = impl_->view->windowHandle()) {
            own->setParent(nullptr);
        }
        if (impl_->asking > 0) {
            impl_->view->deleteLater();
        } else {
            delete impl_->view;
        }
    }
    if (impl_->asking > 0 && impl_->light) {
        impl_->light->hide();
        impl_->light->setParent(nullptr);
        impl_->light->deleteLater();
    }
}

void WebPaneWidget::SetLeft(int left) {
    move(left, y());
    const QWidget* parent = parentWidget();
    const int parentWidth = parent ? parent->width() : 800;
    setVisible(left < parentWidth && left + width() > 0);
    Place();
    Rest();
}

// The browser engine draws through OpenGL. As an ordinary child of the window it would make the
// toolkit compose the whole window through OpenGL on every repaint, a heavy price with software
// rendering for a pane that is off screen most of the time. So the view is a native window of
// its own, a child of the window's, kept exactly over the pane: the window stays a plain raster
// one and the view costs nothing while nobody sees it.
void WebPaneWidget::Place() {
    BrowserView* view = impl_->view;
    if (!view) {
        return;
    }
    if (QWindow* own = view->windowHandle()) {
        QWindow* host = window()->windowHandle();
        if (host && own->parent() != host) {
            own->setParent(host);
        }
    }
    view->setGeometry(QRect(mapTo(window(), QPoint(0, 0)), size()));
    view->setVisible(isVisible());
}

bool WebPaneWidget::eventFilter(QObject* watched, QEvent* event) {
    // Should the toolkit make the view's window again (a change of screen), the new one is laid
    // into the window like the first.
    if (watched == impl_->view && event->type() == QEvent::WinIdChange) {
        Place();
    }
    return QWidget::eventFilter(watched, event);
}

QWidget* WebPaneWidget::ContentAt(QPoint at, QPoint* local) {
    // The browser view lies exactly over the pane, so a pane position is a view position.
    QWidget* surface = impl_->view ? static_cast<QWidget*>(impl_->view) : this;
    QWidget* target = surface->childAt(at);
    if (!target) {
        target = surface;
    }
    if (local) {
        *local = target->mapFrom(surface, at);
    }
    return target;
}

void WebPaneWidget::DrawFloating(QPainter& painter, QPoint origin) {
    if (impl_->view && isVisible()) {
        impl_->view->render(&painter, origin + mapTo(window(), QPoint(0, 0)));
    }
}

// A page nobody sees is frozen: its scripts, timers and drawing stop until it is shown or loads
// another page, which wakes it.
void WebPaneWidget::Rest() {
    if (!impl_->view) {
        return;
    }
    impl_->view->SetAwake(isVisible() || impl_->loading);
}

void RegisterDiscScheme() {
    if (auto* engine = LoadPluginAs<BrowserEngine>(QStringLiteral("browser"))) {
        engine->RegisterScheme(kDiscScheme);
    }
}

std::string WebPaneWidget::AddressText(const QUrl& url) {
    if (IsDiscSchemeUrl(url)) {
        // A file of an image: spelt as a local file of the disc root, as from a folder.
        return "file:/" + DiscPathOf(url);
    }
    if (url.isLocalFile()) {
        return "file:/" + QDir::toNativeSeparators(url.toLocalFile()).toStdString();
    }
    return url.toString().toStdString();
}

bool WebPaneWidget::Ask(const QUrl& url) {
    if (!beforeNavigate) {
        return false;
    }
    // Everything the call needs lives here, for the hook may delete this pane.
    const auto hook = beforeNavigate;
    const std::string address = AddressText(url);
    const QPointer<WebPaneWidget> self(this);
    ++impl_->asking;
    const bool cancel = hook(address);
    if (self) {
        --impl_->asking;
    }
    return cancel;
}

Picture WebPaneWidget::Grab() {
    QWidget* drawn = impl_->view ? static_cast<QWidget*>(impl_->view) : this;
    const QImage image = drawn->grab().toImage().convertToFormat(QImage::Format_RGB32);
    Picture picture;
    if (image.isNull()) {
        return picture;
    }
    picture.width = image.width();
    picture.height = image.height();
    picture.bitDepth = 32;
    picture.topDown = true;
    picture.pixels.reserve(static_cast<std::size_t>(picture.width) *
                           static_cast<std::size_t>(picture.height));
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            picture.pixels.push_back(0xFF000000u | (row[x] & 0xFFFFFFu));
        }
    }
    return picture;
}

QUrl WebPaneWidget::ToUrl(const std::string& address) {
    const QString text = QString::fromStdString(address);
    const QUrl asUrl(text);
    DiscFileSystem& disc = CurrentDisc();
    const bool local = asUrl.scheme().size() <= 1; // a drive letter is not a scheme
    if (disc.IsImage() && (local || asUrl.isLocalFile())) {
        const auto* image = dynamic_cast<const ImageFileSystem*>(&disc);
        const std::string path = local ? address : asUrl.toLocalFile().toStdString();
        const auto parts = image ? image->Components(path) : std::nullopt;
        if (parts) {
            // The file as the image spells it (as written when it is not there), below the disc
            // scheme's one host.
            const std::string& root = image->Root();
            const std::string real = image->Resolve(path);
            std::string inside;
            if (real.compare(0, root.size(), root) == 0) {
                inside = real.substr(root.size());
            } else {
                for (const std::string& part : *parts) {
                    inside += (inside.empty() ? "" : "/") + part;
                }
            }
            QUrl url;
            url.setScheme(QString::fromLatin1(kDiscScheme));
            url.setHost(QStringLiteral("disc"));
            url.setPath(QLatin1Char('/') + QString::fromStdString(inside));
            return url;
        }
    }
    if (!local) {
        return asUrl;
    }
    const QString real = QString::fromStdString(ResolveDiscPath(address));
    return QUrl::fromLocalFile(QFileInfo(real).absoluteFilePath());
}

namespace {

// The browser engine draws with OpenGL contexts shared with every other one. The application is
// made without asking for that (making the shared context costs a display's OpenGL start-up,
// which the first frame does not need); it is asked for here, before the engine is loaded, and
// the shared context is made now.
void ShareOpenGLContexts() {
    if (QOpenGLContext::globalShareContext()) {
        return;
    }
    {
        // Qt warns that the request comes after the application was made; here that is meant.
        const QtMessageHandler previous =
            qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
        qInstallMessageHandler(previous);
    }
    auto* shared = new QOpenGLContext(qApp);
    if (shared->create()) {
        qt_gl_set_global_share_context(shared);
    } else {
        delete shared;
    }
}

} // namespace

void WebPaneWidget::StartEngine() {
    if (!impl_->browser || impl_->view) {
        return;
    }
    ShareOpenGLContexts();
    auto* engine = LoadPluginAs<BrowserEngine>(QStringLiteral("browser"));
    if (!engine) {
        // Without the engine the pane still shows disc pages and follows their links.
        impl_->browser = false;
        MakeLight();
    } else {
        // Only an image's pages come through the disc scheme, which is registered for it alone.
        if (CurrentDisc().IsImage()) {
            engine->ServeScheme(kDiscScheme, [](const QUrl& url) { return DiscBytes(url); });
        }
        impl_->view = engine->CreateView(nullptr);
        impl_->view->ask = [this](const QUrl& url) { return Ask(url); };
        impl_->view->loadStarted = [this] { impl_->loading = true; };
        impl_->view->loadFinished = [this] {
            impl_->loading = false;
            Rest();
        };
        impl_->view->setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
        impl_->view->setAttribute(Qt::WA_ShowWithoutActivating);
        impl_->view->winId();
        impl_->view->installEventFilter(this);
        Place();
    }
    if (url_.empty()) {
        return;
    }
    if (impl_->view) {
        Load(url_); // the engine asks about it
    } else {
        Navigate(url_); // asked here; the hook may close the window and delete this pane
    }
}

bool WebPaneWidget::EngineStarted() const {
    return !impl_->browser || impl_->view != nullptr;
}

bool WebPaneWidget::PageLoaded() const {
    return EngineStarted() && !impl_->loading;
}

void WebPaneWidget::Navigate(const std::string& url) {
    // The browser engine asks the hook about every address it is about to follow, the front
    // end's own requests included. The light pane asks here, as it does for a link: a menu line
    // or a banner may name a command ("command_exit"), and a cancelled address leaves the page
    // shown as it is.
    if (!impl_->browser) {
        const QPointer<WebPaneWidget> self(this);
        if (Ask(ToUrl(url)) || !self) {
            return;
        }
    }
    Show(url);
}

void WebPaneWidget::Show(const std::string& url) {
    url_ = url;
    Load(url);
}

void WebPaneWidget::Load(const std::string& url) {
    const QUrl target = ToUrl(url);
    if (impl_->view) {
        impl_->loading = true;
        Rest();
        impl_->view->Load(target);
    } else if (impl_->light) {
        if (target.isLocalFile() || IsDiscSchemeUrl(target)) {
            impl_->light->setSource(target);
        } else {
            // The light pane does not go on line; it names the page instead.
            impl_->light->setHtml(
                QStringLiteral("<p>%1</p>").arg(target.toString().toHtmlEscaped()));
        }
    }
}

void WebPaneWidget::FollowLink(const std::string& url) {
    const QPointer<WebPaneWidget> self(this);
    if (Ask(ToUrl(url)) || !self) {
        return;
    }
    Show(url);
}

} // namespace kestrova
