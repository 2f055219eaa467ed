#pragma once
// The main window's game panel: the transcript `screenie` above the command line `lineinput`
// with its ">>" prompt. It plays the adventure through the plain game console and shows what the
// game appends; the main window supplies the message boxes and the web pane.

#include "adventure/adventure_host.h"
#include "adventure/console.h"
#include "engine/ports.h"

#include <QWidget>

#include <functional>
#include <string>

class QLineEdit;
class QPlainTextEdit;

namespace kestrova {

class GamePanel : public QWidget, public GameView, private AdventureHost {
    Q_OBJECT
  public:
    // Laid out at its place in the main window's client area and hidden until the game starts.
    explicit GamePanel(QWidget* parent = nullptr);

    // Shows a message box over the main window and returns once it is closed. Without one the
    // panel opens a plain modal box itself.
    void SetMessageBox(std::function<void(const std::string& text)> show);

    // The menu's game entry: moves the panel to the left edge and shows it; the first time also
    // tells the intro. Leaves the keyboard focus where it is.
    void StartAdventure() { console_.StartAdventure(); }

    // Key released in the command line; Enter echoes the line and plays it.
    void lineinputKeyUp(int key);

    // A click on the drawn front end puts the game away.
    void HidePanel() override { hide(); }

    GameConsole& Console() { return console_; }
    const GameConsole& Console() const { return console_; }
    QPlainTextEdit* screenie() const { return screenie_; }
    QLineEdit* lineinput() const { return lineinput_; }
    QLineEdit* DummyLabel() const { return DummyLabel_; }

  Q_SIGNALS:
    // The hidden phrase's page, for the main window's web pane.
    void OpenWebPageRequested(const QString& address);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void AppendLine(const std::string& line) override;
    void ShowMessage(const std::string& text) override;
    void ShowGamePanel() override;
    void OpenWebPage(const std::string& address) override;

    QPlainTextEdit* screenie_ = nullptr;
    QLineEdit* lineinput_ = nullptr;
    QLineEdit* DummyLabel_ = nullptr;
    std::function<void(const std::string&)> messageBox_;
    bool enterPressed_ = false; // the command line received the Enter that comes up next
    GameConsole console_;
};

} // namespace kestrova
