#pragma once
// Full screen without a display-mode change: a borderless window over the whole screen that shows
// the main window's picture scaled to fit, its aspect kept (black bars where the screen's shape
// differs). The main window stays as it is behind it, with its state, its sprites and its web
// pane; pointer and keys on this view go to the window's controls at the matching place.

#include <QPointer>
#include <QWidget>

#include <functional>

class QTimer;

namespace kestrova {

class FullScreenView : public QWidget {
    Q_OBJECT
  public:
    // `shown` is the window whose picture this view shows; the pointer over `surface`, its
    // drawn part, is reported by the signals below, over any other control it goes to it.
    FullScreenView(QWidget* shown, QWidget* surface);

    // Where the shown window's picture lies on this view.
    QRect PictureRect() const;
    // A position on this view as a position in the shown window; outside the picture, the
    // nearest edge.
    QPoint ToWindow(QPoint viewPos) const;

    // Controls laid over the shown window in windows of their own (the browser engine's view),
    // which a picture of the window leaves out: `drawOver` paints them onto it, in window
    // pixels; `controlOver` names the one under a window position, if any, and the position in
    // its own coordinates.
    std::function<void(QPainter&)> drawOver;
    std::function<QWidget*(QPoint windowPos, QPoint* local)> controlOver;

  Q_SIGNALS:
    // The pointer over the drawn surface (a part of the window no control covers), in window
    // pixels.
    void MouseMoved(int x, int y);
    void MousePressed(int x, int y);
    // A key for the window.
    void KeyPressed(QKeyEvent* event);
    void KeyReleased(QKeyEvent* event);

  protected:
    // Follows the shown window's caption.
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

  private:
    // The control of the shown window under a window position, or nullptr for the drawn
    // surface; `local` gets the position in the control's own coordinates.
    QWidget* ControlAt(QPoint windowPos, QPoint* local) const;
    void Forward(QMouseEvent* event);

    QPointer<QWidget> shown_;
    QPointer<QWidget> surface_;
    QPointer<QWidget> pressed_; // the control a button went down on, until it comes up
    QTimer* refresh_ = nullptr;
};

} // namespace kestrova
