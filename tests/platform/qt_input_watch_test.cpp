// The watch on the application says of the pointer and the keys before any window sees them,
// and lets them through; what is not input (a repaint, a timer, a resize) passes unremarked.

#include "platform/qt_pace_clock.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QResizeEvent>
#include <QTimerEvent>
#include <QWidget>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kestrova {
namespace {

class LoggingWidget : public QWidget {
  public:
    explicit LoggingWidget(std::vector<std::string>& log) : log_(log) {}

  protected:
    bool event(QEvent* e) override {
        if (e->type() == QEvent::MouseMove || e->type() == QEvent::KeyPress) {
            log_.push_back("window");
        }
        return QWidget::event(e);
    }

  private:
    std::vector<std::string>& log_;
};

TEST(QtInputWatch, SaysOfInputBeforeAnyWindowSeesItAndLetsItThrough) {
    std::vector<std::string> log;
    QtInputWatch watch([&log] { log.push_back("input"); });
    qApp->installEventFilter(&watch);
    LoggingWidget window(log);
    window.setMouseTracking(true);

    QMouseEvent move(QEvent::MouseMove, QPointF(10, 10), QPointF(10, 10), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &move);
    EXPECT_EQ(log, (std::vector<std::string>{"input", "window"}));
    // A key is first offered to the shortcuts: the watch may hear of it more than once.
    log.clear();
    QKeyEvent key(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &key);
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log.front(), "input");
    EXPECT_EQ(log.back(), "window");

    log.clear();
    QPaintEvent paint(QRect(0, 0, 5, 5));
    QCoreApplication::sendEvent(&window, &paint);
    QTimerEvent timer(1);
    QCoreApplication::sendEvent(&window, &timer);
    QResizeEvent resize(QSize(20, 20), QSize(10, 10));
    QCoreApplication::sendEvent(&window, &resize);
    EXPECT_TRUE(log.empty());
    qApp->removeEventFilter(&watch);
}

} // namespace
} // namespace kestrova
