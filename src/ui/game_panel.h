#pragma once
// The main window's game panel: the transcript `screenie` above the command line `lineinput`
// with its ">>" prompt. It plays the adventure through the plain game console and shows what the
// game appends; the main window supplies the message boxes and the web pane.

#include "engine/ports.h"

#include <QWidget>

#include <string>
#include <vector>

class QLineEdit;
class QPlainTextEdit;

namespace kestrova {

class FrontEnd;

class GamePanel : public QWidget, public GameView {
    Q_OBJECT
  public:
    // Laid out at its place in the main window's client area and hidden until the game starts.
    explicit GamePanel(QWidget* parent = nullptr);

    // The front end whose game this panel shows; it must outlive the panel's use.
    void Attach(FrontEnd& engine) { engine_ = &engine; }

    // The menu's game entry: moves the panel to the left edge and shows it; the first time also
    // tells the intro. Leaves the keyboard focus where it is.
    void StartAdventure();

    // Key released in the command line; Enter echoes the line and plays it.
    void lineinputKeyUp(int key);

    QPlainTextEdit* screenie() const { return screenie_; }
    QLineEdit* lineinput() const { return lineinput_; }
    QLineEdit* DummyLabel() const { return DummyLabel_; }

    void ShowTranscript(const std::vector<std::string>& lines) override;
    void AppendLine(const std::string& line) override;
    void ShowPanel() override;
    // A click on the drawn front end, or Escape, puts the game away; the keyboard goes back to
    // the window.
    void HidePanel() override;
    bool Visible() const override { return !isHidden(); }
    void FocusCommandLine() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QPlainTextEdit* screenie_ = nullptr;
    QLineEdit* lineinput_ = nullptr;
    QLineEdit* DummyLabel_ = nullptr;
    FrontEnd* engine_ = nullptr;
    bool enterPressed_ = false; // the command line received the Enter that comes up next
};

} // namespace kestrova
