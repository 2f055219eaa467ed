#include "ui/main_form.h"

#include "platform/dxdraw.h"
#include "platform/editor_station.h"
#include "platform/program_icon.h"
#include "platform/qt_controls.h"
#include "platform/readme_pane.h"
#include "platform/web_pane.h"
#include "ui/editor_form.h"
#include "ui/full_screen_view.h"
#include "ui/game_panel.h"
#include "ui/navigation_key_events.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QTimer>

#include <optional>

namespace kestrova {

namespace {

constexpr int kClientWidth = 792;
constexpr int kClientHeight = 573;

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

// The loading curtain. Its caption takes the bundled face only when the curtain is first
// painted: the first frame is mostly drawn before that, and then nothing waits for the fonts
// before it.
class Curtain : public QLabel {
  public:
    using QLabel::QLabel;

  protected:
    void paintEvent(QPaintEvent* event) override {
        if (!faceSet_) {
            faceSet_ = true;
            FontSpec caption;
            caption.pixelHeight = 13;
            setFont(FontFor(caption));
        }
        QLabel::paintEvent(event);
    }

  private:
    bool faceSet_ = false;
};

} // namespace

TMainForm::TMainForm(const MainFormOptions& options, QWidget* parent)
    : QWidget(parent), options_(options) {
    // The desktop shows the program's title from the start: the design-time caption "i" stays in
    // the state until the first activation replaces it, but no taskbar or full-screen view shows
    // it.
    setWindowTitle(QStringLiteral("Kestrova CD-ROM"));
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
            [this](int x, int y) { engine_->DxDrawMouseMove(x, y); });
    connect(dxdraw_, &DxDrawWidget::MousePressed, this,
            [this](int x, int y, int) { engine_->DxDrawMouseDown(x, y); });

    web_ = new WebPaneWidget(
        options.lightWebPane ? WebPaneWidget::Engine::Light : WebPaneWidget::Engine::Browser, this);
    web_->setGeometry(800, 130, 798, 360);
    web_->SetLeft(800);

    adbanner_ = MakeBanner(this, QRect(163, 505, 468, 60));
    GIFImage1_ = MakeBanner(this, QRect(10, 505, 143, 60));
    GIFImage2_ = MakeBanner(this, QRect(640, 505, 143, 60));

    // The readme pane and the game panel wait (BuildPanels).

    // The curtain covers everything until the first frame is drawn.
    // Its caption is in the bundled face the frames use: the system's own face would be looked
    // up and loaded only for these few letters, shown for a moment.
    curtains_ = new Curtain(QStringLiteral("Loading..."), this);
    curtains_->setGeometry(0, 0, kClientWidth, kClientHeight);
    curtains_->setAlignment(Qt::AlignCenter);
    curtains_->setAutoFillBackground(true);
    QPalette cp = curtains_->palette();
    cp.setColor(QPalette::Window, Qt::black);
    cp.setColor(QPalette::WindowText, Qt::white);
    curtains_->setPalette(cp);
    curtains_->raise();

    Ports ports;
    frames_ = std::make_unique<RepeatSkippingCanvas>(dxdraw_->GetCanvas());
    ports.canvas = frames_.get();
    ports.web = web_;
    ports.adbanner = adbanner_;
    ports.GIFImage1 = GIFImage1_;
    ports.GIFImage2 = GIFImage2_;
    ports.launcher = options.launcher ? options.launcher : &recordedLaunches_;
    if (options.replay) {
        ports.sounds = &recordedSounds_;
    } else {
        sounds_ = std::make_unique<QtSoundPlayer>();
        ports.sounds = sounds_.get();
    }
    ports.messages = this;
    ports.window = this;
    ports.game = &lateGame_;
    ports.readme = &lateReadme_;
    ports.log = &log_;
    engine_ = std::make_unique<FrontEnd>(ports);
    connect(adbanner_, &GifLabel::Clicked, this, [this] { engine_->adbannerClick(); });
    connect(GIFImage1_, &GifLabel::Clicked, this, [this] { engine_->GIFImage1Click(); });
    connect(GIFImage2_, &GifLabel::Clicked, this, [this] { engine_->GIFImage2Click(); });
    qApp->installEventFilter(this);
    web_->beforeNavigate = [this](const std::string& address) {
        return engine_->WebBrowser1BeforeNavigate2(address);
    };
    web_->keyFromPage = [this](QKeyEvent* key) {
        if (NavigationKeyDown(*key, KeyPlace::WebPage)) {
            key->accept();
        }
    };
}

