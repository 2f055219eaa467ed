#include "platform/web_pane.h"

#include "catalogue/disc_path.h"

#include <QFileInfo>
#include <QLoggingCategory>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>
#include <QWebEnginePage>
#include <QWebEngineView>

Q_DECLARE_LOGGING_CATEGORY(lcPlatform)

namespace kestrova {

namespace {

// Pages ask the pane before every navigation, including the ones the front end requests.
class InterceptingPage : public QWebEnginePage {
  public:
    InterceptingPage(WebPaneWidget* pane, QObject* parent) : QWebEnginePage(parent), pane_(pane) {}

  protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType, bool) override {
        if (pane_->beforeNavigate && pane_->beforeNavigate(url.toString().toStdString())) {
            return false;
        }
        return true;
    }

  private:
    WebPaneWidget* pane_;
};

} // namespace

class WebPaneWidget::Impl {
  public:
    bool browser = false;
    QWebEngineView* view = nullptr;
    QTextBrowser* light = nullptr;
    QVBoxLayout* layout = nullptr;
};

WebPaneWidget::WebPaneWidget(Engine engine, QWidget* parent)
    : QWidget(parent), impl_(std::make_unique<Impl>()) {
    auto* layout = new QVBoxLayout(this);
    impl_->layout = layout;
    layout->setContentsMargins(0, 0, 0, 0);
    if (engine == Engine::Browser) {
        impl_->browser = true;
    } else {
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
        layout->addWidget(impl_->light);
    }
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
}

WebPaneWidget::~WebPaneWidget() = default;

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
    impl_->view = new QWebEngineView(this);
    impl_->view->setPage(new InterceptingPage(this, impl_->view));
    impl_->layout->addWidget(impl_->view);
    if (!url_.empty()) {
        Load(url_);
    }
}

bool WebPaneWidget::EngineStarted() const {
    return !impl_->browser || impl_->view != nullptr;
}

void WebPaneWidget::Navigate(const std::string& url) {
    url_ = url;
    Load(url);
}

void WebPaneWidget::Load(const std::string& url) {
    const QUrl target = ToUrl(url);
    if (impl_->view) {
        impl_->view->setUrl(target);
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
    if (beforeNavigate && beforeNavigate(url)) {
        return;
    }
    Navigate(url);
}

} // namespace kestrova
