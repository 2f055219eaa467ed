#pragma once
// The main window: the drawing surface, the loading curtain, the web pane, the three banners, the
// readme pane and the game panel, laid out as the disc's screen expects. It owns no behaviour:
// what happens to it goes to the engine's `FrontEnd`, which answers through the ports these
// widgets implement.

#include "engine/front_end.h"
#include "engine/ports.h"
#include "engine/repeat_skipping_canvas.h"
#include "platform/logging.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QKeyEvent;
class QLabel;

namespace kestrova {

class DxDrawWidget;
class FullScreenView;
class GamePanel;
class GifLabel;
class QtSoundPlayer;
class ReadmePaneWidget;
class Tform1;
class WebPaneWidget;

struct MainFormOptions {
    bool lightWebPane = false; // the replay harness's deterministic pane
    bool replay = false;       // animations follow the harness's clock; message boxes are recorded
    Launcher* launcher = nullptr;  // program starts; none records them
    bool editorStation = false;    // Alt+Up opens the editor whether or not the marker exists
    bool smoothFullScreen = false; // full screen scaled smoothly to fit, not by whole pixels
    CodePage codePage;             // the code page of the disc's texts
};

class TMainForm : public QWidget, private WindowView, private MessageSink {
    Q_OBJECT
  public:
    explicit TMainForm(const MainFormOptions& options, QWidget* parent = nullptr);
    ~TMainForm() override;

    // Loads the disc and lays out the sprites, then sets the start values. Throws kestrova::Error
    // with the reader's message; no frame runs then. The pictures come from `ahead` when given.
    void Initialize(PicturesAhead* ahead = nullptr);

    FrontEnd& Engine() { return *engine_; }
    const FrontEnd& Engine() const { return *engine_; }
    MainState& State() { return engine_->State(); }
    const MainState& State() const { return engine_->State(); }
    const Launcher& Launches() const { return *engine_->GetPorts().launcher; }
    const RecordingMessages& Messages() const { return messages_; }
    // Every sound asked for so far, by name.
    const std::vector<std::string>& SoundsPlayed() const;

    WebPaneWidget* WebBrowser1() const { return web_; }
    QWidget* Curtains() const;
    // The readme pane and the game panel, built now if they were not yet (see BuildPanels).
    ReadmePaneWidget* Panel4() const;
    kestrova::GamePanel* gamepanel() const;
    // Builds the readme pane and the game panel, hidden, when first wanted: when the engine first
    // uses either, when asked for, or when the caller says (once the first frame is on screen).
    // Hidden, they would only hold up the first frame.
    void BuildPanels() const;
    bool PanelsBuilt() const { return gamepanel_ != nullptr; }
    GifLabel* Banner(int which) const; // 0 left, 1 centre, 2 right
    DxDrawWidget* Surface() const { return dxdraw_; }
    // Frames that changed the drawing surface so far (one that repeats the last changes nothing).
    long long FramesShown() const;
    // The full-screen view while the window is switched to it, else nullptr.
    FullScreenView* FullScreen() const { return fullView_; }
    // Starts in full screen, as Alt+Enter switches to it.
    void StartFullScreen();
    // Gives the window, and its full-screen view, the program's icon. The window is built
    // without it: the window system is handed every size of the icon as the window is first
    // shown, and the first frame would wait for that; the program calls this once it is drawn.
    void ShowProgramIcon();
    // Where a key for this window goes: the control with the focus, or the window.
    QWidget* KeyReceiver() const;
    // A navigation key from a game controller: taken while this window (or its full-screen view)
    // is the active one, and worked as the same key from the keyboard; one the front end does not
    // use goes on to the control with the focus. Returns whether the front end used it.
    bool ControllerKeyDown(NavigationKey key, bool repeat = false);

