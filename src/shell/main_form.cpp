#include "shell/main_form.h"

#include "catalogue/error.h"
#include "platform/dxdraw.h"
#include "platform/qt_controls.h"
#include "platform/web_pane.h"
#include "shell/frame.h"
#include "shell/game_console.h"
#include "shell/startup.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QLoggingCategory>
#include <QTextEdit>
#include <QTimer>

Q_LOGGING_CATEGORY(lcShell, "kestrova.shell")

namespace kestrova {

namespace {

constexpr int kClientWidth = 792;
constexpr int kClientHeight = 573;

// Frame k falls at k * 1000 / 60 ms: a fixed 60 frames per second on any display.
long long FrameTime(long long k) {
    return k * 1000 / 60;
}

QWidget* MakePanel(QWidget* parent, const QRect& bounds, const QColor& colour) {
    auto* panel = new QWidget(parent);
    panel->setGeometry(bounds);
    panel->setAutoFillBackground(true);
    QPalette pal = panel->palette();
    pal.setColor(QPalette::Window, colour);
    panel->setPalette(pal);
    return panel;
}

GifLabel* MakeBanner(QWidget* parent, const QRect& bounds) {
    QWidget* panel = MakePanel(parent, bounds, Qt::black);
    auto* gif = new GifLabel(panel);
    gif->setGeometry(0, 0, bounds.width(), bounds.height());
    return gif;
}

} // namespace

TMainForm::TMainForm(const MainFormOptions& options, QWidget* parent)
    : QWidget(parent), options_(options) {
    setWindowTitle(QStringLiteral("i"));
    setFixedSize(kClientWidth, kClientHeight);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    setPalette(pal);
    setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);

    dxdraw_ = new DxDrawWidget(this);
    dxdraw_->setGeometry(0, 0, kClientWidth, kClientHeight);
    connect(dxdraw_, &DxDrawWidget::MouseMoved, this,
            [this](int x, int y) { DxDrawMouseMove(x, y); });
    connect(dxdraw_, &DxDrawWidget::MousePressed, this,
            [this](int x, int y, int) { DxDrawMouseDown(x, y); });

    web_ = new WebPaneWidget(
        options.lightWebPane ? WebPaneWidget::Engine::Light : WebPaneWidget::Engine::Browser, this);
    web_->setGeometry(800, 130, 798, 360);

    adbanner_ = MakeBanner(this, QRect(163, 505, 468, 60));
    GIFImage1_ = MakeBanner(this, QRect(10, 505, 143, 60));
    GIFImage2_ = MakeBanner(this, QRect(640, 505, 143, 60));
    if (options.replay) {
        for (GifLabel* g : {adbanner_, GIFImage1_, GIFImage2_}) {
            g->SetPaused(true);
        }
    }

    panel4_ = MakePanel(this, QRect(437, 137, 283, 208), Qt::white);
    richEdit_ = new QTextEdit(panel4_);
    richEdit_->setReadOnly(true);
    richEdit_->setGeometry(0, 0, 283, 208);
    panel4_->hide();

    // The adventure's console; its message boxes are recorded, and shown unless replaying.
    gamepanel_ = new kestrova::GamePanel(this);
    gamepanel_->SetMessageBox([this](const std::string& text) {
        messages_.ShowMessage(text);
        if (!options_.replay) {
            DialogMessages().ShowMessage(text);
        }
    });
    connect(gamepanel_, &kestrova::GamePanel::OpenWebPageRequested, this,
            [this](const QString& address) {
                state_.pendingUrl = address.toStdString();
                state_.navigatePending = true;
            });

    // The curtain covers everything until the first frame is drawn.
    curtains_ = new QLabel(QStringLiteral("Loading..."), this);
    curtains_->setGeometry(0, 0, kClientWidth, kClientHeight);
    curtains_->setAlignment(Qt::AlignCenter);
    curtains_->setAutoFillBackground(true);
    QPalette cp = curtains_->palette();
    cp.setColor(QPalette::Window, Qt::black);
    cp.setColor(QPalette::WindowText, Qt::white);
    curtains_->setPalette(cp);
    curtains_->raise();
}

TMainForm::~TMainForm() = default;

QWidget* TMainForm::Curtains() const {
    return curtains_;
}

