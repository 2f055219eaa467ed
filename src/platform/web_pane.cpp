#include "platform/web_pane.h"

#include "catalogue/disc_path.h"

#include "platform/browser_view.h"
#include "platform/plugin_loader.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QLoggingCategory>
#include <QPixmap>
#include <QPointer>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

Q_DECLARE_LOGGING_CATEGORY(lcPlatform)

namespace kestrova {

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
    impl_->light = new QTextBrowser(this);
    impl_->light->setOpenLinks(false);
    impl_->light->setFrameShape(QFrame::NoFrame);
    connect(impl_->light, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) {
        QUrl target = url;
        if (url.isRelative() && !url_.empty()) {
            target = ToUrl(url_).resolved(url);
        }
        FollowLink(target.toString().toStdString());
    });
    impl_->layout->addWidget(impl_->light);
}

WebPaneWidget::~WebPaneWidget() {
    // A link's command can close the window from inside the hook, while the engine that asked is
    // still working on the stack: it is set free and deleted once control is back in the event
    // loop.
    if (impl_->asking > 0) {
        for (QWidget* engine :
             {static_cast<QWidget*>(impl_->view), static_cast<QWidget*>(impl_->light)}) {
            if (engine) {
                engine->hide();
                engine->setParent(nullptr);
                engine->deleteLater();
            }
        }
    }
}

void WebPaneWidget::SetLeft(int left) {
    move(left, y());
    const QWidget* parent = parentWidget();
    const int parentWidth = parent ? parent->width() : 800;
    setVisible(left < parentWidth && left + width() > 0);
    Rest();
}

// A page nobody sees is frozen: its scripts, timers and drawing stop until it is shown or loads
// another page, which wakes it.
void WebPaneWidget::Rest() {
    if (!impl_->view) {
        return;
    }
    impl_->view->SetAwake(isVisible() || impl_->loading);
}

std::string WebPaneWidget::AddressText(const QUrl& url) {
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
    const QImage image = grab().toImage().convertToFormat(QImage::Format_RGB32);
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
    if (asUrl.scheme().size() > 1) { // a drive letter is not a scheme
        return asUrl;
    }
    const QString real = QString::fromStdString(ResolveDiscPath(address));
    return QUrl::fromLocalFile(QFileInfo(real).absoluteFilePath());
}

void WebPaneWidget::StartEngine() {
    if (!impl_->browser || impl_->view) {
        return;
    }
    auto* engine = LoadPluginAs<BrowserEngine>(QStringLiteral("browser"));
    if (!engine) {
        // Without the engine the pane still shows disc pages and follows their links.
        impl_->browser = false;
        MakeLight();
    } else {
        impl_->view = engine->CreateView(this);
        impl_->view->ask = [this](const QUrl& url) { return Ask(url); };
        impl_->view->loadStarted = [this] { impl_->loading = true; };
        impl_->view->loadFinished = [this] {
            impl_->loading = false;
            Rest();
        };
        impl_->layout->addWidget(impl_->view);
    }
    if (!url_.empty()) {
        Load(url_);
    }
}

bool WebPaneWidget::EngineStarted() const {
    return !impl_->browser || impl_->view != nullptr;
}

bool WebPaneWidget::PageLoaded() const {
    return EngineStarted() && !impl_->loading;
}

void WebPaneWidget::Navigate(const std::string& url) {
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
        if (target.isLocalFile()) {
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
    Navigate(url);
}

} // namespace kestrova
