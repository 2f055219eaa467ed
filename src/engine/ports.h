#pragma once
// Narrow interfaces between the front end's behaviour and the platform. The engine works on
// these only, so it runs headless in tests with the do-nothing versions below, and for real with
// the Qt implementations of src/platform and the widgets of src/ui.

#include "base/code_page.h"
#include "pictures/picture.h"

#include <algorithm>
#include <string>
#include <vector>

namespace kestrova {

class PictureCollectionItem;

// Font faces of the frame's text: the list font of `source` and the small font of `menusource`.
enum class FontFace { Sans, Small };

struct FontSpec {
    FontFace face = FontFace::Sans;
    int pixelHeight = 11; // character height in pixels (a negative font height in the original)
    bool bold = false;
    bool italic = false;
    TColor colour = 0xFFFFFF;
};

inline FontSpec Font(FontFace face, int pixels, bool bold, bool italic, TColor colour) {
    FontSpec f;
    f.face = face;
    f.pixelHeight = pixels;
    f.bold = bold;
    f.italic = italic;
    f.colour = colour;
    return f;
}

// The drawing surface and its back-buffer canvas.
class Canvas {
  public:
    virtual ~Canvas() = default;
    virtual bool CanDraw() const = 0;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    // Copies a built item's pattern to (x, y), keyed or opaque as the item says; clipped. An
    // opaque item writes every pixel of the part of its pattern that lies inside its picture.
    virtual void DrawItem(const PictureCollectionItem& item, int x, int y, int pattern) = 0;
    // UTF-8 text (the engine has read the disc's bytes in the disc's code page), its top-left at
    // (x, y), drawn without background.
    virtual void TextOut(int x, int y, const std::string& utf8, const FontSpec& font) = 0;
    // A 1-pixel outline inside (left, top, right, bottom), right and bottom exclusive.
    virtual void FrameRect(int left, int top, int right, int bottom, TColor colour) = 0;
    // A solid fill of the rectangle in the brush colour, outlined by the default black pen.
    virtual void FillRect(int left, int top, int right, int bottom, TColor brush) = 0;
    // The pixel height of a font face at a size, as the frame uses for line steps.
    virtual int FontPixelHeight(const FontSpec& font) const = 0;
    // How wide a line of UTF-8 text stands. A canvas that cannot measure gives two thirds of
    // the font's height for each character.
    virtual int TextWidth(const std::string& utf8, const FontSpec& font) const {
        const auto characters = std::count_if(utf8.begin(), utf8.end(), [](char c) {
            return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
        });
        return static_cast<int>(characters) * (font.pixelHeight * 2 / 3 + 1);
    }
    // Where a line of UTF-8 text drawn with its top-left at (0, 0) can set pixels: the
    // rectangle around them, right and bottom exclusive. A canvas that cannot tell gives a band
    // of rows around the line, wider than any canvas, with room to spare for any face.
    struct TextReachBox {
        int left = 0, top = 0, right = 0, bottom = 0;
    };
    virtual TextReachBox TextReach(const std::string& utf8, const FontSpec& font) {
        (void)utf8;
        return AnyLineReach(font);
    }
    // That band, which every line in the font stays inside, found without laying the line out.
    static TextReachBox AnyLineReach(const FontSpec& font) {
        const int h = std::max(font.pixelHeight, 8);
        constexpr int kWiderThanAnyCanvas = 1 << 20;
        return {-kWiderThanAnyCanvas, -2 * h - 4, kWiderThanAnyCanvas, 3 * h + 8};
    }
    // Shows the back buffer.
    virtual void Flip() = 0;
    // Until the next call or flip, drawing need only reach inside this rectangle (right and
    // bottom exclusive): a canvas may draw more, never less. Called several times in a frame, the
    // frame is drawn in each rectangle in turn, and the canvas may take it that nothing outside
    // them changes in this frame. The whole canvas unless called.
    virtual void SetClip(int left, int top, int right, int bottom) {
        (void)left;
        (void)top;
        (void)right;
        (void)bottom;
    }
};

// A program start through the desktop: executables start detached, documents and addresses open
// with their default handler.
struct LaunchRecord {
    std::string file;
    std::string parameters;
    std::string directory;
    int showCommand = 0;
    // Which start this is, for the launcher's report on it; 0 when nobody waits for one.
    long long ticket = 0;
};

// How a start ended, as the launcher found it.
enum class LaunchResult {
    Started,      // handed to the program itself, to Wine or to the desktop's handler
    NotOnDisc,    // the disc has no such file
    NotAFile,     // a folder that cannot be opened, a device, a pipe
    NeedsWine,    // a Windows program, and no Wine on this machine
    NotStartable, // the system refused to run it
    NoHandler,    // a document or address no program of this machine opens
    CopyFailed,   // the copy out of the CD image failed
    TooLong,      // a text longer than the launch buffers held: refused before the launcher
};

// Where a launcher tells how each start ended: once per ticket, on the thread the engine runs on,
// at once or later (a program of a CD image is copied out first).
class LaunchReports {
  public:
    virtual ~LaunchReports() = default;
    virtual void LaunchEnded(long long ticket, LaunchResult result) = 0;
};

class Launcher {
  public:
    virtual ~Launcher() = default;
    virtual void ShellExecute(const LaunchRecord& launch) = 0;
    // Reports go here from now on; nullptr: nowhere.
    void SetReports(LaunchReports* reports) { reports_ = reports; }

