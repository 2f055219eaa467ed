#pragma once
// The main window: the drawing surface, the loading curtain, the web pane, the three banners, the
// readme pane and the game panel, laid out as the disc's screen expects. Its handlers are thin:
// the behaviour lives in the shell's plain functions working on `MainState`.

#include "platform/services.h"
#include "shell/main_state.h"

#include <QWidget>

#include <memory>
#include <string>

class QLabel;
class QTextEdit;

namespace kestrova {

class DxDrawWidget;
class GamePanel;
class GifLabel;
class WebPaneWidget;

struct MainFormOptions {
    bool lightWebPane = false; // the replay harness's deterministic pane
    bool replay = false;       // timers and animations follow the harness's clock
    bool noLaunch = false;     // record program starts instead of performing them
};

class TMainForm : public QWidget {
    Q_OBJECT
  public:
    explicit TMainForm(const MainFormOptions& options, QWidget* parent = nullptr);
    ~TMainForm() override;

    // Loads the disc and lays out the sprites, then sets the start values. Throws kestrova::Error
    // with the reader's message; no frame runs then.
    void Initialize();

    // Advances the window's clock: timers that fall due fire and frames run at a fixed 60 per
    // second while the application is active.
    void AdvanceTo(long long nowMs);
    // Moves the clock on without drawing the frames that fall in between (after a stall);
    // timers still fire.
    void SkipTo(long long nowMs);
    // Advances the clock to the next frame time (a frame is drawn there when active).
    void RunOneFrame();
    long long ClockMs() const { return clockMs_; }
    long long FrameCount() const { return frames_; }
    long long NextFrameMs() const;

    void SetActive(bool active);
    bool IsActive() const { return active_; }

    MainState& State() { return state_; }
    const MainState& State() const { return state_; }
    RecordingLauncher& Launches() { return launches_; }
    const RecordingLauncher& Launches() const { return launches_; }
    RecordingMessages& Messages() { return messages_; }
    const RecordingMessages& Messages() const { return messages_; }
    WebPaneWidget* WebBrowser1() const { return web_; }
    QWidget* Curtains() const;
    QTextEdit* RichEdit1() const { return richEdit_; }
    kestrova::GamePanel* gamepanel() const { return gamepanel_; }
    GifLabel* Banner(int which) const; // 0 left, 1 centre, 2 right
    DxDrawWidget* Surface() const { return dxdraw_; }

    // Pointer over the surface, in back-buffer pixels.
    void DxDrawMouseMove(int x, int y);
    void DxDrawMouseDown(int x, int y);

  Q_SIGNALS:
    void CaptionChanged(const QString& caption);

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void RunFrame();
    void FireDueTimers(long long upTo);
    std::string CurrentDirectory() const;

    MainFormOptions options_;
    MainState state_;
    RecordingLauncher launches_;
    RecordingMessages messages_;

    DxDrawWidget* dxdraw_ = nullptr;
    QLabel* curtains_ = nullptr;
    WebPaneWidget* web_ = nullptr;
    GifLabel* adbanner_ = nullptr;
    GifLabel* GIFImage1_ = nullptr;
    GifLabel* GIFImage2_ = nullptr;
    QWidget* panel4_ = nullptr;
    QTextEdit* richEdit_ = nullptr;
    kestrova::GamePanel* gamepanel_ = nullptr;

    long long clockMs_ = 0;
    long long slot_ = 0;   // frame times passed, drawn or not
    long long frames_ = 0; // frames drawn
    bool active_ = false;
    bool initialized_ = false;
};

} // namespace kestrova
