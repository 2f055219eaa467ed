// The full-screen view: the window's picture scaled and letterboxed, and the pointer on it mapped
// back to window pixels, to the drawn surface or to the control at that place.

#include "ui/full_screen_view.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
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

TEST(FullScreenView, ItCarriesTheWindowsIcon) {
    Scene s;
    QPixmap red(16, 16);
    red.fill(Qt::red);
    s.window.setWindowIcon(QIcon(red));
    FullScreenView view(&s.window, s.surface);
    EXPECT_EQ(view.windowIcon().pixmap(16, 16).toImage().pixel(8, 8), qRgb(255, 0, 0));
}

TEST(FullScreenView, ThePictureIsTheLargestWholeMultipleTheScreenHolds) {
    // 1920 x 1080 holds the window twice across but once down: once, centred on black.
    Scene s;
    const QRectF r = s.view.PictureRect();
    EXPECT_EQ(r, QRectF((1920 - 792) / 2, (1080 - 573) / 2, 792, 573));
    EXPECT_EQ(s.view.ToWindow(r.topLeft().toPoint()), QPoint(0, 0));
    EXPECT_EQ(s.view.ToWindow(QPoint(564 + 396, 253 + 286)), QPoint(396, 286));
    // On the black bars the pointer stays at the picture's nearest edge.
    EXPECT_EQ(s.view.ToWindow(QPoint(0, 0)), QPoint(0, 0));
    EXPECT_EQ(s.view.ToWindow(QPoint(1919, 1079)), QPoint(791, 572));

    const FullScreenPlacement big = PlaceFullScreen(QSize(2560, 1440), QSize(792, 573), false);
    EXPECT_EQ(big.picture, QRect((2560 - 1584) / 2, (1440 - 1146) / 2, 1584, 1146));
    EXPECT_EQ(big.renderScale, 2);
    EXPECT_FALSE(big.smooth);
    EXPECT_EQ(PlaceFullScreen(QSize(3840, 2160), QSize(792, 573), false).renderScale, 3);
}

TEST(FullScreenView, AScreenSmallerThanTheWindowGetsTheLargestPictureOfItsShape) {
    const FullScreenPlacement small = PlaceFullScreen(QSize(640, 480), QSize(792, 573), false);
    EXPECT_EQ(small.picture, QRect(0, (480 - 463) / 2, 640, 463));
    EXPECT_EQ(small.renderScale, 1);
    EXPECT_FALSE(small.smooth) << "brought down pixel by pixel";
}

TEST(FullScreenView, SmoothScalingFillsTheScreensHeight) {
    const FullScreenPlacement smooth = PlaceFullScreen(QSize(1920, 1080), QSize(792, 573), true);
    EXPECT_EQ(smooth.picture.height(), 1080);
    EXPECT_EQ(smooth.picture.width(), 792 * 1080 / 573);
    EXPECT_EQ(smooth.picture.left(), (1920 - smooth.picture.width()) / 2);
    EXPECT_TRUE(smooth.smooth);
    EXPECT_EQ(smooth.renderScale, 2) << "drawn larger first, then brought down";
}

// A window whose surface paints a checkerboard of single pixels.
class Checkers : public QWidget {
  public:
    using QWidget::QWidget;

  protected:
    void paintEvent(QPaintEvent*) override {
        QImage board(width(), height(), QImage::Format_RGB32);
        for (int y = 0; y < height(); ++y) {
            for (int x = 0; x < width(); ++x) {
                board.setPixel(x, y, (x + y) % 2 ? qRgb(255, 255, 255) : qRgb(200, 0, 0));
            }
        }
        QPainter p(this);
        p.drawImage(0, 0, board);
    }
};

TEST(FullScreenView, EachWindowPixelBecomesASquareBlockOfOneColour) {
    QWidget window;
    window.resize(40, 30);
    auto* surface = new Checkers(&window);
    surface->setGeometry(0, 0, 40, 30);
    FullScreenView view(&window, surface);
    view.resize(130, 70); // three times across, twice down: twice
    const QImage shot = view.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRect r = view.PictureRect().toRect();
    ASSERT_EQ(r, QRect(25, 5, 80, 60));
    for (int y = 0; y < 60; ++y) {
        for (int x = 0; x < 80; ++x) {
            const QRgb want = (x / 2 + y / 2) % 2 ? qRgb(255, 255, 255) : qRgb(200, 0, 0);
            ASSERT_EQ(shot.pixel(r.x() + x, r.y() + y), want) << x << "," << y;
        }
    }
    EXPECT_EQ(shot.pixel(24, 30), qRgb(0, 0, 0)) << "black bars";
    EXPECT_EQ(shot.pixel(105, 30), qRgb(0, 0, 0));
}

TEST(FullScreenView, SmoothScalingFillsTheHeightWithBlendedPixels) {
    QWidget window;
    window.resize(40, 30);
    auto* surface = new Checkers(&window);
    surface->setGeometry(0, 0, 40, 30);
    FullScreenView view(&window, surface, true);
    view.resize(130, 70);
    const QRect r = view.PictureRect().toRect();
    EXPECT_EQ(r.height(), 70);
    const QImage shot = view.grab().toImage().convertToFormat(QImage::Format_RGB32);
    int blended = 0;
    for (int y = r.top(); y <= r.bottom(); ++y) {
        for (int x = r.left(); x <= r.right(); ++x) {
            const QRgb c = shot.pixel(x, y);
            blended += c != qRgb(255, 255, 255) && c != qRgb(200, 0, 0) ? 1 : 0;
        }
    }
    EXPECT_GT(blended, r.width() * r.height() / 4) << "smoothed, not pixel by pixel";
}

TEST(FullScreenView, ThePointerStaysInSight) {
    Scene s;
    EXPECT_NE(s.view.cursor().shape(), Qt::BlankCursor);
}

TEST(FullScreenView, ThePointerOnTheSurfaceIsReportedInWindowPixels) {
    Scene s;
    std::vector<QPoint> moved, pressed;
    QObject::connect(&s.view, &FullScreenView::MouseMoved,
                     [&](int x, int y) { moved.emplace_back(x, y); });
    QObject::connect(&s.view, &FullScreenView::MousePressed,
                     [&](int x, int y) { pressed.emplace_back(x, y); });
    const QRect r = s.view.PictureRect().toRect();
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
    const QRect r = s.view.PictureRect().toRect();
    // Window pixel (400, 530) lies on the button.
    const QPoint at(r.left() + 400 * r.width() / 792, r.top() + 530 * r.height() / 573);
    Send(s.view, QEvent::MouseButtonPress, at);
    Send(s.view, QEvent::MouseButtonRelease, at);
    EXPECT_EQ(clicked, 1);
    EXPECT_EQ(pressed, 0);
}

} // namespace
} // namespace kestrova