  protected:
    void Report(const LaunchRecord& launch, LaunchResult result) const {
        if (reports_ && launch.ticket != 0) {
            reports_->LaunchEnded(launch.ticket, result);
        }
    }

  private:
    LaunchReports* reports_ = nullptr;
};

// The web pane laid over the menu.
class WebPane {
  public:
    virtual ~WebPane() = default;
    virtual void Navigate(const std::string& url) = 0;
    virtual int Left() const = 0;
    virtual void SetLeft(int left) = 0;
    virtual int Top() const { return 130; }
    virtual std::string Url() const = 0;
    // The pane's own pixels as they are on screen (never through the clipboard or another
    // window); an empty picture when there is nothing to grab.
    virtual Picture Grab() { return {}; }
    // Goes back to the page shown before, judged as the page shown asking for it; nothing when
    // there is none.
    virtual void Back() {}
    // A page is likely to be asked for soon (the pointer rests on a menu line that opens one):
    // a pane whose engine takes a while to start may start it now. Nothing changes on screen.
    virtual void WarmUp() {}
};

// The pane is on screen exactly while its left edge stands here, just past the window's own; at
// rest it waits off screen to the right.
inline constexpr int kWebPaneOnScreenLeft = -3;
inline bool PaneOnScreen(const WebPane& pane) {
    return pane.Left() == kWebPaneOnScreenLeft;
}

// The readme pane: `Panel4` holding the rich-text control `RichEdit1`.
class ReadmePane {
  public:
    virtual ~ReadmePane() = default;
    // Empties the control and sets its font to 9 points at the default pitch.
    virtual void Clear() = 0;
    // Loads a rich-text file with its formatting; false when `path` names no readable file
    // (the control then stays empty). `page` is the disc's code page, for text whose file does
    // not name its own.
    virtual bool LoadFromFile(const std::string& path, CodePage page) = 0;
    // The standard print dialog; prints the loaded text with `title` (UTF-8) as the job's title
    // when the reader confirms. Returns whether it printed.
    virtual bool Print(const std::string& title) = 0;
    virtual void SetVisible(bool visible) = 0;
    virtual bool Visible() const = 0;
};

// Warnings for whoever runs the program; never shown to the reader.
class Log {
  public:
    virtual ~Log() = default;
    virtual void Warning(const std::string& text) = 0;
};

// An animated GIF control. Load returns false when the file is missing (the picture stays) or
// does not decode (the control is emptied). The control decodes and shows one frame at a time;
// when the next one is shown is the engine's to say (see banners.h).
class GifControl {
  public:
    virtual ~GifControl() = default;
    virtual bool LoadFromFile(const std::string& path) = 0;
    virtual std::string FileName() const = 0;
    // Whether the picture has frames to step through: not when it has one, or none.
    virtual bool Animated() const { return false; }
    // How long the frame on show asks to stand, in milliseconds, as the picture gives it (0 or
    // less when it gives none).
    virtual int FrameDelayMs() const { return 0; }
    // Shows the next frame, the first after the last.
    virtual void ShowNextFrame() {}
};

class SoundPlayer {
  public:
    virtual ~SoundPlayer() = default;
    virtual void Play(const std::string& name) = 0;
};

class MessageSink {
  public:
    virtual ~MessageSink() = default;
    virtual void ShowMessage(const std::string& text) = 0;
};

// The main window around the surface: its caption and the loading curtain.
class WindowView {
  public:
    virtual ~WindowView() = default;
    virtual void SetCaption(const std::string& caption) = 0;
    // The first frame is drawn: the curtain comes down and slow services may start.
    virtual void HideCurtain() = 0;
    // The closing sequence, as the window's close button runs it; the program then ends.
    virtual void Terminate() = 0;
    // Shows the same picture full screen, scaled to fit, or back in the window where it was.
    virtual void SetFullScreen(bool on) = 0;
    // Whether this machine is an editor's workstation (its marker file exists, asked each time).
    virtual bool IsEditorStation() const = 0;
    // Shows the disc editor holding the front end's lines.
    virtual void OpenEditor() = 0;
};

// The adventure's console panel inside the main window: it shows the transcript the game keeps.
class GameView {
  public:
    virtual ~GameView() = default;
    // The whole transcript, as the game starts out (UTF-8 lines).
    virtual void ShowTranscript(const std::vector<std::string>& lines) = 0;
    // One line at the end of the transcript; the newest line stays in view.
    virtual void AppendLine(const std::string& line) = 0;
    // Moves the panel to the left edge and shows it, leaving the keyboard focus where it is.
    virtual void ShowPanel() = 0;
    // Hides the panel; a keyboard focus inside it goes back to the window.
    virtual void HidePanel() = 0;
    virtual bool Visible() const { return false; }
    // Gives the command line the keyboard, so what is typed next plays.
    virtual void FocusCommandLine() {}
};

// Do-nothing versions, for headless runs and for ports a caller does not supply. The ones whose
// effects a test reads back remember them.
class NullCanvas : public Canvas {
  public:
    bool CanDraw() const override { return false; }
    int Width() const override { return 800; }
    int Height() const override { return 600; }
    void DrawItem(const PictureCollectionItem&, int, int, int) override {}
    void TextOut(int, int, const std::string&, const FontSpec&) override {}
    void FrameRect(int, int, int, int, TColor) override {}
    void FillRect(int, int, int, int, TColor) override {}
    int FontPixelHeight(const FontSpec& font) const override { return font.pixelHeight; }
    void Flip() override {}
};

class RecordingLauncher : public Launcher {
  public:
    // Remembers the start and reports it started.
    void ShellExecute(const LaunchRecord& launch) override {
        launches.push_back(launch);
        Report(launch, LaunchResult::Started);
    }
    std::vector<LaunchRecord> launches;
};

class NullWebPane : public WebPane {
  public:
    void Navigate(const std::string& url) override { url_ = url; }
    int Left() const override { return left_; }
    void SetLeft(int left) override { left_ = left; }
    std::string Url() const override { return url_; }
    void Back() override { ++backs; }
    void WarmUp() override { ++warmUps; }
    int backs = 0;
    int warmUps = 0;

