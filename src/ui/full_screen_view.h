#pragma once
// Full screen without a display-mode change: a borderless window over the whole screen that shows
// the main window's picture enlarged by the largest whole multiple the screen holds, each pixel a
// square block of screen pixels, centred on black. A screen too small for even one multiple gets
// the largest picture of the window's shape that fits, still without smoothing; smooth scaling,
// which fills the screen's height or width, is the user's choice. The main window stays as it is
// behind it, with its state, its sprites and its web pane; pointer and keys on this view go to
// the window's controls at the matching place.

#include <QImage>
#include <QPointer>
#include <QWidget>

#include <functional>

class QTimer;

namespace kestrova {

// Where the window's picture goes on a screen, all in screen (device) pixels.
struct FullScreenPlacement {
    QRect picture;       // the picture's place; the rest is black
    int renderScale = 1; // screen pixels per window pixel the window is drawn at first
    bool smooth = false; // that drawing is then brought to `picture`'s size smoothly
};

// `screen` and `window` in screen pixels and window pixels; `smooth`: the user's choice.
FullScreenPlacement PlaceFullScreen(QSize screen, QSize window, bool smooth);

class FullScreenView : public QWidget {
    Q_OBJECT
  public:
    // `shown` is the window whose picture this view shows; the pointer over `surface`, its
    // drawn part, is reported by the signals below, over any other control it goes to it.
    // `smooth` scales to fill the screen smoothly instead of by whole pixels.
    FullScreenView(QWidget* shown, QWidget* surface, bool smooth = false);

    // Where the shown window's picture lies on this view, in the view's own (logical) pixels.
    QRectF PictureRect() const;
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
    FullScreenPlacement Placement() const;

    QPointer<QWidget> shown_;
    QPointer<QWidget> surface_;
    QPointer<QWidget> pressed_; // the control a button went down on, until it comes up
    QTimer* refresh_ = nullptr;
    bool smooth_ = false;
    QImage frame_; // the window drawn at the placement's scale, kept from one paint to the next
};

} // namespace kestrova