TMainForm::~TMainForm() = default;

const std::vector<std::string>& TMainForm::SoundsPlayed() const {
    return sounds_ ? sounds_->played : recordedSounds_.played;
}

QWidget* TMainForm::Curtains() const {
    return curtains_;
}

GifLabel* TMainForm::Banner(int which) const {
    return which == 0 ? GIFImage1_ : which == 1 ? adbanner_ : GIFImage2_;
}

void TMainForm::BuildPanels() const {
    if (gamepanel_ != nullptr) {
        return;
    }
    auto* self = const_cast<TMainForm*>(this);
    Panel4_ = new ReadmePaneWidget(self);
    if (options_.replay) {
        // Under the harness the print dialog is answered "cancel": nothing waits for a reader.
        Panel4_->confirmPrint = [](QPrinter&) { return false; };
    }
    // The adventure's console; the engine plays the game into it.
    gamepanel_ = new kestrova::GamePanel(self);
    gamepanel_->Attach(*engine_);
    self->lateGame_.PanelBuilt(*gamepanel_);
    // In their place among the controls: over the banners, under the curtain.
    Panel4_->stackUnder(curtains_);
    gamepanel_->stackUnder(curtains_);
}

ReadmePaneWidget* TMainForm::Panel4() const {
    BuildPanels();
    return Panel4_;
}

kestrova::GamePanel* TMainForm::gamepanel() const {
    BuildPanels();
    return gamepanel_;
}

void TMainForm::LateReadme::Clear() {
    form_.Panel4()->Clear();
}

bool TMainForm::LateReadme::LoadFromFile(const std::string& path, CodePage page) {
    return form_.Panel4()->LoadFromFile(path, page);
}

bool TMainForm::LateReadme::Print(const std::string& title) {
    return form_.Panel4()->Print(title);
}

void TMainForm::LateReadme::SetVisible(bool visible) {
    form_.Panel4()->SetVisible(visible);
}

bool TMainForm::LateReadme::Visible() const {
    return form_.PanelsBuilt() && form_.Panel4()->Visible();
}

void TMainForm::LateGame::ShowTranscript(const std::vector<std::string>& lines) {
    if (!form_.PanelsBuilt()) {
        transcript_ = lines;
        return;
    }
    form_.gamepanel()->ShowTranscript(lines);
}

void TMainForm::LateGame::PanelBuilt(GameView& panel) {
    if (transcript_) {
        panel.ShowTranscript(*transcript_);
        transcript_.reset();
    }
}

void TMainForm::LateGame::AppendLine(const std::string& line) {
    form_.gamepanel()->AppendLine(line);
}

void TMainForm::LateGame::ShowPanel() {
    form_.gamepanel()->ShowPanel();
}

void TMainForm::LateGame::HidePanel() {
    form_.gamepanel()->HidePanel();
}

bool TMainForm::LateGame::Visible() const {
    return form_.PanelsBuilt() && form_.gamepanel()->Visible();
}

void TMainForm::LateGame::FocusCommandLine() {
    form_.gamepanel()->FocusCommandLine();
}

void TMainForm::SetEditorMaker(std::function<std::unique_ptr<Tform1>()> make) {
    makeEditor_ = std::move(make);
}

Tform1* TMainForm::Editor() const {
    if (editor_ == nullptr && makeEditor_) {
        ownedEditor_ = makeEditor_();
        makeEditor_ = nullptr;
        editor_ = ownedEditor_.get();
    }
    return editor_;
}

