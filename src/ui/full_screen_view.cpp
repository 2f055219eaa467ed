#include "ui/full_screen_view.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QWheelEvent>

#include <algorithm>

namespace kestrova {

namespace {

// The picture is redrawn this often while the view is up: the drawn surface and the controls
// over it change on their own (banners, pages, the game's text).
constexpr int kRefreshMs = 1000 / 30;

} // namespace

FullScreenPlacement PlaceFullScreen(QSize screen, QSize window, bool smooth) {
    FullScreenPlacement out;
    if (window.isEmpty() || screen.isEmpty()) {
        out.picture = QRect(QPoint(0, 0), screen);
        return out;
    }
    const int whole = std::min(screen.width() / window.width(), screen.height() / window.height());
    QSize size;
    if (!smooth && whole >= 1) {
        size = window * whole;
        out.renderScale = whole;
    } else {
        size = window.scaled(screen, Qt::KeepAspectRatio);
        // Smoothing brings a larger drawing down; without it a drawing of the window's own size
        // is brought down (or up) pixel by pixel.
        out.renderScale =
            smooth ? std::max(1, (size.width() + window.width() - 1) / window.width()) : 1;
        out.smooth = smooth;
    }
    out.picture = QRect(
        QPoint((screen.width() - size.width()) / 2, (screen.height() - size.height()) / 2), size);
    return out;
}

FullScreenView::FullScreenView(QWidget* shown, QWidget* surface, bool smooth)
    : QWidget(nullptr), shown_(shown), surface_(surface), smooth_(smooth) {
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    // The desktop shows this window in the window's place: it carries the window's caption and
    // icon, and keeps the caption when the first activation (or "ALT STARTUP") replaces it.
    setWindowTitle(shown->windowTitle());
    setWindowIcon(shown->windowIcon());
    shown->installEventFilter(this);
    setAttribute(Qt::WA_OpaquePaintEvent);
    // The pointer stays in sight: the menu is worked with it.
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    refresh_ = new QTimer(this);
    refresh_->setInterval(kRefreshMs);
    connect(refresh_, &QTimer::timeout, this, qOverload<>(&QWidget::update));
    refresh_->start();
}

bool FullScreenView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == shown_ && event->type() == QEvent::WindowTitleChange) {
        setWindowTitle(shown_->windowTitle());
    }
    return QWidget::eventFilter(watched, event);
}

FullScreenPlacement FullScreenView::Placement() const {
    const qreal ratio = devicePixelRatioF();
    const QSize screen = (QSizeF(size()) * ratio).toSize();
    const QSize window = shown_ ? shown_->size() : size();
    return PlaceFullScreen(screen, window, smooth_);
}

QRectF FullScreenView::PictureRect() const {
    const QRect r = Placement().picture;
    const qreal ratio = devicePixelRatioF();
    return QRectF(QPointF(r.topLeft()) / ratio, QSizeF(r.size()) / ratio);
}

QPoint FullScreenView::ToWindow(QPoint pos) const {
    const QRectF r = PictureRect();
    if (!shown_ || r.width() <= 0 || r.height() <= 0) {
        return pos;
    }
    const int x = static_cast<int>((pos.x() - r.x()) * shown_->width() / r.width());
    const int y = static_cast<int>((pos.y() - r.y()) * shown_->height() / r.height());
    // Off the picture, on the bars, the nearest edge.
    return QPoint(std::clamp(pos.x() < r.x() ? 0 : x, 0, shown_->width() - 1),
                  std::clamp(pos.y() < r.y() ? 0 : y, 0, shown_->height() - 1));
}

QWidget* FullScreenView::ControlAt(QPoint windowPos, QPoint* local) const {
    if (!shown_) {
        return nullptr;
    }
    if (controlOver) {
        if (QWidget* over = controlOver(windowPos, local)) {
            return over;
        }
    }
    QWidget* child = shown_->childAt(windowPos);
    // The drawn surface itself takes the pointer through the window's handlers.
    if (!child || child == surface_) {
        return nullptr;
    }
    *local = child->mapFrom(shown_, windowPos);
    return child;
}

void FullScreenView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::black);
    if (!shown_) {
        return;
    }
    // The window is drawn at the placement's whole scale first: its pictures (the surface, the
    // banners) are enlarged pixel by pixel, its text is drawn at that size. That drawing then
    // goes on screen one to one, or smoothly, or pixel by pixel to a size the screen holds.
    const FullScreenPlacement placement = Placement();
    const QSize frameSize = shown_->size() * placement.renderScale;
    if (frame_.size() != frameSize) {
        frame_ = QImage(frameSize, QImage::Format_RGB32);
    }
    frame_.setDevicePixelRatio(placement.renderScale);
    frame_.fill(Qt::black);
    {
        QPainter window(&frame_);
        shown_->render(&window, QPoint(), QRegion(),
                       QWidget::DrawWindowBackground | QWidget::DrawChildren);
        if (drawOver) {
            drawOver(window);
        }
    }
    p.setRenderHint(QPainter::SmoothPixmapTransform, placement.smooth);
    p.drawImage(PictureRect(), frame_, QRectF(frame_.rect()));
}

void FullScreenView::Forward(QMouseEvent* event) {
    const QPoint at = ToWindow(event->position().toPoint());
    QPoint local;
    QWidget* target = ControlAt(at, &local);
    if (pressed_) {
        // The control a button went down on keeps the pointer until the button comes up.
        if (target != pressed_.data()) {
            local = pressed_->mapFromGlobal(shown_->mapToGlobal(at));
        }
        target = pressed_.data();
    }
    if (event->type() == QEvent::MouseButtonPress) {
        pressed_ = target;
    }
    if (!target) {
        if (event->type() == QEvent::MouseMove) {
            Q_EMIT MouseMoved(at.x(), at.y());
        } else if (event->type() == QEvent::MouseButtonPress) {
            Q_EMIT MousePressed(at.x(), at.y());
        }
    } else {
        QMouseEvent copy(event->type(), QPointF(local), target->mapToGlobal(QPointF(local)),
                         event->button(), event->buttons(), event->modifiers());
        QApplication::sendEvent(target, &copy);
    }
    if (event->type() == QEvent::MouseButtonRelease && event->buttons() == Qt::NoButton) {
        pressed_ = nullptr;
    }
    update();
}

void FullScreenView::mouseMoveEvent(QMouseEvent* event) {
    Forward(event);
}

void FullScreenView::mousePressEvent(QMouseEvent* event) {
    Forward(event);
}

void FullScreenView::mouseReleaseEvent(QMouseEvent* event) {
    Forward(event);
}

void FullScreenView::wheelEvent(QWheelEvent* event) {
    const QPoint at = ToWindow(event->position().toPoint());
    QPoint local;
    if (QWidget* target = ControlAt(at, &local)) {
        QWheelEvent copy(QPointF(local), target->mapToGlobal(QPointF(local)), event->pixelDelta(),
                         event->angleDelta(), event->buttons(), event->modifiers(), event->phase(),
                         event->inverted());
        QApplication::sendEvent(target, &copy);
    }
}

void FullScreenView::keyPressEvent(QKeyEvent* event) {
    Q_EMIT KeyPressed(event);
}

void FullScreenView::keyReleaseEvent(QKeyEvent* event) {
    Q_EMIT KeyReleased(event);
}

} // namespace kestrova
