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

FullScreenView::FullScreenView(QWidget* shown, QWidget* surface)
    : QWidget(nullptr), shown_(shown), surface_(surface) {
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    // The desktop shows this window in the window's place: it carries the window's caption, and
    // keeps it when the first activation (or "ALT STARTUP") replaces it.
    setWindowTitle(shown->windowTitle());
    shown->installEventFilter(this);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setCursor(Qt::BlankCursor);
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

QRect FullScreenView::PictureRect() const {
    if (!shown_) {
        return rect();
    }
    const QSize fitted = shown_->size().scaled(size(), Qt::KeepAspectRatio);
    return QRect(QPoint((width() - fitted.width()) / 2, (height() - fitted.height()) / 2), fitted);
}

QPoint FullScreenView::ToWindow(QPoint pos) const {
    const QRect r = PictureRect();
    if (!shown_ || r.width() <= 0 || r.height() <= 0) {
        return pos;
    }
    const int x = std::clamp(pos.x() - r.x(), 0, r.width() - 1);
    const int y = std::clamp(pos.y() - r.y(), 0, r.height() - 1);
    return QPoint(x * shown_->width() / r.width(), y * shown_->height() / r.height());
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
    const QRect r = PictureRect();
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
    p.translate(r.topLeft());
    p.scale(static_cast<double>(r.width()) / shown_->width(),
            static_cast<double>(r.height()) / shown_->height());
    shown_->render(&p, QPoint(), QRegion(), QWidget::DrawWindowBackground | QWidget::DrawChildren);
    if (drawOver) {
        drawOver(p);
    }
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