GifLabel* TMainForm::Banner(int which) const {
    return which == 0 ? GIFImage1_ : which == 1 ? adbanner_ : GIFImage2_;
}

std::string TMainForm::CurrentDirectory() const {
    std::string dir = QDir::currentPath().toStdString();
    if (dir.empty() || dir.back() != '/') {
        dir += '/';
    }
    return dir;
}

void TMainForm::Initialize() {
    StartupServices services;
    services.web = web_;
    services.adbanner = adbanner_;
    services.GIFImage1 = GIFImage1_;
    services.GIFImage2 = GIFImage2_;
    services.currentDirectory = CurrentDirectory();
    services.nowMs = clockMs_;
    DxDrawInitialize(state_, services);
    FormCreate(state_);
    dxdraw_->GetCanvas().SetCanDraw(true);
    initialized_ = true;
}

void TMainForm::SetActive(bool active) {
    if (active == active_) {
        return;
    }
    active_ = active;
    if (active && state_.dxTimerEnabled) {
        DXTimerActivate(state_);
        setWindowTitle(QString::fromStdString(state_.caption));
        Q_EMIT CaptionChanged(QString::fromStdString(state_.caption));
    }
}

long long TMainForm::NextFrameMs() const {
    return FrameTime(slot_ + 1);
}

void TMainForm::FireDueTimers(long long upTo) {
    // Timers fire in the order they fall due; the frames in between keep their pace.
    for (;;) {
        WindowTimer* next = nullptr;
        for (WindowTimer* t : {&state_.launchit, &state_.bannerpush, &state_.Timer1}) {
            if (t->enabled && t->nextDueMs <= upTo && (!next || t->nextDueMs < next->nextDueMs)) {
                next = t;
            }
        }
        if (!next) {
            return;
        }
        next->nextDueMs += next->intervalMs;
        if (next == &state_.Timer1) {
            Timer1Timer(state_);
        } else if (next == &state_.launchit) {
            state_.launchit.Disable(); // the delayed launch has no handler yet
        }
    }
}

void TMainForm::AdvanceTo(long long nowMs) {
    if (!initialized_ || state_.closed) {
        clockMs_ = std::max(clockMs_, nowMs);
        return;
    }
    while (FrameTime(slot_ + 1) <= nowMs) {
        const long long t = FrameTime(slot_ + 1);
        FireDueTimers(t);
        clockMs_ = t;
        ++slot_;
        if (active_ && state_.dxTimerEnabled) {
            ++frames_;
            RunFrame();
        }
    }
    FireDueTimers(nowMs);
    clockMs_ = std::max(clockMs_, nowMs);
}

void TMainForm::SkipTo(long long nowMs) {
    FireDueTimers(nowMs);
    while (FrameTime(slot_ + 1) <= nowMs) {
        ++slot_;
    }
    clockMs_ = std::max(clockMs_, nowMs);
}

void TMainForm::RunOneFrame() {
    AdvanceTo(NextFrameMs());
}

void TMainForm::RunFrame() {
    FrameContext ctx{dxdraw_->GetCanvas(), web_, CurrentDirectory(), [this] {
                         curtains_->hide();
                         // The browser engine starts once the menu is on screen.
                         QTimer::singleShot(0, web_, [this] { web_->StartEngine(); });
                     }};
    DXTimerTimer(state_, ctx);
}

void TMainForm::DxDrawMouseMove(int x, int y) {
    state_.mouseX = x;
    state_.mouseY = y;
}

void TMainForm::DxDrawMouseDown(int x, int y) {
    Q_UNUSED(x);
    Q_UNUSED(y);
    // A click on the drawn front end puts the game away.
    gamepanel_->hide();
}

void TMainForm::closeEvent(QCloseEvent* event) {
    // The closing sequence: timers stop, then the banners, the web pane and the drawing surface
    // go, in that order, and the application is asked to end.
    FormClose(state_);
    delete GIFImage1_;
    GIFImage1_ = nullptr;
    delete web_;
    web_ = nullptr;
    delete GIFImage2_;
    GIFImage2_ = nullptr;
    dxdraw_->GetCanvas().SetCanDraw(false);
    delete dxdraw_;
    dxdraw_ = nullptr;
    QWidget::closeEvent(event);
    QCoreApplication::quit();
}

} // namespace kestrova
