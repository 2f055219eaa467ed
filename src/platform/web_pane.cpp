#include "platform/web_pane.h"

#include "base/error.h"
#include "base/terminal_text.h"
#include "disc/disc_file_system.h"
#include "disc/disc_path.h"
#include "disc/file_reader.h"
#include "disc/image_file_system.h"

#include "engine/web_origin.h"
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
#include <QRandomGenerator>
#include <QTextBrowser>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>
#include <QWindow>

#include <array>
#include <optional>
#include <vector>

Q_DECLARE_LOGGING_CATEGORY(lcPlatform)

// Qt's own modules hand it the context every other one is shared with; the browser engine finds
// it there.
Q_GUI_EXPORT void qt_gl_set_global_share_context(QOpenGLContext* context);

namespace kestrova {

namespace {

bool IsDiscSchemeUrl(const QUrl& url) {
    return url.scheme() == QLatin1String(kDiscScheme);
}

// An address of the disc scheme as this run serves it: its one host, no user, no port.
bool IsThisRunsDiscUrl(const QUrl& url) {
    return IsDiscSchemeUrl(url) && CurrentDisc().IsImage() &&
           url.host().compare(QString::fromStdString(DiscSchemeHost()), Qt::CaseInsensitive) == 0 &&
           url.userInfo().isEmpty() && url.port() == -1;
}

// A URL as the log shows it: encoded (no control characters) and cut short.
QString Shown(const QUrl& url) {
    constexpr qsizetype kShown = 200;
    const QString text = QString::fromLatin1(url.toEncoded());
    return text.size() <= kShown ? text : text.left(kShown) + QStringLiteral("...");
}

// The disc path a URL of the disc scheme names, with the disc root in front.
std::string DiscPathOf(const QUrl& url) {
    QString path = url.path(QUrl::FullyDecoded);
    while (path.startsWith(QLatin1Char('/'))) {
        path.remove(0, 1);
    }
    return CurrentDisc().Root() + path.toStdString();
}

// The bytes of a file of the disc for the pane; nothing when the disc refuses it, or when the
// address is not this run's.
std::optional<QByteArray> DiscBytes(const QUrl& url) {
    if (!IsThisRunsDiscUrl(url)) {
        return std::nullopt;
    }
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
    std::vector<std::string> shown; // the light pane's pages, oldest first
    // The browser engine is started only when a page is wanted. Until it arrives the pages asked
    // for wait here: the one the pane held before anything was wanted (start-up's loading page),
    // then the latest.
    std::vector<std::string> waiting;
    bool startAsked = false; // a start of the engine is on its way
    // Pages still to load once the one loading has: the engine's history holds each in turn.
    std::vector<std::string> next;
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
        if (IsThisRunsDiscUrl(target)) {
            // Followed as the same file of a folder disc would be. Any other address of the
            // scheme stays as it is, and is refused.
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
    const bool onScreen = left < parentWidth && left + width() > 0;
    setVisible(onScreen);
    if (onScreen) {
        // A pane coming on screen has a page to show: the engine is wanted now.
        AskForEngine();
    }
    Place();
    Rest();
}

void WebPaneWidget::AskForEngine() {
    if (!impl_->browser || impl_->view || impl_->startAsked) {
        return;
    }
    impl_->startAsked = true;
    // Started from the event loop, so the frame that wanted it is shown first.
    QTimer::singleShot(0, this, [this] { StartEngine(); });
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

const std::string& DiscSchemeHost() {
    static const std::string host = [] {
        std::array<quint32, 4> bits{};
        QRandomGenerator::system()->fillRange(bits.data(), bits.size());
        // A letter first: a host of digits alone would read as a network address.
        QString text = QStringLiteral("disc-");
        for (const quint32 word : bits) {
            text += QStringLiteral("%1").arg(word, 8, 16, QLatin1Char('0'));
        }
        return text.toStdString();
    }();
    return host;
}

std::string WebPaneWidget::AddressText(const QUrl& url) {
    if (IsDiscSchemeUrl(url)) {
        QString path = url.path(QUrl::FullyDecoded);
        while (path.startsWith(QLatin1Char('/'))) {
            path.remove(0, 1);
        }
        return std::string(kDiscScheme) + "://" + url.authority().toStdString() + "/" +
               path.toStdString();
    }
    if (url.isLocalFile()) {
        return "file:/" + QDir::toNativeSeparators(url.toLocalFile()).toStdString();
    }
    return url.toString().toStdString();
}

bool WebPaneWidget::Ask(const QUrl& url, const std::optional<QList<QUrl>>& askingPage) {
    DiscFileSystem& inUse = CurrentDisc();
    const std::string root = inUse.Root();
    const std::string host = inUse.IsImage() ? DiscSchemeHost() : std::string();
    const DiscOrigin disc{root, host};
    const std::string target = AddressText(url);
    NavigationVerdict verdict;
    QString asker = QStringLiteral("the front end");
    if (!askingPage) {
        verdict = JudgeNavigation(target, std::nullopt, disc);
    } else {
        // A page is the disc's only when every address the engine gives for it is; one with no
        // address at all is an empty page.
        const QList<QUrl> pages = askingPage->isEmpty() ? QList<QUrl>{QUrl()} : *askingPage;
        for (const QUrl& page : pages) {
            verdict =
                JudgeNavigation(target, page.isEmpty() ? std::string() : AddressText(page), disc);
            asker = page.isEmpty() ? QStringLiteral("an empty page") : Shown(page);
            if (verdict.refused) {
                break;
            }
        }
    }
    if (verdict.refused) {
        qCWarning(lcPlatform).noquote()
            << "web pane: refused" << Shown(url) << "asked by" << asker << "-"
            << QString::fromUtf8(verdict.reason.data(),
                                 static_cast<qsizetype>(verdict.reason.size()));
        return true; // as "topbrow_": nothing more happens
    }
    if (!beforeNavigate) {
        return false;
    }
    // Everything the call needs lives here, for the hook may delete this pane.
    const auto hook = beforeNavigate;
    const QPointer<WebPaneWidget> self(this);
    ++impl_->asking;
    const bool cancel = hook(verdict.address);
    if (self) {
        --impl_->asking;
    }
    return cancel;
}

QList<QUrl> WebPaneWidget::ShownPage() const {
    if (impl_->view) {
        return impl_->view->PageUrls();
    }
    if (url_.empty()) {
        return {};
    }
    return {ToUrl(url_)};
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
        const std::string path = local ? address : asUrl.toLocalFile().toStdString();
        if (const std::optional<std::string> inside = disc.ImagePath(path)) {
            // The file as the image spells it (as written when it is not there), below the disc
            // scheme's one host.
            QUrl url;
            url.setScheme(QString::fromLatin1(kDiscScheme));
            url.setHost(QString::fromStdString(DiscSchemeHost()));
            url.setPath(QLatin1Char('/') + QString::fromStdString(*inside));
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
    impl_->startAsked = true;
    ShareOpenGLContexts();
    auto* engine = LoadPluginAs<BrowserEngine>(QStringLiteral("browser"));
    // The pages asked for while the engine was away, in their order.
    std::vector<std::string> waiting;
    waiting.swap(impl_->waiting);
    if (!engine) {
        // Without the engine the pane still shows disc pages and follows their links; each
        // waiting page is asked about here, and the hook may close the window and delete this
        // pane.
        impl_->browser = false;
        MakeLight();
        const QPointer<WebPaneWidget> self(this);
        for (const std::string& page : waiting) {
            Navigate(page);
            if (!self) {
                return;
            }
        }
        return;
    }
    // Only an image's pages come through the disc scheme, which is made known to the engine for
    // it alone, before the engine's first view.
    if (CurrentDisc().IsImage()) {
        engine->RegisterScheme(kDiscScheme);
        engine->ServeScheme(kDiscScheme, [](const QUrl& url) { return DiscBytes(url); });
    }
    impl_->view = engine->CreateView(nullptr);
    impl_->view->ask = [this](const QUrl& url, const std::optional<QList<QUrl>>& askingPage) {
        return Ask(url, askingPage);
    };
    impl_->view->loadStarted = [this] { impl_->loading = true; };
    impl_->view->loadFinished = [this] {
        impl_->loading = false;
        if (!impl_->next.empty()) {
            const std::string page = impl_->next.front();
            impl_->next.erase(impl_->next.begin());
            Load(page);
            return;
        }
        Rest();
    };
    impl_->view->keyNotTaken = [this](QKeyEvent* event) {
        if (const auto hook = keyFromPage) {
            hook(event);
        }
    };
    impl_->view->setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    impl_->view->setAttribute(Qt::WA_ShowWithoutActivating);
    impl_->view->winId();
    impl_->view->installEventFilter(this);
    Place();
    if (waiting.empty()) {
        return;
    }
    // Each waiting page loads once the one before it has, so the engine's history holds them
    // as it would had the engine been there all along; the engine asks about each.
    Load(waiting.front());
    impl_->next.assign(waiting.begin() + 1, waiting.end());
}

void WebPaneWidget::WarmUp() {
    AskForEngine();
}

bool WebPaneWidget::EngineStarted() const {
    return !impl_->browser || impl_->view != nullptr;
}

bool WebPaneWidget::PageLoaded() const {
    if (impl_->browser && !impl_->view) {
        return !impl_->startAsked; // nothing is under way until a page is wanted
    }
    return !impl_->loading && impl_->next.empty();
}

void WebPaneWidget::Navigate(const std::string& url) {
    // The browser engine asks the hook about every address it is about to follow, the front
    // end's own requests included. The light pane asks here, as it does for a link: a menu line
    // or a banner may name a command ("command_exit"), and a cancelled address leaves the page
    // shown as it is.
    if (!impl_->browser) {
        const QPointer<WebPaneWidget> self(this);
        if (Ask(ToUrl(url), std::nullopt) || !self) {
            return;
        }
    }
    Show(url);
}

void WebPaneWidget::Show(const std::string& url) {
    url_ = url;
    if (!impl_->view) {
        constexpr std::size_t kKeptPages = 100;
        if (impl_->shown.size() == kKeptPages) {
            impl_->shown.erase(impl_->shown.begin());
        }
        impl_->shown.push_back(url);
    }
    Load(url);
}

void WebPaneWidget::Back() {
    if (impl_->view) {
        impl_->view->GoBack();
        return;
    }
    if (impl_->shown.size() < 2) {
        return;
    }
    const std::string before = impl_->shown[impl_->shown.size() - 2];
    // Judged as the shown page asking for it, as the browser engine judges its history.
    const QPointer<WebPaneWidget> self(this);
    if (Ask(ToUrl(before), ShownPage()) || !self) {
        return;
    }
    impl_->shown.pop_back();
    url_ = before;
    Load(before);
}

void WebPaneWidget::Load(const std::string& url) {
    if (impl_->browser && !impl_->view) {
        // Kept until the engine arrives: the page held before anything was wanted, and the
        // latest.
        if (impl_->waiting.size() == 2) {
            impl_->waiting.back() = url;
        } else {
            impl_->waiting.push_back(url);
        }
        return;
    }
    if (!impl_->next.empty()) {
        impl_->next.back() = url; // after the page loading now, as the one before it was
        return;
    }
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
    if (Ask(ToUrl(url), ShownPage()) || !self) {
        return;
    }
    Show(url);
}

} // namespace kestrova
