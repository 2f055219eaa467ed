#pragma once
// The adventure's own window. The program creates it hidden and never shows it; its small console
// plays on the main window's game panel, not on itself.

#include <QWidget>

class QLineEdit;
class QPlainTextEdit;

namespace kestrova {

class GamePanel;

class TgameForm : public QWidget {
    Q_OBJECT
  public:
    // panel: the main window's game panel; it must outlive this window.
    explicit TgameForm(GamePanel& panel, QWidget* parent = nullptr);

    // Enter plays the main window's command line into the main window's transcript.
    void Edit1KeyUp(int key);
    void FormActivate();

    QPlainTextEdit* screenie() const { return screenie_; }
    QLineEdit* Edit1() const { return Edit1_; }

  protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    GamePanel& panel_;
    QPlainTextEdit* screenie_ = nullptr;
    QLineEdit* Edit1_ = nullptr;
};

} // namespace kestrova