void TMainForm::OpenEditor() {
    if (Tform1* editor = Editor()) {
        editor->OpenEditor(State());
    }
}

namespace {

// Key codes as the window's handlers know them.
int KeyCode(int qtKey) {
    switch (qtKey) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Escape:
        return 27;
    case Qt::Key_Left:
        return 37;
    case Qt::Key_Up:
        return 38;
    case Qt::Key_Right:
        return 39;
    case Qt::Key_Down:
        return 40;
    default:
        return (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) ||
                       (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
                   ? qtKey
                   : 0;
    }
}

} // namespace

KeyPlace TMainForm::PlaceOf(const QWidget* receiver) const {
    const auto inside = [receiver](const QWidget* control) {
        return control != nullptr && (control == receiver || control->isAncestorOf(receiver));
    };
    if (inside(gamepanel_)) {
        return KeyPlace::GameLine;
    }
    if (inside(Panel4_)) {
        return KeyPlace::ReadmePane;
    }
    if (inside(web_)) {
        return KeyPlace::WebPage;
    }
    return KeyPlace::Surface;
}

bool TMainForm::NavigationKeyDown(const QKeyEvent& key, KeyPlace place) {
    const std::optional<NavigationKey> nav = NavigationKeyOf(key);
    return nav && engine_->NavigationKeyDown(*nav, place);
}

bool TMainForm::ControllerKeyDown(NavigationKey key, bool repeat) {
    // Only for the window the user is at: not while another program, the disc editor or a message
    // box has the keyboard.
    const QWidget* active = QApplication::activeWindow();
    if (!engine_ || State().closed || active == nullptr ||
        (active != this && active != fullView_)) {
        return false;
    }
    QWidget* receiver = KeyReceiver();
    if (engine_->NavigationKeyDown(key, PlaceOf(receiver))) {
        return true;
    }
    // A key the front end leaves to the control goes there as a typed one would: the page or the
    // readme scrolls, the page's links take Tab and Return. The engine has seen it already, and
    // the hidden phrases and Alt shortcuts are the keyboard's alone.
    const KeyStroke stroke = KeyStrokeFor(key);
    const QPointer<QWidget> alive(receiver);
    forwarding_ = true;
    QKeyEvent press(QEvent::KeyPress, stroke.key, stroke.modifiers, stroke.text, repeat);
    QApplication::sendEvent(receiver, &press);
    if (alive) {
        QKeyEvent release(QEvent::KeyRelease, stroke.key, stroke.modifiers, stroke.text, repeat);
        QApplication::sendEvent(receiver, &release);
    }
    forwarding_ = false;
    return false;
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !engine_ || forwarding_ || !watched->isWidgetType()) {
        return false;
    }
    auto* widget = static_cast<QWidget*>(watched);
    // A key travels up from the focused control to its parents; it is seen once, where it lands.
    if (widget != KeyReceiver()) {
        return false;
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool alt = key->modifiers().testFlag(Qt::AltModifier);
    engine_->FormKeyDown(KeyCode(key->key()), alt);
    if (!alt && !key->text().isEmpty()) {
        engine_->FormKeyPress(key->text().toStdString());
    }
    // The phrases may have ended the window; a key the engine uses goes no further.
    return engine_ && !State().closed && NavigationKeyDown(*key, PlaceOf(widget));
}

bool TMainForm::IsEditorStation() const {
    return options_.editorStation || EditorStationMarkerExists();
}

QWidget* TMainForm::KeyReceiver() const {
    QWidget* focus = QApplication::focusWidget();
    if (focus && focus->window() == this) {
        return focus;
    }
    // Full screen keeps the focus on its view; the window's own last focused control still
    // gets its keys.
    QWidget* last = focusWidget();
    return last ? last : const_cast<TMainForm*>(this);
}

