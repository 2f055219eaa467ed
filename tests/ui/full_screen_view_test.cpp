// The full-screen view: the window's picture scaled and letterboxed, and the pointer on it mapped
// back to window pixels, to the drawn surface or to the control at that place.

#include "ui/full_screen_view.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <vector>

#include <gtest/gtest.h>

namespace kestrova {
namespace {

struct Scene {
    QWidget window;
    QWidget* surface = new QWidget(&window);
    QPushButton* button = new QPushButton(&window);
    FullScreenView view{&window, surface};

    Scene() {
        window.resize(792, 573);
        surface->setGeometry(0, 0, 792, 573);
        button->setGeometry(163, 505, 468, 60);
        view.resize(1920, 1080); // wider than the window's shape: bars left and right
    }
};

void Send(QWidget& target, QEvent::Type type, QPoint at) {
    QMouseEvent e(type, QPointF(at), QPointF(target.mapToGlobal(at)), Qt::LeftButton,
                  type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                  Qt::NoModifier);
    QApplication::sendEvent(&target, &e);
}

TEST(FullScreenView, ItIsTitledAsTheWindowItShows) {
    Scene s;
    s.window.setWindowTitle(QStringLiteral("i"));
    FullScreenView view(&s.window, s.surface);
    EXPECT_EQ(view.windowTitle(), QStringLiteral("i"));
    s.window.setWindowTitle(QStringLiteral("Kestrova CD-ROM"));
    EXPECT_EQ(view.windowTitle(), QStringLiteral("Kestrova CD-ROM"));
}

TEST(FullScreenView, ThePictureFillsTheHeightWithItsAspectKept) {
    Scene s;
    const QRect r = s.view.PictureRect();
    EXPECT_EQ(r.height(), 1080);
    EXPECT_EQ(r.width(), 792 * 1080 / 573);
    EXPECT_EQ(r.left(), (1920 - r.width()) / 2);
    EXPECT_EQ(s.view.ToWindow(r.topLeft()), QPoint(0, 0));
    EXPECT_EQ(s.view.ToWindow(QPoint(r.left() + r.width() / 2, r.top() + r.height() / 2)),
              QPoint(396, 286));
    // On the black bars the pointer stays at the picture's nearest edge.
    EXPECT_EQ(s.view.ToWindow(QPoint(0, 0)), QPoint(0, 0));
    EXPECT_EQ(s.view.ToWindow(QPoint(1919, 1079)), QPoint(791, 572));
}

TEST(FullScreenView, ThePointerOnTheSurfaceIsReportedInWindowPixels) {
    Scene s;
    std::vector<QPoint> moved, pressed;
    QObject::connect(&s.view, &FullScreenView::MouseMoved,
                     [&](int x, int y) { moved.emplace_back(x, y); });
    QObject::connect(&s.view, &FullScreenView::MousePressed,
                     [&](int x, int y) { pressed.emplace_back(x, y); });
    const QRect r = s.view.PictureRect();
    const QPoint at(r.left() + r.width() / 2, r.top() + r.height() / 4);
    Send(s.view, QEvent::MouseMove, at);
    Send(s.view, QEvent::MouseButtonPress, at);
    Send(s.view, QEvent::MouseButtonRelease, at);
    EXPECT_EQ(moved, std::vector<QPoint>{QPoint(396, 143)});
    EXPECT_EQ(pressed, std::vector<QPoint>{QPoint(396, 143)});
}

TEST(FullScreenView, AClickOnAControlGoesToThatControl) {
    Scene s;
    int clicked = 0;
    int pressed = 0;
    QObject::connect(s.button, &QPushButton::clicked, [&] { ++clicked; });
    QObject::connect(&s.view, &FullScreenView::MousePressed, [&] { ++pressed; });
    s.window.show();
    const QRect r = s.view.PictureRect();
    // Window pixel (400, 530) lies on the button.
    const QPoint at(r.left() + 400 * r.width() / 792, r.top() + 530 * r.height() / 573);
    Send(s.view, QEvent::MouseButtonPress, at);
    Send(s.view, QEvent::MouseButtonRelease, at);
    EXPECT_EQ(clicked, 1);
    EXPECT_EQ(pressed, 0);
}

} // namespace
} // namespace kestrova