  private:
    std::string url_;
    int left_ = 800;
};

// Remembers a file that exists as its picture; the picture itself is never decoded.
class NullGif : public GifControl {
  public:
    bool LoadFromFile(const std::string& path) override;
    std::string FileName() const override { return file_; }

  private:
    std::string file_;
};

class RecordingSound : public SoundPlayer {
  public:
    void Play(const std::string& name) override { played.push_back(name); }
    std::vector<std::string> played;
};

class RecordingMessages : public MessageSink {
  public:
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    std::vector<std::string> messages;
};

class NullWindow : public WindowView {
  public:
    void SetCaption(const std::string&) override {}
    void HideCurtain() override {}
    void Terminate() override { ++terminations; }
    void SetFullScreen(bool on) override { fullScreen = on; }
    bool IsEditorStation() const override { return editorStation; }
    void OpenEditor() override { ++editorsOpened; }
    int terminations = 0;
    bool fullScreen = false;
    bool editorStation = false;
    int editorsOpened = 0;
};

// Remembers what it was asked to show; a file loads when it exists.
class NullReadme : public ReadmePane {
  public:
    void Clear() override { path.clear(); }
    bool LoadFromFile(const std::string& file, CodePage page) override;
    bool Print(const std::string& title) override {
        printed.push_back(title);
        return confirmPrint;
    }
    void SetVisible(bool on) override { visible = on; }
    bool Visible() const override { return visible; }
    std::string path;
    std::vector<std::string> printed;
    bool confirmPrint = true;
    bool visible = false;
};

class RecordingLog : public Log {
  public:
    void Warning(const std::string& text) override { warnings.push_back(text); }
    std::vector<std::string> warnings;
};

class NullGame : public GameView {
  public:
    void ShowTranscript(const std::vector<std::string>&) override {}
    void AppendLine(const std::string&) override {}
    void ShowPanel() override { visible = true; }
    void HidePanel() override { visible = false; }
    bool Visible() const override { return visible; }
    void FocusCommandLine() override { ++commandLineFocused; }
    bool visible = false;
    int commandLineFocused = 0;
};

// The ports the engine talks through. Any left empty gets its do-nothing version.
struct Ports {
    Canvas* canvas = nullptr;
    WebPane* web = nullptr;
    GifControl* adbanner = nullptr;
    GifControl* GIFImage1 = nullptr;
    GifControl* GIFImage2 = nullptr;
    Launcher* launcher = nullptr;
    SoundPlayer* sounds = nullptr;
    MessageSink* messages = nullptr;
    WindowView* window = nullptr;
    GameView* game = nullptr;
    ReadmePane* readme = nullptr;
    Log* log = nullptr;
};

} // namespace kestrova