    // The disc editor beside the front end, built by `make` when it is first wanted (opened, or
    // its state read): the first frame does not wait for a window that is seldom opened.
    void SetEditorMaker(std::function<std::unique_ptr<Tform1>()> make);
    // Or one made by the caller, which must outlive this window.
    void SetEditor(Tform1* editor) { editor_ = editor; }
    // The editor, built now if it was not yet; nullptr when the program has none.
    Tform1* Editor() const;
    // Whether the editor window exists yet.
    bool EditorBuilt() const { return editor_ != nullptr; }
    // Shows the disc editor on the front end's current lines and pictures; nothing without one.
    void OpenEditor() override;

  Q_SIGNALS:
    void CaptionChanged(const QString& caption);

  protected:
    void closeEvent(QCloseEvent* event) override;
    // Every key for this window passes here first, whichever control has the focus.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // The engine's readme pane and game view until the widgets exist: each call but asking
    // whether they are visible builds them, and goes on to them. The transcript the game starts
    // out with waits for the panel.
    class LateReadme : public ReadmePane {
      public:
        explicit LateReadme(const TMainForm& form) : form_(form) {}
        void Clear() override;
        bool LoadFromFile(const std::string& path, CodePage page) override;
        bool Print(const std::string& title) override;
        void SetVisible(bool visible) override;
        bool Visible() const override;

      private:
        const TMainForm& form_;
    };
    class LateGame : public GameView {
      public:
        explicit LateGame(const TMainForm& form) : form_(form) {}
        void ShowTranscript(const std::vector<std::string>& lines) override;
        void AppendLine(const std::string& line) override;
        void ShowPanel() override;
        void HidePanel() override;
        bool Visible() const override;
        void FocusCommandLine() override;
        // The transcript given before the panel was built, shown on it now.
        void PanelBuilt(GameView& panel);

      private:
        const TMainForm& form_;
        std::optional<std::vector<std::string>> transcript_;
    };

    // Where a key for `receiver` is: the game panel, the readme pane, the web pane, or the drawn
    // front end.
    KeyPlace PlaceOf(const QWidget* receiver) const;
    // Hands a key that works the front end without the pointer to the engine; true when used.
    bool NavigationKeyDown(const QKeyEvent& key, KeyPlace place);

    void SetCaption(const std::string& caption) override;
    void HideCurtain() override;
    void Terminate() override { close(); }
    void SetFullScreen(bool on) override;
    bool IsEditorStation() const override;
    // Message boxes are recorded, and shown unless replaying.
    void ShowMessage(const std::string& text) override;

    MainFormOptions options_;
    RecordingMessages messages_;
    RecordingLauncher recordedLaunches_;
    RecordingSound recordedSounds_;
    std::unique_ptr<QtSoundPlayer> sounds_; // the real ones, when not replaying
    QtLog log_;

    DxDrawWidget* dxdraw_ = nullptr;
    // The engine draws through this: a frame that repeats the one on screen is dropped.
    std::unique_ptr<RepeatSkippingCanvas> frames_;
    QLabel* curtains_ = nullptr;
    WebPaneWidget* web_ = nullptr;
    GifLabel* adbanner_ = nullptr;
    GifLabel* GIFImage1_ = nullptr;
    GifLabel* GIFImage2_ = nullptr;
    // Built by BuildPanels, so kept mutable: building them is no change to the window.
    mutable ReadmePaneWidget* Panel4_ = nullptr;
    mutable kestrova::GamePanel* gamepanel_ = nullptr;
    LateReadme lateReadme_{*this};
    LateGame lateGame_{*this};
    FullScreenView* fullView_ = nullptr;
    std::unique_ptr<FrontEnd> engine_;
    // Built on first use, so kept mutable: asking for the editor is no change to the window.
    mutable std::function<std::unique_ptr<Tform1>()> makeEditor_;
    mutable std::unique_ptr<Tform1> ownedEditor_; // goes before the engine whose lines it edits
    mutable Tform1* editor_ = nullptr;
    bool forwarding_ = false; // a controller's key on its way to a control, past the filter
};

} // namespace kestrova