// Nothing is reloaded or moved: the view shows this window scaled, and sends its pointer and
// keys back here.
void TMainForm::SetFullScreen(bool on) {
    if (on == (fullView_ != nullptr)) {
        return;
    }
    if (!on) {
        fullView_->hide();
        fullView_->deleteLater(); // a key on the view itself may have asked for this
        fullView_ = nullptr;
        activateWindow();
        return;
    }
    fullView_ = new FullScreenView(this, dxdraw_, options_.smoothFullScreen);
    fullView_->drawOver = [this](QPainter& painter) { web_->DrawFloating(painter, QPoint(0, 0)); };
    fullView_->controlOver = [this](QPoint at, QPoint* local) -> QWidget* {
        if (!web_->isVisible() || !web_->geometry().contains(at)) {
            return nullptr;
        }
        return web_->ContentAt(at - web_->pos(), local);
    };
    connect(fullView_, &FullScreenView::MouseMoved, this,
            [this](int x, int y) { engine_->DxDrawMouseMove(x, y); });
    connect(fullView_, &FullScreenView::MousePressed, this,
            [this](int x, int y) { engine_->DxDrawMouseDown(x, y); });
    connect(fullView_, &FullScreenView::KeyPressed, this,
            [this](QKeyEvent* e) { QApplication::sendEvent(KeyReceiver(), e); });
    connect(fullView_, &FullScreenView::KeyReleased, this,
            [this](QKeyEvent* e) { QApplication::sendEvent(KeyReceiver(), e); });
    // On the window's own screen, and sized to it first: without a window manager to honour the
    // full-screen request the view would keep a default size.
    if (const QScreen* where = screen()) {
        fullView_->setGeometry(where->geometry());
    }
    fullView_->showFullScreen();
    fullView_->activateWindow();
    fullView_->setFocus();
}

void TMainForm::StartFullScreen() {
    State().fullScreen = true;
    SetFullScreen(true);
}

void TMainForm::ShowProgramIcon() {
    setWindowIcon(ProgramIcon());
    if (fullView_ != nullptr) {
        fullView_->setWindowIcon(windowIcon());
    }
}

void TMainForm::Initialize(PicturesAhead* ahead) {
    State().source.SetPage(options_.codePage);
    engine_->Initialize(ahead);
    dxdraw_->GetCanvas().SetCanDraw(true);
}

void TMainForm::SetCaption(const std::string& caption) {
    setWindowTitle(QString::fromStdString(caption));
    Q_EMIT CaptionChanged(QString::fromStdString(caption));
}

void TMainForm::ShowMessage(const std::string& text) {
    messages_.ShowMessage(text);
    if (!options_.replay) {
        DialogMessages().ShowMessage(text);
    }
}

long long TMainForm::FramesShown() const {
    return frames_ ? frames_->PassedFrames() : 0;
}

void TMainForm::HideCurtain() {
    curtains_->hide();
    // The browser engine waits until a page is wanted (see web_pane.h).
    if (sounds_) {
        QTimer::singleShot(0, this, [this] { sounds_->Preload(); });
    }
}

void TMainForm::closeEvent(QCloseEvent* event) {
    // Edits that never reached the disc data file are not lost without a word (an editor never
    // built has none).
    if (editor_ != nullptr && !editor_->ConfirmClose()) {
        event->ignore();
        return;
    }
    // The closing sequence: timers stop, then the banners, the web pane and the drawing surface
    // go, in that order, and the application is asked to end.
    engine_->FormClose();
    delete fullView_;
    fullView_ = nullptr;
    delete GIFImage1_;
    GIFImage1_ = nullptr;
    delete web_;
    web_ = nullptr;
    delete GIFImage2_;
    GIFImage2_ = nullptr;
    dxdraw_->GetCanvas().SetCanDraw(false);
    delete dxdraw_;
    dxdraw_ = nullptr;
    engine_->ForgetControls();
    QWidget::closeEvent(event);
    QCoreApplication::quit();
}

} // namespace kestrova
